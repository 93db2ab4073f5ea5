// What the plug-in uses of its CLAP host: the host's extensions, fetched once in init, the thread
// each call comes on, and the log.
//
// Threads: the host names its main thread and its audio role through thread-check when it offers
// it; otherwise the main thread is the one that called init, and the audio role is whatever thread
// is inside process or an active flush (AudioScope).
#pragma once

#include <thread>

#include "formats/clap/ClapAbi.h"

namespace vornix::formats::clapface {

class THostLink {
 public:
  explicit THostLink(const clap::clap_host* host) : host_(host) {}

  // Main thread, from the plug-in's init on: the extensions the host offers.
  void Fetch();

  const clap::clap_host* Host() const { return host_; }
  const clap::clap_host_params* Params() const { return params_; }
  const clap::clap_host_state* State() const { return state_; }
  const clap::clap_host_timer_support* Timers() const { return timers_; }
  const clap::clap_host_posix_fd_support* Fds() const { return fds_; }
  // Main thread: asks the host to give the editor's window this size; true when it does.
  bool RequestResize(std::uint32_t width, std::uint32_t height) const;

  // The calling thread is inside this instance's process or active flush.
  bool InAudio() const;
  bool OnMainThread() const;
  // While it lives, the calling thread plays the audio role for this instance.
  class AudioScope {
   public:
    explicit AudioScope(const THostLink& link);
    ~AudioScope();
    AudioScope(const AudioScope&) = delete;
    AudioScope& operator=(const AudioScope&) = delete;

   private:
    const THostLink* previous_;
  };

  // Debug and sanitizer builds stop at once when a call comes on a thread the interface does not
  // allow for it, so that a host breaking the rules is found; release builds check nothing.
  void ExpectMain(const char* entry) const;
  void ExpectAudio(const char* entry) const;

  // Through the host's log when it has one, else on stderr. Any thread; allocates nothing.
  void Log(clap::clap_log_severity severity, const char* message) const;

  // Any thread but the audio one: the host is to call flush (or process) soon.
  void RequestFlush() const;
  // Main thread.
  void MarkDirty() const;
  void RescanValues() const;
  // Any thread: on_main_thread soon.
  void RequestCallback() const;

 private:
  [[noreturn]] void WrongThread(const char* entry, const char* role) const;

  const clap::clap_host* host_;
  const clap::clap_host_params* params_ = nullptr;
  const clap::clap_host_state* state_ = nullptr;
  const clap::clap_host_timer_support* timers_ = nullptr;
  const clap::clap_host_posix_fd_support* fds_ = nullptr;
  const clap::clap_host_gui* gui_ = nullptr;
  const clap::clap_host_thread_check* threadCheck_ = nullptr;
  const clap::clap_host_log* log_ = nullptr;
  std::thread::id mainThread_;
};

}  // namespace vornix::formats::clapface
