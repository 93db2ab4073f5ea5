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

}  // namespace vornix::platform
