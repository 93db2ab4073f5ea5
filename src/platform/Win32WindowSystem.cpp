// The editor's windows on Win32.
//
// The editor is a WS_CHILD window in the host's HWND; popups are WS_POPUP windows and dialogs
// owned top-level windows with a caption, both owned by the host's top-level window (or by the
// dialog they open from). One window class serves them all (Win32WindowClass.cpp). Everything is
// kept in the system object; nothing process-wide changes, so several editors can live at once,
// on one thread or on several.
//
// Where messages are handled: on Windows the thread's message queue is shared with the host, and
// the host's own loop dispatches our windows' messages to our window procedure, which is the
// normal way for a child window to get its input. Pump (called from effEditIdle) takes only the
// messages of our own windows (PeekMessage with each of our HWNDs): it never takes a message that
// the host's loop waits for (WM_QUIT, thread messages, its windows' input), and its order of
// dispatch is the host's business. Timers: WM_TIMER of our windows that the host's loop dispatches
// is noted and fired from the next Pump, so that a Timer event comes only from Pump and RunModal,
// as on the other platforms.
//
// RunModal is a nested loop over every message of the thread: the host's windows keep painting
// and its timers keep running. Mouse and keyboard input for windows that are not this system's is
// dropped meanwhile, as for windows disabled by a modal dialog: the user cannot drive the host
// while a question waits. WM_QUIT ends the loop and is posted again for the host's loop. The host
// itself may still call in from its timers, sent messages or a WM_SYSCOMMAND close, even to close
// the editor: every handler holds the entry guard (see Window.h), so the editor goes only once
// the handlers under the loop have returned.
//
// Windows belong to the thread that made them; only it can destroy them. A host that closes the
// editor on another thread has the work handed over (RunOnOwnerThread): a message sent to our
// message-only window, which the owner thread runs from whichever loop it is in (the host's, or
// one of ours). When that thread does not take it in time, windows of ours destroyed elsewhere
// are cut off from this library and closed by their own thread once it takes messages again.
//
// Popups take the mouse capture while shown, so that a press outside them reaches us first: the
// popup gets it as a CloseRequest, and ReplayPress posts it again to the window under the pointer.
// A press on another program's window is not ours to see; the capture is lost then, and the popup
// gets a CloseRequest for it all the same.
#include <windows.h>

#include <windowsx.h>
// Macros of <windows.h> with the names of our methods.
#undef CreateDialog
#undef CreateWindow

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/HandedWork.h"
#include "platform/PopupPresses.h"
#include "platform/Win32Clipboard.h"
#include "platform/Win32WindowClass.h"
#include "platform/WinText.h"
#include "platform/Window.h"
#include "platform/WindowSupport.h"

namespace vornix::platform {
namespace {

constexpr DWORD kModalWaitCapMs = 250;
constexpr int kPumpMessageCap = 10000;  // a handler that keeps posting cannot hold Pump forever
// How long another thread waits for the owner thread to take handed work: a busy host's GUI thread
// comes round to its queue well within it, and a host whose GUI thread waits for the handing
// thread gets its call back instead of a deadlock.
constexpr DWORD kOwnerThreadWaitMs = 5000;

// Handed work for the message window: lParam is a std::shared_ptr<detail::THandedWork>* that the
// window procedure takes over. Registered, so that no other program's message is taken for it.
UINT HandedWorkMessage() {
  static const UINT message = RegisterWindowMessageW(L"Vornix.HandedWork");
  return message;
}

enum class TKind { Child, Popup, Dialog };

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME;

// A mouse message's state: its own flags, and Alt, which they leave out, as this thread's
// messages have seen it.
TShiftState ButtonsFromKeys(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

// The state as this thread's messages have seen it so far.
TShiftState KeyboardShift() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  if (GetKeyState(VK_LBUTTON) < 0) s |= ssLeft;
  if (GetKeyState(VK_RBUTTON) < 0) s |= ssRight;
  if (GetKeyState(VK_MBUTTON) < 0) s |= ssMiddle;
  return s;
}

// The toolkit's key codes are the virtual-key codes for the keys it knows.
int KeyFromVirtualKey(WPARAM vk) {
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return static_cast<int>(vk);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return static_cast<int>(vk - VK_NUMPAD0) + '0';
  switch (vk) {
    case VK_BACK: return kKeyBackspace;
    case VK_TAB: return kKeyTab;
    case VK_RETURN: return kKeyReturn;
    case VK_ESCAPE: return kKeyEscape;
    case VK_SPACE: return kKeySpace;
    case VK_PRIOR: return kKeyPageUp;
    case VK_NEXT: return kKeyPageDown;
    case VK_END: return kKeyEnd;
    case VK_HOME: return kKeyHome;
    case VK_LEFT: return kKeyLeft;
    case VK_UP: return kKeyUp;
    case VK_RIGHT: return kKeyRight;
    case VK_DOWN: return kKeyDown;
    case VK_INSERT: return kKeyInsert;
    case VK_DELETE: return kKeyDelete;
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT: return kKeyShift;
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL: return kKeyControl;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU: return kKeyAlt;
    default: return kKeyNone;
  }
}

bool IsUserInput(UINT message) {
  return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) || message == WM_NCMOUSEHOVER ||
         message == WM_NCMOUSELEAVE;
}

std::string LastErrorText(const char* what) {
  return std::string(what) + " (error " + std::to_string(GetLastError()) + ")";
}

// The window rectangle whose client area is `client` (screen coordinates).
RECT DialogRect(const gfx::TRect& client) {
  RECT r{client.Left, client.Top, client.Right, client.Bottom};
  AdjustWindowRectEx(&r, kDialogStyle, FALSE, kDialogExStyle);
  return r;
}

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// True while `hwnd` is still a window of `thread` (one whose thread ended went with it).
bool StillOnThread(HWND hwnd, DWORD thread) {
  return IsWindow(hwnd) && GetWindowThreadProcessId(hwnd, nullptr) == thread;
}

// Destroys a window of ours. One of another thread cannot be destroyed from here: it falls back to
// the default procedure, which no longer reaches this library, and closes itself on its own thread.
void DestroyOrLeave(HWND hwnd) {
  if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId()) {
    DestroyWindow(hwnd);
    return;
  }
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

// Hands `work` to the thread of `window` and waits for it there. The work may destroy the window
// system that asks: nothing here touches it.
bool HandToThreadOf(HWND window, const std::function<void()>& work) {
  const auto handed = std::make_shared<detail::THandedWork>(work);
  auto parcel = std::make_unique<std::shared_ptr<detail::THandedWork>>(handed);
  DWORD_PTR ignored = 0;
  SetLastError(0);
  if (SendMessageTimeoutW(window, HandedWorkMessage(), 0, reinterpret_cast<LPARAM>(parcel.get()),
                          SMTO_NORMAL | SMTO_ABORTIFHUNG, kOwnerThreadWaitMs, &ignored) != 0 ||
      GetLastError() == ERROR_TIMEOUT) {
    // Taken (and freed there); or not taken in time, when it may still arrive later and be freed
    // there (the work then left alone), so it is not ours to free. Never delivered at all, the
    // parcel is a few bytes lost.
    (void)parcel.release();
  }
  return handed->Settle();
}

class TWin32WindowSystem;

class TWin32Window final : public TWindow {
 public:
  TWin32Window(TWin32WindowSystem& system, TKind kind, TWindowHandler& handler, const gfx::TRect& bounds)
      : system_(&system),
        kind_(kind),
        handler_(handler),
        bounds_(bounds),
        surface_(bounds.Width(), bounds.Height(), 0) {}
  ~TWin32Window() override;

