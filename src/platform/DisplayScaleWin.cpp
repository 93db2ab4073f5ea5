#include <windows.h>

#include "platform/DisplayScale.h"

namespace vornix::platform {

// GetDpiForWindow comes with Windows 10 1607; older systems have one DPI for every monitor. A host
// that is not DPI-aware gets 96 either way, and Windows scales its windows (ours inside) itself.
double DisplayScalePercent(std::uintptr_t window) {
  using TGetDpiForWindow = UINT(WINAPI*)(HWND);
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  const auto getDpiForWindow =
      user32 != nullptr
          ? reinterpret_cast<TGetDpiForWindow>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")))
          : nullptr;
  const HWND hwnd = reinterpret_cast<HWND>(window);
  if (getDpiForWindow != nullptr && hwnd != nullptr && IsWindow(hwnd)) {
    if (const UINT dpi = getDpiForWindow(hwnd); dpi > 0) return dpi * 100.0 / 96.0;
  }
  const HDC screen = GetDC(nullptr);
  if (screen == nullptr) return 0;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi * 100.0 / 96.0 : 0;
}

double WindowScalePercent(std::uintptr_t window) { return window != 0 ? DisplayScalePercent(window) : 0; }

}  // namespace vornix::platform
