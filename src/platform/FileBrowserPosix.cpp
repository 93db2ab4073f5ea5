// xdg-open, started twice removed: the grandchild runs it and the child exits at once, so nothing
// is left for the host to reap and nothing here waits for the browser.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/FileBrowser.h"
#include "platform/Files.h"
#include "platform/PlatformError.h"

extern char** environ;

namespace vornix::platform {

namespace {

constexpr const char* kProgram = "xdg-open";

// The program's path from PATH (the system's default path when PATH is not set); empty when no
// executable file of that name is found.
std::string FindInPath(std::string_view program) {
  const char* env = std::getenv("PATH");
  const std::string_view path = env != nullptr ? env : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find(':', start), path.size());
    std::string dir(path.substr(start, end - start));
    if (dir.empty()) dir = ".";
    const std::string candidate = dir + "/" + std::string(program);
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return {};
}

}  // namespace

void OpenInFileBrowser(const std::filesystem::path& folder) {
  const std::string folderText = FileNameText(folder);
  const std::string program = FindInPath(kProgram);
  if (program.empty())
    throw EOSError("Cannot show the folder " + folderText + ": " + kProgram + " was not found in PATH");
  // Everything the children need is made before fork: between fork and exec only async-signal-safe
  // calls are allowed (the host may run other threads).
  char* const argv[] = {const_cast<char*>(kProgram), const_cast<char*>(folderText.c_str()), nullptr};
  const pid_t child = fork();
  if (child < 0) RaiseLastOSError("Cannot show the folder", folderText, errno);
  if (child == 0) {
    if (fork() == 0) {
      setsid();  // closing the host's terminal does not take the browser with it
      const int null = open("/dev/null", O_RDWR);
      if (null >= 0) {
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
      }
      execve(program.c_str(), argv, environ);
    }
    _exit(0);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace vornix::platform
