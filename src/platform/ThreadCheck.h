// Objects that belong to one thread (the editor and its windows belong to the thread that opened
// them) say so with a check at every entry. Debug and sanitizer builds stop loudly when an entry
// runs on another thread, so a host that breaks the rule is found at once; release builds check
// nothing.
#pragma once

#include <thread>

namespace vornix::platform {

class TThreadCheck {
 public:
  // The calling thread becomes the owner.
  void Bind() { owner_ = std::this_thread::get_id(); }
  // True on the owner's thread, or while no thread owns it yet.
  bool OnOwnerThread() const { return owner_ == std::thread::id() || owner_ == std::this_thread::get_id(); }
  // `entry` names what was called, for the message.
  void Check(const char* entry) const {
#if defined(VORNIX_THREAD_CHECKS)
    if (!OnOwnerThread()) Fail(entry);
#else
    (void)entry;
#endif
  }

 private:
  [[noreturn]] static void Fail(const char* entry);

  std::thread::id owner_;
};

}  // namespace vornix::platform
