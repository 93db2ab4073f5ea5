// The plug-in's section of the saved state, taken from and put back into the model.
#include "plugin/Plugin.h"

namespace vornix::plugin {

namespace {

struct TSection : TPluginStateSection {
  TStoredState State;
};

}  // namespace

TStoredState TVSTPlugin::CaptureState() const {
  TStoredState state;
  for (int s = 0; s < kSequenceCount; ++s) {
    const sequencer::TSequencerItem& item = FSequencer->Items(s);
    TStoredSequence& seq = state.Sequences.emplace_back();
    seq.Title = item.Title();
    for (int k = 0; k < kSettingsPerSequence; ++k)
      seq.Settings[static_cast<std::size_t>(k)] = FParameterValues->Items(ParameterIndex(s, k)).Value();
    for (int i = 0; i < sequencer::TSequencerItem::kMaxSteps; ++i) {
      const sequencer::TCCStepItem& step = item.Steps()[i];
      seq.Steps.push_back({step.Enabled(), step.Value(), step.RandomRange()});
    }
  }
  state.CurrentSequence = CurrentSequence();
  return state;
}

void TVSTPlugin::SavePluginState(TaggedValueWriter& writer) { WriteStateSection(writer, CaptureState()); }

std::unique_ptr<TPluginStateSection> TVSTPlugin::ReadPluginState(TaggedValueReader& reader,
                                                                 const std::string& version) {
  auto section = std::make_unique<TSection>();
  section->State = ReadStateSection(reader, version);
  return section;
}

void TVSTPlugin::ApplyPluginState(const TPluginStateSection& section) {
  ApplyStoredState(static_cast<const TSection&>(section).State);
}

TEditableState TVSTPlugin::CaptureEditableState() const { return {CaptureState(), PresetName(), MidiCCList()}; }

void TVSTPlugin::RestoreEditableState(const TEditableState& state) {
  RunStateLoad([&] {
    ApplyStoredState(state.State);
    SetPresetName(state.PresetName);
    ReplaceLinks(state.Links);
  });
}

// Settings go through their parameters, so the sequences and the store follow (the load tells the
// host); steps are written into the records directly.
void TVSTPlugin::ApplyStoredState(const TStoredState& state) {
  for (std::size_t s = 0; s < state.Sequences.size(); ++s) {
    const TStoredSequence& stored = state.Sequences[s];
    sequencer::TSequencerItem& item = FSequencer->Items(static_cast<int>(s));
    item.SetTitle(stored.Title);
    for (int k = 0; k < kSettingsPerSequence; ++k) {
      const float value = LimitSetting(static_cast<int>(s), k, stored.Settings[static_cast<std::size_t>(k)]);
      ApplyParameter(ParameterIndex(static_cast<int>(s), k), value);
    }
    for (std::size_t i = 0; i < stored.Steps.size(); ++i) {
      sequencer::TCCStepItem& step = item.Steps()[static_cast<int>(i)];
      step.SetEnabled(stored.Steps[i].Enabled);
      step.SetValue(LimitStepValue(stored.Steps[i].Value, sequencer::TCCStepItem::kDefaultValue));
      step.SetRandomRange(LimitStepValue(stored.Steps[i].RandomRange, 0.0f));
    }
  }
  SetCurrentSequence(state.CurrentSequence);
}

}  // namespace vornix::plugin
