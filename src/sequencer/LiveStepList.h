// The schedule of one sequence: the step events still to send, in time order, in fixed storage.
#pragma once

#include <array>
#include <cstdint>

namespace vornix::sequencer {

struct TLiveStepItem {
  // Due time in quarter notes on the host's time line.
  double Time = -1.0;
  std::int32_t StepIndex = -1;
  // Already randomised and limited to 0..127.
  float Value = -1.0f;
  // The event's slot: Time is the schedule's origin + Slot * step length, so continuing a
  // schedule never depends on dividing a time by an inexact step length.
  std::int64_t Slot = 0;
};

class TLiveStepList {
 public:
  // One cycle of the longest order (2 x 64 events) plus a one-shot's closing copy, plus one refill.
  static constexpr int kCapacity = 2 * (2 * 64 + 1);

  // Appends; returns nullptr when full, which the schedule's bound rules out.
  TLiveStepItem* AddStep(std::int32_t stepIndex, float value, double time);
  void Clear() {
    head_ = 0;
    count_ = 0;
  }
  // Removes the first event.
  void RemoveFirst() {
    if (count_ == 0) return;
    head_ = (head_ + 1) % kCapacity;
    --count_;
  }
  int Count() const { return count_; }
  bool Empty() const { return count_ == 0; }
  const TLiveStepItem& Items(int position) const { return items_[Index(position)]; }
  TLiveStepItem& Items(int position) { return items_[Index(position)]; }
  const TLiveStepItem& First() const { return Items(0); }
  const TLiveStepItem& Last() const { return Items(count_ - 1); }

 private:
  std::size_t Index(int position) const { return static_cast<std::size_t>((head_ + position) % kCapacity); }

  std::array<TLiveStepItem, kCapacity> items_{};
  int head_ = 0;
  int count_ = 0;
};

inline TLiveStepItem* TLiveStepList::AddStep(std::int32_t stepIndex, float value, double time) {
  if (count_ == kCapacity) return nullptr;
  TLiveStepItem& item = items_[Index(count_)];
  ++count_;
  item = TLiveStepItem{time, stepIndex, value, 0};
  return &item;
}

}  // namespace vornix::sequencer
