#include "platform/Files.h"

#include <algorithm>
#include <system_error>

#include "platform/NameOrder.h"
#include "platform/PlatformError.h"

namespace vornix::platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool EndsWith(std::string_view name, std::string_view extension) {
  if (name.size() < extension.size()) return false;
  name.remove_prefix(name.size() - extension.size());
#ifdef _WIN32
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(name.begin(), name.end(), extension.begin(), [&](char a, char b) { return lower(a) == lower(b); });
#else
  return name == extension;
#endif
}

// On Windows a name that is nothing but the extension names no preset; on POSIX systems such a
// name is a dot file, which IsHiddenFile leaves out.
bool Listed(std::string_view name, std::string_view extension) {
  return name.size() > extension.size() && EndsWith(name, extension);
}

}  // namespace

std::filesystem::path FilePath(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string FileNameText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

void ForceDirectories(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) RaiseOSError("Cannot create folder", FileNameText(folder), ec);
  // create_directories accepts an existing path that is not a folder.
  if (!std::filesystem::is_directory(folder, ec))
    RaiseOSError("Cannot create folder", FileNameText(folder), std::make_error_code(std::errc::not_a_directory));
}

std::vector<std::string> ListFiles(const std::filesystem::path& folder, std::string_view extension) {
  std::vector<std::string> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  if (ec) return names;
  for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) break;
    std::string name;
    try {
      name = FileNameText(it->path().filename());
    } catch (const std::exception&) {
      continue;  // a Windows name with a lone surrogate has no UTF-8 text
    }
    if (!Listed(name, extension) || IsHiddenFile(it->path())) continue;
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    names.push_back(name);
  }
  // By the names without the extension they share: a language may pass over the dot, and then
  // "e.orvanep" would follow "elan.orvanep".
  const TNameOrder order;
  std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
    const int stems = order.Compare(std::string_view(a).substr(0, a.size() - extension.size()),
                                    std::string_view(b).substr(0, b.size() - extension.size()));
    return stems != 0 ? stems < 0 : a < b;
  });
  return names;
}

std::vector<std::string> ListPresetNames(const std::filesystem::path& folder) {
  auto names = ListFiles(folder, PresetFileExtension);
  for (auto& name : names) name.resize(name.size() - PresetFileExtension.size());
  return names;
}

bool FileExists(const std::filesystem::path& fileName) noexcept {
  std::error_code ec;
  return std::filesystem::is_regular_file(fileName, ec);
}

bool FileExistsAbsolute(std::string_view fileName) noexcept {
  auto strip = [&] {
    while (!fileName.empty() && (IsBlank(fileName.front()) || fileName.front() == '"')) fileName.remove_prefix(1);
    while (!fileName.empty() && (IsBlank(fileName.back()) || fileName.back() == '"')) fileName.remove_suffix(1);
  };
  strip();
  try {
    const auto path = FilePath(fileName);
#ifdef _WIN32
    if (!path.is_absolute()) return false;
#else
    if (fileName.empty() || fileName.front() != '/') return false;
#endif
    return FileExists(path);
  } catch (...) {
    return false;
  }
}

std::string MakeValidFileName(std::string_view name) {
  std::string result(name);
  for (char& c : result) {
    switch (c) {
      case '\\':
      case '/':
      case ':':
      case '*':
      case '?':
      case '"':
      case '<':
      case '>':
      case '|': c = '_'; break;
      default: break;
    }
  }
#ifndef _WIN32
  if (!result.empty() && result.front() == '.') result.front() = '_';
#endif
  return result;
}

}  // namespace vornix::platform
