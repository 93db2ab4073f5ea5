#include "plugin/PluginStateStream.h"

#include <algorithm>
#include <cmath>

#include "plugin/stream/TextCodec.h"

namespace vornix::plugin {

bool IsCurrentFormat(const std::string& version) { return Utf8ToUtf16(version) >= std::u16string(u"1.10"); }

void WriteStateSection(TaggedValueWriter& w, const TStoredState& state) {
  w.WriteListBegin();
  for (const TStoredSequence& seq : state.Sequences) {
    w.WriteListBegin();
    w.WriteString(seq.Title);
    for (float v : seq.Settings) w.WriteFloat(v);
    w.WriteListEnd();
    w.WriteListBegin();
    for (const TStoredStep& step : seq.Steps) {
      w.WriteListBegin();
      w.WriteBoolean(step.Enabled);
      w.WriteFloat(step.Value);
      w.WriteFloat(step.RandomRange);
      w.WriteListEnd();
    }
    w.WriteListEnd();
  }
  w.WriteListEnd();
  w.WriteListBegin();
  w.WriteInteger(state.CurrentSequence);
  w.WriteListEnd();
}

TStoredState ReadStateSection(TaggedValueReader& r, const std::string& version) {
  const bool current = IsCurrentFormat(version);
  TStoredState state;
  if (current) r.ReadListBegin();
  while (!r.EndOfList()) {
    r.ReadListBegin();
    if (static_cast<int>(state.Sequences.size()) == kSequenceCount)
      throw std::out_of_range("List index out of bounds (" + std::to_string(kSequenceCount) + ")");
    TStoredSequence& seq = state.Sequences.emplace_back();
    seq.Title = r.ReadString();
    for (float& v : seq.Settings) v = r.ReadFloatAsSingle();
    r.ReadListEnd();
    r.ReadListBegin();
    while (!r.EndOfList()) {
      r.ReadListBegin();
      if (static_cast<int>(seq.Steps.size()) == kMaxSteps)
        throw std::out_of_range("List index out of bounds (" + std::to_string(kMaxSteps) + ")");
      TStoredStep& step = seq.Steps.emplace_back();
      step.Enabled = r.ReadBoolean();
      step.Value = r.ReadFloatAsSingle();
      step.RandomRange = r.ReadFloatAsSingle();
      r.ReadListEnd();
    }
    r.ReadListEnd();
  }
  r.ReadListEnd();
  r.ReadListBegin();
  state.CurrentSequence = r.ReadInteger();
  if (current) r.ReadListEnd();
  return state;
}

float LimitSetting(int sequence, int setting, float value) {
  if (!std::isfinite(value)) return ParameterDefault(sequence, setting);
  const SettingInfo& info = kSettings[static_cast<std::size_t>(setting)];
  return std::clamp(value, info.min, info.max);
}

float LimitStepValue(float value, float fallback) {
  if (!std::isfinite(value)) return fallback;
  return std::clamp(value, 0.0f, 127.0f);
}

}  // namespace vornix::plugin
