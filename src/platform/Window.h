// Windows for the editor: one small interface, a backend per platform (X11, in memory for tests,
// later Win32). Every window draws from a pixel surface of its own size; the toolkit paints into
// the surface and presents the part that changed. Input arrives as small tagged events at the
// window's one handler.
//
// Threads: a window system and its windows belong to the thread that calls the editor entries;
// nothing here may be touched from another thread, except that they may be destroyed on another
// thread while that one is not inside them (a library unloaded with an editor open), and that
// another thread may hand work to theirs (RunOnOwnerThread). Several systems may live at once, on
// one thread or on several.
//
// Timers: a window's timers fire only from Pump and RunModal, on the thread that calls them.
//
// Closing under a handler: a host may close the editor from inside one of the editor's own
// handlers (a host timer that fires under a modal question calls effEditClose). EndModalLoops
// ends every modal loop, and the entry guard lets the editor keep itself alive until the handlers
// on the stack have returned.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"

namespace vornix::platform {

enum class TMouseButton { None, Left, Right, Middle };

// Modifier keys and held mouse buttons at the time of an event.
enum TShiftFlag : unsigned {
  ssShift = 1u << 0,
  ssAlt = 1u << 1,
  ssCtrl = 1u << 2,
  ssLeft = 1u << 3,
  ssRight = 1u << 4,
  ssMiddle = 1u << 5,
  ssDouble = 1u << 6,  // the press is the second of a double click
};
using TShiftState = unsigned;
constexpr TShiftState kMouseButtonFlags = ssLeft | ssRight | ssMiddle;

// The shift-state flag of a mouse button (0 for none).
constexpr TShiftState ButtonFlag(TMouseButton button) {
  switch (button) {
    case TMouseButton::Left: return ssLeft;
    case TMouseButton::Right: return ssRight;
    case TMouseButton::Middle: return ssMiddle;
    case TMouseButton::None: break;
  }
  return 0;
}

// Keys that are not text, by the toolkit's own codes; letters and digits use their upper-case
// ASCII code ('A', '0').
enum TKeyCode : int {
  kKeyNone = 0,
  kKeyBackspace = 8,
  kKeyTab = 9,
  kKeyReturn = 13,
  kKeyEscape = 27,
  kKeySpace = 32,
  kKeyPageUp = 33,
  kKeyPageDown = 34,
  kKeyEnd = 35,
  kKeyHome = 36,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
  kKeyInsert = 45,
  kKeyDelete = 46,
  kKeyShift = 16,
  kKeyControl = 17,
  kKeyAlt = 18,
};

enum class TEventKind {
  MouseDown,
  MouseUp,
  MouseMove,
  MouseWheel,
  MouseEnter,
  MouseLeave,
  KeyDown,
  KeyUp,
  Char,  // a typed character (after the key went down), as UTF-32
  Timer,
  FocusIn,
  FocusOut,
  // A popup saw a press outside itself, or a dialog's close box was used; the window stays until
  // its owner destroys it. For a press, X, Y, Button and Shift describe it (Button is None for the
  // close box); the press goes no further unless the handler calls TWindowSystem::ReplayPress.
  CloseRequest,
};

struct TEvent {
  TEventKind Kind = TEventKind::MouseMove;
  // Client coordinates of the window that receives the event (mouse events; for a popup's
  // CloseRequest caused by an outside press, the press position relative to the popup).
  int X = 0;
  int Y = 0;
  TMouseButton Button = TMouseButton::None;  // MouseDown, MouseUp
  TShiftState Shift = 0;
  int WheelDelta = 0;  // MouseWheel: +120 a notch up (away from the user), -120 down
  int Key = kKeyNone;  // KeyDown, KeyUp
  char32_t Char = 0;   // Char
  int TimerId = 0;     // Timer
};

enum class TCursor { Default, SizeNS, IBeam };

class TWindow;

class TWindowHandler {
 public:
  virtual ~TWindowHandler() = default;
  // True when the event was used. A key the editor inside the host's window does not use (KeyDown,
  // KeyUp, Char) goes on to the host's window, so the host's shortcuts (Space: play) keep working
  // while the editor has the keyboard.
  virtual bool HandleEvent(TWindow& window, const TEvent& event) = 0;
};

class TWindow {
 public:
  virtual ~TWindow() = default;

  // The pixels of the window, always exactly its client size. Draw, then Present what changed.
  virtual gfx::TBitmap& Surface() = 0;
  virtual void Present(const gfx::TRect& area) = 0;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Moves (owner's client coordinates for a child, screen coordinates otherwise) and resizes; the
  // surface keeps what fits and the rest is cleared.
  virtual void SetBounds(const gfx::TRect& bounds) = 0;
  virtual gfx::TPoint ClientToScreen(gfx::TPoint p) const = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual void SetTitle(const std::string& title) = 0;
  virtual void SetCursor(TCursor cursor) = 0;
  // Asks for the keyboard focus.
  virtual void TakeFocus() = 0;
  // A Timer event with this id every `milliseconds` until stopped; starting again restarts it.
  virtual void StartTimer(int id, int milliseconds) = 0;
  virtual void StopTimer(int id) = 0;
  // The platform's handle (an X11 Window id, an HWND); 0 in memory.
  virtual std::uintptr_t NativeHandle() const = 0;
};

class TWindowSystem {
 public:
  virtual ~TWindowSystem() = default;

  // True when the platform ties windows to the thread that made them (Win32: only that thread may
  // destroy them or run their messages). X11 windows live on a connection of the editor's own, and
  // windows in memory on nothing, so those may go on another thread while none is inside them.
  virtual bool WindowsBelongToTheirThread() const { return false; }

