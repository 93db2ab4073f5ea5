// Presses while popups are shown, decided once for every window backend: the popup shown last that
// still watches takes them; a press outside it becomes its CloseRequest and goes no further unless
// its handler replays it (ReplayPress), and then the popup no longer watches; the release of a
// press that went no further goes nowhere either; the wheel outside it does nothing. The backend
// finds where an event lands and carries out what is decided (a replay, the pointer grab).
#pragma once

#include <algorithm>
#include <vector>

#include "platform/Window.h"

namespace vornix::platform::detail {

enum class TPressRoute { Deliver, CloseRequest, Drop };

// Where a press (or a wheel turn) goes while `popup` watches (none: nullptr); `inPopup`: it landed
// on that popup.
inline TPressRoute RouteOfPress(const TWindow* popup, bool inPopup, bool wheel) {
  if (popup == nullptr || inPopup) return TPressRoute::Deliver;
  return wheel ? TPressRoute::Drop : TPressRoute::CloseRequest;
}

// The CloseRequest for a press at a screen point, for the popup whose client area starts at
// `popupOrigin` (screen coordinates).
inline TEvent CloseRequestOf(gfx::TPoint screen, gfx::TPoint popupOrigin, TMouseButton button, TShiftState shift) {
  TEvent e;
  e.Kind = TEventKind::CloseRequest;
  e.X = screen.X - popupOrigin.X;
  e.Y = screen.Y - popupOrigin.Y;
  e.Button = button;
  e.Shift = shift | ButtonFlag(button);
  return e;
}

template <class TPopup>
class TPopupPresses {
 public:
  // Showing puts the popup last, watching; hiding it (or destroying it) takes it out and ends its
  // chance to replay the press it is handling.
  void Shown(TPopup& popup) {
    std::erase_if(shown_, [&](const TEntry& e) { return e.Popup == &popup; });
    shown_.push_back({&popup, true});
  }
  void Hidden(const TPopup& popup) {
    std::erase_if(shown_, [&](const TEntry& e) { return e.Popup == &popup; });
    if (closing_ == &popup) closing_ = nullptr;
  }

  // The popup that takes the presses: the last shown that still watches and that `usable` accepts.
  template <class FUsable>
  TPopup* Watching(FUsable&& usable) const {
    for (auto it = shown_.rbegin(); it != shown_.rend(); ++it) {
      if (it->Watching && usable(*it->Popup)) return it->Popup;
    }
    return nullptr;
  }
  TPopup* Watching() const {
    return Watching([](const TPopup&) { return true; });
  }
  bool IsWatching(const TPopup& popup) const {
    return std::any_of(shown_.begin(), shown_.end(), [&](const TEntry& e) { return e.Popup == &popup && e.Watching; });
  }

  // Hands a press outside the watching popup to its handler (`dispatch` sends the CloseRequest)
  // and answers whether the handler replayed it. A press that came to us (`held`; one on another
  // program's window did not) and was not replayed takes its release with it. `settle(replayed)`
  // runs however the handler ends and must not throw: the backend's part (a replay, the pointer
  // grab). A handler that meets another outside press in a modal loop of its own finds this one
  // as it left it afterwards.
  template <class FDispatch, class FSettle>
  bool Offer(TPopup& popup, TMouseButton button, bool held, FDispatch&& dispatch, FSettle&& settle) {
    struct TSession {
      TPopupPresses& presses;
      TPopup* outerClosing;
      bool outerReplayed;
      TMouseButton button;
      bool held;
      FSettle& settle;
      ~TSession() {
        const bool replayed = presses.replayed_;
        if (held && !replayed) presses.swallowed_ = button;
        presses.closing_ = outerClosing;
        presses.replayed_ = outerReplayed;
        settle(replayed);
      }
    } session{*this, closing_, replayed_, button, held, settle};
    closing_ = &popup;
    replayed_ = false;
    dispatch();
    return replayed_;
  }
  template <class FDispatch>
  bool Offer(TPopup& popup, TMouseButton button, bool held, FDispatch&& dispatch) {
    return Offer(popup, button, held, dispatch, [](bool) {});
  }

  // The popup whose handler has an outside press now (ReplayPress applies to it), or nullptr.
  TPopup* Closing() const { return closing_; }
  // ReplayPress: the press goes on and its popup stops watching. False when no popup handles an
  // outside press, or it replayed it already.
  bool Replay() {
    if (closing_ == nullptr || replayed_) return false;
    replayed_ = true;
    for (TEntry& e : shown_) {
      if (e.Popup == closing_) e.Watching = false;
    }
    return true;
  }

  // Whether a release belongs to a press that went no further; it goes no further either.
  bool DropRelease(TMouseButton button) {
    if (button == TMouseButton::None || button != swallowed_) return false;
    swallowed_ = TMouseButton::None;
    return true;
  }

 private:
  struct TEntry {
    TPopup* Popup;
    bool Watching;
  };
  std::vector<TEntry> shown_;  // in the order shown
  TPopup* closing_ = nullptr;
  bool replayed_ = false;
  TMouseButton swallowed_ = TMouseButton::None;
};

}  // namespace vornix::platform::detail
