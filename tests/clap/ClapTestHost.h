// A small CLAP host for the tests: loads a plug-in through clap_entry (from a .clap file, or an
// entry built into the test program), makes and drives its one instance on the calling thread
// (the main thread, which also plays the audio role inside the audio calls), and records what the
// plug-in asks of its host and sends it.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "formats/clap/ClapAbi.h"
#include "hostkit/PluginLibrary.h"

namespace vornix::claptest {

// Events for the plug-in, in the order added (the host keeps them sorted by time).
class TEventList {
 public:
  template <class Event>
  void Add(const Event& event) {
    std::vector<std::uint64_t> storage((sizeof event + 7) / 8);
    std::memcpy(storage.data(), &event, sizeof event);
    events_.push_back(std::move(storage));
  }
  const clap::clap_input_events* Input() const { return &input_; }
  std::size_t Size() const { return events_.size(); }

 private:
  static std::uint32_t CLAP_ABI Count(const clap::clap_input_events* list);
  static const clap::clap_event_header* CLAP_ABI Get(const clap::clap_input_events* list, std::uint32_t index);

  std::vector<std::vector<std::uint64_t>> events_;
  clap::clap_input_events input_{this, &Count, &Get};
};

// What the plug-in pushed, copied as the host received it.
class TOutput {
 public:
  TOutput();
  const clap::clap_output_events* Output() const { return &output_; }
  std::size_t Size() const { return events_.size(); }
  const clap::clap_event_header& Header(std::size_t i) const;
  // The event as `Event` (of the type its header says).
  template <class Event>
  Event As(std::size_t i) const {
    Event e{};
    std::memcpy(&e, events_[i].data(), sizeof e);
    return e;
  }
  void Clear() { events_.clear(); }

 private:
  static bool CLAP_ABI Push(const clap::clap_output_events* list, const clap::clap_event_header* event);

  std::vector<std::vector<std::uint64_t>> events_;
  clap::clap_output_events output_{this, &Push};
};

// Fixed point as the host writes it.
std::int64_t Fixed(double value);
// A running (or stopped) transport at `beats` quarter notes, the seconds derived from the tempo.
clap::clap_event_transport Transport(double beats, double tempo, int numerator, int denominator, bool playing);

struct TOptions {
  bool timers = true;       // timer-support
  bool fds = true;          // posix-fd-support
  bool threadCheck = true;  // thread-check
};

class TClapHost {
 public:
  // Loads the file and its clap_entry, and calls the entry's init.
  explicit TClapHost(const std::string& path, TOptions options = {});
  explicit TClapHost(const clap::clap_plugin_entry& entry, TOptions options = {});
  // Destroys the instance (deactivating it first) and calls deinit.
  ~TClapHost();
  TClapHost(const TClapHost&) = delete;
  TClapHost& operator=(const TClapHost&) = delete;

  const clap::clap_plugin_entry& Entry() const { return *entry_; }
  const clap::clap_plugin_factory& Factory() const;
  // create_plugin and init; null when either fails.
  const clap::clap_plugin* Create(const char* id = "com.orvane.vornix");
  const clap::clap_plugin* Plugin() const { return plugin_; }
  void Destroy();
  template <class T>
  const T* Extension(const char* id) const {
    return static_cast<const T*>(plugin_->get_extension(plugin_, id));
  }

  // activate, then start_processing in the audio role.
  bool Activate(double sampleRate, std::uint32_t maxFrames);
  void Deactivate();
  // One process call; what the plug-in pushes is added to `out`.
  clap::clap_process_status Process(std::uint32_t frames, const clap::clap_event_transport* transport,
                                    const TEventList& in, TOutput& out) {
    return Process(frames, transport, in, *out.Output());
  }
  // The same into a list of the caller's.
  clap::clap_process_status Process(std::uint32_t frames, const clap::clap_event_transport* transport,
                                    const TEventList& in, const clap::clap_output_events& out);
  // params.flush (in the audio role while active).
  void Flush(const TEventList& in, TOutput& out);

  // state.save and state.load, the streams moving at most `step` bytes at a time.
  std::vector<std::uint8_t> Save(std::size_t step = 1u << 20);
  bool Load(const std::vector<std::uint8_t>& bytes, std::size_t step = 1u << 20);

  // The host's main loop: due timers (each registered one, once) and readable descriptors.
  void RunTimers();
  void RunFds();
  // What request_callback asked for.
  void RunCallbacks();

  // What the plug-in asked of its host.
  int flushRequests = 0;
  int processRequests = 0;
  int callbackRequests = 0;
  int dirtyMarks = 0;
  std::vector<std::uint32_t> rescans;
  std::vector<std::pair<clap::clap_log_severity, std::string>> logs;
  // gui.request_resize: the sizes asked for, and whether the host takes them.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> resizeRequests;
  bool takesResize = true;
  std::map<clap::clap_id, std::uint32_t> timers;  // id → period (ms)
  std::map<int, std::uint32_t> fds;               // descriptor → flags
  int timersRegistered = 0;
  int fdsRegistered = 0;

 private:
  void MakeHost(TOptions options);
  static const void* CLAP_ABI HostExtension(const clap::clap_host* host, const char* id);
  static TClapHost& Of(const clap::clap_host* host) { return *static_cast<TClapHost*>(host->host_data); }

  std::unique_ptr<hostkit::PluginLibrary> library_;
  const clap::clap_plugin_entry* entry_ = nullptr;
  TOptions options_;
  clap::clap_host host_{};
  const clap::clap_plugin* plugin_ = nullptr;
  bool active_ = false;
  bool callbackPending_ = false;
  clap::clap_id nextTimer_ = 1;
};

}  // namespace vornix::claptest
