#include "host/BasicVSTModule.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "host/HostText.h"
#include "host/ModuleRegistry.h"

namespace vornix::host {

using namespace vst;

// The static functions the host calls through the record. None lets an exception escape.
struct EffectEntries {
  static VstIntPtr VSTCALLBACK Dispatch(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                        float opt) {
    TBasicVSTModule* m = TBasicVSTModule::FromEffect(e);
    if (m == nullptr) return 0;
    try {
      return m->Dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
      return 0;
    }
  }

  static void VSTCALLBACK SetParameter(AEffect* e, VstInt32 index, float value) {
    if (TBasicVSTModule* m = TBasicVSTModule::FromEffect(e)) {
      try {
        m->HostSetParameter(index, value);
      } catch (...) {
      }
    }
  }

  static float VSTCALLBACK GetParameter(AEffect* e, VstInt32 index) {
    if (TBasicVSTModule* m = TBasicVSTModule::FromEffect(e)) {
      try {
        return m->HostGetParameter(index);
      } catch (...) {
      }
    }
    return 0.0f;
  }

  static bool Usable(AEffect* e, const void* inputs, const void* outputs, VstInt32 frames) {
    return e != nullptr && frames > 0 && (inputs != nullptr || outputs != nullptr);
  }

  static void VSTCALLBACK Process(AEffect* e, float** inputs, float** outputs, VstInt32 frames) {
    if (!Usable(e, inputs, outputs, frames)) return;
    if (TBasicVSTModule* m = TBasicVSTModule::FromEffect(e)) {
      try {
        m->Process(inputs, outputs, frames);
      } catch (...) {
      }
    }
  }

  static void VSTCALLBACK ProcessReplacing(AEffect* e, float** inputs, float** outputs, VstInt32 frames) {
    if (!Usable(e, inputs, outputs, frames)) return;
    if (TBasicVSTModule* m = TBasicVSTModule::FromEffect(e)) {
      try {
        m->ProcessReplacing(inputs, outputs, frames);
      } catch (...) {
      }
    }
  }

  static void VSTCALLBACK ProcessDoubleReplacing(AEffect* e, double** inputs, double** outputs, VstInt32 frames) {
    if (!Usable(e, inputs, outputs, frames)) return;
    if (TBasicVSTModule* m = TBasicVSTModule::FromEffect(e)) {
      try {
        m->ProcessDoubleReplacing(inputs, outputs, frames);
      } catch (...) {
      }
    }
  }

