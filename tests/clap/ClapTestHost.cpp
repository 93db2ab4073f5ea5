#include "ClapTestHost.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <thread>

#if !defined(_WIN32)
#include <poll.h>
#endif

namespace vornix::claptest {

using namespace clap;

namespace {

thread_local bool audioRole = false;
std::thread::id mainThread;

struct TAudioRole {
  TAudioRole() { audioRole = true; }
  ~TAudioRole() { audioRole = false; }
};

}  // namespace

std::uint32_t CLAP_ABI TEventList::Count(const clap_input_events* list) {
  return static_cast<std::uint32_t>(static_cast<const TEventList*>(list->ctx)->events_.size());
}

const clap_event_header* CLAP_ABI TEventList::Get(const clap_input_events* list, std::uint32_t index) {
  const auto& events = static_cast<const TEventList*>(list->ctx)->events_;
  return index < events.size() ? reinterpret_cast<const clap_event_header*>(events[index].data()) : nullptr;
}

TOutput::TOutput() = default;

bool CLAP_ABI TOutput::Push(const clap_output_events* list, const clap_event_header* event) {
  if (event == nullptr || event->size < sizeof(clap_event_header)) return false;
  std::vector<std::uint64_t> storage((event->size + 7) / 8);
  std::memcpy(storage.data(), event, event->size);
  static_cast<TOutput*>(list->ctx)->events_.push_back(std::move(storage));
  return true;
}

const clap_event_header& TOutput::Header(std::size_t i) const {
  return *reinterpret_cast<const clap_event_header*>(events_.at(i).data());
}

std::int64_t Fixed(double value) { return std::llround(value * static_cast<double>(CLAP_BEATTIME_FACTOR)); }

clap_event_transport Transport(double beats, double tempo, int numerator, int denominator, bool playing) {
  clap_event_transport t{};
  t.header = {sizeof t, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_TRANSPORT, 0};
  t.flags = CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_HAS_BEATS_TIMELINE | CLAP_TRANSPORT_HAS_SECONDS_TIMELINE |
            CLAP_TRANSPORT_HAS_TIME_SIGNATURE | (playing ? CLAP_TRANSPORT_IS_PLAYING : 0u);
  t.song_pos_beats = Fixed(beats);
  t.song_pos_seconds = Fixed(beats * 60.0 / tempo);
  t.tempo = tempo;
  const double bar = numerator * 4.0 / denominator;
  t.bar_number = static_cast<std::int32_t>(std::floor(beats / bar));
  t.bar_start = Fixed(t.bar_number * bar);
  t.tsig_num = static_cast<std::uint16_t>(numerator);
  t.tsig_denom = static_cast<std::uint16_t>(denominator);
  return t;
}

TClapHost::TClapHost(const std::string& path, TOptions options)
    : library_(std::make_unique<hostkit::PluginLibrary>(path)) {
  entry_ = static_cast<const clap_plugin_entry*>(library_->Symbol("clap_entry"));
  if (entry_ == nullptr) throw std::runtime_error(path + " exports no clap_entry");
  if (!entry_->init(path.c_str())) throw std::runtime_error(path + ": init failed");
  MakeHost(options);
}

TClapHost::TClapHost(const clap_plugin_entry& entry, TOptions options) : entry_(&entry) {
  if (!entry_->init("")) throw std::runtime_error("init failed");
  MakeHost(options);
}

TClapHost::~TClapHost() {
  Destroy();
  entry_->deinit();
}

void TClapHost::MakeHost(TOptions options) {
  mainThread = std::this_thread::get_id();
  options_ = options;
  host_.clap_version = CLAP_VERSION;
  host_.host_data = this;
  host_.name = "Vornix test host";
  host_.vendor = "Orvane";
  host_.url = "";
  host_.version = "1.0";
  host_.get_extension = &HostExtension;
  host_.request_restart = [](const clap_host*) {};
  host_.request_process = [](const clap_host* h) { ++Of(h).processRequests; };
  host_.request_callback = [](const clap_host* h) {
    ++Of(h).callbackRequests;
    Of(h).callbackPending_ = true;
  };
}

const clap_plugin_factory& TClapHost::Factory() const {
  const auto* factory = static_cast<const clap_plugin_factory*>(entry_->get_factory(CLAP_PLUGIN_FACTORY_ID));
  if (factory == nullptr) throw std::runtime_error("no plug-in factory");
  return *factory;
}

const clap_plugin* TClapHost::Create(const char* id) {
  Destroy();
  plugin_ = Factory().create_plugin(&Factory(), &host_, id);
  if (plugin_ != nullptr && !plugin_->init(plugin_)) Destroy();
  return plugin_;
}

void TClapHost::Destroy() {
  if (plugin_ == nullptr) return;
  Deactivate();
  plugin_->destroy(plugin_);
  plugin_ = nullptr;
}

bool TClapHost::Activate(double sampleRate, std::uint32_t maxFrames) {
  if (!plugin_->activate(plugin_, sampleRate, 1, maxFrames)) return false;
  active_ = true;
  const TAudioRole audio;
  return plugin_->start_processing(plugin_);
}

void TClapHost::Deactivate() {
  if (!active_) return;
  {
    const TAudioRole audio;
    plugin_->stop_processing(plugin_);
  }
  plugin_->deactivate(plugin_);
  active_ = false;
}

clap_process_status TClapHost::Process(std::uint32_t frames, const clap_event_transport* transport,
                                       const TEventList& in, const clap_output_events& out) {
  clap_process p{};
  p.steady_time = -1;
  p.frames_count = frames;
  p.transport = transport;
  p.in_events = in.Input();
  p.out_events = &out;
  const TAudioRole audio;
  return plugin_->process(plugin_, &p);
}

void TClapHost::Flush(const TEventList& in, TOutput& out) {
  const auto* params = Extension<clap_plugin_params>(CLAP_EXT_PARAMS);
  if (active_) {
    const TAudioRole audio;
    params->flush(plugin_, in.Input(), out.Output());
  } else {
    params->flush(plugin_, in.Input(), out.Output());
  }
}

namespace {

struct TStream {
  std::vector<std::uint8_t>* bytes;
  std::size_t position;
  std::size_t step;
};

}  // namespace

std::vector<std::uint8_t> TClapHost::Save(std::size_t step) {
  std::vector<std::uint8_t> bytes;
  TStream s{&bytes, 0, step};
  clap_ostream stream{&s, [](const clap_ostream* o, const void* buffer, std::uint64_t size) -> std::int64_t {
                        auto& st = *static_cast<TStream*>(o->ctx);
                        const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(size), st.step);
                        const auto* b = static_cast<const std::uint8_t*>(buffer);
                        st.bytes->insert(st.bytes->end(), b, b + n);
                        return static_cast<std::int64_t>(n);
                      }};
  const auto* state = Extension<clap_plugin_state>(CLAP_EXT_STATE);
  if (!state->save(plugin_, &stream)) return {};
  return bytes;
}

