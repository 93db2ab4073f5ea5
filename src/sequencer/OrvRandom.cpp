#include "sequencer/OrvRandom.h"

#include <atomic>
#include <chrono>

namespace vornix::sequencer {

namespace {

std::uint32_t ClockSeed() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ticks));
}

std::atomic<std::uint32_t> seed{ClockSeed()};
static_assert(std::atomic<std::uint32_t>::is_always_lock_free);

}  // namespace

std::int32_t Random(std::int32_t m) {
  if (m <= 0) return 0;
  std::uint32_t current = seed.load(std::memory_order_relaxed);
  std::uint32_t next;
  do {
    next = current * 134775813u + 1u;
  } while (!seed.compare_exchange_weak(current, next, std::memory_order_relaxed));
  return static_cast<std::int32_t>((static_cast<std::uint64_t>(next) * static_cast<std::uint32_t>(m)) >> 32);
}

void Randomize() { seed.store(ClockSeed(), std::memory_order_relaxed); }

std::uint32_t RandSeed() { return seed.load(std::memory_order_relaxed); }

void SetRandSeed(std::uint32_t value) { seed.store(value, std::memory_order_relaxed); }

}  // namespace vornix::sequencer
