// Documents and folders go to the Windows shell, which returns once the program has started.
// windows.h comes first: the shell headers need its declarations.
#include <windows.h>

#include <shellapi.h>

#include "platform/Shell.h"
#include "platform/WinText.h"

namespace vornix::platform {

namespace {

// ShellExecute reports success with a value above 32.
bool ShellOpen(const std::wstring& file, const std::wstring& parameters) {
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
      nullptr, L"open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace

bool OpenDocument(const std::string& fileName) { return !fileName.empty() && ShellOpen(WideFromUtf8(fileName), {}); }

bool OpenFolder(const std::string& folder) {
  return !folder.empty() && ShellOpen(L"explorer.exe", L"/e,\"" + WideFromUtf8(folder) + L"\"");
}

}  // namespace vornix::platform