bool TClapHost::Load(const std::vector<std::uint8_t>& bytes, std::size_t step) {
  auto copy = bytes;
  TStream s{&copy, 0, step};
  clap_istream stream{
      &s, [](const clap_istream* i, void* buffer, std::uint64_t size) -> std::int64_t {
        auto& st = *static_cast<TStream*>(i->ctx);
        const std::size_t n = std::min({static_cast<std::size_t>(size), st.step, st.bytes->size() - st.position});
        // An empty state has no bytes to copy from (and no address).
        if (n > 0) std::memcpy(buffer, st.bytes->data() + st.position, n);
        st.position += n;
        return static_cast<std::int64_t>(n);
      }};
  const auto* state = Extension<clap_plugin_state>(CLAP_EXT_STATE);
  return state->load(plugin_, &stream);
}

void TClapHost::RunTimers() {
  const auto* support = Extension<clap_plugin_timer_support>(CLAP_EXT_TIMER_SUPPORT);
  const auto due = timers;  // a timer may go while the others run
  for (const auto& [id, period] : due) {
    if (timers.count(id) != 0) support->on_timer(plugin_, id);
  }
}

void TClapHost::RunFds() {
#if !defined(_WIN32)
  const auto* support = Extension<clap_plugin_posix_fd_support>(CLAP_EXT_POSIX_FD_SUPPORT);
  const auto watched = fds;
  for (const auto& [fd, flags] : watched) {
    pollfd p{fd,
             static_cast<short>(((flags & CLAP_POSIX_FD_READ) != 0 ? POLLIN : 0) |
                                ((flags & CLAP_POSIX_FD_WRITE) != 0 ? POLLOUT : 0)),
             0};
    if (poll(&p, 1, 0) <= 0 || fds.count(fd) == 0) continue;
    std::uint32_t ready = 0;
    if ((p.revents & POLLIN) != 0) ready |= CLAP_POSIX_FD_READ;
    if ((p.revents & POLLOUT) != 0) ready |= CLAP_POSIX_FD_WRITE;
    if ((p.revents & (POLLERR | POLLHUP)) != 0) ready |= CLAP_POSIX_FD_ERROR;
    support->on_fd(plugin_, fd, ready);
  }
#endif
}

