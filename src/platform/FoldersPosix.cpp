// The per-user folders of a POSIX system: the home folder and the XDG documents folder.
#include "platform/Folders.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

extern char** environ;

namespace vornix::platform {

namespace {

std::string WithoutTrailingDelims(std::string path) {
  while (path.size() > 1 && path.back() == PathDelim) path.pop_back();
  return path;
}

bool IsAbsolute(const std::string& path) { return !path.empty() && path.front() == PathDelim; }

// Standard output of `program argument`, when it runs and exits with 0. The program is looked up
// in PATH; standard input and error are /dev/null.
std::optional<std::string> RunForOutput(const char* program, const char* argument) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  char* const argv[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (spawned != 0) {
    close(pipeFds[0]);
    return std::nullopt;
  }

  // A folder name is short; more than this is not an answer, but the pipe is still drained so
  // that the child can finish.
  constexpr std::size_t kMaxOutput = 8192;
  std::string output;
  char buffer[512];
  for (;;) {
    const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
    if (n > 0) {
      if (output.size() < kMaxOutput) output.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  close(pipeFds[0]);

  int status = 0;
  pid_t waited = 0;
  do {
    waited = waitpid(pid, &status, 0);
  } while (waited < 0 && errno == EINTR);
  // A host that ignores SIGCHLD has the child reaped already; its output is all we have then.
  const bool exitedWell = waited < 0 ? errno == ECHILD : WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!exitedWell || output.size() >= kMaxOutput) return std::nullopt;
  return output;
}

}  // namespace

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && home[0] == PathDelim) return WithoutTrailingDelims(home);
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir) {
    std::string home = WithoutTrailingDelims(found->pw_dir);
    if (IsAbsolute(home)) return home;
  }
  return {};
}

std::string PersonalDocumentsFolder() {
  const std::string home = HomeFolder();
  if (auto answer = RunForOutput("xdg-user-dir", "DOCUMENTS")) {
    while (!answer->empty() && (answer->back() == '\n' || answer->back() == '\r')) answer->pop_back();
    std::string folder = WithoutTrailingDelims(*answer);
    if (IsAbsolute(folder) && folder.find('\n') == std::string::npos && folder != home) return folder;
  }
  if (home.empty()) return {};
  return home.back() == PathDelim ? home + "Documents" : home + PathDelim + "Documents";
}

// The object file that holds this function is the plug-in itself (or the program a test links).
std::string ModuleFileName() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ModuleFileName), &info) == 0 || info.dli_fname == nullptr) return {};
  std::error_code error;
  const std::filesystem::path path = std::filesystem::absolute(info.dli_fname, error);
  return error ? std::string() : path.lexically_normal().string();
}

}  // namespace vornix::platform
