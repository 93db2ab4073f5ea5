// Work one thread hands to the thread that owns something (Win32 windows can be destroyed only by
// their own thread), when the handing thread waits only so long. Either the owner runs it, or the
// hander gives up first and the owner then leaves it alone: never both, and the hander never
// stops waiting while it runs, so the work may refer to the hander's stack.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>

namespace vornix::platform::detail {

class THandedWork {
 public:
  // `work` must live until Settle has returned.
  explicit THandedWork(const std::function<void()>& work) : work_(work) {}

  // The owner's side: runs the work unless the hander has given up. Its exceptions end here.
  void RunIfWanted();
  // The hander's side, once it stops waiting: true when the work has run (a run that has begun is
  // waited for), false when it never will.
  bool Settle();

 private:
  enum class TState { Waiting, Running, Done, GivenUp };

  const std::function<void()>& work_;
  std::mutex mutex_;
  std::condition_variable done_;
  TState state_ = TState::Waiting;
};

}  // namespace vornix::platform::detail
