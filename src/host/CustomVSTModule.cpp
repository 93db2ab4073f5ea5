#include "host/CustomVSTModule.h"
#include "host/HostText.h"

#include <array>
#include <cmath>
#include <cstring>

namespace vornix::host {

using namespace vst;

namespace {

constexpr std::array<const char*, static_cast<std::size_t>(TVstCanDo::Count)> kCanDoTexts = {"sendVstEvents",
                                                                                             "sendVstMidiEvent",
                                                                                             "sendVstTimeInfo",
                                                                                             "receiveVstEvents",
                                                                                             "receiveVstMidiEvent",
                                                                                             "receiveVstTimeInfo",
                                                                                             "offline",
                                                                                             "plugAsChannelInsert",
                                                                                             "plugAsSend",
                                                                                             "mixDryWet",
                                                                                             "noRealTime",
                                                                                             "multipass",
                                                                                             "metapass",
                                                                                             "1in1out",
                                                                                             "1in2out",
                                                                                             "2in1out",
                                                                                             "2in2out",
                                                                                             "2in4out",
                                                                                             "4in2out",
                                                                                             "4in4out",
                                                                                             "4in8out",
                                                                                             "8in4out",
                                                                                             "8in8out",
                                                                                             "midiProgramNames",
                                                                                             "LiveWithoutToolbar",
                                                                                             "conformsToWindowRules",
                                                                                             "bypass",
                                                                                             "hasCockosExtensions",
                                                                                             "ChainPluginAPI"};

// The order in which a host's text is compared; the first match decides.
constexpr std::array<TVstCanDo, static_cast<std::size_t>(TVstCanDo::Count)> kCanDoOrder = {
    TVstCanDo::vcdReceiveVstEvents,
    TVstCanDo::vcdReceiveVstMidiEvent,
    TVstCanDo::vcdReceiveVstTimeInfo,
    TVstCanDo::vcdSendVstEvents,
    TVstCanDo::vcdSendVstMidiEvent,
    TVstCanDo::vcdSendVstTimeInfo,
    TVstCanDo::vcdOffline,
    TVstCanDo::vcdPlugAsChannelInsert,
    TVstCanDo::vcdPlugAsSend,
    TVstCanDo::vcdMixDryWet,
    TVstCanDo::vcdNoRealTime,
    TVstCanDo::vcdMultipass,
    TVstCanDo::vcdMetapass,
    TVstCanDo::vcd1in1out,
    TVstCanDo::vcd1in2out,
    TVstCanDo::vcd2in1out,
    TVstCanDo::vcd2in2out,
    TVstCanDo::vcd2in4out,
    TVstCanDo::vcd4in2out,
    TVstCanDo::vcd4in4out,
    TVstCanDo::vcd4in8out,
    TVstCanDo::vcd8in4out,
    TVstCanDo::vcd8in8out,
    TVstCanDo::vcdMidiProgramNames,
    TVstCanDo::vcdConformsToWindowRules,
    TVstCanDo::vcdLiveWithoutToolbar,
    TVstCanDo::vcdBypass,
    TVstCanDo::vcdChainPluginAPI,
    TVstCanDo::vcdCockosExtension};

}  // namespace

const char* CanDoText(TVstCanDo member) { return kCanDoTexts[static_cast<std::size_t>(member)]; }

TCustomVSTModule::TCustomVSTModule() { UpdateVersion(); }

TCustomVSTModule::~TCustomVSTModule() { FEditorForm.reset(); }

void TCustomVSTModule::BeforeDestruction() {
  FEditorForm.reset();
  if (OnDestroy) OnDestroy(*this);
}

VstIntPtr TCustomVSTModule::Dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  const VstIntPtr result = TBasicVSTModule::Dispatcher(opcode, index, value, ptr, opt);
  // After effClose the module no longer exists.
  if (opcode != effClose && OnDispatcher) OnDispatcher(*this, opcode);
  return result;
}

void TCustomVSTModule::SetAudioMaster(audioMasterCallback callback) {
  TBasicVSTModule::SetAudioMaster(callback);
  // A shell would ask which of its plug-ins the host is creating; this module is never one.
  if (PlugCategory == TVstPluginCategory::vpcShell) CallAudioMaster(audioMasterCurrentId);
}

void TCustomVSTModule::SetEffectName(const std::string& name) {
  FEffectName = TruncateStrings ? CutText(name, 32) : name;
}
void TCustomVSTModule::SetProductName(const std::string& name) {
  FProductName = TruncateStrings ? CutText(name, 64) : name;
}
void TCustomVSTModule::SetVendorName(const std::string& name) {
  FVendorName = TruncateStrings ? CutText(name, 64) : name;
}

