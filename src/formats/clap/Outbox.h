// Parameter news for the host from outside the audio thread (the editor's edits and gestures, a
// preset the editor loads), held until the host's next process or flush call hands them on.
//
// Threads: producers are never the audio thread and take turns under a lock; the one consumer (the
// audio thread, or the main thread while the plug-in is not active, never both at once) takes the
// entries without waiting and without allocating.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace vornix::formats::clapface {

class TOutbox {
 public:
  enum class TKind : std::uint8_t { Value, GestureBegin, GestureEnd };
  struct TEntry {
    TKind Kind = TKind::Value;
    std::int32_t Index = 0;
  };
  static constexpr std::size_t kCapacity = 4096;

  // False when the outbox is full; the entry is then lost, and the consumer learns of it.
  bool Push(TEntry entry);
  // Consumer: hands every entry to `take`, oldest first. True when entries were lost since the
  // last call (the consumer then compares every value with what the host knows).
  template <class F>
  bool Drain(F&& take) {
    std::size_t head = head_.load(std::memory_order_relaxed);
    const std::size_t tail = tail_.load(std::memory_order_acquire);
    for (; head != tail; ++head) take(ring_[head % kCapacity]);
    head_.store(head, std::memory_order_release);
    return lost_.exchange(false, std::memory_order_acq_rel);
  }

 private:
  std::array<TEntry, kCapacity> ring_{};
  std::atomic<std::size_t> head_{0};  // the consumer's
  std::atomic<std::size_t> tail_{0};  // the producers'
  std::atomic<bool> lost_{false};
  std::mutex producers_;
};

}  // namespace vornix::formats::clapface
