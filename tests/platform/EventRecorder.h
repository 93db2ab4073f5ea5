// A window handler for the native window tests that keeps what reached it. Pointer enter and
// leave are left out: where the pointer stands on a real display is the server's business.
#pragma once

#include <functional>
#include <vector>

#include "platform/Window.h"

namespace vornix::platform {

struct TRecorder : TWindowHandler {
  std::vector<TEvent> Events;
  std::function<void(TWindow&, const TEvent&)> OnEvent;
  bool UsesKeys = true;  // false: every key goes on to the host's window
  bool HandleEvent(TWindow& window, const TEvent& event) override {
    if (event.Kind == TEventKind::MouseEnter || event.Kind == TEventKind::MouseLeave) return true;
    Events.push_back(event);
    if (OnEvent) OnEvent(window, event);
    const bool key =
        event.Kind == TEventKind::KeyDown || event.Kind == TEventKind::KeyUp || event.Kind == TEventKind::Char;
    return !key || UsesKeys;
  }
  std::vector<TEvent> Of(TEventKind kind) const {
    std::vector<TEvent> found;
    for (const TEvent& e : Events) {
      if (e.Kind == kind) found.push_back(e);
    }
    return found;
  }
};

}  // namespace vornix::platform
