#include "CountingAllocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

// The replacements pair malloc with free themselves; GCC cannot see that.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void* Allocate(std::size_t size) noexcept {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size == 0 ? 1 : size);
}
}  // namespace

namespace vornix::testing {

void StartCountingAllocations() {
  allocations = 0;
  counting = true;
}

long StopCountingAllocations() {
  counting = false;
  return allocations.load();
}

}  // namespace vornix::testing

void* operator new(std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
