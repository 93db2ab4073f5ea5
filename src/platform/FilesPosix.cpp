// File operations that need the POSIX interface.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/Files.h"
#include "platform/PlatformError.h"

namespace vornix::platform {

namespace {
std::atomic<unsigned> temporaryCounter{0};
}  // namespace

bool RemoveFile(const std::filesystem::path& fileName) noexcept { return ::unlink(fileName.c_str()) == 0; }

bool IsHiddenFile(const std::filesystem::path& file) noexcept { return file.filename().native().starts_with('.'); }

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

}  // namespace vornix::platform
