// A list of up to 64 integers, used to build the random permutation of "Random Unique" without
// touching the heap.
#pragma once

#include <array>
#include <cstdint>

namespace vornix::sequencer {

class TOrvIntList {
 public:
  static constexpr int kCapacity = 64;

  // Appends; a full list ignores further values.
  void Add(std::int32_t value) {
    if (count_ < kCapacity) items_[static_cast<std::size_t>(count_++)] = value;
  }
  void Clear() { count_ = 0; }
  int Count() const { return count_; }
  std::int32_t Items(int position) const { return items_[static_cast<std::size_t>(position)]; }
  void Exchange(int i, int j);
  // Swaps every position, in order, with a position drawn from the whole list.
  void Shuffle();

 private:
  std::array<std::int32_t, kCapacity> items_{};
  int count_ = 0;
};

}  // namespace vornix::sequencer
