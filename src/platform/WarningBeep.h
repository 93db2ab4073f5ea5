// The system's warning beep, silenced while a window of ours lets presses on other windows close
// it (a press on a disabled window beeps on Windows).
#pragma once

namespace vornix::platform {

// Switches the beep off for its lifetime (for this session, not saved to the user's profile) and
// then back to the state it found. POSIX systems have no such beep: nothing happens there.
class TWarningBeepOff {
 public:
  TWarningBeepOff();
  ~TWarningBeepOff();
  TWarningBeepOff(const TWarningBeepOff&) = delete;
  TWarningBeepOff& operator=(const TWarningBeepOff&) = delete;

 private:
  bool wasOn_ = false;
};

}  // namespace vornix::platform
