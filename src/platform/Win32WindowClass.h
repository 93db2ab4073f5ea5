// The window class of the editor's windows: registered once per module, the first time a window
// is made, and unregistered when the module unloads.
#pragma once

#ifdef _WIN32

#include <windows.h>

namespace vornix::platform::detail {

// This module's own instance: the DLL's when the code runs in the plug-in (never the host's
// executable), the program's in a test linked statically.
HINSTANCE ThisModule();

// The class's name, registered with `procedure` on first use. Throws std::runtime_error when the
// class cannot be registered.
const wchar_t* WindowClassName(WNDPROC procedure);

}  // namespace vornix::platform::detail

#endif
