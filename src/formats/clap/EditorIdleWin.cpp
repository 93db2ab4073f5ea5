// Without the host's timers: a thread timer of the main thread, whose messages the host's own
// message loop dispatches to its procedure.
#include <windows.h>

#include <map>

#include "formats/clap/EditorIdle.h"

namespace vornix::formats::clapface {

namespace {

// The main thread's running timers and whose they are.
std::map<UINT_PTR, TEditorIdle*>& Timers() {
  static std::map<UINT_PTR, TEditorIdle*> timers;
  return timers;
}

void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
  const auto it = Timers().find(id);
  if (it != Timers().end()) it->second->Run();
}

}  // namespace

bool TEditorIdle::FallbackAvailable() const { return true; }

bool TEditorIdle::StartFallback() {
  const UINT_PTR id = SetTimer(nullptr, 0, kPeriodMs, &Fire);
  if (id == 0) return false;
  Timers()[id] = this;
  fallback_ = static_cast<std::intptr_t>(id);
  return true;
}

void TEditorIdle::StopFallback() {
  const auto id = static_cast<UINT_PTR>(fallback_);
  KillTimer(nullptr, id);
  Timers().erase(id);
  fallback_ = -1;
}

// Hosts on Windows have no descriptors to watch.
bool TEditorIdle::OnFd(int, std::uint32_t) { return false; }

}  // namespace vornix::formats::clapface
