#include <windows.h>

#include "platform/PlatformError.h"
#include "platform/WinText.h"

namespace vornix::platform {

void RaiseWindowsError(const std::string& action, const std::string& path, unsigned long error) {
  wchar_t* text = nullptr;
  const DWORD n =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring reason = n > 0 && text ? std::wstring(text, n) : L"Windows error " + std::to_wstring(error);
  if (text) LocalFree(text);
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
    reason.pop_back();
  throw EOSError(action + " " + path + ": " + Utf8FromWide(reason));
}

}  // namespace vornix::platform