void TCustomVSTModule::SetVersionMajor(int v) {
  FVersionMajor = v;
  UpdateVersion();
}
void TCustomVSTModule::SetVersionMinor(int v) {
  FVersionMinor = v;
  UpdateVersion();
}
void TCustomVSTModule::SetVersionRelease(int v) {
  FVersionRelease = v;
  UpdateVersion();
}

void TCustomVSTModule::UpdateVersion() {
  if (FVersionRelease < 100)
    FEffect.version = FVersionMajor * 1000 + FVersionMinor * 100 + FVersionRelease;
  else
    FEffect.version = static_cast<VstInt32>((static_cast<std::uint32_t>(FVersionMajor) << 16) +
                                            (static_cast<std::uint32_t>(FVersionMinor) << 8) +
                                            static_cast<std::uint32_t>(FVersionRelease));
}

std::string TCustomVSTModule::UniqueID() const {
  std::string id;
  const auto packed = static_cast<std::uint32_t>(FEffect.uniqueID);
  for (int shift = 24; shift >= 0; shift -= 8) id += static_cast<char>((packed >> shift) & 0xFF);
  return id;
}

void TCustomVSTModule::SetUniqueID(const std::string& id) {
  std::uint32_t packed = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const auto c = i < id.size() ? static_cast<unsigned char>(id[i]) : 0u;
    packed |= static_cast<std::uint32_t>(c) << (24 - 8 * i);
  }
  FEffect.uniqueID = static_cast<VstInt32>(packed);
}

void TCustomVSTModule::SetFlags(TEffFlags flags) { FEffect.flags = static_cast<VstInt32>(flags.Bits() & 0xFFFF); }

void TCustomVSTModule::SetNumInputs(int n) {
  if (n == FEffect.numInputs) return;
  FEffect.numInputs = n;
  HostIOChanged();
}

void TCustomVSTModule::SetNumOutputs(int n) {
  if (n == FEffect.numOutputs) return;
  FEffect.numOutputs = n;
  HostIOChanged();
}

void TCustomVSTModule::SetInitialDelay(int delay) {
  if (delay == FEffect.initialDelay) return;
  FEffect.initialDelay = delay;
  HostIOChanged();
}

void TCustomVSTModule::SetKeysRequired(bool required) {
  FKeysRequired = required;
  HostUpdateDisplay();
}

void TCustomVSTModule::SetSampleRate(float rate) {
  if (rate == FSampleRate) return;
  FSampleRate = rate;
  SampleRateChanged();
}

void TCustomVSTModule::SetBlockSize(int size) {
  if (size == FBlockSize) return;
  FBlockSize = size;
  BlockSizeChanged();
}

void TCustomVSTModule::SampleRateChanged() {
  if (OnSampleRateChange) OnSampleRateChange(*this, FSampleRate);
}

void TCustomVSTModule::BlockSizeChanged() {
  if (OnBlockSizeChange) OnBlockSizeChange(*this, FBlockSize);
}

VstIntPtr TCustomVSTModule::HostCallGetVu(VstInt32, VstIntPtr, void*, float) {
  if (!OnGetVU) return 0;
  float vu = 0.0f;
  OnGetVU(*this, vu);
  return static_cast<VstIntPtr>(std::nearbyint(vu * 32767.0f));
}

