// What the X11 windows' connections did with X errors, for tests. Every X error on a connection of
// ours is dropped (none reaches the process's handler); the code expects a few of them (a probe of
// a window the host may have destroyed). The plug-in file does not export this.
#pragma once

namespace vornix::platform {

// How many X errors on our connections no code expected, since the process started.
unsigned long X11UnexpectedErrors();

}  // namespace vornix::platform
