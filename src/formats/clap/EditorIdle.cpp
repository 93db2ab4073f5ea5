#include "formats/clap/EditorIdle.h"

namespace vornix::formats::clapface {

bool TEditorIdle::Start() {
  if (Running()) return true;
  if (const clap::clap_host_timer_support* timers = host_.Timers()) {
    clap::clap_id id = clap::CLAP_INVALID_ID;
    if (timers->register_timer(host_.Host(), kPeriodMs, &id) && id != clap::CLAP_INVALID_ID) {
      timer_ = id;
      return true;
    }
  }
  fallbackRunning_ = StartFallback();
  return fallbackRunning_;
}

void TEditorIdle::Stop() {
  if (timer_ != clap::CLAP_INVALID_ID) {
    host_.Timers()->unregister_timer(host_.Host(), timer_);
    timer_ = clap::CLAP_INVALID_ID;
  }
  if (fallbackRunning_) {
    StopFallback();
    fallbackRunning_ = false;
  }
}

bool TEditorIdle::OnTimer(clap::clap_id id) {
  if (id == clap::CLAP_INVALID_ID || id != timer_) return false;
  Run();
  return true;
}

void TEditorIdle::Run() {
  if (running_) return;
  running_ = true;
  struct TDone {
    bool& running;
    ~TDone() { running = false; }
  } done{running_};
  idle_();
}

}  // namespace vornix::formats::clapface
