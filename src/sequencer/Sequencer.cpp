#include "sequencer/Sequencer.h"

#include <algorithm>

namespace vornix::sequencer {

namespace {

// Stores value and reports whether it differs from what was there.
template <class T>
bool Store(std::atomic<T>& field, T value) {
  return field.exchange(value, std::memory_order_relaxed) != value;
}

}  // namespace

TSequencerItem::TSequencerItem(TSequencer& owner, int index) : owner_(owner), index_(index) { SetDefaults(); }

void TSequencerItem::SetDefaults() {
  active_.store(true, std::memory_order_relaxed);
  ccNumber_.store(0, std::memory_order_relaxed);
  channel_.store(1, std::memory_order_relaxed);
  order_.store(kOrderForward, std::memory_order_relaxed);
  rate_.store(6, std::memory_order_relaxed);
  rateType_.store(1, std::memory_order_relaxed);
  smooth_.store(true, std::memory_order_relaxed);
  stepCount_.store(32, std::memory_order_relaxed);
  trigger_.store(kTriggerSyncToHost, std::memory_order_relaxed);
  title_.Set("Sequence #" + std::to_string(index_ + 1));
  steps_.ResetToDefaults();
}

void TSequencerItem::Assign(const TSequencerItem& source) {
  SetActive(source.Active());
  SetCCNumber(source.CCNumber());
  SetChannel(source.Channel());
  SetOrder(source.Order());
  SetRate(source.Rate());
  SetRateType(source.RateType());
  SetSmooth(source.Smooth());
  SetStepCount(source.StepCount());
  SetTrigger(source.Trigger());
  AssignSteps(source.Steps());
}

// The release store pairs with the processing thread's acquire of Changed: whoever sees the flag
// also sees the value that raised it.
void TSequencerItem::SetActive(bool value) {
  if (Store(active_, value)) SetChanged(true);
}

void TSequencerItem::SetOrder(int value) {
  if (Store(order_, std::clamp(value, 0, 8))) SetChanged(true);
}

void TSequencerItem::SetRate(int value) {
  if (Store(rate_, std::clamp(value, 1, 13))) SetChanged(true);
}

void TSequencerItem::SetRateType(int value) {
  if (Store(rateType_, std::clamp(value, 0, 2))) SetChanged(true);
}

void TSequencerItem::SetSmooth(bool value) {
  if (Store(smooth_, value)) SetChanged(true);
}

void TSequencerItem::SetStepCount(std::int32_t value) {
  if (Store(stepCount_, std::clamp<std::int32_t>(value, 1, kMaxSteps))) SetChanged(true);
}

void TSequencerItem::SetTrigger(int value) {
  if (Store(trigger_, std::clamp(value, 0, 4))) SetChanged(true);
}

void TSequencerItem::SetCCNumber(std::int32_t value) {
  ccNumber_.store(std::clamp<std::int32_t>(value, 0, 127), std::memory_order_relaxed);
}

void TSequencerItem::SetChannel(std::int32_t value) {
  channel_.store(std::clamp<std::int32_t>(value, 1, 16), std::memory_order_relaxed);
}

void TSequencerItem::AssignSteps(const TCCStepList& steps) {
  const int count = std::min(steps.Count(), kMaxSteps);
  for (int p = 0; p < count; ++p) steps_[p] = steps[p];
  SetChanged(true);
}

void TSequencerItem::ResetLiveState() {
  liveSteps_.Clear();
  nextTime_ = -1.0;
  nextOnGrid_ = false;
  playingStep_.store(-1, std::memory_order_relaxed);
  triggerState_.store(kTriggerNone, std::memory_order_relaxed);
}

void TSequencerItem::ResetLive() {
  ResetLiveState();
  changed_.store(false, std::memory_order_relaxed);
}

TSequencer::TSequencer(int count) {
  items_.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) items_.push_back(std::make_unique<TSequencerItem>(*this, i));
}

void TSequencer::SetDefaults() {
  for (auto& item : items_) item->SetDefaults();
}

void TSequencer::SetTempo(double value) {
  if (Store(tempo_, value))
    for (auto& item : items_) item->SetChanged(true);
}

void TSequencer::SetTimeSigNumerator(std::int32_t value) {
  if (Store(timeSigNumerator_, value))
    for (auto& item : items_) item->SetChanged(true);
}

void TSequencer::SetTimeSigDenominator(std::int32_t value) {
  if (Store(timeSigDenominator_, value))
    for (auto& item : items_) item->SetChanged(true);
}

void TSequencer::ClearChanged() {
  for (auto& item : items_) item->SetChanged(false);
}

void TSequencer::ResetAll() {
  currentStep_.Reset();
  prevPpqPos_.store(-1.0, std::memory_order_relaxed);
  for (auto& item : items_) item->ResetLive();
}

}  // namespace vornix::sequencer
