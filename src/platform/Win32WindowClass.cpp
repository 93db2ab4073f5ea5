#include "platform/Win32WindowClass.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace vornix::platform::detail {

namespace {

// Unregisters at unload: a static object's destructor runs from the module's own exit list when
// the DLL is freed (or the program ends), after every window of ours is gone. Nothing here loads
// libraries or waits for threads.
class TWindowClass {
 public:
  explicit TWindowClass(WNDPROC procedure) {
    // Unique to this load of the module: a class left behind by an earlier load of the same file
    // (a host that freed the DLL while one of our windows still stood) never stands in the way.
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    wchar_t name[80];
    std::swprintf(name, sizeof name / sizeof name[0], L"VornixWindow-%p-%llx", static_cast<void*>(ThisModule()),
                  static_cast<unsigned long long>(now.QuadPart));
    name_ = name;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = ThisModule();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = name_.c_str();
    atom_ = RegisterClassExW(&wc);
    if (atom_ == 0) {
      throw std::runtime_error("cannot register the editor's window class (error " + std::to_string(GetLastError()) +
                               ")");
    }
  }
  ~TWindowClass() { UnregisterClassW(name_.c_str(), ThisModule()); }
  TWindowClass(const TWindowClass&) = delete;
  TWindowClass& operator=(const TWindowClass&) = delete;

  const wchar_t* Name() const { return name_.c_str(); }

 private:
  std::wstring name_;
  ATOM atom_ = 0;
};

}  // namespace

HINSTANCE ThisModule() {
  static const HINSTANCE module = [] {
    HMODULE m = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &m);
    return m;
  }();
  return module;
}

const wchar_t* WindowClassName(WNDPROC procedure) {
  static const TWindowClass windowClass(procedure);  // thread-safe, once per module
  return windowClass.Name();
}

}  // namespace vornix::platform::detail
