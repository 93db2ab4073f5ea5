// Building a sequence's schedule: which step plays in which slot, for the nine orders.
#include <algorithm>
#include <cmath>

#include "sequencer/OrvIntList.h"
#include "sequencer/OrvMidi.h"
#include "sequencer/OrvRandom.h"
#include "sequencer/Rounding.h"
#include "sequencer/Sequencer.h"

namespace vornix::sequencer {

namespace {

// Below this a step length is a broken time signature, not music; such a sequence stays silent.
constexpr double kShortestStep = 1.0 / 1024.0;
// Slot numbers stay well inside the range where doubles count whole numbers exactly.
constexpr double kFarthestSlot = 4503599627370496.0;  // 2^52

bool IsOneShot(int trigger) { return trigger == kTriggerNoteOneShot || trigger == kTriggerNoteRetriggerOneShot; }

// "Each k" needs at least k + 1 steps to differ from "Forward".
int EffectiveOrder(int order, std::int32_t n) {
  if ((order == kOrderEach2nd && n < 3) || (order == kOrderEach3rd && n < 4) || (order == kOrderEach4th && n < 5))
    return kOrderForward;
  return order;
}

int EachStride(int order) { return order - kOrderEach2nd + 2; }

void FillPermutation(TOrvIntList& list, std::int32_t n) {
  list.Clear();
  for (std::int32_t i = 0; i < n; ++i) list.Add(i);
  list.Shuffle();
}

}  // namespace

double TSequencerItem::StepLength() const {
  return NoteLengthInBeats(Rate(), RateType(), owner_.TimeSigNumerator(), owner_.TimeSigDenominator());
}

float TSequencerItem::StepValue(std::int32_t stepIndex) const {
  if (stepIndex < 0 || stepIndex >= kMaxSteps) return 0.0f;
  const TCCStepItem& step = steps_[stepIndex];
  float v = step.Value();
  if (std::isnan(v)) v = TCCStepItem::kDefaultValue;
  const float range = step.RandomRange();
  if (range > 0.0f) {
    // Doubles keep damaged values (huge, negative) from overflowing an integer.
    const double nearestValue = RoundHalfEven(v);
    double r = RoundHalfEven(std::min<double>(range, 1024.0));
    if (nearestValue + r > 127.0) r = 127.0 - nearestValue;
    if (r >= 0.0) v += static_cast<float>(Random(static_cast<std::int32_t>(r) + 1));
  }
  return std::clamp(v, 0.0f, 127.0f);
}

bool TSequencerItem::OneShot() const { return IsOneShot(frame_.Trigger); }

// Reads every setting once: this schedule and its continuations are built from these values.
bool TSequencerItem::StartFrame(double x) {
  TScheduleFrame f;
  f.StepLength = StepLength();
  f.Quantum = NoteLengthInBeats(1, RateType(), 4, 4);
  f.StepCount = std::clamp<std::int32_t>(StepCount(), 1, kMaxSteps);
  f.Order = std::clamp(Order(), 0, 8);
  f.Trigger = std::clamp(Trigger(), 0, 4);
  f.Smooth = Smooth();
  if (!std::isfinite(x) || !std::isfinite(f.StepLength) || f.StepLength < kShortestStep || !(f.Quantum > 0.0))
    return false;
  const double slot = x / f.StepLength;
  if (std::fabs(slot) >= kFarthestSlot || std::fabs(x / f.Quantum) >= kFarthestSlot) return false;
  if (f.Trigger == kTriggerSyncToHost) {
    f.Origin = 0.0;
    f.NextSlot = GridIndex(slot);  // the slot that contains x
  } else {
    f.Origin = x;
    f.NextSlot = 0;
  }
  frame_ = f;
  return true;
}

void TSequencerItem::AppendStep(std::int32_t stepIndex, std::int64_t& slot) {
  const double time = frame_.Origin + static_cast<double>(slot) * frame_.StepLength;
  if (TLiveStepItem* item = liveSteps_.AddStep(stepIndex, StepValue(stepIndex), time)) item->Slot = slot;
  ++slot;
}

void TSequencerItem::BuildSchedule(std::int32_t startIndex, double x) {
  const bool fresh = startIndex == -1 && liveSteps_.Empty();
  if (fresh && !StartFrame(x)) return;
  if (!fresh && frame_.StepLength <= 0.0) return;  // never started
  AppendRun(startIndex, fresh);
}

void TSequencerItem::AppendRun(std::int32_t a, bool fresh) {
  const std::int32_t n = frame_.StepCount;
  const int order = EffectiveOrder(frame_.Order, n);
  const bool wasEmpty = liveSteps_.Empty();
  std::int64_t slot = frame_.NextSlot;
  TOrvIntList permutation;

  if (frame_.Trigger != kTriggerSyncToHost) {
    // Whole cycles that lie entirely behind the block start would only be overtaken by later
    // overdue events: skip them instead of building them (a far jump of the host position).
    const std::int64_t cycle = (order == kOrderForwardBack || order == kOrderBackwardForth) ? 2 * n : n;
    if (!fresh) {
      const double behind = (owner_.PpqPos() - frame_.Origin) / frame_.StepLength;
      if (std::isfinite(behind) && behind < kFarthestSlot) {
        const std::int64_t hostSlot = GridIndex(behind);
        if (hostSlot - slot >= cycle) slot += (hostSlot - slot) / cycle * cycle;
      }
    }
    switch (order) {
      case kOrderForward:
        for (std::int32_t i = 0; i < n; ++i) AppendStep(i, slot);
        break;
      case kOrderForwardBack:
        for (std::int32_t i = 0; i < n; ++i) AppendStep(i, slot);
        for (std::int32_t i = n - 1; i >= 0; --i) AppendStep(i, slot);
        break;
      case kOrderBackward:
        for (std::int32_t i = n - 1; i >= 0; --i) AppendStep(i, slot);
        break;
      case kOrderBackwardForth:
        for (std::int32_t i = n - 1; i >= 0; --i) AppendStep(i, slot);
        for (std::int32_t i = 0; i < n; ++i) AppendStep(i, slot);
        break;
      case kOrderEach2nd:
      case kOrderEach3rd:
      case kOrderEach4th: {
        const int k = EachStride(order);
        for (int j = 0; j < k; ++j)
          for (std::int32_t i = j; i < n; i += k) AppendStep(i, slot);
        break;
      }
      case kOrderRandom:
        for (std::int32_t i = 0; i < n; ++i) AppendStep(Random(n), slot);
        break;
      case kOrderRandomUnique:
        FillPermutation(permutation, n);
        for (int i = 0; i < n; ++i) AppendStep(permutation.Items(i), slot);
        break;
    }
  } else {
    const std::int32_t r = static_cast<std::int32_t>(Modulo(slot, n));
    switch (order) {
      case kOrderForward:
        for (std::int32_t i = r; i < n; ++i) AppendStep(i, slot);
        break;
      case kOrderForwardBack:
        for (std::int32_t i = r; i < n; ++i) AppendStep(i, slot);
        for (std::int32_t i = n - 1; i >= 0; --i) AppendStep(i, slot);
        break;
      case kOrderBackward:
        for (std::int32_t i = n - 1 - r; i >= 0; --i) AppendStep(i, slot);
        break;
      case kOrderBackwardForth:
        for (std::int32_t i = n - 1 - r; i >= 0; --i) AppendStep(i, slot);
        for (std::int32_t i = 0; i < n; ++i) AppendStep(i, slot);
        break;
      case kOrderEach2nd:
      case kOrderEach3rd:
      case kOrderEach4th: {
        const int k = EachStride(order);
        // A fresh start takes the stride position of its slot, k * slot mod n; a continuation goes
        // on from the step that ended the previous run.
        const std::int32_t s = a == -1 ? static_cast<std::int32_t>(Modulo(static_cast<std::int64_t>(r) * k, n))
                                       : static_cast<std::int32_t>(Modulo(static_cast<std::int64_t>(a) + k, n));
        for (std::int32_t i = s; i < n; i += k) AppendStep(i, slot);
        break;
      }
      case kOrderRandom:
        for (std::int32_t i = r; i < n; ++i) AppendStep(Random(n), slot);
        break;
      case kOrderRandomUnique:
        FillPermutation(permutation, n);
        for (int i = r; i < n; ++i) AppendStep(permutation.Items(i), slot);
        break;
    }
  }
  frame_.NextSlot = slot;

  if (liveSteps_.Empty()) return;
  // A refill of a smoothing schedule (one event left) must not move the smoothing clock back.
  if (wasEmpty) {
    nextTime_ = liveSteps_.First().Time;
    nextOnGrid_ = false;
  }
  if (IsOneShot(frame_.Trigger)) {
    const TLiveStepItem first = liveSteps_.First();
    const double time = frame_.Origin + static_cast<double>(slot) * frame_.StepLength;
    if (TLiveStepItem* item = liveSteps_.AddStep(first.StepIndex, first.Value, time)) item->Slot = slot;
    frame_.NextSlot = slot + 1;
  } else if (frame_.Smooth && liveSteps_.Count() == 1) {
    AppendRun(liveSteps_.First().StepIndex, false);
  }
}

}  // namespace vornix::sequencer