  // Before effOpen and after effClose processing does nothing.
  static void VSTCALLBACK ProcessGuard(AEffect*, float**, float**, VstInt32) {}
  static void VSTCALLBACK ProcessReplacingGuard(AEffect*, float**, float**, VstInt32) {}
  static void VSTCALLBACK ProcessDoubleGuard(AEffect*, double**, double**, VstInt32) {}
  static void VSTCALLBACK SetParameterClosed(AEffect*, VstInt32, float) {}
  static float VSTCALLBACK GetParameterClosed(AEffect*, VstInt32) { return 0.0f; }
};

TBasicVSTModule::TBasicVSTModule() {
  FEffect.magic = kEffectMagic;
  FEffect.dispatcher = &EffectEntries::Dispatch;
  FEffect.setParameter = &EffectEntries::SetParameter;
  FEffect.getParameter = &EffectEntries::GetParameter;
  FEffect.flags = effFlagsCanReplacing;
  FEffect.numInputs = 2;
  FEffect.numOutputs = 2;
  FEffect.ioRatio = 1.0f;
  FEffect.uniqueID = FourCC('N', 'o', 'E', 'f');
  // user and object stay null until the module is complete (see Complete).
  BindGuardEntries();
}

TBasicVSTModule::~TBasicVSTModule() { ModuleRegistry::Remove(this); }

TBasicVSTModule* TBasicVSTModule::FromEffect(const AEffect* effect) { return ModuleRegistry::Find(effect); }

void TBasicVSTModule::BindGuardEntries() {
  FEffect.process = &EffectEntries::ProcessGuard;
  FEffect.processReplacing = &EffectEntries::ProcessReplacingGuard;
  FEffect.processDoubleReplacing = &EffectEntries::ProcessDoubleGuard;
}

void TBasicVSTModule::BindLiveEntries() {
  FEffect.setParameter = &EffectEntries::SetParameter;
  FEffect.getParameter = &EffectEntries::GetParameter;
  FEffect.process = &EffectEntries::Process;
  FEffect.processReplacing = &EffectEntries::ProcessReplacing;
  FEffect.processDoubleReplacing = &EffectEntries::ProcessDoubleReplacing;
}

void TBasicVSTModule::BindClosedEntries() {
  FEffect.getParameter = &EffectEntries::GetParameterClosed;
  FEffect.setParameter = &EffectEntries::SetParameterClosed;
  BindGuardEntries();
}

void TBasicVSTModule::SetAudioMaster(audioMasterCallback callback) {
  if (callback == nullptr) throw EVstError("AudioMaster Error");
  FAudioMaster = callback;
  // Any answer is a host we can serve: 0 comes from old hosts, and from scanners that answer 0 to
  // everything while they take the record's user field for their own.
  HostVersion();
  std::array<char, 256> product{};
  CallAudioMaster(audioMasterGetProductString, 0, 0, product.data());
  product.back() = '\0';
  const std::string host(product.data());
  // Two hosts keep their own pointer in the user field; the module then lives in the object field.
  // The host text is searched for within the names, so a prefix such as "XT" matches too.
  FStoreInObjectField = !host.empty() && (std::string("energyXT").find(host) != std::string::npos ||
                                          std::string("Sound Forge Pro 10.0").find(host) != std::string::npos);
}

void TBasicVSTModule::Complete() {
  if (FStoreInObjectField)
    FEffect.object = this;
  else
    FEffect.user = this;
}

VstIntPtr TBasicVSTModule::CallAudioMaster(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  if (FAudioMaster == nullptr) return 0;
  return FAudioMaster(&FEffect, opcode, index, value, ptr, opt);
}

VstIntPtr TBasicVSTModule::Dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  using Handler = VstIntPtr (TBasicVSTModule::*)(VstInt32, VstIntPtr, void*, float);
  static constexpr std::array<Handler, kNumDispatcherOpcodes> kHandlers = {
      &TBasicVSTModule::HostCallOpen,
      &TBasicVSTModule::HostCallClose,
      &TBasicVSTModule::HostCallSetProgram,
      &TBasicVSTModule::HostCallGetProgram,
      &TBasicVSTModule::HostCallSetProgramName,
      &TBasicVSTModule::HostCallGetProgramName,
      &TBasicVSTModule::HostCallGetParamLabel,
      &TBasicVSTModule::HostCallGetParamDisplay,
      &TBasicVSTModule::HostCallGetParamName,
      &TBasicVSTModule::HostCallGetVu,
      &TBasicVSTModule::HostCallSetSampleRate,
      &TBasicVSTModule::HostCallSetBlockSize,
      &TBasicVSTModule::HostCallMainsChanged,
      &TBasicVSTModule::HostCallEditGetRect,
      &TBasicVSTModule::HostCallEditOpen,
      &TBasicVSTModule::HostCallEditClose,
      &TBasicVSTModule::HostCallNothing,  // effEditDraw
      &TBasicVSTModule::HostCallNothing,  // effEditMouse
      &TBasicVSTModule::HostCallNothing,  // effEditKey
      &TBasicVSTModule::HostCallEditIdle,
      &TBasicVSTModule::HostCallEditTop,
      &TBasicVSTModule::HostCallEditSleep,
      &TBasicVSTModule::HostCallIdentify,
      &TBasicVSTModule::HostCallGetChunk,
      &TBasicVSTModule::HostCallSetChunk,
      &TBasicVSTModule::HostCallProcessEvents,
      &TBasicVSTModule::HostCallCanBeAutomated,
      &TBasicVSTModule::HostCallString2Parameter,
      &TBasicVSTModule::HostCallGetNumProgramCategories,
      &TBasicVSTModule::HostCallGetProgramNameIndexed,
      &TBasicVSTModule::HostCallNothing,  // effCopyProgram
      &TBasicVSTModule::HostCallConnectInput,
      &TBasicVSTModule::HostCallConnectOutput,
      &TBasicVSTModule::HostCallGetInputProperties,
      &TBasicVSTModule::HostCallGetOutputProperties,
      &TBasicVSTModule::HostCallGetPlugCategory,
      &TBasicVSTModule::HostCallNothing,  // effGetCurrentPosition
      &TBasicVSTModule::HostCallNothing,  // effGetDestinationBuffer
      &TBasicVSTModule::HostCallOfflineNotify,
      &TBasicVSTModule::HostCallOfflinePrepare,
      &TBasicVSTModule::HostCallOfflineRun,
      &TBasicVSTModule::HostCallProcessVarIo,
      &TBasicVSTModule::HostCallSetSpeakerArrangement,
      &TBasicVSTModule::HostCallSetBlockSizeAndSampleRate,
      &TBasicVSTModule::HostCallSetBypass,
      &TBasicVSTModule::HostCallGetEffectName,
      &TBasicVSTModule::HostCallNothing,  // effGetErrorText
      &TBasicVSTModule::HostCallGetVendorString,
      &TBasicVSTModule::HostCallGetProductString,
      &TBasicVSTModule::HostCallGetVendorVersion,
      &TBasicVSTModule::HostCallVendorSpecific,
      &TBasicVSTModule::HostCallCanDo,
      &TBasicVSTModule::HostCallGetTailSize,
      &TBasicVSTModule::HostCallNothing,  // effIdle
      &TBasicVSTModule::HostCallNothing,  // effGetIcon
      &TBasicVSTModule::HostCallNothing,  // effSetViewPosition
      &TBasicVSTModule::HostCallGetParameterProperties,
      &TBasicVSTModule::HostCallKeysRequired,
      &TBasicVSTModule::HostCallGetVstVersion,
      &TBasicVSTModule::HostCallEditKeyDown,
      &TBasicVSTModule::HostCallEditKeyUp,
      &TBasicVSTModule::HostCallSetEditKnobMode,
      &TBasicVSTModule::HostCallNothing,  // effGetMidiProgramName
      &TBasicVSTModule::HostCallGetCurrentMidiProgram,
      &TBasicVSTModule::HostCallNothing,  // effGetMidiProgramCategory
      &TBasicVSTModule::HostCallNothing,  // effHasMidiProgramsChanged
      &TBasicVSTModule::HostCallNothing,  // effGetMidiKeyName
      &TBasicVSTModule::HostCallBeginSetProgram,
      &TBasicVSTModule::HostCallEndSetProgram,
      &TBasicVSTModule::HostCallNothing,  // effGetSpeakerArrangement
      &TBasicVSTModule::HostCallNothing,  // effShellGetNextPlugin
      &TBasicVSTModule::HostCallStartProcess,
      &TBasicVSTModule::HostCallStopProcess,
      &TBasicVSTModule::HostCallSetTotalSampleToProcess,
      &TBasicVSTModule::HostCallSetPanLaw,
      &TBasicVSTModule::HostCallBeginLoadBank,
      &TBasicVSTModule::HostCallBeginLoadProgram,
      &TBasicVSTModule::HostCallSetProcessPrecision,
      &TBasicVSTModule::HostCallNothing,  // effGetNumMidiInputChannels
      &TBasicVSTModule::HostCallNothing,  // effGetNumMidiOutputChannels
  };
  if (opcode < 0 || opcode >= kNumDispatcherOpcodes) return 0;
  return (this->*kHandlers[static_cast<std::size_t>(opcode)])(index, value, ptr, opt);
}

