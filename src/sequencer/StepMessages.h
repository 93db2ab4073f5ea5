// What the step clock hands to the processing cycle: controller messages with their sample
// offsets inside the block, in time order.
#pragma once

#include <array>
#include <cstdint>

namespace vornix::sequencer {

struct TStepMessage {
  // Samples from the start of the block, 0 .. block length - 1.
  std::int32_t Offset = 0;
  // 1..16 as in the model; the MIDI status carries Channel - 1.
  std::int32_t Channel = 1;
  std::int32_t CCNumber = 0;
  std::int32_t Value = 0;
};

// The messages of one sequence for one block. Messages on the same sample collapse into the
// later one; a block that would need more than the capacity keeps its last slot for the latest.
class TStepMessageList {
 public:
  static constexpr int kCapacity = 128;

  void Clear() { count_ = 0; }
  void Add(const TStepMessage& m) {
    if (count_ > 0 && (items_[static_cast<std::size_t>(count_ - 1)].Offset == m.Offset || count_ == kCapacity))
      items_[static_cast<std::size_t>(count_ - 1)] = m;
    else
      items_[static_cast<std::size_t>(count_++)] = m;
  }
  int Count() const { return count_; }
  bool Empty() const { return count_ == 0; }
  const TStepMessage& operator[](int i) const { return items_[static_cast<std::size_t>(i)]; }
  const TStepMessage& Last() const { return items_[static_cast<std::size_t>(count_ - 1)]; }
  const TStepMessage* begin() const { return items_.data(); }
  const TStepMessage* end() const { return items_.data() + count_; }

 private:
  std::array<TStepMessage, kCapacity> items_{};
  int count_ = 0;
};

// The last message of the latest ProcessSequence call.
struct TCurrentStep {
  std::int32_t CCNumber = -1;
  std::int32_t Channel = 1;
  std::int32_t Offset = 0;
  // 0..127; -1 when no message was produced.
  std::int32_t Value = -1;

  void Reset() { *this = TCurrentStep{}; }
};

}  // namespace vornix::sequencer
