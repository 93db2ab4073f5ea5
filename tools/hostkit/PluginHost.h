// A small VST 2.x host: loads a plug-in file through its entry point, answers its requests in a
// scriptable way and records what it sends. Used by vornix-render and the integration tests.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/VstAbi.h"
#include "hostkit/PluginLibrary.h"

namespace vornix::hostkit {

struct HostRequest {
  vst::VstInt32 opcode;
  vst::VstInt32 index;
  vst::VstIntPtr value;
  float opt;
};

// A copy of one outgoing MIDI event as the host received it.
struct ReceivedMidi {
  int block;  // which processing call (0-based) delivered it
  vst::VstInt32 deltaFrames;
  unsigned char status, data1, data2;
};

class PluginHost {
 public:
  using EntryPoint = std::function<vst::AEffect*(vst::audioMasterCallback)>;

  // Loads the library (UTF-8 path); throws std::runtime_error when it or its entry point cannot be
  // found.
  explicit PluginHost(const std::string& path);
  // A plug-in built into this process: `entry` does what its entry point would.
  explicit PluginHost(EntryPoint entry);
  ~PluginHost();
  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  // Calls the entry point; the answer may be null. The last created effect is this host's.
  vst::AEffect* Create(bool viaMain = false);
  vst::AEffect* Effect() const { return effect_; }

  vst::VstIntPtr Dispatch(vst::VstInt32 opcode, vst::VstInt32 index = 0, vst::VstIntPtr value = 0, void* ptr = nullptr,
                          float opt = 0.0f);
  std::string DispatchText(vst::VstInt32 opcode, vst::VstInt32 index = 0);
  // effClose; the effect is gone afterwards.
  vst::VstIntPtr Close();

  // Runs one processReplacing call with two output channels of the given length.
  void ProcessBlock(int frames);
  // Sends events to the plug-in with effProcessEvents.
  void SendMidi(const std::vector<vst::VstMidiEvent>& events);

  // The chunk exchange of effGetChunk / effSetChunk; program form unless bank is asked for.
  std::vector<unsigned char> GetChunk(bool bank = false);
  vst::VstIntPtr SetChunk(const std::vector<unsigned char>& bytes, bool bank = false);

  // Scripted answers.
  vst::VstIntPtr versionAnswer = 2400;
  std::string productString = "Vornix Host";
  std::optional<vst::VstTimeInfo> timeInfo;  // none: audioMasterGetTime answers null
  std::function<std::optional<vst::VstIntPtr>(const HostRequest&, void* ptr)> override;

  // What the plug-in asked and sent. Long runs can switch off the request log, which grows with
  // every callback.
  bool recordRequests = true;
  std::vector<HostRequest> requests;
  std::vector<ReceivedMidi> midi;
  int processEventsCalls = 0;
  int blocksProcessed = 0;
  std::vector<float> outputs[2];

  std::size_t CountRequests(vst::VstInt32 opcode) const;

 private:
  static vst::VstIntPtr VSTCALLBACK Callback(vst::AEffect* effect, vst::VstInt32 opcode, vst::VstInt32 index,
                                             vst::VstIntPtr value, void* ptr, float opt);
  vst::VstIntPtr Answer(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);

  std::unique_ptr<PluginLibrary> library_;
  EntryPoint entry_;
  EntryPoint main_;
  vst::AEffect* effect_ = nullptr;
};

}  // namespace vornix::hostkit
