#include "platform/HandedWork.h"

namespace vornix::platform::detail {

void THandedWork::RunIfWanted() {
  {
    const std::lock_guard lock(mutex_);
    if (state_ != TState::Waiting) return;
    state_ = TState::Running;
  }
  try {
    work_();
  } catch (...) {
    // The hander learns only that it ran; what failed there is the owner thread's to bear.
  }
  {
    const std::lock_guard lock(mutex_);
    state_ = TState::Done;
  }
  done_.notify_all();
}

bool THandedWork::Settle() {
  std::unique_lock lock(mutex_);
  if (state_ == TState::Waiting) {
    state_ = TState::GivenUp;
    return false;
  }
  done_.wait(lock, [this] { return state_ == TState::Done; });
  return true;
}

}  // namespace vornix::platform::detail
