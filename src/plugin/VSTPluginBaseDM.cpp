#include "plugin/VSTPluginBaseDM.h"

#include <algorithm>
#include <cstring>

#include "host/VendorSpecific.h"
#include "platform/Folders.h"
#include "plugin/EditorSize.h"
#include "sequencer/OrvRandom.h"
#include "sequencer/Rounding.h"

namespace vornix::plugin {

using host::TEffFlag;
using host::TVstCanDo;

TVSTPluginBase::TVSTPluginBase() {
  sequencer::Randomize();
  DeclareValues([this] {
    SetVendorName("Orvane");
    SetVersionMajor(1);
    SetVersionMinor(0);
    SetVersionRelease(0);
    SetFlags({TEffFlag::effFlagsHasEditor, TEffFlag::effFlagsCanReplacing, TEffFlag::effFlagsProgramChunks,
              TEffFlag::effFlagsIsSynth});
    SetNumInputs(0);
    SetNumOutputs(2);
    PlugCategory = host::TVstPluginCategory::vpcSynth;
    CanDos = {TVstCanDo::vcdSendVstEvents, TVstCanDo::vcdSendVstMidiEvent, TVstCanDo::vcdReceiveVstMidiEvent,
              TVstCanDo::vcd2in2out};
    // The whole state travels in this one program's chunk.
    host::TCustomVstProgram& program = AddProgram();
    program.SetDisplayName("Default");
    program.OnStoreChunk = [this](host::TCustomVstProgram& p, int, bool) { VSTPluginBasePrograms0StoreChunk(p); };
    program.OnLoadChunk = [this](host::TCustomVstProgram& p, int, bool) { VSTPluginBasePrograms0LoadChunk(p); };

    OnCreate = [this](host::TBasicVSTModule&) { VSTModuleCreate(); };
    OnDestroy = [this](host::TBasicVSTModule&) { VSTModuleDestroy(); };
    OnEditIdle = [this](host::TBasicVSTModule&) { VSTModuleEditIdle(); };
    OnEditGetSize = [this](host::TCustomVSTModule&, short& width, short& height) {
      VSTModuleEditGetSize(width, height);
    };
    OnProcess32Replacing = [this](float* const* inputs, float* const* outputs, unsigned frames) {
      VSTModuleProcess32Replacing(inputs, outputs, frames);
    };
    OnProcessMidi = [this](host::TVSTModuleWithMidi&, const vst::VstMidiEvent& event) { VSTModuleProcessMidi(event); };
    OnVendorSpecific = [this](host::TCustomVSTModule&, vst::VstInt32 index, vst::VstIntPtr value, void* ptr,
                              float opt) { return VSTModuleVendorSpecific(index, value, ptr, opt); };
    OnGetChunkParameter = [this](host::TVSTModuleWithPrograms&, int index) {
      return VSTModuleGetChunkParameter(index);
    };
  });
}

// A module destroyed without effClose (a host that unloads the library) still loses its editor
// before anything the editor reads.
TVSTPluginBase::~TVSTPluginBase() { DestroyEditorForm(); }

void TVSTPluginBase::BeforeDestruction() {
  // The editor reads the module while it goes, so it goes first.
  DestroyEditorForm();
  host::TVSTModule::BeforeDestruction();
}

void TVSTPluginBase::VSTModuleCreate() {
  FMidiCCList.Clear();
  SetLearnMode(0);
  FParameterValues = std::make_unique<TVSTParameterValues>(*this);
  FDataFolder = platform::DataFolder(platform::PersonalDocumentsFolder(), ProductName());
  FPresetsFolder = platform::PresetsFolder(FDataFolder);
  FTeachCC = -1;
  FWasPlaying = false;
  LoadConfig();
  CreateParameterValues();
  try {
    LoadInitPreset();
  } catch (const std::exception&) {
    // An init preset file that cannot be read must not keep the module from starting.
    ResetState();
  }
}

void TVSTPluginBase::VSTModuleDestroy() {}

void TVSTPluginBase::VSTModuleProcess32Replacing(float* const*, float* const* outputs, unsigned sampleFrames) {
  if (outputs == nullptr) return;
  for (int c = 0; c < 2; ++c) {
    if (outputs[c] != nullptr) std::fill_n(outputs[c], sampleFrames, 0.0f);
  }
}

void TVSTPluginBase::VSTModuleEditIdle() { FEditorInbox.Mark(TEditorInbox::kControls); }

// Learn and teach end with the editor.
vst::VstIntPtr TVSTPluginBase::HostCallEditClose(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt) {
  CompletePendingLearn();
  SetLearnMode(0);
  SetTeachCC(-1);
  return host::TVSTModule::HostCallEditClose(index, value, ptr, opt);
}

// Before the editor opens, the size it will open at.
void TVSTPluginBase::VSTModuleEditGetSize(short& width, short& height) {
  int w = 0, h = 0;
  if (const host::TVSTEditorForm* form = EditorForm()) {
    w = form->Width();
    h = form->Height();
  } else {
    const int zoom = EditorZoom();
    FAnsweredZoom.store(zoom, std::memory_order_relaxed);
    EditorSizeAt(zoom, w, h);
  }
  width = static_cast<short>(w);
  height = static_cast<short>(h);
}

vst::VstIntPtr TVSTPluginBase::VSTModuleVendorSpecific(vst::VstInt32 index, vst::VstIntPtr value, void*, float opt) {
  // The wheel goes to the control under the pointer.
  if (value == vst::kVendorWheelValue) FEditorInbox.Mark(TEditorInbox::kPointerFocus);
  if (index == vst::kVendorScaleIndex && value == vst::kVendorScaleValue) return TakeHostScale(opt) ? 1 : 0;
  return 0;
}

float TVSTPluginBase::VSTModuleGetChunkParameter(int index) {
  if (!FParameterValues || index < 0 || index >= FParameterValues->Count()) return 0.0f;
  return FParameterValues->Items(index).Value();
}

// A new editor shows everything as it is: what changed before it opened is no news to it, nor to
// the host. Texts for the info line wait for it.
vst::VstIntPtr TVSTPluginBase::EditorOpen(void* parentWindow, vst::VstIntPtr value) {
  FEditorInbox.TakeChanges();
  FStateChangeUnreported = false;
  return host::TVSTModule::EditorOpen(parentWindow, value);
}

void TVSTPluginBase::SetPresetName(const std::string& name) {
  if (FPresetName.Set(name)) FEditorInbox.Mark(TEditorInbox::kPresetName);
}

void TVSTPluginBase::ApplyInitialState() {
  SetPresetName("");
  FParameterValues->ResetAllToDefaults();
  const std::lock_guard lock(FCCMapLock);
  FMidiCCList.Clear();
  CCMapChanged();
}

void TVSTPluginBase::ResetState() {
  RunStateLoad([this] { ApplyInitialState(); });
}

// A sequence lock: the processing thread reads the generation before a block and again after it,
// and throws away what the sequencer produced when a load began in between.
void TVSTPluginBase::RunStateLoad(const std::function<void()>& apply) {
  GroupStateLoads([&] {
    if (!FLoadBegun) {
      FLoadBegun = true;
      FLoadGeneration.fetch_add(1, std::memory_order_relaxed);
      std::atomic_thread_fence(std::memory_order_release);
    }
    apply();
  });
}

void TVSTPluginBase::GroupStateLoads(const std::function<void()>& loads) {
  bool report = false;
  {
    const std::lock_guard lock(FLoadLock);
    report = ApplyStateLoads(loads);
  }
  // Outside the lock: the host may call back in on another thread.
  if (report) ReportAllParameters();
}

// Unless nothing was loaded (a chunk that could not be read), the host learns the new values.
bool TVSTPluginBase::ApplyStateLoads(const std::function<void()>& loads) {
  struct TDepth {
    TVSTPluginBase& module;
    explicit TDepth(TVSTPluginBase& m) : module(m) { ++module.FLoadDepth; }
    ~TDepth() {
      if (--module.FLoadDepth == 0 && module.FLoadBegun) {
        module.StateLoaded();
        module.FLoadGeneration.fetch_add(1, std::memory_order_release);
        module.FLoadBegun = false;
      }
    }
  };
  const bool outermost = FLoadDepth == 0;
  {
    TDepth depth(*this);
    loads();
  }
  if (!outermost || FLoadReported == FLoadGeneration.load(std::memory_order_relaxed)) return false;
  FLoadReported = FLoadGeneration.load(std::memory_order_relaxed);
  return true;
}

bool TVSTPluginBase::LoadSince(unsigned generation) const {
  std::atomic_thread_fence(std::memory_order_acquire);
  return (generation & 1u) != 0 || FLoadGeneration.load(std::memory_order_relaxed) != generation;
}

void TVSTPluginBase::ReportAllParameters() {
  for (int i = 0; i < numParams(); ++i) {
    const auto& p = *ParameterProperties()[static_cast<std::size_t>(i)];
    if (p.CanBeAutomated) HostAutomate(i, p.NormalizeValue(GetParameter(i)));
  }
  HostUpdateDisplay();
}

void TVSTPluginBase::NotifyHostOfChange() {
  if (numParams() > 0) SetParameter(0, GetParameter(0));
  FStateChangeUnreported = true;
}

void TVSTPluginBase::ReportStateChange() {
  if (FStateChangeUnreported.exchange(false)) HostUpdateDisplay();
}

void TVSTPluginBase::SetTeachCC(int cc) {
  FTeachCC = cc;
  FTeachValue = 0.0;
}

int TVSTPluginBase::NextTeachValue() {
  double v = FTeachValue.load(std::memory_order_relaxed) + 0.2;
  if (v > 127.0) v = 0.0;
  FTeachValue.store(v, std::memory_order_relaxed);
  return static_cast<int>(sequencer::RoundHalfEven(v));
}

}  // namespace vornix::plugin