  gfx::TBitmap& Surface() override { return surface_; }
  void Present(const gfx::TRect& area) override;
  int Width() const override { return surface_.Width(); }
  int Height() const override { return surface_.Height(); }
  void SetBounds(const gfx::TRect& bounds) override;
  gfx::TPoint ClientToScreen(gfx::TPoint p) const override;
  void Show() override;
  void Hide() override;
  void SetTitle(const std::string& title) override;
  void SetCursor(TCursor cursor) override;
  void TakeFocus() override;
  void StartTimer(int id, int milliseconds) override;
  void StopTimer(int id) override;
  std::uintptr_t NativeHandle() const override { return reinterpret_cast<std::uintptr_t>(hwnd_); }

 private:
  friend class TWin32WindowSystem;
  friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);

  bool Live() const { return system_ != nullptr && hwnd_ != nullptr; }
  void Blit(HDC dc, const gfx::TRect& area) const;

  TWin32WindowSystem* system_;
  TKind kind_;
  TWindowHandler& handler_;
  std::uint64_t serial_ = 0;
  HWND hwnd_ = nullptr;
  bool shown_ = false;
  bool focusWhenShown_ = false;
  bool hovered_ = false;  // the pointer is over it, as far as its messages tell
  TCursor cursor_ = TCursor::Default;
  gfx::TRect bounds_;
  gfx::TBitmap surface_;
  std::map<int, UINT_PTR> timers_;  // our id and the native one
  UINT_PTR nextNativeTimer_ = 1;
  detail::TUtf16Decoder typed_;
  std::vector<WPARAM> keysDownForTheHost_;  // presses handed to the host: their releases follow
};

class TWin32WindowSystem final : public TWindowSystem {
 public:
  TWin32WindowSystem();
  ~TWin32WindowSystem() override;
  TWin32WindowSystem(const TWin32WindowSystem&) = delete;
  TWin32WindowSystem& operator=(const TWin32WindowSystem&) = delete;

  bool WindowsBelongToTheirThread() const override { return true; }
  bool RunOnOwnerThread(const std::function<void()>& work) override;
  std::unique_ptr<TWindow> CreateChild(std::uintptr_t parent, int width, int height, TWindowHandler& handler) override;
  std::unique_ptr<TWindow> CreatePopup(TWindow& owner, const gfx::TRect& screenBounds,
                                       TWindowHandler& handler) override;
  std::unique_ptr<TWindow> CreateDialog(TWindow& owner, const gfx::TRect& screenBounds, const std::string& title,
                                        TWindowHandler& handler) override;
  void ReplayPress() override;
  void Pump() override;
  void FlushMouseInput() override;
  gfx::TPoint PointerPosition() const override;
  TShiftState ModifierState() const override;
  gfx::TRect ScreenBounds() const override;
  void SetClipboard(const std::string& format, const std::vector<std::uint8_t>& data) override;
  bool ClipboardHasOwner() override;
  bool HasClipboard(const std::string& format) override;
  std::optional<std::vector<std::uint8_t>> GetClipboard(const std::string& format) override;
  void SetClipboardText(const std::string& utf8) override;
  std::optional<std::string> GetClipboardText() override;

  LRESULT Handle(TWin32Window& w, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void RunModalLoop(const std::function<bool()>& done) override;
  friend class TWin32Window;
  friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);

  // Counts the loops (Pump, RunModal) we are inside: timers fire only there.
  struct TLoop {
    explicit TLoop(TWin32WindowSystem& s) : system(s) { ++system.loopDepth_; }
    ~TLoop() { --system.loopDepth_; }
    TWin32WindowSystem& system;
  };

