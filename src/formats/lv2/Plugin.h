// The plug-in as an LV2 host sees it: the module, hosted in-process as for every format that is not
// VST 2.x, behind LV2's ports, state and options.
//
// Threads: Run on the host's audio thread; Connect, Activate, Save and Restore as LV2 allows; the UI
// calls (AttachUi, DetachUi, ReportPending) on the UI's thread. What the module tells its host may
// come on any of them.
#pragma once

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <thread>

#include "formats/common/EffectHost.h"
#include "formats/lv2/Controls.h"
#include "formats/lv2/Transport.h"
#include "formats/lv2/Urids.h"

namespace vornix::formats::lv2 {

class TPlugin final : TEffectHost::TListener, TEffectHost::TMidiOut {
 public:
  // The editor's side, called only on the UI's own thread.
  class TUi {
   public:
    // The module's value of a parameter changed without the host: the host is to hear of it.
    virtual void Report(int parameter, float value) = 0;
    virtual void Gesture(int parameter, bool begins) = 0;
    // The editor's window is to take this size (its zoom changed): true when the host resized.
    virtual bool Resize(int width, int height) = 0;

   protected:
    ~TUi() = default;
  };

  // Throws std::runtime_error when the host offers no urid:map or the module does not start.
  TPlugin(double sampleRate, const LV2_Feature* const* features);
  ~TPlugin() override;
  TPlugin(const TPlugin&) = delete;
  TPlugin& operator=(const TPlugin&) = delete;

  void Connect(std::uint32_t port, void* data);
  void Activate() { host_.SetActive(true); }
  void Deactivate() { host_.SetActive(false); }
  // Allocates nothing and takes no lock.
  void Run(std::uint32_t frames);

  LV2_State_Status Save(LV2_State_Store_Function store, LV2_State_Handle handle);
  LV2_State_Status Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

  TEffectHost& Host() { return host_; }
  // A parameter's value in the module, as its port shows it.
  float Value(int parameter) const;

  // The UI's thread becomes the one whose changes reach `ui` at once. False when another UI is
  // attached already.
  bool AttachUi(TUi& ui);
  void DetachUi();
  // Changes made on other threads (a mapped controller while playing) since the last call.
  void ReportPending();

 private:
  void ParameterChanged(int index, float normalized) override;
  void ParameterGesture(int index, bool begins) override;
  void StateChanged() override;
  bool EditorResize(int width, int height) override;
  void Midi(const vst::VstMidiEvent& event) override;

  bool OnUiThread() const { return std::this_thread::get_id() == uiThread_.load(std::memory_order_acquire); }
  bool Loading() const { return std::this_thread::get_id() == loadingThread_.load(std::memory_order_acquire); }
  void MarkPending(int index);
  // Plays the frames from the current one to `end` with the transport as it stands.
  void PlayUntil(std::uint32_t end);
  void Append(std::int64_t frame, std::uint32_t type, const void* body, std::uint32_t size);

  // Written before the module starts: what the module says while it starts lands here.
  std::array<std::atomic<bool>, plugin::kParameterCount> pending_{};
  std::atomic<bool> anyPending_{false};
  std::atomic<bool> stateChanged_{false};
  // Set by a restore, for the next block to compare the state with the ports.
  std::atomic<bool> restored_{false};
  std::atomic<std::thread::id> uiThread_{};
  std::atomic<std::thread::id> loadingThread_{};
  TUi* ui_ = nullptr;  // the UI's thread only

  TUrids urids_;
  TEffectHost host_;
  TControls controls_;
  TTransport transport_;

  // The audio thread's, during Run.
  const LV2_Atom_Sequence* in_ = nullptr;
  LV2_Atom_Sequence* out_ = nullptr;
  std::uint32_t outCapacity_ = 0;
  std::uint32_t segmentStart_ = 0;
  std::uint32_t blockFrames_ = 0;
  int eventCount_ = 0;
  std::array<vst::VstMidiEvent, TEffectHost::kMaxEventsIn> events_{};
};

}  // namespace vornix::formats::lv2
