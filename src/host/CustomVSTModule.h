// Identity, capabilities, sample rate and block size, the editor form and the module events.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "host/BasicVSTModule.h"
#include "host/VstTypes.h"

namespace vornix::host {

class TCustomVSTModule;

// The editor window the host embeds. The concrete editor derives from it. The host's editor calls
// reach it through these entries, on the thread that opened it; the module itself never calls it.
class TVSTEditorForm {
 public:
  virtual ~TVSTEditorForm() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual int ClientWidth() const { return Width(); }
  virtual int ClientHeight() const { return Height(); }
  // Becomes a visible, borderless child of the host window at (0, 0) with its own size.
  virtual void EmbedInto(void* parentWindow, vst::VstIntPtr hostValue) = 0;
  // Every effEditIdle, after the module's idle handler: the editor handles its windows' events
  // and takes what changed.
  virtual void Idle() {}
  // effEditClose, just before the form is destroyed.
  virtual void Close() {}
  // effEditKeyDown / effEditKeyUp: a key the host had; true when the editor used it.
  virtual bool KeyDown(vst::VstInt32 character, vst::VstIntPtr virtualKey, float modifiers) {
    (void)character, (void)virtualKey, (void)modifiers;
    return false;
  }
  virtual bool KeyUp(vst::VstInt32 character, vst::VstIntPtr virtualKey, float modifiers) {
    (void)character, (void)virtualKey, (void)modifiers;
    return false;
  }
};

using TEditorFormClass = std::function<std::unique_ptr<TVSTEditorForm>(TCustomVSTModule& owner)>;

class TCustomVSTModule : public TBasicVSTModule {
 public:
  TCustomVSTModule();
  ~TCustomVSTModule() override;

  vst::VstIntPtr Dispatcher(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value, void* ptr,
                            float opt) override;
  void SetAudioMaster(vst::audioMasterCallback callback) override;

  // Identity.
  const std::string& EffectName() const { return FEffectName; }
  void SetEffectName(const std::string& name);
  const std::string& ProductName() const { return FProductName; }
  void SetProductName(const std::string& name);
  const std::string& VendorName() const { return FVendorName; }
  void SetVendorName(const std::string& name);
  int VersionMajor() const { return FVersionMajor; }
  int VersionMinor() const { return FVersionMinor; }
  int VersionRelease() const { return FVersionRelease; }
  void SetVersionMajor(int v);
  void SetVersionMinor(int v);
  void SetVersionRelease(int v);
  std::string Version = "1.0";  // descriptive only
  std::string UniqueID() const;
  void SetUniqueID(const std::string& id);
  TVstPluginCategory PlugCategory = TVstPluginCategory::vpcUnknown;
  TVstCanDos CanDos{TVstCanDo::vcdPlugAsChannelInsert, TVstCanDo::vcdPlugAsSend, TVstCanDo::vcd2in2out};
  TEffFlags Flags() const { return TEffFlags::FromBits(static_cast<unsigned long>(FEffect.flags) & 0xFFFF); }
  void SetFlags(TEffFlags flags);
  int numInputs() const { return FEffect.numInputs; }
  int numOutputs() const { return FEffect.numOutputs; }
  void SetNumInputs(int n);
  void SetNumOutputs(int n);
  float IORatio() const { return FEffect.ioRatio; }
  void SetIORatio(float r) { FEffect.ioRatio = r; }
  int InitialDelay() const { return FEffect.initialDelay; }
  void SetInitialDelay(int delay);
  void SetRealQualities(int q) { FEffect.realQualities = q; }
  void SetOffQualities(int q) { FEffect.offQualities = q; }
  int TailSize = 0;
  bool TruncateStrings = false;
  bool KeysRequired() const { return FKeysRequired; }
  void SetKeysRequired(bool required);
  TProcessPrecision ProcessPrecisition = TProcessPrecision::pp32;
  int numCategories = 1;

  // Sample rate and block size; a change notifies the module.
  float SampleRate() const { return FSampleRate; }
  void SetSampleRate(float rate);
  int BlockSize() const { return FBlockSize; }
  void SetBlockSize(int size);

  // Editor.
  TEditorFormClass EditorFormClass;
  TVSTEditorForm* EditorForm() const { return FEditorForm.get(); }
  const vst::ERect& EditorRect() const { return FEditorRect; }
  std::atomic<bool> EditorNeedsUpdate{false};