VstIntPtr TCustomVSTModule::HostCallSetSampleRate(VstInt32, VstIntPtr, void*, float opt) {
  SetSampleRate(opt);
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallSetBlockSize(VstInt32, VstIntPtr value, void*, float) {
  SetBlockSize(static_cast<int>(value));
  return 0;
}

VstIntPtr TCustomVSTModule::HostCallSetBlockSizeAndSampleRate(VstInt32, VstIntPtr value, void*, float opt) {
  SetSampleRate(opt);
  SetBlockSize(static_cast<int>(value));
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallMainsChanged(VstInt32, VstIntPtr value, void*, float) {
  if (value == 0) {
    if (OnSuspend) OnSuspend(*this);
  } else {
    if (OnResume) OnResume(*this);
    HostWantMidi();
  }
  return 0;
}

VstIntPtr TCustomVSTModule::HostCallEditGetRect(VstInt32, VstIntPtr, void* ptr, float) {
  if (ptr == nullptr) return 0;
  *static_cast<ERect**>(ptr) = &FEditorRect;
  FEditorRect.top = 0;
  FEditorRect.left = 0;
  if (OnEditGetSize) {
    FEditorRect.right = 0;
    FEditorRect.bottom = 0;
    OnEditGetSize(*this, FEditorRect.right, FEditorRect.bottom);
    // Hosts size their frame before they open the editor: a module that knows its editor's size
    // answers it at any time, and never a zero size.
    if (!FEditorForm)
      return Flags().Contains(TEffFlag::effFlagsHasEditor) && FEditorRect.right > 0 && FEditorRect.bottom > 0;
  } else {
    FEditorRect.bottom = 32;
    FEditorRect.right = 64;
  }
  if (!FEditorForm) return 0;
  FEditorRect.bottom = static_cast<VstInt16>(std::max<int>(FEditorRect.bottom, FEditorForm->ClientHeight()));
  FEditorRect.right = static_cast<VstInt16>(std::max<int>(FEditorRect.right, FEditorForm->ClientWidth()));
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallEditOpen(VstInt32, VstIntPtr value, void* ptr, float) {
  return EditorOpen(ptr, value);
}

VstIntPtr TCustomVSTModule::EditorOpen(void* parentWindow, VstIntPtr value) {
  if (!Flags().Contains(TEffFlag::effFlagsHasEditor) || parentWindow == nullptr) return 0;
  if (EditorFormClass) FEditorForm = EditorFormClass(*this);
  if (OnEditOpen) OnEditOpen(*this, FEditorForm, parentWindow);
  if (!FEditorForm) return 0;
  try {
    FEditorForm->EmbedInto(parentWindow, value);
  } catch (...) {
    // No window could be made (no display, a parent that is gone): there is no editor.
    FEditorForm.reset();
    return 0;
  }
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallEditClose(VstInt32, VstIntPtr, void*, float) {
  if (Flags().Contains(TEffFlag::effFlagsHasEditor)) {
    bool destroyForm = true;
    if (OnEditClose) OnEditClose(*this, destroyForm);
    if (destroyForm && FEditorForm) {
      FEditorForm->Close();
      FEditorForm.reset();
    }
  }
  return 0;
}

VstIntPtr TCustomVSTModule::HostCallEditIdle(VstInt32, VstIntPtr, void*, float) {
  if (!Flags().Contains(TEffFlag::effFlagsHasEditor) || !FEditorForm) return 0;
  // Taken before the refresh, so a request made while it runs waits for the next idle call.
  if (EditorNeedsUpdate.exchange(false) && OnEditIdle) OnEditIdle(*this);
  FEditorForm->Idle();
  return 0;
}

VstIntPtr TCustomVSTModule::HostCallEditTop(VstInt32, VstIntPtr, void*, float) {
  if (OnEditTop) OnEditTop(*this);
  return 0;
}

VstIntPtr TCustomVSTModule::HostCallEditSleep(VstInt32, VstIntPtr, void*, float) {
  if (OnEditSleep) OnEditSleep(*this);
  return 0;
}

VstIntPtr TCustomVSTModule::HostCallConnectInput(VstInt32 index, VstIntPtr value, void*, float) {
  if (OnInConnected) OnInConnected(*this, index, value != 0);
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallConnectOutput(VstInt32 index, VstIntPtr value, void*, float) {
  if (OnOutConnected) OnOutConnected(*this, index, value != 0);
  return 1;
}

VstIntPtr TCustomVSTModule::PinProperties(bool output, VstInt32 index, void* ptr) {
  const int count = output ? FEffect.numOutputs : FEffect.numInputs;
  if (ptr == nullptr || index < 0 || index >= count) return 0;
  auto& pin = *static_cast<VstPinProperties*>(ptr);
  const std::string n = std::to_string(index + 1);
  CopyToHostBuffer(pin.label, (output ? "Output #" : "Input #") + n, sizeof pin.label);
  CopyToHostBuffer(pin.shortLabel, (output ? "Out" : "In") + n, sizeof pin.shortLabel);
  if (count == 1)
    pin.arrangementType = kSpeakerArrMono;
  else if (count == 2)
    pin.arrangementType = kSpeakerArrStereo;
  else if (count == 4)
    pin.arrangementType = kSpeakerArr40Music;
  pin.flags = count == 2 ? (kVstPinIsActive | kVstPinIsStereo) : kVstPinIsActive;
  const auto& handler = output ? OnOutputProperties : OnInputProperties;
  if (handler) return handler(*this, index, pin) ? 1 : 0;
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallGetInputProperties(VstInt32 index, VstIntPtr, void* ptr, float) {
  return PinProperties(false, index, ptr);
}

VstIntPtr TCustomVSTModule::HostCallGetOutputProperties(VstInt32 index, VstIntPtr, void* ptr, float) {
  return PinProperties(true, index, ptr);
}

VstIntPtr TCustomVSTModule::HostCallGetPlugCategory(VstInt32, VstIntPtr, void*, float) {
  return static_cast<VstIntPtr>(PlugCategory);
}

VstIntPtr TCustomVSTModule::HostCallOfflineNotify(VstInt32 index, VstIntPtr value, void* ptr, float) {
  if (!OnOfflineNotify) return 0;
  OnOfflineNotify(*this, index, value, ptr);
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallOfflinePrepare(VstInt32 index, VstIntPtr value, void* ptr, float) {
  if (!OnOfflinePrepare) return 0;
  OnOfflinePrepare(*this, index, value, ptr);
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallOfflineRun(VstInt32 index, VstIntPtr value, void* ptr, float) {
  if (!OnOfflineRun) return 0;
  OnOfflineRun(*this, index, value, ptr);
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallProcessVarIo(VstInt32, VstIntPtr, void* ptr, float) {
  if (!OnProcessVarIO) return 0;
  OnProcessVarIO(*this, ptr);
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallSetSpeakerArrangement(VstInt32, VstIntPtr value, void* ptr, float) {
  if (value == 0 || ptr == nullptr) return 0;
  if (OnSpeakerArrangementChanged) OnSpeakerArrangementChanged(*this, reinterpret_cast<void*>(value), ptr);
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallSetBypass(VstInt32, VstIntPtr value, void*, float) {
  if (!OnSoftBypass) return 0;
  OnSoftBypass(*this, value != 0);
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallGetEffectName(VstInt32, VstIntPtr, void* ptr, float) {
  if (ptr == nullptr) return 0;
  CopyToHostBuffer(ptr, FEffectName, kVstMaxEffectNameLen);
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallGetVendorString(VstInt32, VstIntPtr, void* ptr, float) {
  if (ptr == nullptr) return 0;
  CopyToHostBuffer(ptr, FVendorName, kVstMaxVendorStrLen);
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallGetProductString(VstInt32, VstIntPtr, void* ptr, float) {
  if (ptr == nullptr) return 0;
  CopyToHostBuffer(ptr, FProductName.empty() ? FEffectName : FProductName, kVstMaxProductStrLen);
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallGetVendorVersion(VstInt32, VstIntPtr, void*, float) { return FEffect.version; }

VstIntPtr TCustomVSTModule::HostCallVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  return OnVendorSpecific ? OnVendorSpecific(*this, index, value, ptr, opt) : 0;
}

VstIntPtr TCustomVSTModule::HostCallCanDo(VstInt32, VstIntPtr, void* ptr, float) {
  if (ptr == nullptr) return 0;
  const std::string text(static_cast<const char*>(ptr));
  VstIntPtr result = 0;
  for (TVstCanDo member : kCanDoOrder) {
    if (text != CanDoText(member)) continue;
    if (member == TVstCanDo::vcdCockosExtension)
      result = CanDos.Contains(member) ? static_cast<VstIntPtr>(static_cast<VstInt32>(0xBEEF0000u)) : 0;
    else
      result = CanDos.Contains(member) ? 1 : -1;
    break;
  }
  if (OnCanDo) OnCanDo(*this, text);
  return result;
}

VstIntPtr TCustomVSTModule::HostCallGetTailSize(VstInt32, VstIntPtr, void*, float) { return TailSize; }
VstIntPtr TCustomVSTModule::HostCallKeysRequired(VstInt32, VstIntPtr, void*, float) { return 1; }
VstIntPtr TCustomVSTModule::HostCallGetVstVersion(VstInt32, VstIntPtr, void*, float) { return kVstVersion; }

// A key the editor does not use is the host's: 0 tells it so (Space starts its transport).
VstIntPtr TCustomVSTModule::HostCallEditKeyDown(VstInt32 index, VstIntPtr value, void*, float opt) {
  return FEditorForm && FEditorForm->KeyDown(index, value, opt) ? 1 : 0;
}
VstIntPtr TCustomVSTModule::HostCallEditKeyUp(VstInt32 index, VstIntPtr value, void*, float opt) {
  return FEditorForm && FEditorForm->KeyUp(index, value, opt) ? 1 : 0;
}

VstIntPtr TCustomVSTModule::HostCallSetEditKnobMode(VstInt32, VstIntPtr value, void*, float) {
  if (!OnEditorKnobMode) return 0;
  OnEditorKnobMode(*this, value);
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallGetCurrentMidiProgram(VstInt32, VstIntPtr, void*, float) { return -1; }

VstIntPtr TCustomVSTModule::HostCallStartProcess(VstInt32, VstIntPtr, void*, float) {
  if (!OnStartProcess) return 0;
  OnStartProcess(*this);
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallStopProcess(VstInt32, VstIntPtr, void*, float) {
  if (!OnStopProcess) return 0;
  OnStopProcess(*this);
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallSetTotalSampleToProcess(VstInt32, VstIntPtr value, void*, float) { return value; }

VstIntPtr TCustomVSTModule::HostCallSetPanLaw(VstInt32, VstIntPtr value, void*, float opt) {
  if (!OnSetPanLaw) return 0;
  OnSetPanLaw(*this, static_cast<VstInt32>(value), opt);
  return 1;
}

VstIntPtr TCustomVSTModule::HostCallSetProcessPrecision(VstInt32, VstIntPtr, void*, float) {
  return static_cast<VstIntPtr>(ProcessPrecisition);
}

}  // namespace vornix::host