  std::unique_ptr<TWindow> Make(TKind kind, DWORD style, DWORD exStyle, HWND parent, const RECT& rect,
                                const gfx::TRect& client, const std::wstring& title, TWindowHandler& handler);
  void Forget(TWin32Window& w);
  const TWin32Window& Ours(const TWindow& window) const;
  TWin32Window* Find(HWND hwnd) const;
  TWin32Window* BySerial(std::uint64_t serial) const;
  TWin32Window* OursAt(POINT screen) const;
  HWND TopLevelOf(const TWin32Window& owner) const;
  HWND MessageWindow();

  bool Dispatch(TWin32Window& w, const TEvent& e) { return w.handler_.HandleEvent(w, e); }
  void DispatchMouse(TWin32Window& w, TEventKind kind, POINT screen, TMouseButton button, TShiftState shift);
  void Button(TWin32Window& w, TMouseButton button, bool press, bool twice, WPARAM keys, LPARAM lParam);
  void Move(TWin32Window& w, WPARAM keys, LPARAM lParam);
  void Wheel(TWin32Window& w, WPARAM wParam, LPARAM lParam);
  // Each true when the editor used the key.
  bool Key(TWin32Window& w, UINT message, WPARAM vk);
  bool Typed(TWin32Window& w, WPARAM unit);
  // A key message the editor inside the host's window did not use goes to the host's window.
  void KeyForTheHost(TWin32Window& w, UINT message, WPARAM wParam, LPARAM lParam);
  void OutsidePress(TWin32Window& popup, TMouseButton button, POINT screen, TShiftState shift, bool seen);
  void Replay(TMouseButton button, POINT screen, WPARAM keys);
  void CaptureLost(TWin32Window& popup);
  void Timer(TWin32Window& w, UINT_PTR native);
  void FirePendingTimers();
  TWin32Window* Watching() const;
  void EnsureCapture();
  void SetCaptureTo(HWND hwnd);

  std::unordered_map<HWND, TWin32Window*> windows_;
  detail::TPopupPresses<TWin32Window> presses_;
  TWin32Window* captured_ = nullptr;                          // the popup that holds the capture
  TWin32Window* dragging_ = nullptr;                          // the window that holds the capture for a drag
  bool movingCapture_ = false;                                // capture changes of our own doing
  std::vector<std::pair<std::uint64_t, int>> pendingTimers_;  // noted outside our loops
  int loopDepth_ = 0;
  std::uint64_t nextSerial_ = 1;
  HWND messageWindow_ = nullptr;
  DWORD thread_ = GetCurrentThreadId();
};

// ---- the window ----

TWin32Window::~TWin32Window() {
  if (system_ != nullptr) system_->Forget(*this);
}

void TWin32Window::Blit(HDC dc, const gfx::TRect& area) const {
  const gfx::TRect r = area.Intersect(surface_.Bounds());
  if (r.Empty()) return;
  // The rows of the area as a top-down DIB of their own: our ARGB words are BGRA bytes, the
  // layout of a 32-bit DIB.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = surface_.Width();
  info.bmiHeader.biHeight = -r.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, r.Left, r.Top, static_cast<DWORD>(r.Width()), static_cast<DWORD>(r.Height()), r.Left, 0, 0,
                    static_cast<UINT>(r.Height()), surface_.Row(r.Top), &info, DIB_RGB_COLORS);
}

void TWin32Window::Present(const gfx::TRect& area) {
  if (!Live()) return;
  if (HDC dc = GetDC(hwnd_)) {
    Blit(dc, area);
    ReleaseDC(hwnd_, dc);
  }
}

void TWin32Window::SetBounds(const gfx::TRect& bounds) {
  const int w = detail::ClampSize(bounds.Width());
  const int h = detail::ClampSize(bounds.Height());
  bounds_ = gfx::TRect::FromSize(bounds.Left, bounds.Top, w, h);
  detail::ResizeKeeping(surface_, w, h);
  if (!Live()) return;
  RECT r{bounds_.Left, bounds_.Top, bounds_.Right, bounds_.Bottom};
  if (kind_ == TKind::Dialog) r = DialogRect(bounds_);
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

gfx::TPoint TWin32Window::ClientToScreen(gfx::TPoint p) const {
  if (Live()) {
    POINT pt{p.X, p.Y};
    if (::ClientToScreen(hwnd_, &pt)) return {pt.x, pt.y};
  }
  return {bounds_.Left + p.X, bounds_.Top + p.Y};
}

void TWin32Window::Show() {
  shown_ = true;
  if (!Live()) return;
  switch (kind_) {
    case TKind::Child: ShowWindow(hwnd_, SW_SHOWNA); break;
    case TKind::Popup:
      SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
      break;
    case TKind::Dialog: ShowWindow(hwnd_, SW_SHOW); break;
  }
  if (kind_ == TKind::Popup) {
    system_->presses_.Shown(*this);
    system_->EnsureCapture();
  }
  if (focusWhenShown_ && Live()) {
    focusWhenShown_ = false;
    SetFocus(hwnd_);
  }
}

void TWin32Window::Hide() {
  shown_ = false;
  focusWhenShown_ = false;
  if (system_ == nullptr) return;
  system_->presses_.Hidden(*this);
  if (!Live()) return;
  if (kind_ == TKind::Popup) system_->EnsureCapture();
  ShowWindow(hwnd_, SW_HIDE);
}

void TWin32Window::SetTitle(const std::string& title) {
  if (Live()) SetWindowTextW(hwnd_, WideFromUtf8(title).c_str());
}

HCURSOR CursorHandle(TCursor cursor) {
  switch (cursor) {
    case TCursor::SizeNS: return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZENS));
    case TCursor::IBeam: return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM));
    case TCursor::Default: break;
  }
  return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
}

void TWin32Window::SetCursor(TCursor cursor) {
  cursor_ = cursor;
  if (!Live()) return;
  // At once when the pointer is over us; otherwise WM_SETCURSOR sets it when it comes.
  POINT p{};
  if (GetCursorPos(&p) && WindowFromPoint(p) == hwnd_) ::SetCursor(CursorHandle(cursor));
}