  // Sizes below 1 pixel are raised to 1. A window must not outlive its system; one that does is
  // left without its platform window and does nothing. The handler outlives the window.

  // The editor inside the host's window (an X11 Window id, an HWND), at (0, 0) of the parent,
  // shown. Throws std::runtime_error when the parent does not exist.
  virtual std::unique_ptr<TWindow> CreateChild(std::uintptr_t parent, int width, int height,
                                               TWindowHandler& handler) = 0;
  // A menu or drop-down list at a screen position, above everything, without decoration; hidden
  // until shown. While it is shown it gets every press: a press outside it (on another window of
  // ours, or of another program) gives it a CloseRequest instead of reaching its target. Of several
  // popups shown, the one shown last watches.
  virtual std::unique_ptr<TWindow> CreatePopup(TWindow& owner, const gfx::TRect& screenBounds,
                                               TWindowHandler& handler) = 0;
  // A dialog that stays above its owner, with a title and no resizing; hidden until shown. Its
  // close box gives it a CloseRequest.
  virtual std::unique_ptr<TWindow> CreateDialog(TWindow& owner, const gfx::TRect& screenBounds,
                                                const std::string& title, TWindowHandler& handler) = 0;
  // Only while a popup handles the CloseRequest of an outside press: the press goes on to the
  // window under the pointer as if the popup had not been there. The popup stops watching presses
  // (hide or destroy it next).
  virtual void ReplayPress() = 0;

  // Handles every pending event and due timer, without waiting. Handlers may create and destroy
  // windows, start and stop timers and run a modal loop; they must not destroy the system.
  virtual void Pump() = 0;
  // A nested loop for a modal question: handles events and timers (waiting for them) until `done`
  // is true; `done` is asked before every turn. After EndModalLoops it ends after its current turn,
  // or at once.
  void RunModal(const std::function<bool()>& done) {
    if (modalLoopsEnded_) return;
    RunModalLoop([this, &done] { return modalLoopsEnded_ || done(); });
  }
  // Every modal loop running ends, and every later one ends at once: the editor is closing under
  // its questions, which unwind as cancelled. A system that serves one editor after another
  // (windows in memory) resumes once the closed one has gone.
  void EndModalLoops() { modalLoopsEnded_ = true; }
  void ResumeModalLoops() { modalLoopsEnded_ = false; }
  bool ModalLoopsEnded() const { return modalLoopsEnded_; }

  // What an entry into the editor holds while it runs (null: nothing to hold).
  using TEntryGuard = std::function<std::shared_ptr<void>()>;
  // Handlers that run from outside Pump and RunModal (Win32: the host's own loop dispatches our
  // windows' messages; in memory: the test's input) hold what `guard` returns until they have
  // returned, and let it go as the last thing, so that the owner of the system may go then.
  void SetEntryGuard(TEntryGuard guard) { entryGuard_ = std::move(guard); }

  // Runs `work` on the thread the windows belong to, and returns true once it has run there. Where
  // windows belong to no thread it runs at once, here. On Win32 the owner thread runs it from its
  // message queue; one that does not take it within a few seconds (stuck, or gone) never runs it,
  // and false says so. `work` may destroy the system: nothing touches it after handing over.
  virtual bool RunOnOwnerThread(const std::function<void()>& work) {
    work();
    return true;
  }
  // Drops the mouse input (presses, releases, wheel, moves) that has queued up but was not handled
  // yet.
  virtual void FlushMouseInput() = 0;

  virtual gfx::TPoint PointerPosition() const = 0;  // screen coordinates
  virtual TShiftState ModifierState() const = 0;    // keys and buttons held now
  virtual gfx::TRect ScreenBounds() const = 0;

  // The system clipboard under a format name of ours; data put there stays while this system
  // lives (the step clipboard adds a file so that it outlives the editor). Putting data there
  // replaces whatever the clipboard held, in every format. Asking another program waits a few
  // hundred milliseconds at most.
  virtual void SetClipboard(const std::string& format, const std::vector<std::uint8_t>& data) = 0;
  // True while the clipboard holds what some program (this one included) put there last, in
  // whatever format: the user's latest copy. False when nothing holds it: on X11 the data goes with
  // the program that owned it. On Windows the data outlives the program that put it there, so
  // there a clipboard that is not empty counts as held. Asks no other program.
  virtual bool ClipboardHasOwner() = 0;
  virtual bool HasClipboard(const std::string& format) = 0;
  virtual std::optional<std::vector<std::uint8_t>> GetClipboard(const std::string& format) = 0;
  // Plain text (the numeric edit's cut and paste).
  virtual void SetClipboardText(const std::string& utf8) = 0;
  virtual std::optional<std::string> GetClipboardText() = 0;

 protected:
  // The backend's modal loop, which returns when `done` is true.
  virtual void RunModalLoop(const std::function<bool()>& done) = 0;
  std::shared_ptr<void> GuardEntry() const { return entryGuard_ ? entryGuard_() : nullptr; }

 private:
  bool modalLoopsEnded_ = false;
  TEntryGuard entryGuard_;
};

// The platform's own windows: X11 on Linux (a connection of its own to the default display),
// Win32 on Windows. Throws std::runtime_error when there is no display. Should the display go
// away later (the X server ends), the system is a dead one: every call returns, modal loops
// end, the clipboard is empty, and making a window throws std::runtime_error.
std::unique_ptr<TWindowSystem> CreateNativeWindowSystem();

}  // namespace vornix::platform
