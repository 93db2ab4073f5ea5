// A user at an X server for the window tests, on a connection of its own.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

// Last: Xlib defines macros (None, Bool, Status) that clash with names in other headers.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace vornix::testing {

// A user at the X server: pointer and keys through XTest, on a connection of its own so that it can
// act while the host's thread is inside the plug-in (a modal dialog runs in effEditIdle).
class TUser {
 public:
  TUser() : display_(XOpenDisplay(nullptr)) { current_ = display_; }
  ~TUser() {
    current_ = nullptr;
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  // The connection of the user there is now (null: none), which a host's error handler tells apart
  // from its own.
  static Display* Connection() { return current_; }
  void Press(int x, int y) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XSync(display_, False);
  }
  void MoveTo(int x, int y) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XSync(display_, False);
  }
  void Release() {
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XSync(display_, False);
  }
  void Click(int x, int y) {
    Press(x, y);
    Release();
  }
  void Key(KeySym key, Window focus) {
    XSetInputFocus(display_, focus, RevertToParent, CurrentTime);
    const KeyCode code = XKeysymToKeycode(display_, key);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
  }
  // A mapped child of the root that `accept` likes, waited for up to two seconds.
  Window WaitForTopLevel(const std::function<bool(const XWindowAttributes&)>& accept) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline) {
      Window root = 0, parent = 0, *children = nullptr;
      unsigned count = 0;
      XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count);
      Window found = 0;
      for (unsigned i = 0; i < count && found == 0; ++i) {
        XWindowAttributes a{};
        if (XGetWindowAttributes(display_, children[i], &a) && a.map_state == IsViewable && accept(a))
          found = children[i];
      }
      if (children != nullptr) XFree(children);
      if (found != 0) return found;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
  }
  XWindowAttributes Attributes(Window w) {
    XWindowAttributes a{};
    XGetWindowAttributes(display_, w, &a);
    return a;
  }

 private:
  Display* display_;
  static inline Display* current_ = nullptr;
};

}  // namespace vornix::testing
