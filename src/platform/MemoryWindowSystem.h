// Windows in memory, for tests: every window is a surface, input is injected by the test and
// timers follow a virtual clock that only the test advances. What a window shows on the "screen"
// is what was presented from its surface.
//
// Input injected with MouseDown, KeyDown and the like goes straight to the handler, as the
// platform would deliver it: the pointer moves to the event's position, the held buttons follow
// presses and releases and are added to the shift state, and while a popup is shown a press
// outside it becomes the popup's CloseRequest (and reaches its target only when the handler
// calls ReplayPress; otherwise its release is dropped too). Post queues an event for the next Pump or RunModal turn
// instead, so that FlushMouseInput has something to drop.
//
// RunModal runs the actions the test queued with QueueModalAction, one per turn, until `done`
// is true; with none left it throws std::logic_error describing the stuck loop, so a test never
// hangs.
//
// Every event reaches its handler holding the entry guard, as the host's loop dispatches on Win32.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/PopupPresses.h"
#include "platform/Window.h"

namespace vornix::platform {

enum class TWindowKind { Child, Popup, Dialog };

// The in-process clipboard; systems made with the same one share it (two plug-in instances).
struct TMemoryClipboard {
  std::map<std::string, std::vector<std::uint8_t>> Formats;
  std::optional<std::string> Text;
  // Some program holds the content; every put sets it.
  bool Owned = false;
  // The program that held the content has gone (an editor closed): as on X11, the data goes too.
  void OwnerGone() {
    Formats.clear();
    Text.reset();
    Owned = false;
  }
};

class TMemoryWindowSystem;

class TMemoryWindow final : public TWindow {
 public:
  // Only the system makes windows.
  class TKey {
    friend class TMemoryWindowSystem;
    TKey() = default;
  };
  TMemoryWindow(TKey, TMemoryWindowSystem& system, TWindowKind kind, TWindowHandler& handler, const gfx::TRect& bounds);
  ~TMemoryWindow() override;

  gfx::TBitmap& Surface() override { return surface_; }
  void Present(const gfx::TRect& area) override;
  int Width() const override { return surface_.Width(); }
  int Height() const override { return surface_.Height(); }
  void SetBounds(const gfx::TRect& bounds) override;
  gfx::TPoint ClientToScreen(gfx::TPoint p) const override;
  void Show() override;
  void Hide() override;
  void SetTitle(const std::string& title) override { title_ = title; }
  void SetCursor(TCursor cursor) override { cursor_ = cursor; }
  void TakeFocus() override;
  void StartTimer(int id, int milliseconds) override;
  void StopTimer(int id) override;
  std::uintptr_t NativeHandle() const override { return 0; }

  // What a test reads.
  TWindowKind Kind() const { return kind_; }
  // As last set: the parent's client coordinates for a child, screen coordinates otherwise.
  gfx::TRect Bounds() const { return bounds_; }
  gfx::TRect ScreenBounds() const;
  const std::string& Title() const { return title_; }
  bool Visible() const { return visible_; }
  bool Focused() const;
  TCursor Cursor() const { return cursor_; }
  TWindow* Owner() const { return owner_; }          // popups and dialogs
  std::uintptr_t Parent() const { return parent_; }  // children
  // The pixels shown: the surface as far as it has been presented (0 elsewhere).
  const gfx::TBitmap& Screen() const { return screen_; }
  gfx::TColor Pixel(int x, int y) const { return screen_.Pixel(x, y); }
  int PresentCount() const { return presentCount_; }
  // The running timers: id and interval.
  std::map<int, int> Timers() const;

 private:
  friend class TMemoryWindowSystem;
  struct TTimer {
    int Interval = 1;
    std::int64_t Due = 0;
    std::uint64_t Order = 0;  // start order, for timers due at the same moment
  };

  TMemoryWindowSystem* system_;
  TWindowKind kind_;
  TWindowHandler& handler_;
  std::uint64_t serial_;
  gfx::TRect bounds_;
  gfx::TBitmap surface_;
  gfx::TBitmap screen_;
  std::string title_;
  bool visible_ = false;
  TCursor cursor_ = TCursor::Default;
  TWindow* owner_ = nullptr;
  std::uintptr_t parent_ = 0;
  int presentCount_ = 0;
  std::map<int, TTimer> timers_;
};

class TMemoryWindowSystem final : public TWindowSystem {
 public:
  explicit TMemoryWindowSystem(std::shared_ptr<TMemoryClipboard> clipboard = nullptr);
  ~TMemoryWindowSystem() override;
  TMemoryWindowSystem(const TMemoryWindowSystem&) = delete;
  TMemoryWindowSystem& operator=(const TMemoryWindowSystem&) = delete;

  std::unique_ptr<TWindow> CreateChild(std::uintptr_t parent, int width, int height, TWindowHandler& handler) override;
  std::unique_ptr<TWindow> CreatePopup(TWindow& owner, const gfx::TRect& screenBounds,
                                       TWindowHandler& handler) override;
  std::unique_ptr<TWindow> CreateDialog(TWindow& owner, const gfx::TRect& screenBounds, const std::string& title,
                                        TWindowHandler& handler) override;
  void ReplayPress() override;
  void Pump() override;
  void FlushMouseInput() override;
  gfx::TPoint PointerPosition() const override { return pointer_; }
  TShiftState ModifierState() const override { return modifiers_ | buttons_; }
  gfx::TRect ScreenBounds() const override { return screen_; }
  void SetClipboard(const std::string& format, const std::vector<std::uint8_t>& data) override;
  bool ClipboardHasOwner() override { return clipboard_->Owned; }
  bool HasClipboard(const std::string& format) override;
  std::optional<std::vector<std::uint8_t>> GetClipboard(const std::string& format) override;
  void SetClipboardText(const std::string& utf8) override;
  std::optional<std::string> GetClipboardText() override;

