// The plug-in hosted in-process for a plug-in format other than VST 2.x. The other format's face
// calls this; this drives the effect exactly as a VST 2.x host does (its dispatcher, parameter and
// processing entries, its editor calls), so every format runs the one module through the same
// paths, and what the module asks of its host comes back here.
//
// Threads: Process on the processing thread only; the editor calls on one thread (the one that
// opens the editor); the rest on the format host's main thread, as for a VST 2.x host.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "host/VstAbi.h"

namespace vornix::plugin {
class TVSTPlugin;
}

namespace vornix::formats {

class TEffectHost {
 public:
  // What the module tells its host, on whichever thread it happens: parameter changes come from the
  // processing thread too (a mapped controller arrives), and must then not block.
  class TListener {
   public:
    virtual ~TListener() = default;
    // A parameter took a new value (normalized 0..1) that the host did not set.
    virtual void ParameterChanged(int index, float normalized) { (void)index, (void)normalized; }
    // The user grabs (true) and lets go of (false) a parameter's control in the editor.
    virtual void ParameterGesture(int index, bool begins) { (void)index, (void)begins; }
    // The saved state changed in a way no parameter shows (steps, titles, a load), or the host
    // should read every parameter again.
    virtual void StateChanged() {}
    // The editor asks for a new size of its window (its zoom changed), on the editor's thread:
    // true when the host's window takes it.
    virtual bool EditorResize(int width, int height) {
      (void)width, (void)height;
      return false;
    }
  };

  // The processing thread's receiver of one block's MIDI, in time order, offsets inside the block.
  class TMidiOut {
   public:
    virtual void Midi(const vst::VstMidiEvent& event) = 0;

   protected:
    ~TMidiOut() = default;
  };

  // Incoming events a block takes at most; later ones are dropped.
  static constexpr int kMaxEventsIn = 512;

  // Makes the plug-in as the VST 2.x entry point does and opens it. Throws std::runtime_error when
  // it does not start.
  explicit TEffectHost(TListener& listener);
  ~TEffectHost();
  TEffectHost(const TEffectHost&) = delete;
  TEffectHost& operator=(const TEffectHost&) = delete;

  // Not while processing. Blocks may be up to `maxFrames` long; longer ones are played in parts.
  void Configure(float sampleRate, int maxFrames);
  void SetActive(bool active);

  // Processing thread: one block of `frames` samples. `time` is the host's transport for the block
  // (null: none, which plays like a stopped transport); `in` the block's incoming MIDI in time
  // order. Allocates nothing and takes no lock.
  void Process(int frames, const vst::VstTimeInfo* time, std::span<const vst::VstMidiEvent> in, TMidiOut& out);

  // Parameters as a VST 2.x host sees them.
  int ParameterCount() const;
  float Parameter(int index) const;  // normalized
  void SetParameter(int index, float normalized);
  std::string ParameterName(int index);
  // The text the parameter shows now.
  std::string ParameterDisplay(int index);
  vst::VstParameterProperties ParameterProperties(int index);

  // The state as the VST 2.x build saves a program, which is also the bytes of a preset file.
  std::vector<std::uint8_t> SaveState();
  // False (and nothing changed) when the bytes are no state the plug-in can load.
  bool LoadState(std::span<const std::uint8_t> bytes);

  // The editor, inside `parent` (an X11 Window id, an HWND). False when it cannot open.
  bool OpenEditor(void* parent);
  void IdleEditor();
  void CloseEditor();
  void EditorSize(int& width, int& height);
  // The host's UI scale as a factor (1.5: 150 %), as VST 2.x hosts tell it; false when the plug-in
  // does not take it.
  bool TellScale(double factor);

  // The module itself, for what a VST 2.x host cannot ask (the texts of a list parameter's values).
  plugin::TVSTPlugin& Module() const { return *module_; }
  vst::AEffect& Effect() const { return *effect_; }

 private:
  static vst::VstIntPtr VSTCALLBACK Callback(vst::AEffect* effect, vst::VstInt32 opcode, vst::VstInt32 index,
                                             vst::VstIntPtr value, void* ptr, float opt);
  vst::VstIntPtr Answer(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  vst::VstIntPtr Dispatch(vst::VstInt32 opcode, vst::VstInt32 index = 0, vst::VstIntPtr value = 0, void* ptr = nullptr,
                          float opt = 0.0f);
  void ProcessPart(int offset, int frames, const vst::VstTimeInfo* time, std::span<const vst::VstMidiEvent> in);

  // Laid out as VstEvents, with room for a block's events.
  struct TEventList {
    vst::VstInt32 numEvents = 0;
    vst::VstIntPtr reserved = 0;
    std::array<vst::VstEvent*, kMaxEventsIn> events{};
  };

  TListener& listener_;
  vst::AEffect* effect_ = nullptr;
  plugin::TVSTPlugin* module_ = nullptr;
  float sampleRate_ = 44100.0f;
  int maxFrames_ = 1024;
  // The processing thread's, during Process.
  vst::VstTimeInfo partTime_{};
  const vst::VstTimeInfo* time_ = nullptr;
  TMidiOut* out_ = nullptr;
  int partOffset_ = 0;
  std::array<vst::VstMidiEvent, kMaxEventsIn> partEvents_{};
  TEventList eventList_;
  std::vector<float> silence_[2];
  std::vector<std::uint8_t> stateCopy_;
};

}  // namespace vornix::formats