  // Module events.
  std::function<void(TCustomVSTModule&, vst::VstInt32 opcode)> OnDispatcher;
  std::function<void(TCustomVSTModule&, float& vu)> OnGetVU;
  TNotifyEvent OnSuspend, OnResume;
  std::function<void(TCustomVSTModule&, std::unique_ptr<TVSTEditorForm>& form, void* parentWindow)> OnEditOpen;
  std::function<void(TCustomVSTModule&, bool& destroyForm)> OnEditClose;
  TNotifyEvent OnEditIdle, OnEditTop, OnEditSleep;
  std::function<void(TCustomVSTModule&, short& width, short& height)> OnEditGetSize;
  std::function<void(TCustomVSTModule&, int index, bool state)> OnInConnected, OnOutConnected;
  std::function<bool(TCustomVSTModule&, vst::VstInt32 index, vst::VstIntPtr value, void*ptr)> OnOfflineNotify,
      OnOfflinePrepare, OnOfflineRun;
  std::function<void(TCustomVSTModule&, void* varIo)> OnProcessVarIO;
  std::function<void(TCustomVSTModule&, void* input, void* output)> OnSpeakerArrangementChanged;
  std::function<void(TCustomVSTModule&, bool isBypass)> OnSoftBypass;
  std::function<vst::VstIntPtr(TCustomVSTModule&, vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt)>
      OnVendorSpecific;
  std::function<void(TCustomVSTModule&, const std::string& canDoText)> OnCanDo;
  std::function<void(TCustomVSTModule&, vst::VstIntPtr mode)> OnEditorKnobMode;
  TNotifyEvent OnStartProcess, OnStopProcess;
  std::function<void(TCustomVSTModule&, vst::VstInt32 lawType, float value)> OnSetPanLaw;
  std::function<bool(TCustomVSTModule&, int index, vst::VstPinProperties&properties)> OnInputProperties,
      OnOutputProperties;
  std::function<void(TCustomVSTModule&, float sampleRate)> OnSampleRateChange;
  std::function<void(TCustomVSTModule&, int blockSize)> OnBlockSizeChange;
  TNotifyEvent OnInitialize, OnCreate, OnDestroy;

 protected:
  void BeforeDestruction() override;
  virtual void SampleRateChanged();
  virtual void BlockSizeChanged();
  // Opens the editor window inside the host's; overridden to apply the skin first.
  virtual vst::VstIntPtr EditorOpen(void* parentWindow, vst::VstIntPtr value);
  void DestroyEditorForm() { FEditorForm.reset(); }

  vst::VstIntPtr HostCallGetVu(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallSetSampleRate(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallSetBlockSize(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallMainsChanged(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallEditGetRect(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallEditOpen(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallEditClose(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallEditIdle(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallEditTop(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallEditSleep(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallConnectInput(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallConnectOutput(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetInputProperties(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetOutputProperties(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetPlugCategory(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallOfflineNotify(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallOfflinePrepare(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallOfflineRun(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallProcessVarIo(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallSetSpeakerArrangement(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallSetBlockSizeAndSampleRate(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallSetBypass(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetEffectName(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetVendorString(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetProductString(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetVendorVersion(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallVendorSpecific(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallCanDo(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetTailSize(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallKeysRequired(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetVstVersion(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallEditKeyDown(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallEditKeyUp(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallSetEditKnobMode(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallGetCurrentMidiProgram(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallStartProcess(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallStopProcess(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallSetTotalSampleToProcess(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallSetPanLaw(vst::VstInt32, vst::VstIntPtr, void*, float) override;
  vst::VstIntPtr HostCallSetProcessPrecision(vst::VstInt32, vst::VstIntPtr, void*, float) override;

 private:
  void UpdateVersion();
  vst::VstIntPtr PinProperties(bool output, vst::VstInt32 index, void* ptr);

  std::string FEffectName, FProductName, FVendorName;
  int FVersionMajor = 1, FVersionMinor = 0, FVersionRelease = 0;
  bool FKeysRequired = false;
  // Set on the main thread while the host does not process.
  float FSampleRate = 44100.0f;
  int FBlockSize = 1024;
  // The thread that calls the editor entries only.
  std::unique_ptr<TVSTEditorForm> FEditorForm;
  vst::ERect FEditorRect{};
};

// The text a host asks about for each capability, in the order they are tested.
const char* CanDoText(TVstCanDo member);

}  // namespace vornix::host
