// The base of every module: the embedded effect record, the host callback, the static entries the
// host calls, the dispatcher with one virtual handler per opcode, and the host requests.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "host/VstAbi.h"

namespace vornix::host {

class TBasicVSTModule;
using TNotifyEvent = std::function<void(TBasicVSTModule& sender)>;

// Raised for failures of the host binding itself (a host that is too old, a bad index).
class EVstError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TBasicVSTModule {
 public:
  TBasicVSTModule();
  virtual ~TBasicVSTModule();
  TBasicVSTModule(const TBasicVSTModule&) = delete;
  TBasicVSTModule& operator=(const TBasicVSTModule&) = delete;

  virtual vst::AEffect* GetEffect() { return &FEffect; }
  const vst::AEffect& Effect() const { return FEffect; }

  // Stores the host callback (a null one raises EVstError) and asks the host who it is.
  virtual void SetAudioMaster(vst::audioMasterCallback callback);
  // Names the module in the record's user field (the object field for the two hosts that keep
  // their own pointer in user). Until then both stay null: scanners take a non-null user field for
  // an instance of their own and stop answering.
  void Complete();
  vst::audioMasterCallback AudioMaster() const { return FAudioMaster; }

  // The single way into the host; answers 0 without a callback.
  vst::VstIntPtr CallAudioMaster(vst::VstInt32 opcode, vst::VstInt32 index = 0, vst::VstIntPtr value = 0,
                                 void* ptr = nullptr, float opt = 0.0f);

  // Runs the handler of an opcode; any other opcode answers 0.
  virtual vst::VstIntPtr Dispatcher(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value, void* ptr,
                                    float opt);

  bool StoreInObjectField() const { return FStoreInObjectField; }

  // Ends the module's life: the last words of every layer, then the object itself.
  void Destroy();

  // The module behind a record handed out by one of our entry points, or null when the record
  // is not a live module's. Found from the record's address: hosts may overwrite its user field.
  static TBasicVSTModule* FromEffect(const vst::AEffect* effect);

  // Host requests (one wrapper per request the module makes).
  vst::VstInt32 HostVersion() { return static_cast<vst::VstInt32>(CallAudioMaster(vst::audioMasterVersion)); }
  void HostAutomate(vst::VstInt32 index, float value) {
    CallAudioMaster(vst::audioMasterAutomate, index, 0, nullptr, value);
  }
  void HostWantMidi() { CallAudioMaster(vst::audioMasterWantMidi, 0, 1); }
  void HostUpdateDisplay() { CallAudioMaster(vst::audioMasterUpdateDisplay); }
  void HostIOChanged() { CallAudioMaster(vst::audioMasterIOChanged); }
  void HostIdle() { CallAudioMaster(vst::audioMasterIdle); }
  vst::VstIntPtr HostCanDo(const char* text) {
    return CallAudioMaster(vst::audioMasterCanDo, 0, 0, const_cast<char*>(text));
  }
  void HostBeginEdit(vst::VstInt32 index) { CallAudioMaster(vst::audioMasterBeginEdit, index); }
  void HostEndEdit(vst::VstInt32 index) { CallAudioMaster(vst::audioMasterEndEdit, index); }
  bool HostSizeWindow(int width, int height) { return CallAudioMaster(vst::audioMasterSizeWindow, width, height) != 0; }
  vst::VstInt32 HostAutomationState() {
    return static_cast<vst::VstInt32>(CallAudioMaster(vst::audioMasterGetAutomationState));
  }
  vst::VstInt32 HostProcessLevel() {
    return static_cast<vst::VstInt32>(CallAudioMaster(vst::audioMasterGetCurrentProcessLevel));
  }

  // Life-cycle events.
  TNotifyEvent OnOpen;
  TNotifyEvent OnClose;

 protected:
  // One handler per opcode, in opcode order. Results are the host's 32-bit answers.
  virtual vst::VstIntPtr HostCallOpen(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallClose(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallSetProgram(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetProgram(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallSetProgramName(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetProgramName(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetParamLabel(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetParamDisplay(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetParamName(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetVu(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallSetSampleRate(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallSetBlockSize(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallMainsChanged(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallEditGetRect(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallEditOpen(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallEditClose(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallEditIdle(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallEditTop(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallEditSleep(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallIdentify(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetChunk(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallSetChunk(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallProcessEvents(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallCanBeAutomated(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallString2Parameter(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetNumProgramCategories(vst::VstInt32 index, vst::VstIntPtr value, void* ptr,
                                                         float opt);
  virtual vst::VstIntPtr HostCallGetProgramNameIndexed(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallConnectInput(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallConnectOutput(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetInputProperties(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetOutputProperties(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetPlugCategory(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallOfflineNotify(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallOfflinePrepare(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallOfflineRun(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallProcessVarIo(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallSetSpeakerArrangement(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallSetBlockSizeAndSampleRate(vst::VstInt32 index, vst::VstIntPtr value, void* ptr,
                                                           float opt);
  virtual vst::VstIntPtr HostCallSetBypass(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetEffectName(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetVendorString(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetProductString(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetVendorVersion(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallVendorSpecific(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallCanDo(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetTailSize(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetParameterProperties(vst::VstInt32 index, vst::VstIntPtr value, void* ptr,
                                                        float opt);
  virtual vst::VstIntPtr HostCallKeysRequired(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetVstVersion(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallEditKeyDown(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallEditKeyUp(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallSetEditKnobMode(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallGetCurrentMidiProgram(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallBeginSetProgram(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallEndSetProgram(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallStartProcess(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallStopProcess(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallSetTotalSampleToProcess(vst::VstInt32 index, vst::VstIntPtr value, void* ptr,
                                                         float opt);
  virtual vst::VstIntPtr HostCallSetPanLaw(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallBeginLoadBank(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallBeginLoadProgram(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  virtual vst::VstIntPtr HostCallSetProcessPrecision(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);
  // Opcodes that do nothing (deprecated or unused) share one handler.
  virtual vst::VstIntPtr HostCallNothing(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);

  // Processing entry points the module serves (reached through the record after effOpen).
  virtual void Process(float** inputs, float** outputs, vst::VstInt32 sampleFrames);
  virtual void ProcessReplacing(float** inputs, float** outputs, vst::VstInt32 sampleFrames);
  virtual void ProcessDoubleReplacing(double** inputs, double** outputs, vst::VstInt32 sampleFrames);
  // Parameter entries of the record (the parameter layer implements them).
  virtual void HostSetParameter(vst::VstInt32 index, float value);
  virtual float HostGetParameter(vst::VstInt32 index);

  // Runs before the destructors, while every layer of the module still exists.
  virtual void BeforeDestruction() {}

  // Binds the record's entries for each stage of the life cycle.
  void BindGuardEntries();
  void BindLiveEntries();
  void BindClosedEntries();

  vst::AEffect FEffect{};
  bool FStoreInObjectField = false;

 private:
  friend struct EffectEntries;
  vst::audioMasterCallback FAudioMaster = nullptr;
};

// Copies text into a host buffer of the given size, always zero-terminated, cut to fit.
void CopyToHostBuffer(void* dest, const std::string& text, std::size_t bufferSize);

}  // namespace vornix::host
