// Documents go to the Windows shell, which returns once the program has started.
// windows.h comes first: the shell headers need its declarations.
#include <windows.h>

#include <shellapi.h>

#include "platform/Shell.h"
#include "platform/WinText.h"

namespace vornix::platform {

namespace {

// ShellExecute reports success with a value above 32.
bool ShellOpen(const std::wstring& file) {
  const auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace

bool OpenDocument(const std::string& fileName) { return !fileName.empty() && ShellOpen(WideFromUtf8(fileName)); }

}  // namespace vornix::platform
