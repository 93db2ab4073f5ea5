// Documents go to xdg-open, started in a grandchild so that the host never has to reap it; the
// child between them watches it for a moment, so that an opener that fails is reported.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
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

// How long the opener may take to fail before it counts as started: xdg-open gives up at once when
// no program opens the kind, or when that program cannot start; one that opens the document
// may go on running (some desktops keep xdg-open until the viewer closes).
constexpr int kFailureWatchMs = 1000;
constexpr int kWatchStepMs = 10;

// In the watching child: whether the opener failed within the watch. Only calls that are safe
// after fork.
bool FailedWithinTheWatch(pid_t opener) {
  const timespec step{0, kWatchStepMs * 1000000L};
  for (int waited = 0; waited < kFailureWatchMs; waited += kWatchStepMs) {
    int status = 0;
    const pid_t done = waitpid(opener, &status, WNOHANG);
    if (done == opener) return !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    if (done < 0 && errno != EINTR) return true;
    nanosleep(&step, nullptr);
  }
  return false;  // still running: it has started the viewer or is showing it
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
    // The child starts the opener, watches it for a moment and leaves; an opener still running
    // then belongs to init, so the host never has to reap it. The host may ignore SIGCHLD, which
    // would hide the opener's exit status from the watch.
    signal(SIGCHLD, SIG_DFL);
    const pid_t opener = fork();
    if (opener == 0) {
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
    CloseFrom(3, maxFd);  // the watch needs none of the host's files either
    _exit(opener < 0 || FailedWithinTheWatch(opener) ? 1 : 0);
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
