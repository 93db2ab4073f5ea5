// The editor's idle call on the host's main thread while the editor is open: from a timer of the
// host's timer-support when it offers one; otherwise from the host's own event loop by another way
// it serves (Linux: a timer file descriptor in its posix-fd-support loop; Windows: a thread timer,
// which the host's message loop dispatches).
//
// Threads: the main thread only.
#pragma once

#include <cstdint>
#include <functional>

#include "formats/clap/ClapAbi.h"
#include "formats/clap/HostLink.h"

namespace vornix::formats::clapface {

class TEditorIdle {
 public:
  // About 50 idle calls a second, which the editor's drags and timers need; a host may stretch it.
  static constexpr std::uint32_t kPeriodMs = 20;

  TEditorIdle(const THostLink& host, std::function<void()> idle) : host_(host), idle_(std::move(idle)) {}
  ~TEditorIdle() { Stop(); }
  TEditorIdle(const TEditorIdle&) = delete;
  TEditorIdle& operator=(const TEditorIdle&) = delete;

  // The host offers a way to run the idle calls.
  bool Available() const { return host_.Timers() != nullptr || FallbackAvailable(); }
  bool Start();
  void Stop();
  bool Running() const { return timer_ != clap::CLAP_INVALID_ID || fallbackRunning_; }

  // The host's calls; true when they were for this idle.
  bool OnTimer(clap::clap_id id);
  bool OnFd(int fd, std::uint32_t flags);
  // The idle call now. One that runs the editor's event loop may let the host's loop call again
  // (Windows' modal loops dispatch the host's timers): that call finds the idle already running.
  void Run();

 private:
  bool FallbackAvailable() const;
  bool StartFallback();
  void StopFallback();

  const THostLink& host_;
  std::function<void()> idle_;
  clap::clap_id timer_ = clap::CLAP_INVALID_ID;
  bool fallbackRunning_ = false;
  std::intptr_t fallback_ = -1;  // the timer's file descriptor or id
  bool running_ = false;
};

}  // namespace vornix::formats::clapface
