// The 72 host parameters: one change and one display handler per setting, shared by the eight
// sequences; the sequence is the store entry's tag.
#include <algorithm>
#include <string>

#include "plugin/ParameterTable.h"
#include "plugin/Plugin.h"
#include "sequencer/Rounding.h"

namespace vornix::plugin {

namespace {

// A list value outside its tags (only damaged input gets there) is limited to the list.
int ClampToSetting(int value, int setting) {
  const auto& info = kSettings[static_cast<std::size_t>(setting)];
  return std::clamp(value, static_cast<int>(info.min), static_cast<int>(info.max));
}

int RoundToInt(float value) {
  if (!(value == value)) return 0;
  const double r = sequencer::RoundHalfEven(std::clamp(static_cast<double>(value), -2147483648.0, 2147483647.0));
  return static_cast<int>(r);
}

const char* ListKind(int setting) {
  switch (setting) {
    case kRate: return "Rate";
    case kRateType: return "Rate Type";
    case kOrder: return "Order";
    default: return "Trigger";
  }
}

}  // namespace

void TVSTPlugin::DeclareParameters() {
  for (int s = 0; s < kSequenceCount; ++s) {
    for (int k = 0; k < kSettingsPerSequence; ++k) {
      auto& p = AddParameter();
      p.SetDisplayName(ParameterName(s, k));
      p.SetShortLabel(ParameterShortLabel(s, k));
      p.Min = kSettings[static_cast<std::size_t>(k)].min;
      p.Max = kSettings[static_cast<std::size_t>(k)].max;
      p.MinInteger = static_cast<int>(p.Min);
      p.MaxInteger = static_cast<int>(p.Max);
      p.StepFloat = 1.0f;
      p.SmallStepFloat = 0.5f;
      p.LargeStepFloat = 1.0f;
      p.LargeStepInteger = 1;
      p.OnParameterChange = [this](host::TVSTModuleWithPrograms&, int index, float& value) {
        ParameterChange(index, value);
      };
      p.OnCustomParameterDisplay = [this](host::TVSTModuleWithPrograms&, int index, std::string& text) {
        ParameterDisplay(index, text);
      };
    }
  }
}

void TVSTPlugin::CreateParameterValues() {
  for (int s = 0; s < kSequenceCount; ++s) {
    for (int k = 0; k < kSettingsPerSequence; ++k)
      FParameterValues->AddTagged(ParameterName(s, k), s, ParameterDefault(s, k));
  }
}

void TVSTPlugin::GetValueText(const std::string& kind, int value, std::string& text) {
  if (kind == "Rate")
    text = FRateList->Items(FRateList->FindByTag(value)).Name;
  else if (kind == "Rate Type")
    text = FTypeList->Items(FTypeList->FindByTag(value)).Name;
  else if (kind == "Order")
    text = FOrderList->Items(FOrderList->FindByTag(value)).Name;
  else if (kind == "Trigger")
    text = FTriggerList->Items(FTriggerList->FindByTag(value)).Name;
}

// The store keeps the value exactly as received; the sequence gets it rounded.
void TVSTPlugin::ParameterChange(int index, float value) {
  TVSTParameterValue& entry = FParameterValues->Items(index);
  entry.SetValue(value);
  sequencer::TSequencerItem& seq = FSequencer->Items(entry.Tag);
  const int setting = SettingOf(index);
  const int v = RoundToInt(value);
  switch (setting) {
    case kActive:
      seq.SetActive(v != 0);
      // Changes may come from any thread; the editor refreshes on its own at the next idle call.
      FEditorInbox.Mark(TEditorInbox::kSequenceButtons);
      EditorNeedsUpdate = true;
      break;
    case kSteps: seq.SetStepCount(v); break;
    case kChannel: seq.SetChannel(v); break;
    case kCC: seq.SetCCNumber(v); break;
    case kRate: seq.SetRate(FRateList->Items(FRateList->FindByTag(ClampToSetting(v, setting))).RateIndex()); break;
    case kRateType:
      seq.SetRateType(FTypeList->Items(FTypeList->FindByTag(ClampToSetting(v, setting))).NoteType());
      break;
    case kOrder: seq.SetOrder(FOrderList->Items(FOrderList->FindByTag(ClampToSetting(v, setting))).SeqOrder()); break;
    case kTrigger:
      seq.SetTrigger(FTriggerList->Items(FTriggerList->FindByTag(ClampToSetting(v, setting))).TriggerMode());
      break;
    case kSmooth: seq.SetSmooth(v != 0); break;
  }
}

// The text always describes the stored value, whatever text the handler is handed.
void TVSTPlugin::ParameterDisplay(int index, std::string& text) {
  text = ValueDisplay(index, FParameterValues->Items(index).Value());
}

std::string TVSTPlugin::ValueDisplay(int index, float value) {
  const int setting = SettingOf(index);
  const int v = RoundToInt(value);
  std::string text;
  switch (setting) {
    case kActive:
    case kSmooth: text = v == 0 ? "Off" : "On"; break;
    case kSteps:
    case kChannel:
    case kCC: text = std::to_string(v); break;
    default: GetValueText(ListKind(setting), ClampToSetting(v, setting), text); break;
  }
  return text;
}

}  // namespace vornix::plugin