void TWin32Window::TakeFocus() {
  if (!Live()) return;
  // A window that is not shown cannot take the focus: a dialog takes it when it appears.
  if (IsWindowVisible(hwnd_)) {
    SetFocus(hwnd_);
  } else {
    focusWhenShown_ = true;
  }
}

void TWin32Window::StartTimer(int id, int milliseconds) {
  if (!Live()) return;
  auto it = timers_.find(id);
  if (it == timers_.end()) it = timers_.emplace(id, nextNativeTimer_++).first;
  // Setting a running timer again restarts it; a beat noted but not fired yet is dropped.
  auto& pending = system_->pendingTimers_;
  pending.erase(std::remove(pending.begin(), pending.end(), std::make_pair(serial_, id)), pending.end());
  SetTimer(hwnd_, it->second, static_cast<UINT>(std::max(milliseconds, 1)), nullptr);
}

void TWin32Window::StopTimer(int id) {
  const auto it = timers_.find(id);
  if (it == timers_.end()) return;
  if (Live()) KillTimer(hwnd_, it->second);
  timers_.erase(it);
  if (system_ != nullptr) {
    auto& pending = system_->pendingTimers_;
    pending.erase(std::remove(pending.begin(), pending.end(), std::make_pair(serial_, id)), pending.end());
  }
}

