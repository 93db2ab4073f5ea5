// The 72 settings as CLAP parameters: ids are the VST 2.x indices, for ever; values are in
// parameter units and whole numbers. Values the host sets go into the module; values the module
// takes on its own (the editor, a mapped controller, a preset) go back to the host as events.
//
// Threads: the host's values arrive in process or flush; what the module reports comes on the
// thread that made the change (the editor's main thread, or the audio thread for a mapped
// controller).
#pragma once

#include <array>
#include <atomic>
#include <string>
#include <vector>

#include "formats/clap/ClapAbi.h"
#include "formats/clap/HostLink.h"
#include "formats/clap/Outbox.h"
#include "formats/common/EffectHost.h"
#include "formats/common/ParameterInfo.h"
#include "plugin/ParameterTable.h"

namespace vornix::formats::clapface {

class TParameters {
 public:
  explicit TParameters(THostLink& host) : host_(host) {}

  // Main thread, once the effect exists: the descriptions, and every value as the host knows it.
  void Attach(TEffectHost& effect);
  // Main thread: every value as it is now is the one the host knows (after the host loaded a state).
  void HostKnowsAll();

  // The params extension (main thread).
  std::uint32_t Count() const { return static_cast<std::uint32_t>(infos_.size()); }
  bool Info(std::uint32_t index, clap::clap_param_info& info) const;
  bool Value(clap::clap_id id, double& value) const;
  bool ToText(clap::clap_id id, double value, char* text, std::uint32_t capacity) const;
  bool FromText(clap::clap_id id, const char* text, double& value) const;

  // A host's event of any kind: a parameter value is applied (true); other events are left alone.
  bool Apply(const clap::clap_event_header& event);
  // The audio thread, at the start of a process or flush call: what waited in the outbox, at
  // `time`.
  void SendWaiting(const clap::clap_output_events& out, std::uint32_t time);
  // Where a change the module makes while the audio thread plays goes: the host hears it at once,
  // at that time. Null when nothing is playing.
  void PlayInto(const clap::clap_output_events* out, std::uint32_t time) {
    playOut_ = out;
    playTime_ = time;
  }

  // While the host processes, the next process call hands the outbox on; otherwise the host is
  // asked for a flush.
  void SetProcessing(bool processing) { processing_.store(processing, std::memory_order_release); }

  // What the module reports (TEffectHost::TListener), on the thread of the change.
  void Changed(int index, float normalized);
  void Gesture(int index, bool begins);

  // The plain value of a normalized one, whole.
  double Plain(int index, float normalized) const;

 private:
  bool Valid(clap::clap_id id) const { return id < infos_.size(); }
  void Queue(TOutbox::TKind kind, int index);
  void Send(const clap::clap_output_events& out, std::uint32_t time, TOutbox::TKind kind, int index,
            std::uint32_t flags = 0);

  THostLink& host_;
  TEffectHost* effect_ = nullptr;
  std::vector<TParameterInfo> infos_;
  // The normalized value the host last heard of or set, per parameter.
  std::array<std::atomic<float>, plugin::kParameterCount> known_{};
  TOutbox outbox_;
  // The editor's thread: a gesture whose beginning the full outbox lost also loses its end.
  std::array<bool, plugin::kParameterCount> beginLost_{};
  std::atomic<bool> processing_{false};
  // The audio thread's, while it plays.
  const clap::clap_output_events* playOut_ = nullptr;
  std::uint32_t playTime_ = 0;
};

}  // namespace vornix::formats::clapface
