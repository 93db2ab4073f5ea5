#include "editor/logic/StepClipboard.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "editor/logic/BinClipboard.h"
#include "editor/logic/ClipboardBlock.h"
#include "editor/logic/StepPatterns.h"
#include "plugin/stream/TaggedValueReader.h"
#include "plugin/stream/TaggedValueWriter.h"

namespace vornix::editor {

using sequencer::TCCStepList;

std::vector<std::uint8_t> WriteStepStream(const TCCStepList& steps, int stepCount) {
  if (stepCount < 1 || stepCount > TCCStepList::kMaxSteps || stepCount > steps.Count())
    throw std::invalid_argument("Cannot copy " + std::to_string(stepCount) + " steps of " +
                                std::to_string(steps.Count()));
  std::vector<std::uint8_t> out;
  TaggedValueWriter w(out);
  w.WriteSignature();
  w.WriteListBegin();
  w.WriteListBegin();
  w.WriteInteger(stepCount);
  w.WriteListEnd();
  for (int i = 0; i < stepCount; ++i) {
    w.WriteListBegin();
    w.WriteInteger(i);
    w.WriteSingle(steps[i].Value());
    w.WriteSingle(steps[i].RandomRange());
    w.WriteListEnd();
  }
  w.WriteListEnd();
  return out;
}

TClipboardSteps ReadStepStream(std::span<const std::uint8_t> stream) {
  TaggedValueReader r(stream);
  TClipboardSteps data;
  r.ReadSignature();
  r.ReadListBegin();
  r.ReadListBegin();
  data.StepCount = std::clamp(r.ReadInteger(), 1, TCCStepList::kMaxSteps);
  r.ReadListEnd();
  while (!r.EndOfList()) {
    r.ReadListBegin();
    TClipboardStep step;
    step.Index = r.ReadInteger();
    if (step.Index < 0 || step.Index >= TCCStepList::kMaxSteps)
      throw std::out_of_range("List index out of bounds (" + std::to_string(step.Index) + ")");
    step.Value = r.ReadSingle();
    step.RandomRange = r.ReadSingle();
    r.ReadListEnd();
    data.Steps.push_back(step);
  }
  r.ReadListEnd();
  return data;
}

TClipboardSteps ReadStepBlock(std::span<const std::uint8_t> block) {
  return ReadStepStream(ClipboardBlockStream(block));
}

int ApplyClipboardSteps(const TClipboardSteps& data, TCCStepList& steps, int minValue, int maxValue) {
  if (steps.Count() < TCCStepList::kMaxSteps)
    throw std::invalid_argument("Pasting needs all " + std::to_string(TCCStepList::kMaxSteps) + " steps");
  if (maxValue <= minValue) throw std::invalid_argument("Pasting needs a value range");
  // Checked before the first step changes, so that nothing is applied when anything is wrong.
  for (const TClipboardStep& s : data.Steps)
    if (s.Index < 0 || s.Index >= TCCStepList::kMaxSteps)
      throw std::out_of_range("List index out of bounds (" + std::to_string(s.Index) + ")");
  const float low = static_cast<float>(minValue);
  const float high = static_cast<float>(maxValue);
  const int range = maxValue - minValue;
  for (const TClipboardStep& s : data.Steps) {
    const float value = std::isnan(s.Value) ? sequencer::TCCStepItem::kDefaultValue : s.Value;
    const float v = std::clamp(value, low, high);
    const float r = std::max(0.0f, RandomRangeWithin(v, std::isnan(s.RandomRange) ? 0.0f : s.RandomRange, range));
    steps[s.Index].SetValue(v);
    steps[s.Index].SetRandomRange(r);
  }
  return std::clamp(data.StepCount, 1, TCCStepList::kMaxSteps);
}

void CopySteps(TBinClipboard& clipboard, const TCCStepList& steps, int stepCount) {
  clipboard.PutStream(WriteStepStream(steps, stepCount));
}

TClipboardSteps PasteSteps(TBinClipboard& clipboard) {
  const auto stream = clipboard.GetStream();
  if (!stream) throw std::runtime_error("Empty clipboard");
  return ReadStepStream(*stream);
}

}  // namespace vornix::editor