// ---- the window procedure ----

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == HandedWorkMessage() && message != 0) {
    // Work another thread handed to this one (the host closed the editor there).
    const std::unique_ptr<std::shared_ptr<detail::THandedWork>> parcel(
        reinterpret_cast<std::shared_ptr<detail::THandedWork>*>(lParam));
    if (parcel && *parcel) (*parcel)->RunIfWanted();
    return 0;
  }
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    if (auto* w = static_cast<TWin32Window*>(create->lpCreateParams)) w->hwnd_ = hwnd;
  }
  auto* w = reinterpret_cast<TWin32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (w == nullptr || w->system_ == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // Destroyed with the host's window, or by us: the object stays without its window.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    w->system_->windows_.erase(hwnd);
    w->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  // Handlers never let an exception out into the host's loop: it would cross the system's frames.
  try {
    // Held until the handler has returned; the system and `w` may be gone then.
    const std::shared_ptr<void> entry = w->system_->GuardEntry();
    return w->system_->Handle(*w, message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT TWin32WindowSystem::Handle(TWin32Window& w, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = w.hwnd_;
  switch (message) {
    case WM_ERASEBKGND: return 1;  // our pixels cover it all
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (HDC dc = BeginPaint(hwnd, &ps)) {
        w.Blit(dc, {ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom});
        EndPaint(hwnd, &ps);
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: Button(w, TMouseButton::Left, true, message == WM_LBUTTONDBLCLK, wParam, lParam); return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: Button(w, TMouseButton::Right, true, message == WM_RBUTTONDBLCLK, wParam, lParam); return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: Button(w, TMouseButton::Middle, true, message == WM_MBUTTONDBLCLK, wParam, lParam); return 0;
    case WM_LBUTTONUP: Button(w, TMouseButton::Left, false, false, wParam, lParam); return 0;
    case WM_RBUTTONUP: Button(w, TMouseButton::Right, false, false, wParam, lParam); return 0;
    case WM_MBUTTONUP: Button(w, TMouseButton::Middle, false, false, wParam, lParam); return 0;
    case WM_MOUSEMOVE: Move(w, wParam, lParam); return 0;
    case WM_MOUSELEAVE: {
      w.hovered_ = false;
      TEvent e;
      e.Kind = TEventKind::MouseLeave;
      e.Shift = KeyboardShift();
      Dispatch(w, e);
      return 0;
    }
    case WM_MOUSEWHEEL: Wheel(w, wParam, lParam); return 0;
    case WM_KEYDOWN:
    case WM_KEYUP: {
      const std::uint64_t serial = w.serial_;
      if (!Key(w, message, wParam) && BySerial(serial) != nullptr) KeyForTheHost(w, message, wParam, lParam);
      return 0;
    }
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
      // Alt and F10 stay the system's too (the host's menu, Alt+F4).
      const std::uint64_t serial = w.serial_;
      Key(w, message, wParam);
      return BySerial(serial) != nullptr ? DefWindowProcW(hwnd, message, wParam, lParam) : 0;
    }
    case WM_CHAR: {
      const std::uint64_t serial = w.serial_;
      if (!Typed(w, wParam) && BySerial(serial) != nullptr) KeyForTheHost(w, message, wParam, lParam);
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_WANTTAB;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      TEvent e;
      e.Kind = message == WM_SETFOCUS ? TEventKind::FocusIn : TEventKind::FocusOut;
      Dispatch(w, e);
      return 0;
    }
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == hwnd) {
        ::SetCursor(CursorHandle(w.cursor_));
        return TRUE;
      }
      break;
    case WM_TIMER: Timer(w, wParam); return 0;
    case WM_CAPTURECHANGED:
      if (&w == dragging_ && !movingCapture_) dragging_ = nullptr;
      if (&w == captured_ && !movingCapture_) {
        captured_ = nullptr;
        if (presses_.IsWatching(w) && w.shown_) CaptureLost(w);
      }
      return 0;
    case WM_CANCELMODE:
      // The system takes the capture away (another program came to the front).
      if (&w == captured_) {
        captured_ = nullptr;
        if (GetCapture() == hwnd) {
          movingCapture_ = true;
          ReleaseCapture();
          movingCapture_ = false;
        }
        if (presses_.IsWatching(w) && w.shown_) CaptureLost(w);
      }
      return 0;
    case WM_CLOSE: {
      // The close box (or Alt+F4) asks; the window goes only when its owner destroys it.
      if (w.kind_ == TKind::Dialog) {
        TEvent e;
        e.Kind = TEventKind::CloseRequest;
        Dispatch(w, e);
      }
      return 0;
    }
    default: break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// ---- the system ----

// The message window is made first, on the thread the windows will belong to: when no window can
// be made, there is no system.
TWin32WindowSystem::TWin32WindowSystem() { MessageWindow(); }

TWin32WindowSystem::~TWin32WindowSystem() {
  // Windows still open are destroyed now (or left to their thread, see Forget) and left without a
  // system: none may call into a library that is being unloaded.
  const std::vector<std::pair<HWND, TWin32Window*>> open(windows_.begin(), windows_.end());
  for (const auto& [hwnd, w] : open) Forget(*w);
  windows_.clear();
  if (messageWindow_ != nullptr && StillOnThread(messageWindow_, thread_)) DestroyOrLeave(messageWindow_);
}

bool TWin32WindowSystem::RunOnOwnerThread(const std::function<void()>& work) {
  if (GetCurrentThreadId() == thread_) {
    work();
    return true;
  }
  return HandToThreadOf(messageWindow_, work);
}

const TWin32Window& TWin32WindowSystem::Ours(const TWindow& window) const {
  const auto* w = dynamic_cast<const TWin32Window*>(&window);
  if (w == nullptr || w->system_ != this) throw std::invalid_argument("the owner is not a window of this system");
  return *w;
}

TWin32Window* TWin32WindowSystem::Find(HWND hwnd) const {
  const auto it = windows_.find(hwnd);
  return it != windows_.end() ? it->second : nullptr;
}

TWin32Window* TWin32WindowSystem::BySerial(std::uint64_t serial) const {
  for (const auto& [hwnd, w] : windows_) {
    if (w->serial_ == serial) return w;
  }
  return nullptr;
}

// The window of ours that shows at the screen point, if any.
TWin32Window* TWin32WindowSystem::OursAt(POINT screen) const {
  TWin32Window* w = Find(WindowFromPoint(screen));
  return w != nullptr && w->Live() && w->shown_ ? w : nullptr;
}

HWND TWin32WindowSystem::TopLevelOf(const TWin32Window& owner) const {
  if (!owner.Live()) return nullptr;
  return owner.kind_ == TKind::Child ? GetAncestor(owner.hwnd_, GA_ROOT) : owner.hwnd_;
}

std::unique_ptr<TWindow> TWin32WindowSystem::Make(TKind kind, DWORD style, DWORD exStyle, HWND parent, const RECT& rect,
                                                  const gfx::TRect& client, const std::wstring& title,
                                                  TWindowHandler& handler) {
  const wchar_t* className = detail::WindowClassName(&WindowProcedure);
  auto w = std::make_unique<TWin32Window>(*this, kind, handler, client);
  w->serial_ = nextSerial_++;
  const HWND hwnd =
      CreateWindowExW(exStyle, className, title.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                      rect.bottom - rect.top, parent, nullptr, detail::ThisModule(), w.get());
  if (hwnd == nullptr) {
    w->system_ = nullptr;
    throw std::runtime_error(LastErrorText("cannot make the editor's window"));
  }
  w->hwnd_ = hwnd;
  windows_[hwnd] = w.get();
  return w;
}

std::unique_ptr<TWindow> TWin32WindowSystem::CreateChild(std::uintptr_t parent, int width, int height,
                                                         TWindowHandler& handler) {
  const HWND host = reinterpret_cast<HWND>(parent);
  if (host == nullptr) throw std::runtime_error("no parent window for the editor");
  if (!IsWindow(host)) throw std::runtime_error("the host's window does not exist");
  const gfx::TRect client = {0, 0, detail::ClampSize(width), detail::ClampSize(height)};
  auto w = Make(TKind::Child, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, host,
                {0, 0, client.Right, client.Bottom}, client, L"Vornix", handler);
  static_cast<TWin32Window&>(*w).shown_ = true;
  return w;
}

std::unique_ptr<TWindow> TWin32WindowSystem::CreatePopup(TWindow& owner, const gfx::TRect& screenBounds,
                                                         TWindowHandler& handler) {
  const HWND top = TopLevelOf(Ours(owner));
  const gfx::TRect client =
      gfx::TRect::FromSize(screenBounds.Left, screenBounds.Top, detail::ClampSize(screenBounds.Width()),
                           detail::ClampSize(screenBounds.Height()));
  return Make(TKind::Popup, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, top,
              {client.Left, client.Top, client.Right, client.Bottom}, client, L"", handler);
}

std::unique_ptr<TWindow> TWin32WindowSystem::CreateDialog(TWindow& owner, const gfx::TRect& screenBounds,
                                                          const std::string& title, TWindowHandler& handler) {
  const HWND top = TopLevelOf(Ours(owner));
  const gfx::TRect client =
      gfx::TRect::FromSize(screenBounds.Left, screenBounds.Top, detail::ClampSize(screenBounds.Width()),
                           detail::ClampSize(screenBounds.Height()));
  return Make(TKind::Dialog, kDialogStyle, kDialogExStyle, top, DialogRect(client), client, WideFromUtf8(title),
              handler);
}

void TWin32WindowSystem::Forget(TWin32Window& w) {
  presses_.Hidden(w);
  pendingTimers_.erase(
      std::remove_if(pendingTimers_.begin(), pendingTimers_.end(), [&](const auto& p) { return p.first == w.serial_; }),
      pendingTimers_.end());
  if (dragging_ == &w) dragging_ = nullptr;
  if (captured_ == &w) captured_ = nullptr;
  if (const HWND hwnd = w.hwnd_) {
    windows_.erase(hwnd);
    w.hwnd_ = nullptr;
    if (StillOnThread(hwnd, thread_)) {
      // No message reaches the object from here on, not even those that destroying sends.
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      movingCapture_ = true;
      DestroyOrLeave(hwnd);
      movingCapture_ = false;
    }
  }
  w.system_ = nullptr;
  EnsureCapture();
}

// ---- capture ----

TWin32Window* TWin32WindowSystem::Watching() const {
  return presses_.Watching([](const TWin32Window& w) { return w.shown_ && w.Live(); });
}

void TWin32WindowSystem::SetCaptureTo(HWND hwnd) {
  movingCapture_ = true;
  if (hwnd != nullptr) {
    SetCapture(hwnd);
  } else if (Find(GetCapture()) != nullptr) {
    ReleaseCapture();
  }
  movingCapture_ = false;
}

// The popup shown last that still watches holds the capture; a drag holds it otherwise.
void TWin32WindowSystem::EnsureCapture() {
  TWin32Window* want = Watching();
  if (want == captured_ && (want == nullptr || GetCapture() == want->hwnd_)) return;
  if (want != nullptr) {
    dragging_ = nullptr;
    captured_ = want;
    SetCaptureTo(want->hwnd_);
  } else {
    captured_ = nullptr;
    SetCaptureTo(dragging_ != nullptr && dragging_->Live() ? dragging_->hwnd_ : nullptr);
  }
}

void TWin32WindowSystem::ReplayPress() {
  if (presses_.Replay()) EnsureCapture();
}

// ---- input ----

void TWin32WindowSystem::DispatchMouse(TWin32Window& w, TEventKind kind, POINT screen, TMouseButton button,
                                       TShiftState shift) {
  POINT p = screen;
  ScreenToClient(w.hwnd_, &p);
  TEvent e;
  e.Kind = kind;
  e.X = p.x;
  e.Y = p.y;
  e.Button = button;
  e.Shift = shift;
  Dispatch(w, e);
}

void TWin32WindowSystem::Button(TWin32Window& w, TMouseButton button, bool press, bool twice, WPARAM keys,
                                LPARAM lParam) {
  POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ::ClientToScreen(w.hwnd_, &screen);
  // Windows' flags already hold the pressed button and no longer the released one.
  TShiftState shift = ButtonsFromKeys(keys);
  TWin32Window* popup = Watching();
  const bool inPopup = popup != nullptr && OursAt(screen) == popup;
  if (press && detail::RouteOfPress(popup, inPopup, false) == detail::TPressRoute::CloseRequest) {
    OutsidePress(*popup, button, screen, shift, true);
    return;
  }
  if (!press && presses_.DropRelease(button)) return;
  // Who gets it: the popup that watches (or our window under the pointer, as on X11); the window
  // that holds a drag; else the one Windows chose, unless it is hidden (a popup that closed
  // before the release came).
  TWin32Window* target = &w;
  if (popup != nullptr) {
    target = inPopup ? popup : OursAt(screen);
    if (target == nullptr) target = popup;
  } else if (dragging_ != nullptr && dragging_->Live()) {
    target = dragging_;
  } else if (!w.shown_) {
    target = OursAt(screen);
  }
  if (target == nullptr || !target->Live()) return;
  if (press) {
    if (twice) shift |= ssDouble;
    // The window keeps the mouse while a button is held, as X11's implicit grab does.
    if (popup == nullptr && dragging_ == nullptr) {
      dragging_ = target;
      SetCaptureTo(target->hwnd_);
    }
  } else if ((shift & kMouseButtonFlags) == 0 && dragging_ != nullptr) {
    dragging_ = nullptr;
    if (popup == nullptr) SetCaptureTo(nullptr);
  }
  DispatchMouse(*target, press ? TEventKind::MouseDown : TEventKind::MouseUp, screen, button, shift);
}

void TWin32WindowSystem::Move(TWin32Window& w, WPARAM keys, LPARAM lParam) {
  POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ::ClientToScreen(w.hwnd_, &screen);
  TWin32Window* target = &w;
  if (TWin32Window* popup = Watching()) {
    target = OursAt(screen);
    if (target == nullptr) target = popup;
  } else if (dragging_ != nullptr && dragging_->Live()) {
    target = dragging_;
  } else if (!w.shown_) {
    return;
  }
  const std::uint64_t serial = target->serial_;
  if (!target->hovered_ && target == &w) {
    // Enter when the first move comes; Windows says when the pointer leaves.
    target->hovered_ = true;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, target->hwnd_, 0};
    TrackMouseEvent(&track);
    DispatchMouse(*target, TEventKind::MouseEnter, screen, TMouseButton::None, ButtonsFromKeys(keys));
    target = BySerial(serial);
    if (target == nullptr || !target->Live()) return;
  }
  DispatchMouse(*target, TEventKind::MouseMove, screen, TMouseButton::None, ButtonsFromKeys(keys));
}

// The wheel message comes to the focused window with screen coordinates; it belongs to our window
// under the pointer, as on X11, and to the host when the pointer is over none of ours.
void TWin32WindowSystem::Wheel(TWin32Window& w, WPARAM wParam, LPARAM lParam) {
  const POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  TWin32Window* target = OursAt(screen);
  TWin32Window* popup = Watching();
  if (detail::RouteOfPress(popup, target == popup, true) == detail::TPressRoute::Drop) return;  // outside a popup
  if (target == nullptr) {
    if (w.kind_ == TKind::Child) {
      if (HWND parent = GetParent(w.hwnd_)) PostMessageW(parent, WM_MOUSEWHEEL, wParam, lParam);
    }
    return;
  }
  POINT p = screen;
  ScreenToClient(target->hwnd_, &p);
  TEvent e;
  e.Kind = TEventKind::MouseWheel;
  e.X = p.x;
  e.Y = p.y;
  e.WheelDelta = GET_WHEEL_DELTA_WPARAM(wParam);
  e.Shift = ButtonsFromKeys(GET_KEYSTATE_WPARAM(wParam));
  Dispatch(*target, e);
}

bool TWin32WindowSystem::Key(TWin32Window& w, UINT message, WPARAM vk) {
  const int key = KeyFromVirtualKey(vk);
  if (key == kKeyNone) return false;
  TEvent e;
  e.Kind = message == WM_KEYDOWN || message == WM_SYSKEYDOWN ? TEventKind::KeyDown : TEventKind::KeyUp;
  e.Key = key;
  e.Shift = KeyboardShift();
  // The state before the key, as on X11: a modifier is not held yet on its own press and still
  // held on its release.
  const TShiftState own = key == kKeyShift     ? TShiftState{ssShift}
                          : key == kKeyControl ? TShiftState{ssCtrl}
                          : key == kKeyAlt     ? TShiftState{ssAlt}
                                               : TShiftState{0};
  e.Shift = e.Kind == TEventKind::KeyDown ? e.Shift & ~own : e.Shift | own;
  return Dispatch(w, e);
}

bool TWin32WindowSystem::Typed(TWin32Window& w, WPARAM unit) {
  const std::uint64_t serial = w.serial_;
  const TShiftState shift = KeyboardShift();
  const auto characters = w.typed_.Push(static_cast<char16_t>(unit));
  bool used = characters.empty();  // half of a surrogate pair waits for the other half
  for (char32_t c : characters) {
    if (c == 0x7F) continue;  // Ctrl+Backspace; Delete is a key, not a character
    TWin32Window* still = BySerial(serial);
    if (still == nullptr) return true;
    TEvent e;
    e.Kind = TEventKind::Char;
    e.Char = c;
    e.Shift = shift;
    used = Dispatch(*still, e) || used;
  }
  return used;
}

void TWin32WindowSystem::KeyForTheHost(TWin32Window& w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (w.kind_ != TKind::Child) return;
  auto& down = w.keysDownForTheHost_;
  if (message == WM_KEYUP) {
    const auto pressed = std::find(down.begin(), down.end(), wParam);
    if (pressed == down.end()) return;  // its press was ours
    down.erase(pressed);
  } else if (message == WM_KEYDOWN) {
    down.push_back(wParam);
  }
  if (HWND parent = GetParent(w.hwnd_)) PostMessageW(parent, message, wParam, lParam);
}

// `seen`: the press came to us (the capture brought it); otherwise it went to another program and
// there is neither a press to replay nor a release to drop.
void TWin32WindowSystem::OutsidePress(TWin32Window& popup, TMouseButton button, POINT screen, TShiftState shift,
                                      bool seen) {
  const TEvent close = detail::CloseRequestOf({screen.x, screen.y}, popup.ClientToScreen({0, 0}), button, shift);
  WPARAM keys = 0;
  if (close.Shift & ssShift) keys |= MK_SHIFT;
  if (close.Shift & ssCtrl) keys |= MK_CONTROL;
  if (close.Shift & ssLeft) keys |= MK_LBUTTON;
  if (close.Shift & ssRight) keys |= MK_RBUTTON;
  if (close.Shift & ssMiddle) keys |= MK_MBUTTON;
  presses_.Offer(
      popup, button, seen, [&] { Dispatch(popup, close); },
      [&](bool replayed) {
        if (seen && replayed) Replay(button, screen, keys);
        EnsureCapture();
      });
}

// The press again, posted to the window now under the pointer (the popup is out of the way or
// no longer watching), so that it arrives there before its release.
void TWin32WindowSystem::Replay(TMouseButton button, POINT screen, WPARAM keys) {
  const HWND target = WindowFromPoint(screen);
  if (target == nullptr) return;
  POINT client = screen;
  ScreenToClient(target, &client);
  RECT area{};
  GetClientRect(target, &area);
  const bool inClient = PtInRect(&area, client) != 0;
  UINT message = 0;
  switch (button) {
    case TMouseButton::Left: message = inClient ? WM_LBUTTONDOWN : WM_NCLBUTTONDOWN; break;
    case TMouseButton::Right: message = inClient ? WM_RBUTTONDOWN : WM_NCRBUTTONDOWN; break;
    case TMouseButton::Middle: message = inClient ? WM_MBUTTONDOWN : WM_NCMBUTTONDOWN; break;
    case TMouseButton::None: return;
  }
  if (inClient) {
    PostMessageW(target, message, keys, MAKELPARAM(client.x, client.y));
    return;
  }
  // Outside the client area the window says what part it is (its caption, a border).
  DWORD_PTR hit = HTNOWHERE;
  if (!SendMessageTimeoutW(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y), SMTO_ABORTIFHUNG, 200, &hit))
    return;
  PostMessageW(target, message, hit, MAKELPARAM(screen.x, screen.y));
}

// The capture went elsewhere: a press on another program's window, Alt+Tab. The popup hears of
// it as of a press outside.
void TWin32WindowSystem::CaptureLost(TWin32Window& popup) {
  POINT p{};
  GetCursorPos(&p);
  const TShiftState held = ModifierState();
  const TMouseButton button = (held & ssRight) && !(held & ssLeft) ? TMouseButton::Right : TMouseButton::Left;
  OutsidePress(popup, button, p, held & ~kMouseButtonFlags, false);
}

// ---- timers ----

void TWin32WindowSystem::Timer(TWin32Window& w, UINT_PTR native) {
  const auto it = std::find_if(w.timers_.begin(), w.timers_.end(), [&](const auto& t) { return t.second == native; });
  if (it == w.timers_.end()) return;
  const int id = it->first;
  if (loopDepth_ == 0) {
    // The host's loop dispatched it: it fires from the next Pump.
    const auto beat = std::make_pair(w.serial_, id);
    if (std::find(pendingTimers_.begin(), pendingTimers_.end(), beat) == pendingTimers_.end())
      pendingTimers_.push_back(beat);
    return;
  }
  TEvent e;
  e.Kind = TEventKind::Timer;
  e.TimerId = id;
  Dispatch(w, e);
}

void TWin32WindowSystem::FirePendingTimers() {
  const auto beats = std::move(pendingTimers_);
  pendingTimers_.clear();
  for (const auto& [serial, id] : beats) {
    TWin32Window* w = BySerial(serial);
    if (w == nullptr || w->timers_.count(id) == 0) continue;  // stopped or gone meanwhile
    TEvent e;
    e.Kind = TEventKind::Timer;
    e.TimerId = id;
    Dispatch(*w, e);
  }
}

// ---- loops ----

void TWin32WindowSystem::Pump() {
  const TLoop loop(*this);
  FirePendingTimers();
  int handled = 0;
  for (bool any = true; any && handled < kPumpMessageCap;) {
    any = false;
    std::vector<HWND> ours;
    ours.reserve(windows_.size());
    for (const auto& [hwnd, w] : windows_) ours.push_back(hwnd);
    for (const HWND hwnd : ours) {
      MSG msg;
      while (handled < kPumpMessageCap && windows_.count(hwnd) != 0 && PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE)) {
        any = true;
        ++handled;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
  }
}

void TWin32WindowSystem::RunModalLoop(const std::function<bool()>& done) {
  const TLoop loop(*this);
  while (!done()) {
    FirePendingTimers();
    if (done()) return;
    MSG msg;
    bool any = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // the host's loop ends too
        return;
      }
      any = true;
      if (Find(msg.hwnd) == nullptr && IsUserInput(msg.message)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      if (done()) return;
    }
    if (!any) MsgWaitForMultipleObjectsEx(0, nullptr, kModalWaitCapMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

// The thread's queue is the host's too: the mouse input queued for it goes as well, as a press
// that closed a question must not reach the host's window either.
void TWin32WindowSystem::FlushMouseInput() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
  }
}

gfx::TPoint TWin32WindowSystem::PointerPosition() const {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

TShiftState TWin32WindowSystem::ModifierState() const {
  auto down = [](int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; };
  const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
  TShiftState s = 0;
  if (down(VK_SHIFT)) s |= ssShift;
  if (down(VK_CONTROL)) s |= ssCtrl;
  if (down(VK_MENU)) s |= ssAlt;
  // The physical buttons, as the user knows them.
  if (down(swapped ? VK_RBUTTON : VK_LBUTTON)) s |= ssLeft;
  if (down(swapped ? VK_LBUTTON : VK_RBUTTON)) s |= ssRight;
  if (down(VK_MBUTTON)) s |= ssMiddle;
  return s;
}

gfx::TRect TWin32WindowSystem::ScreenBounds() const {
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return gfx::TRect::FromSize(x, y, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

// ---- clipboard ----

// A message-only window of ours owns what we put on the clipboard (the data stays there after it
// and the editor have gone) and takes the work other threads hand to this one.
HWND TWin32WindowSystem::MessageWindow() {
  if (messageWindow_ == nullptr) {
    messageWindow_ = CreateWindowExW(0, detail::WindowClassName(&WindowProcedure), L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                     nullptr, detail::ThisModule(), nullptr);
    if (messageWindow_ == nullptr) throw std::runtime_error(LastErrorText("cannot make windows"));
  }
  return messageWindow_;
}

void TWin32WindowSystem::SetClipboard(const std::string& format, const std::vector<std::uint8_t>& data) {
  detail::PutClipboard(MessageWindow(), detail::ClipboardFormat(format), data);
}

// Not GetClipboardOwner: it is null once the window that put the data there has gone, and for data
// put without a window, while the data stays and is still the user's latest copy.
bool TWin32WindowSystem::ClipboardHasOwner() { return CountClipboardFormats() != 0; }

bool TWin32WindowSystem::HasClipboard(const std::string& format) {
  return IsClipboardFormatAvailable(detail::ClipboardFormat(format)) != 0;
}

std::optional<std::vector<std::uint8_t>> TWin32WindowSystem::GetClipboard(const std::string& format) {
  return detail::ReadClipboard(detail::ClipboardFormat(format));
}

void TWin32WindowSystem::SetClipboardText(const std::string& utf8) {
  const std::wstring wide = WideFromUtf8(utf8);
  std::vector<std::uint8_t> bytes((wide.size() + 1) * sizeof(wchar_t), 0);
  std::memcpy(bytes.data(), wide.data(), wide.size() * sizeof(wchar_t));
  detail::PutClipboard(MessageWindow(), CF_UNICODETEXT, bytes);
}

std::optional<std::string> TWin32WindowSystem::GetClipboardText() {
  const auto bytes = detail::ReadClipboard(CF_UNICODETEXT);
  if (!bytes) return std::nullopt;
  std::wstring wide(bytes->size() / sizeof(wchar_t), L'\0');
  std::memcpy(wide.data(), bytes->data(), wide.size() * sizeof(wchar_t));
  wide.resize(std::wcslen(wide.c_str()));  // up to the terminating zero
  return Utf8FromWide(wide);
}

}  // namespace

// Windows always has a desktop; a window that cannot be made (Wine without an X display) is the
// error instead, from the constructor.
std::unique_ptr<TWindowSystem> CreateNativeWindowSystem() { return std::make_unique<TWin32WindowSystem>(); }

}  // namespace vornix::platform
