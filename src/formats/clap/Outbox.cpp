#include "formats/clap/Outbox.h"

namespace vornix::formats::clapface {

bool TOutbox::Push(TEntry entry) {
  const std::lock_guard lock(producers_);
  const std::size_t tail = tail_.load(std::memory_order_relaxed);
  if (tail - head_.load(std::memory_order_acquire) == kCapacity) {
    lost_.store(true, std::memory_order_release);
    return false;
  }
  ring_[tail % kCapacity] = entry;
  tail_.store(tail + 1, std::memory_order_release);
  return true;
}

}  // namespace vornix::formats::clapface
