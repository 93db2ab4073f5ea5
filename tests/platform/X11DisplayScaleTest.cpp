// The desktop's scale read from the X server's resources (Xft.dpi) and the environment.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "TempEnvironment.h"
#include "platform/DisplayScale.h"

// Last: Xlib's macros (None, Bool) would clash with the test library.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace vornix::platform {
namespace {

// Sets the server's resources for its lifetime, then puts back what was there.
class TServerResources {
 public:
  TServerResources(Display* display, const std::string& text) : display_(display) {
    const Atom property = XInternAtom(display_, "RESOURCE_MANAGER", False);
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, DefaultRootWindow(display_), property, 0, 1 << 20, False, XA_STRING, &type,
                           &format, &items, &after, &data) == Success &&
        data != nullptr) {
      old_ = std::string(reinterpret_cast<char*>(data), items);
      had_ = true;
      XFree(data);
    }
    Set(text);
  }
  ~TServerResources() {
    if (had_) {
      Set(old_);
    } else {
      XDeleteProperty(display_, DefaultRootWindow(display_), XInternAtom(display_, "RESOURCE_MANAGER", False));
      XSync(display_, False);
    }
  }

 private:
  void Set(const std::string& text) {
    XChangeProperty(display_, DefaultRootWindow(display_), XInternAtom(display_, "RESOURCE_MANAGER", False), XA_STRING,
                    8, PropModeReplace, reinterpret_cast<const unsigned char*>(text.data()),
                    static_cast<int>(text.size()));
    XSync(display_, False);
  }

  Display* display_;
  std::string old_;
  bool had_ = false;
};

TEST(X11DisplayScale, TheDesktopsScaleIsXftDpiOrGdkScaleWhicheverIsLarger) {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') {
    const char* headless = std::getenv("VORNIX_HEADLESS");
    if (headless != nullptr && std::strcmp(headless, "1") == 0) GTEST_SKIP() << "VORNIX_HEADLESS=1: no X server";
    FAIL() << "DISPLAY is not set";
  }
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  {
    test::TScopedEnv gdk("GDK_SCALE", std::nullopt);
    {
      const TServerResources resources(display, "Xft.antialias:\t1\nXft.dpi:\t144\n");
      EXPECT_DOUBLE_EQ(DisplayScalePercent(), 150);
      const test::TScopedEnv two("GDK_SCALE", "2");
      EXPECT_DOUBLE_EQ(DisplayScalePercent(), 200);
    }
    const TServerResources none(display, "Xft.antialias:\t1\n");
    EXPECT_DOUBLE_EQ(DisplayScalePercent(), 0) << "nothing told";
    EXPECT_DOUBLE_EQ(WindowScalePercent(DefaultRootWindow(display)), 0) << "a window adds nothing on X11";
  }
  XCloseDisplay(display);
}

}  // namespace
}  // namespace vornix::platform
