// A host's window on an X server that outlives the connection that made it (RetainPermanent), so
// that a test holds no connection of its own when it takes the server away: a connection that
// finds its server gone calls Xlib's process-wide I/O error handler, whose default exits. Include
// it last: Xlib defines macros (None, FocusIn, Bool) that clash with names in other headers.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace vornix::platform::test {

// 0 when the display cannot be opened.
inline ::Window MakeRetainedFrame(const std::string& display, int width, int height) {
  Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return 0;
  const ::Window frame = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, static_cast<unsigned>(width),
                                             static_cast<unsigned>(height), 0, 0, 0);
  XMapWindow(d, frame);
  XSetCloseDownMode(d, RetainPermanent);
  XCloseDisplay(d);
  return frame;
}

}  // namespace vornix::platform::test
