// Explorer with the folder in its tree view.
#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <string>

#include "platform/FileBrowser.h"
#include "platform/Files.h"
#include "platform/PlatformError.h"

namespace vornix::platform {

void OpenInFileBrowser(const std::filesystem::path& folder) {
  const std::wstring parameters = L"/e,\"" + folder.wstring() + L"\"";
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", L"explorer.exe", parameters.c_str(), L"", SW_SHOWNORMAL));
  // Values up to 32 are errors.
  if (result <= 32)
    RaiseWindowsError("Cannot show the folder", FileNameText(folder), static_cast<unsigned long>(result));
}

}  // namespace vornix::platform
