// Documents go to xdg-open, started in a grandchild so that the host never has to
// reap it and never waits for it.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/Shell.h"

extern char** environ;

namespace vornix::platform {

namespace {

// The program's file found along PATH, as execvp would find it; looked up before forking, since
// a child of a threaded process may only do what is safe after fork.
std::optional<std::string> FindProgram(std::string_view name) {
  const char* path = std::getenv("PATH");
  std::string_view dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const std::size_t colon = dirs.find(':');
    std::string dir(dirs.substr(0, colon));
    if (dir.empty()) dir = ".";
    std::string candidate = dir + '/' + std::string(name);
    if (candidate.front() == '/' && access(candidate.c_str(), X_OK) == 0) return candidate;
    if (colon == std::string_view::npos) return std::nullopt;
    dirs.remove_prefix(colon + 1);
  }
}

// Closes every descriptor from `first` on; safe after fork.
void CloseFrom(int first, int maxFd) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  if (close_range(static_cast<unsigned>(first), ~0u, 0) == 0) return;
#endif
  for (int fd = first; fd < maxFd; ++fd) close(fd);
}

bool Launch(std::string_view program, const std::string& argument) {
  const auto file = FindProgram(program);
  if (!file) return false;
  const std::string name(program);
  char* const argv[] = {const_cast<char*>(name.c_str()), const_cast<char*>(argument.c_str()), nullptr};
  const long openMax = sysconf(_SC_OPEN_MAX);
  const int maxFd = openMax > 0 && openMax < 1 << 20 ? static_cast<int>(openMax) : 1 << 16;
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    // The child only forks the launcher and leaves; the grandchild belongs to init from then on.
    const pid_t grandchild = fork();
    if (grandchild == 0) {
      setsid();
      const int null = open("/dev/null", O_RDWR);
      if (null >= 0) {
        dup2(null, STDIN_FILENO);
        if (null != STDIN_FILENO) close(null);
      }
      // The host's files (audio devices, project files) stay with the host, not with the viewer.
      CloseFrom(3, maxFd);
      execve(file->c_str(), argv, environ);
      _exit(127);
    }
    _exit(grandchild < 0 ? 1 : 0);
  }
  int status = 0;
  pid_t waited = 0;
  do {
    waited = waitpid(child, &status, 0);
  } while (waited < 0 && errno == EINTR);
  // A host that ignores SIGCHLD has the child reaped already: it started, as far as we can tell.
  if (waited < 0) return errno == ECHILD;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool OpenDocument(const std::string& fileName) { return !fileName.empty() && Launch("xdg-open", fileName); }

}  // namespace vornix::platform