// effOpen: processing and parameter entries go live. In the object-field mode processing must
// reach the module as well, so the same entries serve both modes.
VstIntPtr TBasicVSTModule::HostCallOpen(VstInt32, VstIntPtr, void*, float) {
  BindLiveEntries();
  if (OnOpen) OnOpen(*this);
  return 0;
}

// effClose: the module destroys itself; the host must not use the record again.
VstIntPtr TBasicVSTModule::HostCallClose(VstInt32, VstIntPtr, void*, float) {
  if (OnClose) OnClose(*this);
  BindClosedEntries();
  if (FStoreInObjectField)
    FEffect.object = nullptr;
  else
    FEffect.user = nullptr;
  ModuleRegistry::Remove(this);
  try {
    Destroy();
  } catch (...) {
    return 0;
  }
  return 1;
}

void TBasicVSTModule::Destroy() {
  BeforeDestruction();
  delete this;
}

#define VORNIX_ANSWER_ZERO(name) \
  VstIntPtr TBasicVSTModule::name(VstInt32, VstIntPtr, void*, float) { return 0; }
VORNIX_ANSWER_ZERO(HostCallSetProgram)
VORNIX_ANSWER_ZERO(HostCallGetProgram)
VORNIX_ANSWER_ZERO(HostCallSetProgramName)
VORNIX_ANSWER_ZERO(HostCallGetProgramName)
VORNIX_ANSWER_ZERO(HostCallGetParamLabel)
VORNIX_ANSWER_ZERO(HostCallGetParamDisplay)
VORNIX_ANSWER_ZERO(HostCallGetParamName)
VORNIX_ANSWER_ZERO(HostCallGetVu)
VORNIX_ANSWER_ZERO(HostCallSetSampleRate)
VORNIX_ANSWER_ZERO(HostCallSetBlockSize)
VORNIX_ANSWER_ZERO(HostCallMainsChanged)
VORNIX_ANSWER_ZERO(HostCallEditGetRect)
VORNIX_ANSWER_ZERO(HostCallEditOpen)
VORNIX_ANSWER_ZERO(HostCallEditClose)
VORNIX_ANSWER_ZERO(HostCallEditIdle)
VORNIX_ANSWER_ZERO(HostCallEditTop)
VORNIX_ANSWER_ZERO(HostCallEditSleep)
VORNIX_ANSWER_ZERO(HostCallGetChunk)
VORNIX_ANSWER_ZERO(HostCallSetChunk)
VORNIX_ANSWER_ZERO(HostCallProcessEvents)
VORNIX_ANSWER_ZERO(HostCallCanBeAutomated)
VORNIX_ANSWER_ZERO(HostCallString2Parameter)
VORNIX_ANSWER_ZERO(HostCallGetNumProgramCategories)
VORNIX_ANSWER_ZERO(HostCallGetProgramNameIndexed)
VORNIX_ANSWER_ZERO(HostCallConnectInput)
VORNIX_ANSWER_ZERO(HostCallConnectOutput)
VORNIX_ANSWER_ZERO(HostCallGetInputProperties)
VORNIX_ANSWER_ZERO(HostCallGetOutputProperties)
VORNIX_ANSWER_ZERO(HostCallGetPlugCategory)
VORNIX_ANSWER_ZERO(HostCallOfflineNotify)
VORNIX_ANSWER_ZERO(HostCallOfflinePrepare)
VORNIX_ANSWER_ZERO(HostCallOfflineRun)
VORNIX_ANSWER_ZERO(HostCallProcessVarIo)
VORNIX_ANSWER_ZERO(HostCallSetSpeakerArrangement)
VORNIX_ANSWER_ZERO(HostCallSetBlockSizeAndSampleRate)
VORNIX_ANSWER_ZERO(HostCallSetBypass)
VORNIX_ANSWER_ZERO(HostCallGetEffectName)
VORNIX_ANSWER_ZERO(HostCallGetVendorString)
VORNIX_ANSWER_ZERO(HostCallGetProductString)
VORNIX_ANSWER_ZERO(HostCallGetVendorVersion)
VORNIX_ANSWER_ZERO(HostCallVendorSpecific)
VORNIX_ANSWER_ZERO(HostCallCanDo)
VORNIX_ANSWER_ZERO(HostCallGetTailSize)
VORNIX_ANSWER_ZERO(HostCallGetParameterProperties)
VORNIX_ANSWER_ZERO(HostCallKeysRequired)
VORNIX_ANSWER_ZERO(HostCallGetVstVersion)
VORNIX_ANSWER_ZERO(HostCallEditKeyDown)
VORNIX_ANSWER_ZERO(HostCallEditKeyUp)
VORNIX_ANSWER_ZERO(HostCallSetEditKnobMode)
VORNIX_ANSWER_ZERO(HostCallGetCurrentMidiProgram)
VORNIX_ANSWER_ZERO(HostCallBeginSetProgram)
VORNIX_ANSWER_ZERO(HostCallEndSetProgram)
VORNIX_ANSWER_ZERO(HostCallStartProcess)
VORNIX_ANSWER_ZERO(HostCallStopProcess)
VORNIX_ANSWER_ZERO(HostCallSetTotalSampleToProcess)
VORNIX_ANSWER_ZERO(HostCallSetPanLaw)
VORNIX_ANSWER_ZERO(HostCallBeginLoadBank)
VORNIX_ANSWER_ZERO(HostCallBeginLoadProgram)
VORNIX_ANSWER_ZERO(HostCallSetProcessPrecision)
VORNIX_ANSWER_ZERO(HostCallNothing)
#undef VORNIX_ANSWER_ZERO

VstIntPtr TBasicVSTModule::HostCallIdentify(VstInt32, VstIntPtr, void*, float) { return kIdentifyReply; }

void TBasicVSTModule::Process(float**, float**, VstInt32) {}
void TBasicVSTModule::ProcessReplacing(float**, float**, VstInt32) {}
void TBasicVSTModule::ProcessDoubleReplacing(double**, double**, VstInt32) {}
void TBasicVSTModule::HostSetParameter(VstInt32, float) {}
float TBasicVSTModule::HostGetParameter(VstInt32) { return 0.0f; }

void CopyToHostBuffer(void* dest, const std::string& text, std::size_t bufferSize) {
  if (dest == nullptr || bufferSize == 0) return;
  const std::string hostText = HostTextFitting(text, bufferSize);
  std::memcpy(dest, hostText.data(), hostText.size());
  static_cast<char*>(dest)[hostText.size()] = '\0';
}

}  // namespace vornix::host
