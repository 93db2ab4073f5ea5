#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <system_error>

#include "platform/PlatformError.h"

namespace vornix::platform {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::atomic<unsigned> temporaryCounter{0};

}  // namespace

bool TextLessIgnoringCase(std::string_view a, std::string_view b) noexcept {
  const auto n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(LowerAscii(a[i]));
    const auto cb = static_cast<unsigned char>(LowerAscii(b[i]));
    if (ca != cb) return ca < cb;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

void ForceDirectories(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) RaiseLastOSError("Cannot create folder", folder.string(), ec.value());
  // create_directories accepts an existing path that is not a folder.
  if (!std::filesystem::is_directory(folder, ec))
    RaiseLastOSError("Cannot create folder", folder.string(), ENOTDIR);
}

std::vector<std::string> ListFiles(const std::filesystem::path& folder, std::string_view extension) {
  std::vector<std::string> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  if (ec) return names;
  for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) break;
    const std::string name = it->path().filename().string();
    if (name.empty() || name.front() == '.') continue;
    if (name.size() < extension.size() || name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
      continue;
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end(), TextLessIgnoringCase);
  return names;
}

std::vector<std::string> ListPresetNames(const std::filesystem::path& folder) {
  auto names = ListFiles(folder, PresetFileExtension);
  for (auto& name : names) name.resize(name.size() - PresetFileExtension.size());
  return names;
}

bool RemoveFile(const std::filesystem::path& fileName) noexcept { return ::unlink(fileName.c_str()) == 0; }

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
  if (fileName.empty() || fileName.front() != '/') return false;
  try {
    return FileExists(std::filesystem::path(fileName));
  } catch (...) {
    return false;
  }
}

void WriteFileAtomically(const std::filesystem::path& linkOrFileName, std::string_view bytes) {
  // A symbolic link (a configuration kept elsewhere) stays a link: its target is replaced.
  std::filesystem::path fileName = linkOrFileName;
  std::error_code linkError;
  if (std::filesystem::is_symlink(linkOrFileName, linkError)) {
    auto target = std::filesystem::canonical(linkOrFileName, linkError);
    if (!linkError) fileName = std::move(target);
  }
  const auto folder = fileName.parent_path();
  const std::string base = fileName.filename().string();
  std::filesystem::path temporary;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temporary = folder / ("." + base + "." + std::to_string(::getpid()) + "." +
                          std::to_string(temporaryCounter.fetch_add(1)) + ".tmp");
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) RaiseLastOSError("Cannot create file", temporary.string(), errno);

  auto fail = [&](const char* action, int error) {
    if (fd >= 0) ::close(fd);
    ::unlink(temporary.c_str());
    RaiseLastOSError(action, fileName.string(), error);
  };
  // A replaced file keeps its permissions.
  struct stat old {};
  if (::stat(fileName.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);

  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail("Cannot write file", errno);
    }
    data += n;
    left -= static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0) fail("Cannot write file", errno);
  const int closed = ::close(fd);
  fd = -1;
  if (closed != 0) fail("Cannot write file", errno);
  if (::rename(temporary.c_str(), fileName.c_str()) != 0) fail("Cannot replace file", errno);
}

std::string MakeValidFileName(std::string_view name) {
  std::string result(name);
  for (char& c : result) {
    switch (c) {
      case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
        c = '_';
        break;
      default:
        break;
    }
  }
#ifndef _WIN32
  if (!result.empty() && result.front() == '.') result.front() = '_';
#endif
  return result;
}

}  // namespace vornix::platform
