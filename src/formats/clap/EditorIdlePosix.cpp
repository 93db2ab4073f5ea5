// Without the host's timers: a timer file descriptor that the host's posix-fd-support loop watches.
#include <sys/timerfd.h>
#include <unistd.h>

#include <cstdint>

#include "formats/clap/EditorIdle.h"

namespace vornix::formats::clapface {

bool TEditorIdle::FallbackAvailable() const { return host_.Fds() != nullptr; }

bool TEditorIdle::StartFallback() {
  const clap::clap_host_posix_fd_support* fds = host_.Fds();
  if (fds == nullptr) return false;
  const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
  if (fd < 0) return false;
  itimerspec period{};
  period.it_interval.tv_nsec = static_cast<long>(kPeriodMs) * 1000000L;
  period.it_value = period.it_interval;
  if (timerfd_settime(fd, 0, &period, nullptr) != 0 || !fds->register_fd(host_.Host(), fd, clap::CLAP_POSIX_FD_READ)) {
    close(fd);
    return false;
  }
  fallback_ = fd;
  return true;
}

void TEditorIdle::StopFallback() {
  const int fd = static_cast<int>(fallback_);
  host_.Fds()->unregister_fd(host_.Host(), fd);
  close(fd);
  fallback_ = -1;
}

bool TEditorIdle::OnFd(int fd, std::uint32_t flags) {
  if (!fallbackRunning_ || fd != fallback_) return false;
  if ((flags & clap::CLAP_POSIX_FD_READ) != 0) {
    // The timer is level-triggered for the host's loop until its count is read.
    std::uint64_t expirations = 0;
    (void)!read(fd, &expirations, sizeof expirations);
    Run();
  }
  return true;
}

}  // namespace vornix::formats::clapface
