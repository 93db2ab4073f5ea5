#include "formats/clap/HostLink.h"

#include <cstdio>
#include <cstdlib>

namespace vornix::formats::clapface {

using namespace clap;

namespace {

thread_local const THostLink* playing = nullptr;

template <class T>
const T* Extension(const clap_host* host, const char* id) {
  if (host == nullptr || host->get_extension == nullptr) return nullptr;
  return static_cast<const T*>(host->get_extension(host, id));
}

}  // namespace

void THostLink::Fetch() {
  mainThread_ = std::this_thread::get_id();
  params_ = Extension<clap_host_params>(host_, CLAP_EXT_PARAMS);
  state_ = Extension<clap_host_state>(host_, CLAP_EXT_STATE);
  timers_ = Extension<clap_host_timer_support>(host_, CLAP_EXT_TIMER_SUPPORT);
  fds_ = Extension<clap_host_posix_fd_support>(host_, CLAP_EXT_POSIX_FD_SUPPORT);
  threadCheck_ = Extension<clap_host_thread_check>(host_, CLAP_EXT_THREAD_CHECK);
  log_ = Extension<clap_host_log>(host_, CLAP_EXT_LOG);
  gui_ = Extension<clap_host_gui>(host_, CLAP_EXT_GUI);
  // A table with a hole is no table to call.
  if (timers_ != nullptr && (timers_->register_timer == nullptr || timers_->unregister_timer == nullptr))
    timers_ = nullptr;
  if (fds_ != nullptr && (fds_->register_fd == nullptr || fds_->unregister_fd == nullptr)) fds_ = nullptr;
  if (gui_ != nullptr && gui_->request_resize == nullptr) gui_ = nullptr;
  if (threadCheck_ != nullptr && (threadCheck_->is_main_thread == nullptr || threadCheck_->is_audio_thread == nullptr))
    threadCheck_ = nullptr;
}

bool THostLink::RequestResize(std::uint32_t width, std::uint32_t height) const {
  return gui_ != nullptr && gui_->request_resize(host_, width, height);
}

THostLink::AudioScope::AudioScope(const THostLink& link) : previous_(playing) { playing = &link; }

THostLink::AudioScope::~AudioScope() { playing = previous_; }

bool THostLink::InAudio() const { return playing == this; }

bool THostLink::OnMainThread() const {
  if (InAudio()) return false;
  if (threadCheck_ != nullptr) return threadCheck_->is_main_thread(host_);
  return std::this_thread::get_id() == mainThread_;
}

void THostLink::ExpectMain(const char* entry) const {
#if defined(VORNIX_THREAD_CHECKS)
  if (threadCheck_ != nullptr && !threadCheck_->is_main_thread(host_)) WrongThread(entry, "main");
#else
  (void)entry;
#endif
}

void THostLink::ExpectAudio(const char* entry) const {
#if defined(VORNIX_THREAD_CHECKS)
  if (threadCheck_ != nullptr && !threadCheck_->is_audio_thread(host_)) WrongThread(entry, "audio");
#else
  (void)entry;
#endif
}

void THostLink::WrongThread(const char* entry, const char* role) const {
  char message[256];
  std::snprintf(message, sizeof message, "%s called outside the host's %s thread", entry, role);
  if (log_ != nullptr && log_->log != nullptr) log_->log(host_, CLAP_LOG_HOST_MISBEHAVING, message);
  std::fprintf(stderr, "Vornix: %s\n", message);
  std::fflush(stderr);
  std::abort();
}

void THostLink::Log(clap_log_severity severity, const char* message) const {
  if (log_ != nullptr && log_->log != nullptr) {
    log_->log(host_, severity, message);
  } else {
    std::fprintf(stderr, "Vornix: %s\n", message);
  }
}

void THostLink::RequestFlush() const {
  if (params_ != nullptr && params_->request_flush != nullptr) {
    params_->request_flush(host_);
  } else if (host_ != nullptr && host_->request_process != nullptr) {
    host_->request_process(host_);
  }
}

void THostLink::MarkDirty() const {
  if (state_ != nullptr && state_->mark_dirty != nullptr) state_->mark_dirty(host_);
}

void THostLink::RescanValues() const {
  if (params_ != nullptr && params_->rescan != nullptr) params_->rescan(host_, CLAP_PARAM_RESCAN_VALUES);
}

void THostLink::RequestCallback() const {
  if (host_ != nullptr && host_->request_callback != nullptr) host_->request_callback(host_);
}

}  // namespace vornix::formats::clapface
