// The user's documents folder as the Windows shell names it.
// windows.h comes first: the shell headers need its declarations.
#include <windows.h>

#include <shlobj.h>

#include "platform/Folders.h"
#include "platform/WinText.h"

namespace vornix::platform {

std::string PersonalDocumentsFolder() {
  wchar_t folder[MAX_PATH] = {};
  // S_FALSE: the folder is named but does not exist.
  if (SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) return {};
  std::string text = Utf8FromWide(folder);
  // A drive root ("D:\") keeps its separator; DataFolder adds none then.
  while (text.size() > 3 && text.back() == PathDelim) text.pop_back();
  return text;
}

// The module that holds this function is the plug-in's DLL (or the program a test links).
std::string ModuleFileName() {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(&ModuleFileName), &module))
    return {};
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      name.resize(length);
      return Utf8FromWide(name);
    }
    // Cut to the buffer: try a larger one (long paths).
    if (name.size() >= 32768) return {};
    name.resize(name.size() * 2);
  }
}

}  // namespace vornix::platform
