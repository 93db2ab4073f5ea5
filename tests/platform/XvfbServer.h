// An X server of the test's own (Xvfb, on a display number it finds free), for tests that take
// the server away from under the editor.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace vornix::platform::test {

class TXvfbServer {
 public:
  explicit TXvfbServer(int depth = 24) {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) throw std::runtime_error("no pipe for Xvfb");
    // Everything the child needs is made before fork: it may only exec then.
    const std::string screen = "1024x768x" + std::to_string(depth);
    const char* argv[] = {"Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-screen", "0", screen.c_str(), nullptr};
    pid_ = ::fork();
    if (pid_ == 0) {
      const int null = ::open("/dev/null", O_RDWR);
      ::dup2(null, 1);
      ::dup2(null, 2);
      ::dup2(pipe[1], 3);  // dup2 clears close-on-exec
      ::close_range(4, ~0u, 0);
      ::execvp(argv[0], const_cast<char* const*>(argv));
      ::_exit(127);
    }
    ::close(pipe[1]);
    // The number comes when the server accepts connections; the pipe stays open until its end,
    // as the server fails when it cannot write all of it.
    std::string number;
    char c = 0;
    while (pid_ > 0 && ::read(pipe[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(pipe[0]);
    if (number.empty()) {
      Stop();
      throw std::runtime_error("Xvfb did not start (package xvfb)");
    }
    name_ = ":" + number;
  }
  ~TXvfbServer() { Stop(); }
  TXvfbServer(const TXvfbServer&) = delete;
  TXvfbServer& operator=(const TXvfbServer&) = delete;

  // The display name (":N").
  const std::string& Name() const { return name_; }
  // The server ends; when this returns it is gone and has closed every connection.
  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::kill(pid_, SIGCONT);  // a paused server takes the signal too
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  // The server answers nothing until it stops.
  void Pause() {
    if (pid_ > 0) ::kill(pid_, SIGSTOP);
  }
  bool Running() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

}  // namespace vornix::platform::test
