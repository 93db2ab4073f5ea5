// A program that links the counting allocator replaces the global allocation functions with ones
// that count the calls made while counting is on, on any thread.
#pragma once

namespace vornix::testing {

void StartCountingAllocations();
// Stops counting; the number of allocations since the start.
long StopCountingAllocations();

}  // namespace vornix::testing
