// The process-wide random generator: a 32-bit linear congruential generator
// (seed := seed * 134775813 + 1) shared by every instance in the process. Safe to call from any
// thread; it never blocks.
#pragma once

#include <cstdint>

namespace vornix::sequencer {

// A draw in 0..m-1: the high 32 bits of the updated seed times m. m <= 0 draws nothing and gives 0.
std::int32_t Random(std::int32_t m);
// Seeds from a high-resolution clock; runs once at library load and whenever a module is created.
void Randomize();
std::uint32_t RandSeed();
void SetRandSeed(std::uint32_t seed);

}  // namespace vornix::sequencer
