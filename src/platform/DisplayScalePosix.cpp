#include <X11/Xlib.h>

#include <algorithm>
#include <cstdlib>
#include <exception>

#include "platform/DisplayScale.h"
#include "platform/X11Connection.h"

namespace vornix::platform {

double DisplayScalePercent(std::uintptr_t) {
  double xft = 0;
  try {
    detail::TX11Connection connection;
    if (const char* resources = XResourceManagerString(connection.Display())) xft = XftDpiPercent(resources);
  } catch (const std::exception&) {
    // No display: only the environment tells.
  }
  return std::max(GdkScalePercent(std::getenv("GDK_SCALE")), xft);
}

double WindowScalePercent(std::uintptr_t) { return 0; }

}  // namespace vornix::platform
