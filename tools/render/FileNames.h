// File names on the command line are UTF-8 text inside the tool; on Windows a std::filesystem::path
// made straight from a std::string would read them in the C library's narrow encoding instead.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vornix::render {

inline std::filesystem::path FileName(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The program's arguments after its name, as UTF-8 (on Windows taken from the wide command line).
std::vector<std::string> Arguments(int argc, char** argv);

}  // namespace vornix::render
