#include "plugin/Plugin.h"

#include <algorithm>

#include "plugin/ParameterTable.h"

namespace vornix::plugin {

TVSTPlugin::TVSTPlugin() {
  DeclareValues([this] {
    SetEffectName("Vornix");
    SetProductName("Vornix");
    SetUniqueID("ov03");
    DeclareParameters();
    OnSampleRateChange = [this](host::TCustomVSTModule&, float rate) { VSTModuleSampleRateChange(rate); };
  });
}

// The editor reads the sequences and lists, so it goes before them.
TVSTPlugin::~TVSTPlugin() { DestroyEditorForm(); }

void TVSTPlugin::VSTModuleCreate() {
  FVersion = "1.12";
  FUserGuideFileName = "Vornix User Guide.pdf";
  FShowStep = -2;
  FRateList = std::make_unique<sequencer::TMidiNoteRateList>();
  FTypeList = std::make_unique<sequencer::TMidiNoteTypeList>();
  FCurrentSequence = 0;
  FOrderList = std::make_unique<sequencer::TMidiSeqOrderList>();
  FTriggerList = std::make_unique<sequencer::TSeqTriggers>();
  FSequencer = std::make_unique<sequencer::TSequencer>(kSequenceCount);
  FSequencer->SetSampleRate(SampleRate());
  TVSTPluginBase::VSTModuleCreate();
}

void TVSTPlugin::VSTModuleDestroy() { TVSTPluginBase::VSTModuleDestroy(); }

void TVSTPlugin::VSTModuleSampleRateChange(float sampleRate) { FSequencer->SetSampleRate(sampleRate); }

void TVSTPlugin::SetCurrentSequence(int index) {
  // The processing cycle and the editor index the sequences with it.
  FCurrentSequence = std::clamp(index, 0, kSequenceCount - 1);
  FShowStep.store(-1, std::memory_order_release);
  FEditorInbox.Mark(TEditorInbox::kShownSequence);
  SetTeachCC(-1);
}

void TVSTPlugin::ApplyInitialState() {
  FSequencer->SetDefaults();
  SetCurrentSequence(0);
  TVSTPluginBase::ApplyInitialState();
}

// Settings equal to what the sequences had do not raise Changed on their own, yet what was
// playing may come from neither state: every sequence starts again from the loaded one.
void TVSTPlugin::StateLoaded() {
  for (int i = 0; i < FSequencer->Count(); ++i) FSequencer->Items(i).SetChanged(true);
}

}  // namespace vornix::plugin