void TClapHost::RunCallbacks() {
  if (!callbackPending_) return;
  callbackPending_ = false;
  plugin_->on_main_thread(plugin_);
}

const void* CLAP_ABI TClapHost::HostExtension(const clap_host* host, const char* id) {
  TClapHost& self = Of(host);
  static const clap_host_thread_check threadCheck = {
      [](const clap_host*) { return std::this_thread::get_id() == mainThread; },
      [](const clap_host*) { return audioRole; },
  };
  static const clap_host_log log = {
      [](const clap_host* h, clap_log_severity severity, const char* message) {
        Of(h).logs.emplace_back(severity, message != nullptr ? message : "");
      },
  };
  static const clap_host_params params = {
      [](const clap_host* h, std::uint32_t flags) { Of(h).rescans.push_back(flags); },
      [](const clap_host*, clap_id, std::uint32_t) {},
      [](const clap_host* h) { ++Of(h).flushRequests; },
  };
  static const clap_host_state state = {[](const clap_host* h) { ++Of(h).dirtyMarks; }};
  static const clap_host_note_ports notePorts = {
      [](const clap_host*) -> std::uint32_t { return CLAP_NOTE_DIALECT_CLAP | CLAP_NOTE_DIALECT_MIDI; },
      [](const clap_host*, std::uint32_t) {},
  };
  static const clap_host_gui gui = {
      [](const clap_host*) {},
      [](const clap_host* h, std::uint32_t width, std::uint32_t height) {
        Of(h).resizeRequests.emplace_back(width, height);
        return Of(h).takesResize;
      },
      [](const clap_host*) { return false; },
      [](const clap_host*) { return false; },
      [](const clap_host*, bool) {},
  };
  static const clap_host_timer_support timerSupport = {
      [](const clap_host* h, std::uint32_t period, clap_id* id) {
        TClapHost& s = Of(h);
        if (id == nullptr) return false;
        *id = s.nextTimer_++;
        s.timers[*id] = period;
        ++s.timersRegistered;
        return true;
      },
      [](const clap_host* h, clap_id id) { return Of(h).timers.erase(id) == 1; },
  };
  static const clap_host_posix_fd_support fdSupport = {
      [](const clap_host* h, int fd, std::uint32_t flags) {
        TClapHost& s = Of(h);
        if (s.fds.count(fd) != 0) return false;
        s.fds[fd] = flags;
        ++s.fdsRegistered;
        return true;
      },
      [](const clap_host* h, int fd, std::uint32_t flags) {
        auto it = Of(h).fds.find(fd);
        if (it == Of(h).fds.end()) return false;
        it->second = flags;
        return true;
      },
      [](const clap_host* h, int fd) { return Of(h).fds.erase(fd) == 1; },
  };
  if (id == nullptr) return nullptr;
  const std::string name = id;
  if (name == CLAP_EXT_THREAD_CHECK) return self.options_.threadCheck ? &threadCheck : nullptr;
  if (name == CLAP_EXT_LOG) return &log;
  if (name == CLAP_EXT_PARAMS) return &params;
  if (name == CLAP_EXT_STATE) return &state;
  if (name == CLAP_EXT_NOTE_PORTS) return &notePorts;
  if (name == CLAP_EXT_GUI) return &gui;
  if (name == CLAP_EXT_TIMER_SUPPORT) return self.options_.timers ? &timerSupport : nullptr;
  if (name == CLAP_EXT_POSIX_FD_SUPPORT) return self.options_.fds ? &fdSupport : nullptr;
  return nullptr;
}

}  // namespace vornix::claptest