  // Input, delivered at once (see the top of this file). Positions are the window's client
  // coordinates; `shift` holds modifier keys (and ssDouble for the second press of a double click).
  void MouseDown(TWindow& window, int x, int y, TMouseButton button = TMouseButton::Left, TShiftState shift = 0);
  void MouseUp(TWindow& window, int x, int y, TMouseButton button = TMouseButton::Left, TShiftState shift = 0);
  void Click(TWindow& window, int x, int y, TMouseButton button = TMouseButton::Left, TShiftState shift = 0);
  void DoubleClick(TWindow& window, int x, int y, TShiftState shift = 0);
  void MouseMove(TWindow& window, int x, int y, TShiftState shift = 0);
  // +120 a notch away from the user.
  void MouseWheel(TWindow& window, int x, int y, int delta, TShiftState shift = 0);
  void KeyDown(TWindow& window, int key, TShiftState shift = 0);
  void KeyUp(TWindow& window, int key, TShiftState shift = 0);
  // One Char event per character of the UTF-8 text.
  void Type(TWindow& window, const std::string& utf8, TShiftState shift = 0);
  // Any event, as it is, at once.
  void Send(TWindow& window, const TEvent& event);
  // Any event, as it is, on the next Pump or RunModal turn.
  void Post(TWindow& window, const TEvent& event);
  std::size_t PostedEvents() const { return posted_.size(); }

  // The virtual clock, in milliseconds since the system was made. Advancing it fires every timer
  // that falls due on the way, in time order, each at its own moment.
  void AdvanceTime(int milliseconds);
  std::int64_t Now() const { return now_; }

  // Scripted steps for modal loops (nested loops take from the same queue).
  void QueueModalAction(std::function<void()> action);
  std::size_t PendingModalActions() const { return modalActions_.size(); }
  int ModalDepth() const { return modalDepth_; }

  // The open windows in the order they were made.
  std::vector<TMemoryWindow*> Windows() const;
  // The memory window behind a window of this system; nullptr for anything else.
  TMemoryWindow* Find(const TWindow& window) const;
  // The shown dialog with this title (the last made), or nullptr.
  TMemoryWindow* FindDialog(const std::string& title) const;
  // The popup that takes the presses now, or nullptr.
  TMemoryWindow* ActivePopup() const;
  TMemoryWindow* FocusedWindow() const { return focused_; }

  void SetPointerPosition(gfx::TPoint screen) { pointer_ = screen; }
  // Modifier keys held (ssShift, ssCtrl, ssAlt); the buttons follow the injected presses.
  void SetModifierState(TShiftState keys) { modifiers_ = keys & (ssShift | ssCtrl | ssAlt); }
  void SetScreenBounds(const gfx::TRect& screen) { screen_ = screen; }
  // Where the host's window that holds the children lies on the screen.
  void SetParentOrigin(gfx::TPoint screen) { parentOrigin_ = screen; }
  // The key events the editor inside the host's window did not use, handed on to the host's
  // window (a release only when its press was).
  const std::vector<TEvent>& KeysForTheHost() const { return keysForTheHost_; }
  TMemoryClipboard& Clipboard() { return *clipboard_; }

 private:
  void RunModalLoop(const std::function<bool()>& done) override;
  friend class TMemoryWindow;
  struct TPosted {
    std::uint64_t Serial;
    TEvent Event;
  };

  TMemoryWindow& Ours(TWindow& window) const;
  TMemoryWindow* BySerial(std::uint64_t serial) const;
  std::unique_ptr<TWindow> Add(std::unique_ptr<TMemoryWindow> window);
  void Remove(TMemoryWindow& window);
  bool Deliver(TMemoryWindow& window, const TEvent& event);
  // A key event for `window`; one a child did not use goes to the host's window.
  void DeliverKey(TMemoryWindow& window, const TEvent& event);
  void Press(TMemoryWindow& window, const TEvent& event);
  TEvent MouseEvent(TMemoryWindow& window, TEventKind kind, int x, int y, TShiftState shift);
  void DeliverPosted();
  std::string DescribeStuckModal() const;

  std::shared_ptr<TMemoryClipboard> clipboard_;
  std::vector<TMemoryWindow*> windows_;
  detail::TPopupPresses<TMemoryWindow> presses_;
  TMemoryWindow* focused_ = nullptr;
  std::deque<TPosted> posted_;
  std::deque<std::function<void()>> modalActions_;
  std::uint64_t nextSerial_ = 1;
  std::uint64_t nextTimerOrder_ = 1;
  std::int64_t now_ = 0;
  int modalDepth_ = 0;
  gfx::TPoint pointer_;
  gfx::TPoint parentOrigin_;
  TShiftState modifiers_ = 0;
  TShiftState buttons_ = 0;
  gfx::TRect screen_ = {0, 0, 1920, 1080};
  std::vector<TEvent> keysForTheHost_;
  std::vector<int> keysDownForTheHost_;
};

}  // namespace vornix::platform
