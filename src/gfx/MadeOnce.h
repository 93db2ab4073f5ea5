// Data the library makes once, on first use, and every editor shares (decoded images, skins).
//
// Its holder is meant to be a namespace-scope object: made when the library loads, before any
// module exists. Statics die in the reverse order of their making, so it outlives the modules a
// host left open, which the module registry destroys when the library unloads or the process ends
// (their editors hold references into the data). A function-local static would be made later than
// the registry and die before it.
#pragma once

#include <mutex>
#include <optional>

namespace vornix::gfx {

template <class T>
class TMadeOnce {
 public:
  using TMake = T (*)();
  explicit constexpr TMadeOnce(TMake make) : make_(make) {}
  TMadeOnce(const TMadeOnce&) = delete;
  TMadeOnce& operator=(const TMadeOnce&) = delete;

  // Thread-safe; when making fails, the exception passes and the next call tries again.
  const T& Get() {
    std::call_once(once_, [this] { value_.emplace(make_()); });
    return *value_;
  }

 private:
  TMake make_;
  std::once_flag once_;
  std::optional<T> value_;
};

}  // namespace vornix::gfx
