// How large the desktop draws things: the scale a window that follows it takes, in percent (100:
// none). The editor opens at it unless the user or the host chose another zoom.
#pragma once

#include <cstdint>
#include <string_view>

namespace vornix::platform {

// The scale of the screen a window shows on, in percent; 0 when it cannot be told.
// - Linux: the desktop's, GDK_SCALE (a whole factor) or the X server's Xft.dpi resource (96 dots
//   per inch: 100 %), the larger; `window` does not matter. Opens a short connection to the display.
// - Windows: the DPI of the monitor that shows `window` (an HWND; 0: the system's), 96 being 100 %.
double DisplayScalePercent(std::uintptr_t window = 0);
// What is known of the scale of one window's screen beyond the desktop's: on Windows the DPI of
// its monitor, as above; elsewhere 0 (the desktop's scale is all there is).
double WindowScalePercent(std::uintptr_t window);

// The parts, for the Linux side and its tests: the scale GDK_SCALE's text asks for (0: none), and
// the one Xft.dpi gives in the X server's resource text (0: none).
double GdkScalePercent(const char* gdkScale);
double XftDpiPercent(std::string_view resources);

}  // namespace vornix::platform
