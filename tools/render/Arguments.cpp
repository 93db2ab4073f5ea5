#include "render/FileNames.h"

#ifdef _WIN32
// windows.h comes first: the shell headers need its declarations.
#include <windows.h>

#include <shellapi.h>
#endif

namespace vornix::render {

#ifdef _WIN32

// argv holds the arguments in the ANSI code page, which may not hold every file name.
std::vector<std::string> Arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) {
    const auto text = std::filesystem::path(wide[i]).u8string();
    arguments.emplace_back(text.begin(), text.end());
  }
  LocalFree(wide);
  return arguments;
}

#else

std::vector<std::string> Arguments(int argc, char** argv) { return std::vector<std::string>(argv + 1, argv + argc); }

#endif

}  // namespace vornix::render
