// The editor's windows on X11, through a connection of their own.
//
// The host made its first Xlib call long before us and may run editors of several instances at
// once, on one thread or on several. So this file never calls XInitThreads, keeps everything in
// the system object (nothing global), runs no thread and changes nothing process-wide:
//
// - X errors and losing the server are the connection's business (X11Connection.h): no error
//   reaches the host's handler, and once the server has gone the system is a dead one, whose
//   every call returns at once (no window can be made). The code still avoids errors by design
//   (sizes at least 1, the parent checked before use, a window the server destroyed with its
//   parent is not destroyed again).
// - Events are pumped from Pump (the editor calls it from effEditIdle) and RunModal, on the
//   thread that calls them. No _XEventProc property is set: pumping works with every host.
// - Popups hold a synchronous pointer grab while shown, so that a press outside them can be
//   handed to the owner and then either dropped or replayed to the window under the pointer
//   (XAllowEvents with ReplayPointer).
// - The clipboard answers other programs' requests from Pump and RunModal. Our own data also sits
//   in a property of our selection window, marked as ours, so that another instance in the same
//   process (often on the same thread, which cannot answer while it waits) reads it directly.
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/PopupPresses.h"
#include "platform/Window.h"
#include "platform/WindowSupport.h"

namespace vornix::platform {
namespace {
// Names that Xlib's macros (FocusIn, FocusOut, None) would otherwise replace.
constexpr TEventKind kFocusInEvent = TEventKind::FocusIn;
constexpr TEventKind kFocusOutEvent = TEventKind::FocusOut;
constexpr TMouseButton kNoButton = TMouseButton::None;
}  // namespace
}  // namespace vornix::platform

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>

#include "platform/X11Connection.h"

namespace vornix::platform {
namespace {

using TClock = std::chrono::steady_clock;

constexpr long kInputMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                            LeaveWindowMask | KeyPressMask | KeyReleaseMask | FocusChangeMask | StructureNotifyMask;
constexpr unsigned kGrabMask =
    ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;
constexpr int kDoubleClickMs = 500;
constexpr int kDoubleClickDistance = 4;
constexpr auto kSelectionWait = std::chrono::milliseconds(300);
constexpr int kModalWaitCapMs = 250;
constexpr const char* kGone = "the X server has gone";

TShiftState ShiftFromX(unsigned state) {
  TShiftState s = 0;
  if (state & ShiftMask) s |= ssShift;
  if (state & ControlMask) s |= ssCtrl;
  if (state & Mod1Mask) s |= ssAlt;
  if (state & Button1Mask) s |= ssLeft;
  if (state & Button2Mask) s |= ssMiddle;
  if (state & Button3Mask) s |= ssRight;
  return s;
}

TMouseButton ButtonFromX(unsigned button) {
  switch (button) {
    case Button1: return TMouseButton::Left;
    case Button2: return TMouseButton::Middle;
    case Button3: return TMouseButton::Right;
    default: return kNoButton;
  }
}

int KeyFromSym(KeySym sym) {
  if (sym >= XK_a && sym <= XK_z) return static_cast<int>(sym - XK_a) + 'A';
  if (sym >= XK_A && sym <= XK_Z) return static_cast<int>(sym - XK_A) + 'A';
  if (sym >= XK_0 && sym <= XK_9) return static_cast<int>(sym - XK_0) + '0';
  if (sym >= XK_KP_0 && sym <= XK_KP_9) return static_cast<int>(sym - XK_KP_0) + '0';
  switch (sym) {
    case XK_BackSpace: return kKeyBackspace;
    case XK_Tab:
    case XK_ISO_Left_Tab:
    case XK_KP_Tab: return kKeyTab;
    case XK_Return:
    case XK_KP_Enter: return kKeyReturn;
    case XK_Escape: return kKeyEscape;
    case XK_space:
    case XK_KP_Space: return kKeySpace;
    case XK_Prior:
    case XK_KP_Prior: return kKeyPageUp;
    case XK_Next:
    case XK_KP_Next: return kKeyPageDown;
    case XK_End:
    case XK_KP_End: return kKeyEnd;
    case XK_Home:
    case XK_KP_Home: return kKeyHome;
    case XK_Left:
    case XK_KP_Left: return kKeyLeft;
    case XK_Up:
    case XK_KP_Up: return kKeyUp;
    case XK_Right:
    case XK_KP_Right: return kKeyRight;
    case XK_Down:
    case XK_KP_Down: return kKeyDown;
    case XK_Insert:
    case XK_KP_Insert: return kKeyInsert;
    case XK_Delete:
    case XK_KP_Delete: return kKeyDelete;
    case XK_Shift_L:
    case XK_Shift_R: return kKeyShift;
    case XK_Control_L:
    case XK_Control_R: return kKeyControl;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R: return kKeyAlt;
    default: return kKeyNone;
  }
}

// One colour channel (8 bits) placed in a visual's mask.
unsigned long Channel(int value, unsigned long mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  unsigned long v = static_cast<unsigned long>(value & 0xFF);
  v = bits >= 8 ? v << (bits - 8) | (bits > 8 ? v >> (16 - bits) : 0) : v >> (8 - bits);
  return v << shift & mask;
}

enum class TKind { Child, Popup, Dialog };

class TX11WindowSystem;

class TX11Window final : public TWindow {
 public:
  TX11Window(TX11WindowSystem& system, TKind kind, TWindowHandler& handler, const gfx::TRect& bounds)
      : system_(&system),
        kind_(kind),
        handler_(handler),
        bounds_(bounds),
        surface_(bounds.Width(), bounds.Height(), 0) {}
  ~TX11Window() override;

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
  void StopTimer(int id) override { timers_.erase(id); }
  std::uintptr_t NativeHandle() const override { return system_ != nullptr ? xid_ : 0; }

 private:
  friend class TX11WindowSystem;
  struct TTimer {
    std::chrono::milliseconds Interval;
    TClock::time_point Due;
    std::uint64_t Order;
  };

  bool Live() const;

  TX11WindowSystem* system_;
  TKind kind_;
  TWindowHandler& handler_;
  std::uint64_t serial_ = 0;
  ::Window xid_ = 0;
  ::Window root_ = 0;
  ::Window parent_ = 0;                       // the host's window, for a child
  std::vector<unsigned> keysDownForTheHost_;  // presses handed to the host: their releases follow
  int screen_ = 0;
  Visual* visual_ = nullptr;
  int depth_ = 0;
  int bitsPerPixel_ = 32;
  GC gc_ = nullptr;
  XIC ic_ = nullptr;
  bool gone_ = false;  // the server destroyed it (with its parent)
  bool shown_ = false;
  bool focusWhenMapped_ = false;
  gfx::TRect bounds_;
  gfx::TBitmap surface_;
  std::map<int, TTimer> timers_;
};

class TX11WindowSystem final : public TWindowSystem {
 public:
  TX11WindowSystem();
  ~TX11WindowSystem() override;
  TX11WindowSystem(const TX11WindowSystem&) = delete;
  TX11WindowSystem& operator=(const TX11WindowSystem&) = delete;

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

 private:
  void RunModalLoop(const std::function<bool()>& done) override;
  friend class TX11Window;

  enum TAtom {
    aClipboard,
    aTargets,
    aTimestamp,
    aMultiple,
    aIncr,
    aUtf8String,
    aText,
    aWmProtocols,
    aWmDeleteWindow,
    aWmState,
    aNetWmName,
    aNetWmWindowType,
    aNetWmWindowTypeDialog,
    aNetWmWindowTypePopupMenu,
    aOurData,       // our clipboard data on our selection window, typed by its format
    aOurMarker,     // marks a selection window as ours
    aOurSelection,  // where conversions of others' selections arrive
    aOurTime,       // touched to learn the server time
    kAtomCount
  };
  struct TClip {
    Atom Type = 0;
    std::vector<std::uint8_t> Data;
    bool Text = false;
  };

  // The server is still there; every call that would talk to it asks first.
  bool Alive() const { return connection_.Alive(); }
  std::unique_ptr<TWindow> Make(TKind kind, ::Window parent, int screen, const gfx::TRect& bounds,
                                bool overrideRedirect, TWindowHandler& handler);
  void Forget(TX11Window& w);
  void DestroyX(TX11Window& w);
  const TX11Window& Ours(const TWindow& window) const;
  TX11Window* Find(::Window xid) const;
  TX11Window* BySerial(std::uint64_t serial) const;
  bool Dispatch(TX11Window& w, const TEvent& e) { return w.handler_.HandleEvent(w, e); }
  // A key the editor inside the host's window did not use goes to the host's window, as if the
  // host had had the keyboard.
  void KeyForTheHost(TX11Window& w, const XKeyEvent& ev);
  ::Window KeyTaker(::Window from, long mask);
  void Present(TX11Window& w, const gfx::TRect& area);
  unsigned long PixelOf(gfx::TColor c, Visual* visual, Colormap map);
  int BitsPerPixel(int depth) const;

  void Handle(XEvent& ev);
  void HandleButton(XButtonEvent& ev);
  void HandleMotion(XMotionEvent& ev);
  void HandleKey(XKeyEvent& ev);
  void HandleSelectionRequest(const XSelectionRequestEvent& req);
  void NoteTime(const XEvent& ev);
  void FireTimers();
  int MillisecondsToNextTimer() const;
  void EnsureGrab();
  void ReleaseGrab();
  void Thaw(int mode);

  ::Window TopLevelOf(const TX11Window& owner);
  ::Window SelectionWindow();
  Time ServerTime();
  bool WaitFor(::Window window, int type, XEvent& out, std::chrono::milliseconds wait);
  bool IsOurOwner(::Window owner);
  std::optional<std::pair<Atom, std::vector<std::uint8_t>>> ReadProperty(::Window window, Atom property, bool remove);
  std::optional<std::pair<Atom, std::vector<std::uint8_t>>> Convert(Atom target);
  std::optional<std::pair<Atom, std::vector<std::uint8_t>>> ReadClip(Atom target);
  void Own(TClip clip);
  std::size_t MaxPropertyBytes() const;

  detail::TX11Connection connection_;
  Display* display_;
  int fd_;
  XIM im_ = nullptr;
  Atom atoms_[kAtomCount] = {};
  std::unordered_map<::Window, TX11Window*> windows_;
  detail::TPopupPresses<TX11Window> presses_;
  TX11Window* grabbed_ = nullptr;  // the popup that holds our pointer grab
  bool frozen_ = false;            // the server holds the pointer until we allow events
  std::uint64_t nextSerial_ = 1;
  std::uint64_t nextTimerOrder_ = 1;
  Cursor sizeNS_ = 0;
  Cursor ibeam_ = 0;
  Colormap paletteMap_ = 0;
  std::vector<unsigned long> palette_;  // a 6x6x6 colour cube for visuals without true colour
  std::vector<unsigned long> allocated_;
  ::Window selectionWindow_ = 0;
  bool owned_ = false;
  Time ownedSince_ = CurrentTime;
  TClip clip_;
  Time lastTime_ = CurrentTime;
  struct {
    unsigned Button = 0;
    Time When = 0;
    int X = 0, Y = 0;
    ::Window Window = 0;
  } lastPress_;
};

// ---- the window ----

bool TX11Window::Live() const { return system_ != nullptr && !gone_ && system_->Alive(); }

TX11Window::~TX11Window() {
  if (system_ != nullptr) system_->Forget(*this);
}

void TX11Window::Present(const gfx::TRect& area) {
  if (Live()) system_->Present(*this, area);
}

void TX11Window::SetBounds(const gfx::TRect& bounds) {
  const int w = detail::ClampSize(bounds.Width());
  const int h = detail::ClampSize(bounds.Height());
  bounds_ = gfx::TRect::FromSize(bounds.Left, bounds.Top, w, h);
  detail::ResizeKeeping(surface_, w, h);
  if (!Live()) return;
  Display* d = system_->display_;
  if (kind_ == TKind::Dialog) {
    XSizeHints hints{};
    hints.flags = PPosition | USPosition | PSize | PMinSize | PMaxSize;
    hints.x = bounds_.Left, hints.y = bounds_.Top;
    hints.width = hints.min_width = hints.max_width = w;
    hints.height = hints.min_height = hints.max_height = h;
    XSetWMNormalHints(d, xid_, &hints);
  }
  XMoveResizeWindow(d, xid_, bounds_.Left, bounds_.Top, static_cast<unsigned>(w), static_cast<unsigned>(h));
  XFlush(d);
}

gfx::TPoint TX11Window::ClientToScreen(gfx::TPoint p) const {
  if (Live()) {
    int x = 0, y = 0;
    ::Window child = 0;
    if (XTranslateCoordinates(system_->display_, xid_, root_, p.X, p.Y, &x, &y, &child)) return {x, y};
  }
  return {bounds_.Left + p.X, bounds_.Top + p.Y};
}

void TX11Window::Show() {
  shown_ = true;
  if (!Live()) return;
  Display* d = system_->display_;
  if (kind_ == TKind::Child) {
    XMapWindow(d, xid_);
  } else {
    XMapRaised(d, xid_);
  }
  if (kind_ == TKind::Popup) {
    system_->presses_.Shown(*this);
    system_->EnsureGrab();
  }
  XFlush(d);
}

void TX11Window::Hide() {
  shown_ = false;
  if (system_ == nullptr) return;
  system_->presses_.Hidden(*this);
  if (!Live()) return;
  Display* d = system_->display_;
  if (kind_ == TKind::Dialog) {
    XWithdrawWindow(d, xid_, screen_);
  } else {
    XUnmapWindow(d, xid_);
  }
  if (kind_ == TKind::Popup) system_->EnsureGrab();
  XFlush(d);
}

void TX11Window::SetTitle(const std::string& title) {
  if (!Live()) return;
  Display* d = system_->display_;
  const std::string latin1 = detail::Utf8ToLatin1(title);
  XChangeProperty(d, xid_, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(latin1.data()), static_cast<int>(latin1.size()));
  XChangeProperty(d, xid_, system_->atoms_[TX11WindowSystem::aNetWmName],
                  system_->atoms_[TX11WindowSystem::aUtf8String], 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
  XFlush(d);
}

void TX11Window::SetCursor(TCursor cursor) {
  if (!Live()) return;
  Display* d = system_->display_;
  switch (cursor) {
    case TCursor::Default: XUndefineCursor(d, xid_); break;
    case TCursor::SizeNS:
      if (system_->sizeNS_ == 0) system_->sizeNS_ = XCreateFontCursor(d, XC_sb_v_double_arrow);
      XDefineCursor(d, xid_, system_->sizeNS_);
      break;
    case TCursor::IBeam:
      if (system_->ibeam_ == 0) system_->ibeam_ = XCreateFontCursor(d, XC_xterm);
      XDefineCursor(d, xid_, system_->ibeam_);
      break;
  }
  XFlush(d);
}

void TX11Window::TakeFocus() {
  if (!Live()) return;
  Display* d = system_->display_;
  // The host may hide its window meanwhile, which makes focusing ours fail.
  const detail::TExpectedErrors expected(system_->connection_);
  XWindowAttributes a;
  // Focusing a window that is not viewable is an error: a dialog that the window manager has not
  // shown yet takes the focus when it appears.
  if (XGetWindowAttributes(d, xid_, &a) && a.map_state == IsViewable) {
    XSetInputFocus(d, xid_, RevertToParent, CurrentTime);
    XFlush(d);
  } else {
    focusWhenMapped_ = true;
  }
}

void TX11Window::StartTimer(int id, int milliseconds) {
  const std::chrono::milliseconds interval(std::max(milliseconds, 1));
  const std::uint64_t order = system_ != nullptr ? system_->nextTimerOrder_++ : 0;
  timers_[id] = TTimer{interval, TClock::now() + interval, order};
}

// ---- the system ----

TX11WindowSystem::TX11WindowSystem() : display_(connection_.Display()), fd_(ConnectionNumber(display_)) {
  static const char* const names[kAtomCount] = {"CLIPBOARD",
                                                "TARGETS",
                                                "TIMESTAMP",
                                                "MULTIPLE",
                                                "INCR",
                                                "UTF8_STRING",
                                                "TEXT",
                                                "WM_PROTOCOLS",
                                                "WM_DELETE_WINDOW",
                                                "WM_STATE",
                                                "_NET_WM_NAME",
                                                "_NET_WM_WINDOW_TYPE",
                                                "_NET_WM_WINDOW_TYPE_DIALOG",
                                                "_NET_WM_WINDOW_TYPE_POPUP_MENU",
                                                "_VORNIX_CLIPBOARD",
                                                "_VORNIX_CLIPBOARD_OWNER",
                                                "_VORNIX_SELECTION",
                                                "_VORNIX_TIME"};
  XInternAtoms(display_, const_cast<char**>(names), kAtomCount, False, atoms_);
  // Key releases only when the key is let go, not between auto-repeated presses.
  XkbSetDetectableAutoRepeat(display_, True, nullptr);
  // Typed text through the input method the host's locale and XMODIFIERS choose; without one,
  // XLookupString gives Latin-1.
  im_ = XOpenIM(display_, nullptr, nullptr, nullptr);
}

TX11WindowSystem::~TX11WindowSystem() {
  // Windows still open are left without a system; closing the connection destroys them on the
  // server, so nothing of ours stays there. What Xlib holds in memory is freed even when the
  // server has gone (the calls then send nothing).
  const bool alive = Alive();
  for (auto& [xid, w] : windows_) {
    if (w->ic_ != nullptr) XDestroyIC(w->ic_);
    if (w->gc_ != nullptr) XFreeGC(display_, w->gc_);
    w->ic_ = nullptr;
    w->gc_ = nullptr;
    w->system_ = nullptr;
    w->gone_ = true;
  }
  windows_.clear();
  if (alive) {
    if (grabbed_ != nullptr) XUngrabPointer(display_, CurrentTime);
    if (!allocated_.empty()) {
      XFreeColors(display_, paletteMap_, allocated_.data(), static_cast<int>(allocated_.size()), 0);
    }
    if (sizeNS_ != 0) XFreeCursor(display_, sizeNS_);
    if (ibeam_ != 0) XFreeCursor(display_, ibeam_);
    if (selectionWindow_ != 0) XDestroyWindow(display_, selectionWindow_);
  }
  if (im_ != nullptr) XCloseIM(im_);
}

const TX11Window& TX11WindowSystem::Ours(const TWindow& window) const {
  const auto* w = dynamic_cast<const TX11Window*>(&window);
  if (w == nullptr || w->system_ != this) throw std::invalid_argument("the owner is not a window of this system");
  return *w;
}

TX11Window* TX11WindowSystem::Find(::Window xid) const {
  auto it = windows_.find(xid);
  return it != windows_.end() ? it->second : nullptr;
}

TX11Window* TX11WindowSystem::BySerial(std::uint64_t serial) const {
  for (const auto& [xid, w] : windows_) {
    if (w->serial_ == serial) return w;
  }
  return nullptr;
}

std::unique_ptr<TWindow> TX11WindowSystem::Make(TKind kind, ::Window parent, int screen, const gfx::TRect& bounds,
                                                bool overrideRedirect, TWindowHandler& handler) {
  const gfx::TRect sized = gfx::TRect::FromSize(bounds.Left, bounds.Top, detail::ClampSize(bounds.Width()),
                                                detail::ClampSize(bounds.Height()));
  auto w = std::make_unique<TX11Window>(*this, kind, handler, sized);
  w->serial_ = nextSerial_++;
  w->screen_ = screen;
  w->root_ = RootWindow(display_, screen);
  w->visual_ = DefaultVisual(display_, screen);
  w->depth_ = DefaultDepth(display_, screen);
  w->bitsPerPixel_ = BitsPerPixel(w->depth_);

  XSetWindowAttributes a{};
  a.background_pixmap = None;  // nothing is painted under our pixels
  a.border_pixel = 0;
  a.colormap = DefaultColormap(display_, screen);
  a.event_mask = kInputMask;
  a.bit_gravity = NorthWestGravity;
  a.override_redirect = overrideRedirect ? True : False;
  a.save_under = overrideRedirect ? True : False;
  const unsigned long mask =
      CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask | CWBitGravity | CWOverrideRedirect | CWSaveUnder;
  w->xid_ = XCreateWindow(display_, parent, sized.Left, sized.Top, static_cast<unsigned>(sized.Width()),
                          static_cast<unsigned>(sized.Height()), 0, w->depth_, InputOutput, w->visual_, mask, &a);
  w->gc_ = XCreateGC(display_, w->xid_, 0, nullptr);
  windows_[w->xid_] = w.get();

  if (im_ != nullptr) {
    w->ic_ = XCreateIC(im_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, w->xid_, XNFocusWindow,
                       w->xid_, nullptr);
    unsigned long filter = 0;
    if (w->ic_ != nullptr && XGetICValues(w->ic_, XNFilterEvents, &filter, nullptr) == nullptr && filter != 0) {
      XSelectInput(display_, w->xid_, kInputMask | static_cast<long>(filter));
    }
  }
  return w;
}

std::unique_ptr<TWindow> TX11WindowSystem::CreateChild(std::uintptr_t parent, int width, int height,
                                                       TWindowHandler& handler) {
  if (parent == 0) throw std::runtime_error("no parent window for the editor");
  if (!Alive()) throw std::runtime_error(kGone);
  XWindowAttributes pa;
  bool exists = false;
  {
    const detail::TExpectedErrors expected(connection_);
    exists = XGetWindowAttributes(display_, static_cast<::Window>(parent), &pa) != 0;
  }
  if (!exists) throw std::runtime_error("the host's window does not exist on the X server");
  auto w = Make(TKind::Child, static_cast<::Window>(parent), XScreenNumberOfScreen(pa.screen), {0, 0, width, height},
                false, handler);
  auto& x = static_cast<TX11Window&>(*w);
  x.parent_ = static_cast<::Window>(parent);
  x.shown_ = true;
  XMapWindow(display_, x.xid_);
  // The parent may have gone in the meantime; then so has our window.
  XWindowAttributes ca;
  if (!XGetWindowAttributes(display_, x.xid_, &ca) || !Alive()) {
    x.gone_ = true;
    throw std::runtime_error(Alive() ? "the host's window went away while the editor was made" : kGone);
  }
  return w;
}

std::unique_ptr<TWindow> TX11WindowSystem::CreatePopup(TWindow& owner, const gfx::TRect& screenBounds,
                                                       TWindowHandler& handler) {
  const TX11Window& o = Ours(owner);
  if (!Alive()) throw std::runtime_error(kGone);
  const int screen = o.screen_;
  auto w = Make(TKind::Popup, RootWindow(display_, screen), screen, screenBounds, true, handler);
  auto& x = static_cast<TX11Window&>(*w);
  const long type = static_cast<long>(atoms_[aNetWmWindowTypePopupMenu]);
  XChangeProperty(display_, x.xid_, atoms_[aNetWmWindowType], XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&type), 1);
  XFlush(display_);
  return w;
}

std::unique_ptr<TWindow> TX11WindowSystem::CreateDialog(TWindow& owner, const gfx::TRect& screenBounds,
                                                        const std::string& title, TWindowHandler& handler) {
  const TX11Window& o = Ours(owner);
  if (!Alive()) throw std::runtime_error(kGone);
  const int screen = o.screen_;
  auto w = Make(TKind::Dialog, RootWindow(display_, screen), screen, screenBounds, false, handler);
  auto& x = static_cast<TX11Window&>(*w);
  const ::Window top = o.Live() ? TopLevelOf(o) : 0;
  if (top != 0) XSetTransientForHint(display_, x.xid_, top);
  const long type = static_cast<long>(atoms_[aNetWmWindowTypeDialog]);
  XChangeProperty(display_, x.xid_, atoms_[aNetWmWindowType], XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&type), 1);
  Atom protocols[] = {atoms_[aWmDeleteWindow]};
  XSetWMProtocols(display_, x.xid_, protocols, 1);
  XWMHints hints{};
  hints.flags = InputHint | StateHint;
  hints.input = True;
  hints.initial_state = NormalState;
  XSetWMHints(display_, x.xid_, &hints);
  char name[] = "vornix", cls[] = "Vornix";
  XClassHint classHint{name, cls};
  XSetClassHint(display_, x.xid_, &classHint);
  x.SetBounds(x.bounds_);  // the fixed size and the position as normal hints
  x.SetTitle(title);
  return w;
}

// The host's top-level window that holds the owner: the ancestor the window manager marked with
// WM_STATE, or else the last one below the root.
::Window TX11WindowSystem::TopLevelOf(const TX11Window& owner) {
  if (owner.kind_ == TKind::Dialog) return owner.xid_;
  const detail::TExpectedErrors expected(connection_);  // the host's windows may go meanwhile
  ::Window w = owner.xid_;
  ::Window lastBelowRoot = 0;
  for (int depth = 0; depth < 64; ++depth) {
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, w, &root, &parent, &children, &count)) return lastBelowRoot;
    if (children != nullptr) XFree(children);
    if (parent == 0 || parent == root) return w;
    w = parent;
    lastBelowRoot = w;
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, w, atoms_[aWmState], 0, 0, False, AnyPropertyType, &type, &format, &items, &after,
                           &data) == Success) {
      if (data != nullptr) XFree(data);
      if (type != 0) return w;
    }
  }
  return lastBelowRoot;
}

void TX11WindowSystem::Forget(TX11Window& w) {
  presses_.Hidden(w);
  if (grabbed_ == &w) ReleaseGrab();
  DestroyX(w);
  windows_.erase(w.xid_);
  w.system_ = nullptr;
  EnsureGrab();
  if (Alive()) XFlush(display_);
}

void TX11WindowSystem::DestroyX(TX11Window& w) {
  if (w.ic_ != nullptr) XDestroyIC(w.ic_);
  w.ic_ = nullptr;
  if (!Alive()) w.gone_ = true;  // with the connection
  if (!w.gone_) {
    // The host may have destroyed its window, and ours with it, before closing the editor: then
    // the DestroyNotify is on its way. Wait for everything the server has for us and look.
    XSync(display_, False);
    XEvent ev;
    if (XCheckTypedWindowEvent(display_, w.xid_, DestroyNotify, &ev)) w.gone_ = true;
  }
  if (!w.gone_) XDestroyWindow(display_, w.xid_);
  w.gone_ = true;
  if (w.gc_ != nullptr) XFreeGC(display_, w.gc_);
  w.gc_ = nullptr;
}

// ---- pixels ----

int TX11WindowSystem::BitsPerPixel(int depth) const {
  int count = 0;
  int bits = depth > 16 ? 32 : depth > 8 ? 16 : 8;
  if (XPixmapFormatValues* formats = XListPixmapFormats(display_, &count)) {
    for (int i = 0; i < count; ++i) {
      if (formats[i].depth == depth) bits = formats[i].bits_per_pixel;
    }
    XFree(formats);
  }
  return bits;
}

unsigned long TX11WindowSystem::PixelOf(gfx::TColor c, Visual* visual, Colormap map) {
  const int r = gfx::RedOf(c), g = gfx::GreenOf(c), b = gfx::BlueOf(c);
  if (visual->c_class == TrueColor || visual->c_class == DirectColor) {
    return Channel(r, visual->red_mask) | Channel(g, visual->green_mask) | Channel(b, visual->blue_mask);
  }
  // Palette visuals: the nearest colour of a 6x6x6 cube, allocated once.
  if (palette_.empty()) {
    paletteMap_ = map;
    palette_.resize(216);
    for (int i = 0; i < 216; ++i) {
      XColor color{};
      color.red = static_cast<unsigned short>(i / 36 * 0xFFFF / 5);
      color.green = static_cast<unsigned short>(i / 6 % 6 * 0xFFFF / 5);
      color.blue = static_cast<unsigned short>(i % 6 * 0xFFFF / 5);
      color.flags = DoRed | DoGreen | DoBlue;
      if (XAllocColor(display_, map, &color)) {
        palette_[i] = color.pixel;
        allocated_.push_back(color.pixel);
      } else {
        const int sum = i / 36 + i / 6 % 6 + i % 6;
        palette_[i] =
            sum >= 8 ? WhitePixel(display_, DefaultScreen(display_)) : BlackPixel(display_, DefaultScreen(display_));
      }
    }
  }
  auto level = [](int v) { return (v * 5 + 127) / 255; };
  return palette_[static_cast<std::size_t>(level(r) * 36 + level(g) * 6 + level(b))];
}

void TX11WindowSystem::Present(TX11Window& w, const gfx::TRect& area) {
  const gfx::TRect r = area.Intersect(w.surface_.Bounds());
  if (r.Empty()) return;
  Visual* v = w.visual_;
  const bool direct = v->c_class == TrueColor && w.bitsPerPixel_ == 32 && v->red_mask == 0xFF0000 &&
                      v->green_mask == 0xFF00 && v->blue_mask == 0xFF;
  if (direct) {
    // Our pixels are the server's: show them from the surface as they are.
    XImage* image = XCreateImage(display_, v, static_cast<unsigned>(w.depth_), ZPixmap, 0,
                                 reinterpret_cast<char*>(w.surface_.Data()), static_cast<unsigned>(w.surface_.Width()),
                                 static_cast<unsigned>(w.surface_.Height()), 32, w.surface_.Width() * 4);
    if (image == nullptr) return;
    image->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    XPutImage(display_, w.xid_, w.gc_, image, r.Left, r.Top, r.Left, r.Top, static_cast<unsigned>(r.Width()),
              static_cast<unsigned>(r.Height()));
    image->data = nullptr;
    XDestroyImage(image);
  } else {
    XImage* image = XCreateImage(display_, v, static_cast<unsigned>(w.depth_), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(r.Width()), static_cast<unsigned>(r.Height()), 32, 0);
    if (image == nullptr) return;
    std::vector<char> buffer(static_cast<std::size_t>(image->bytes_per_line) * static_cast<std::size_t>(r.Height()));
    image->data = buffer.data();
    const Colormap map = DefaultColormap(display_, w.screen_);
    gfx::TColor lastColor = 0;
    unsigned long lastPixel = PixelOf(0, v, map);
    for (int y = 0; y < r.Height(); ++y) {
      const gfx::TColor* row = w.surface_.Row(r.Top + y) + r.Left;
      for (int x = 0; x < r.Width(); ++x) {
        if (row[x] != lastColor) lastColor = row[x], lastPixel = PixelOf(row[x], v, map);
        XPutPixel(image, x, y, lastPixel);
      }
    }
    XPutImage(display_, w.xid_, w.gc_, image, 0, 0, r.Left, r.Top, static_cast<unsigned>(r.Width()),
              static_cast<unsigned>(r.Height()));
    image->data = nullptr;
    XDestroyImage(image);
  }
  XFlush(display_);
}

// ---- the pointer grab of popups ----

void TX11WindowSystem::Thaw(int mode) {
  if (!frozen_) return;
  XAllowEvents(display_, mode, CurrentTime);
  frozen_ = false;
}

void TX11WindowSystem::ReleaseGrab() {
  if (grabbed_ == nullptr) return;
  if (Alive()) XUngrabPointer(display_, CurrentTime);  // also lets a frozen pointer go
  grabbed_ = nullptr;
  frozen_ = false;
}

// The popup shown last that still watches holds the grab; none holds it when no popup watches.
void TX11WindowSystem::EnsureGrab() {
  TX11Window* want = presses_.Watching([](const TX11Window& w) { return w.shown_ && w.Live(); });
  if (want == grabbed_) return;
  if (want == nullptr) {
    ReleaseGrab();
    return;
  }
  // Synchronous, so that the press that falls outside can be replayed; owner events, so that our
  // other windows see their own pointer events.
  if (XGrabPointer(display_, want->xid_, True, kGrabMask, GrabModeSync, GrabModeAsync, None, None, CurrentTime) ==
      GrabSuccess) {
    grabbed_ = want;
    frozen_ = true;
    Thaw(SyncPointer);  // until the next button event
  }
  // Otherwise another program holds a grab; the next turn tries again.
}

void TX11WindowSystem::ReplayPress() {
  if (presses_.Closing() == nullptr || !frozen_ || grabbed_ == nullptr || !Alive()) return;
  XAllowEvents(display_, ReplayPointer, CurrentTime);  // ends the grab; the press goes to its target
  frozen_ = false;
  grabbed_ = nullptr;
  presses_.Replay();
  XFlush(display_);
}

// ---- events ----

void TX11WindowSystem::NoteTime(const XEvent& ev) {
  switch (ev.type) {
    case ButtonPress:
    case ButtonRelease: lastTime_ = ev.xbutton.time; break;
    case MotionNotify: lastTime_ = ev.xmotion.time; break;
    case KeyPress:
    case KeyRelease: lastTime_ = ev.xkey.time; break;
    case EnterNotify:
    case LeaveNotify: lastTime_ = ev.xcrossing.time; break;
    case PropertyNotify: lastTime_ = ev.xproperty.time; break;
    default: break;
  }
}

void TX11WindowSystem::Handle(XEvent& ev) {
  NoteTime(ev);
  // The input method sees every event first (compose sequences, its own windows).
  if (im_ != nullptr && XFilterEvent(&ev, None)) return;
  switch (ev.type) {
    case Expose: {
      if (TX11Window* w = Find(ev.xexpose.window); w != nullptr && w->Live()) {
        Present(*w, gfx::TRect::FromSize(ev.xexpose.x, ev.xexpose.y, ev.xexpose.width, ev.xexpose.height));
      }
      break;
    }
    case ButtonPress:
    case ButtonRelease: HandleButton(ev.xbutton); break;
    case MotionNotify: HandleMotion(ev.xmotion); break;
    case EnterNotify:
    case LeaveNotify: {
      TX11Window* w = Find(ev.xcrossing.window);
      if (w == nullptr || ev.xcrossing.mode != NotifyNormal) break;
      TEvent e;
      e.Kind = ev.type == EnterNotify ? TEventKind::MouseEnter : TEventKind::MouseLeave;
      e.X = ev.xcrossing.x;
      e.Y = ev.xcrossing.y;
      e.Shift = ShiftFromX(ev.xcrossing.state);
      Dispatch(*w, e);
      break;
    }
    case KeyPress:
    case KeyRelease: HandleKey(ev.xkey); break;
    case FocusIn:
    case FocusOut: {
      TX11Window* w = Find(ev.xfocus.window);
      if (w == nullptr || ev.xfocus.mode == NotifyGrab || ev.xfocus.mode == NotifyUngrab ||
          ev.xfocus.detail == NotifyPointer || ev.xfocus.detail == NotifyInferior) {
        break;
      }
      if (w->ic_ != nullptr) (ev.type == FocusIn ? XSetICFocus : XUnsetICFocus)(w->ic_);
      TEvent e;
      e.Kind = ev.type == FocusIn ? kFocusInEvent : kFocusOutEvent;
      Dispatch(*w, e);
      break;
    }
    case ClientMessage: {
      TX11Window* w = Find(ev.xclient.window);
      if (w != nullptr && ev.xclient.message_type == atoms_[aWmProtocols] && ev.xclient.format == 32 &&
          static_cast<Atom>(ev.xclient.data.l[0]) == atoms_[aWmDeleteWindow]) {
        TEvent e;
        e.Kind = TEventKind::CloseRequest;
        Dispatch(*w, e);
      }
      break;
    }
    case DestroyNotify:
      if (TX11Window* w = Find(ev.xdestroywindow.window); w != nullptr && ev.xdestroywindow.event == w->xid_) {
        w->gone_ = true;
        if (grabbed_ == w) grabbed_ = nullptr, frozen_ = false;
      }
      break;
    case MapNotify:
      if (TX11Window* w = Find(ev.xmap.window); w != nullptr && w->focusWhenMapped_ && ev.xmap.event == w->xid_) {
        w->focusWhenMapped_ = false;
        w->TakeFocus();
      }
      break;
    case MappingNotify:
      if (ev.xmapping.request != MappingPointer) XRefreshKeyboardMapping(&ev.xmapping);
      break;
    case SelectionRequest: HandleSelectionRequest(ev.xselectionrequest); break;
    case SelectionClear:
      // The notice may be older than our latest taking of the selection: ask who owns it now.
      if (ev.xselectionclear.window == selectionWindow_ && ev.xselectionclear.selection == atoms_[aClipboard] &&
          XGetSelectionOwner(display_, atoms_[aClipboard]) != selectionWindow_) {
        owned_ = false;
        clip_ = {};
        XDeleteProperty(display_, selectionWindow_, atoms_[aOurData]);
      }
      break;
    default: break;
  }
}

void TX11WindowSystem::HandleButton(XButtonEvent& ev) {
  TX11Window* w = Find(ev.window);
  if (grabbed_ != nullptr) frozen_ = true;  // a synchronous grab holds the pointer after each button event
  const bool press = ev.type == ButtonPress;
  const bool wheel = ev.button >= 4;
  TX11Window* popup = grabbed_;
  const bool inPopup = popup != nullptr && w == popup && popup->surface_.Bounds().Contains(ev.x, ev.y);
  const auto route = press ? detail::RouteOfPress(popup, inPopup, wheel) : detail::TPressRoute::Deliver;
  if (route == detail::TPressRoute::CloseRequest) {
    // The popup decides, and the press goes on only if it replays it.
    const TEvent close = detail::CloseRequestOf({ev.x_root, ev.y_root}, popup->ClientToScreen({0, 0}),
                                                ButtonFromX(ev.button), ShiftFromX(ev.state));
    presses_.Offer(
        *popup, close.Button, true, [&] { Dispatch(*popup, close); },
        [this](bool) {
          if (grabbed_ != nullptr) Thaw(SyncPointer);
        });
    return;
  }
  if (grabbed_ != nullptr) Thaw(SyncPointer);
  if (!press && presses_.DropRelease(ButtonFromX(ev.button))) return;
  if (w == nullptr || !w->Live()) return;
  if (route == detail::TPressRoute::Drop) return;  // the wheel outside a popup

  TEvent e;
  e.X = ev.x;
  e.Y = ev.y;
  if (wheel) {
    if (!press || (ev.button != 4 && ev.button != 5)) return;  // 6 and 7: horizontal, not used
    e.Kind = TEventKind::MouseWheel;
    e.WheelDelta = ev.button == 4 ? 120 : -120;
    e.Shift = ShiftFromX(ev.state);
    Dispatch(*w, e);
    return;
  }
  e.Button = ButtonFromX(ev.button);
  if (e.Button == kNoButton) return;
  if (press) {
    e.Kind = TEventKind::MouseDown;
    e.Shift = ShiftFromX(ev.state) | ButtonFlag(e.Button);
    const bool twice = lastPress_.Button == ev.button && lastPress_.Window == ev.window &&
                       ev.time - lastPress_.When <= static_cast<Time>(kDoubleClickMs) &&
                       std::abs(ev.x_root - lastPress_.X) <= kDoubleClickDistance &&
                       std::abs(ev.y_root - lastPress_.Y) <= kDoubleClickDistance;
    if (twice) {
      e.Shift |= ssDouble;
      lastPress_.Button = 0;  // a third press starts over
    } else {
      lastPress_.Button = ev.button;
      lastPress_.When = ev.time;
      lastPress_.X = ev.x_root;
      lastPress_.Y = ev.y_root;
      lastPress_.Window = ev.window;
    }
  } else {
    e.Kind = TEventKind::MouseUp;
    e.Shift = ShiftFromX(ev.state) & ~ButtonFlag(e.Button);
  }
  Dispatch(*w, e);
}

void TX11WindowSystem::HandleMotion(XMotionEvent& ev) {
  // Moves that queued up while we were busy count as one, the last (as on Windows).
  XEvent next;
  while (XEventsQueued(display_, QueuedAlready) > 0) {
    XPeekEvent(display_, &next);
    if (next.type != MotionNotify || next.xmotion.window != ev.window || next.xmotion.state != ev.state) break;
    XNextEvent(display_, &next);
    ev = next.xmotion;
  }
  lastTime_ = ev.time;
  TX11Window* w = Find(ev.window);
  if (w == nullptr || !w->Live()) return;
  TEvent e;
  e.Kind = TEventKind::MouseMove;
  e.X = ev.x;
  e.Y = ev.y;
  e.Shift = ShiftFromX(ev.state);
  Dispatch(*w, e);
}

void TX11WindowSystem::HandleKey(XKeyEvent& ev) {
  TX11Window* w = Find(ev.window);
  if (w == nullptr || !w->Live()) return;
  const TShiftState shift = ShiftFromX(ev.state);
  KeySym sym = NoSymbol;
  std::string text;
  if (ev.type == KeyPress && w->ic_ != nullptr) {
    std::vector<char> buffer(64);
    Status status = 0;
    int n = Xutf8LookupString(w->ic_, &ev, buffer.data(), static_cast<int>(buffer.size()), &sym, &status);
    if (status == XBufferOverflow) {
      buffer.resize(static_cast<std::size_t>(n) + 1);
      n = Xutf8LookupString(w->ic_, &ev, buffer.data(), static_cast<int>(buffer.size()), &sym, &status);
    }
    if (status == XLookupChars || status == XLookupBoth) text.assign(buffer.data(), static_cast<std::size_t>(n));
    if (status != XLookupKeySym && status != XLookupBoth) sym = NoSymbol;
  } else {
    char buffer[32];
    const int n = XLookupString(&ev, buffer, sizeof buffer, &sym, nullptr);
    if (ev.type == KeyPress && n > 0)
      text = detail::Latin1ToUtf8(std::string_view(buffer, static_cast<std::size_t>(n)));
  }
  if (sym == NoSymbol) sym = XLookupKeysym(&ev, 0);
  const int key = KeyFromSym(sym);
  const std::uint64_t serial = w->serial_;
  bool used = false;
  if (key != kKeyNone) {
    TEvent e;
    e.Kind = ev.type == KeyPress ? TEventKind::KeyDown : TEventKind::KeyUp;
    e.Key = key;
    e.Shift = shift;
    used = Dispatch(*w, e);
  }
  for (char32_t c : detail::DecodeUtf8(text)) {
    if (c == 0x7F) continue;  // Delete is a key, not a character
    TX11Window* still = BySerial(serial);
    if (still == nullptr) return;
    TEvent e;
    e.Kind = TEventKind::Char;
    e.Char = c;
    e.Shift = shift;
    used = Dispatch(*still, e) || used;
  }
  if (TX11Window* still = BySerial(serial); still != nullptr && !used) KeyForTheHost(*still, ev);
}

void TX11WindowSystem::KeyForTheHost(TX11Window& w, const XKeyEvent& ev) {
  if (!Alive() || w.kind_ != TKind::Child || w.parent_ == 0) return;
  auto& down = w.keysDownForTheHost_;
  if (ev.type == KeyRelease) {
    const auto pressed = std::find(down.begin(), down.end(), ev.keycode);
    if (pressed == down.end()) return;  // its press was ours
    down.erase(pressed);
  } else {
    down.push_back(ev.keycode);
  }
  const long mask = ev.type == KeyPress ? KeyPressMask : KeyReleaseMask;
  const ::Window target = KeyTaker(w.parent_, mask);
  if (target == 0) return;
  XEvent out{};
  out.xkey = ev;
  out.xkey.window = target;
  out.xkey.subwindow = None;
  XSendEvent(display_, target, False, mask, &out);
  XFlush(display_);
}

// The host's window that takes keys: the parent or the first of its ancestors some client asked
// keys of. Toolkits look the event's window up among their own, so the event must name that very
// window (the server would carry a propagated event up but leave the name of the first one).
::Window TX11WindowSystem::KeyTaker(::Window from, long mask) {
  const detail::TExpectedErrors expected(connection_);  // the host's windows may go meanwhile
  ::Window window = from;
  for (int depth = 0; depth < 32 && window != 0; ++depth) {
    XWindowAttributes a{};
    if (!XGetWindowAttributes(display_, window, &a)) return 0;
    if ((a.all_event_masks & mask) != 0) return window;
    if ((a.do_not_propagate_mask & mask) != 0) return 0;
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return 0;
    if (children != nullptr) XFree(children);
    window = parent == root ? 0 : parent;
  }
  return 0;
}

void TX11WindowSystem::FireTimers() {
  const auto now = TClock::now();
  struct TDue {
    TClock::time_point Due;
    std::uint64_t Order, Serial;
    int Id;
  };
  std::vector<TDue> due;
  for (const auto& [xid, w] : windows_) {
    for (const auto& [id, t] : w->timers_) {
      if (t.Due <= now) due.push_back({t.Due, t.Order, w->serial_, id});
    }
  }
  std::sort(due.begin(), due.end(),
            [](const TDue& a, const TDue& b) { return a.Due != b.Due ? a.Due < b.Due : a.Order < b.Order; });
  for (const TDue& d : due) {
    TX11Window* w = BySerial(d.Serial);
    if (w == nullptr) continue;
    auto it = w->timers_.find(d.Id);
    if (it == w->timers_.end() || it->second.Due > now) continue;  // stopped or restarted meanwhile
    it->second.Due += it->second.Interval;
    if (it->second.Due <= now) it->second.Due = now + it->second.Interval;  // beats missed are not made up
    TEvent e;
    e.Kind = TEventKind::Timer;
    e.TimerId = d.Id;
    Dispatch(*w, e);
  }
}

int TX11WindowSystem::MillisecondsToNextTimer() const {
  std::optional<TClock::time_point> next;
  for (const auto& [xid, w] : windows_) {
    for (const auto& [id, t] : w->timers_) {
      if (!next || t.Due < *next) next = t.Due;
    }
  }
  if (!next) return -1;
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - TClock::now()).count();
  return static_cast<int>(std::clamp<long long>(wait, 0, INT_MAX));
}

// A dead system handles nothing and fires no timers. The server may go while a handler runs, so
// each step asks again.
void TX11WindowSystem::Pump() {
  while (Alive() && XPending(display_) > 0) {
    XEvent ev;
    XNextEvent(display_, &ev);
    Handle(ev);
  }
  if (!Alive()) return;
  FireTimers();
  if (!Alive()) return;
  EnsureGrab();
  XFlush(display_);
}

// Without the server nothing can end the loop but the loop itself: it returns.
void TX11WindowSystem::RunModalLoop(const std::function<bool()>& done) {
  while (!done()) {
    Pump();
    if (done() || !Alive()) return;
    if (XEventsQueued(display_, QueuedAlready) > 0) continue;
    int wait = MillisecondsToNextTimer();
    if (wait < 0 || wait > kModalWaitCapMs) wait = kModalWaitCapMs;
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, wait) < 0 && errno != EINTR) throw std::runtime_error("waiting for the X server failed");
    if (p.revents & POLLNVAL) throw std::runtime_error("the X connection is closed");
  }
}

void TX11WindowSystem::FlushMouseInput() {
  if (!Alive()) return;
  XSync(display_, False);
  XEvent ev;
  const long mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
  bool dropped = false;
  while (XCheckMaskEvent(display_, mask, &ev)) dropped = true;
  // A button event under a popup's grab held the pointer; dropping it must not keep it held.
  if (dropped && grabbed_ != nullptr) {
    frozen_ = true;
    Thaw(SyncPointer);
  }
  XFlush(display_);
}

gfx::TPoint TX11WindowSystem::PointerPosition() const {
  ::Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned mask = 0;
  if (Alive()) XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rx, &ry, &wx, &wy, &mask);
  return {rx, ry};
}

TShiftState TX11WindowSystem::ModifierState() const {
  ::Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned mask = 0;
  if (Alive()) XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rx, &ry, &wx, &wy, &mask);
  return ShiftFromX(mask);
}

gfx::TRect TX11WindowSystem::ScreenBounds() const {
  const int s = DefaultScreen(display_);
  return {0, 0, DisplayWidth(display_, s), DisplayHeight(display_, s)};
}

// ---- clipboard ----

::Window TX11WindowSystem::SelectionWindow() {
  if (selectionWindow_ != 0) return selectionWindow_;
  XSetWindowAttributes a{};
  a.override_redirect = True;
  a.event_mask = PropertyChangeMask;
  selectionWindow_ = XCreateWindow(display_, DefaultRootWindow(display_), -10, -10, 1, 1, 0, 0, InputOnly,
                                   CopyFromParent, CWOverrideRedirect | CWEventMask, &a);
  const long version = 1;
  XChangeProperty(display_, selectionWindow_, atoms_[aOurMarker], XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&version), 1);
  return selectionWindow_;
}

// Waits (at most `wait`) for an event of the type on the window, answering requests for our
// selection meanwhile; other events stay queued for Pump.
bool TX11WindowSystem::WaitFor(::Window window, int type, XEvent& out, std::chrono::milliseconds wait) {
  const auto deadline = TClock::now() + wait;
  for (;;) {
    if (!Alive()) return false;
    if (XCheckTypedWindowEvent(display_, window, type, &out)) return true;
    XEvent request;
    while (XCheckTypedWindowEvent(display_, selectionWindow_, SelectionRequest, &request)) {
      HandleSelectionRequest(request.xselectionrequest);
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - TClock::now()).count();
    if (left <= 0) return false;
    pollfd p{fd_, POLLIN, 0};
    poll(&p, 1, static_cast<int>(left));  // a hang-up shows on the next turn
  }
}

// The server's time now, for taking the selection (learnt by touching a property of ours). The
// time of the last event we saw may be older than another instance's taking of the selection,
// which would make ours fail.
Time TX11WindowSystem::ServerTime() {
  const ::Window w = SelectionWindow();
  XSync(display_, False);
  XEvent ev;
  while (XCheckTypedWindowEvent(display_, w, PropertyNotify, &ev)) {
  }
  XChangeProperty(display_, w, atoms_[aOurTime], XA_INTEGER, 32, PropModeAppend, nullptr, 0);
  if (WaitFor(w, PropertyNotify, ev, std::chrono::milliseconds(200))) lastTime_ = ev.xproperty.time;
  return lastTime_;
}

std::size_t TX11WindowSystem::MaxPropertyBytes() const {
  // One ChangeProperty request; larger data would need INCR transfers, which we do not make.
  const long units = std::max(XExtendedMaxRequestSize(display_), XMaxRequestSize(display_));
  return static_cast<std::size_t>(std::max(units, 4096L)) * 4 - 256;
}

void TX11WindowSystem::Own(TClip clip) {
  if (!Alive()) return;
  const ::Window w = SelectionWindow();
  const Time time = ServerTime();
  clip_ = std::move(clip);
  XSetSelectionOwner(display_, atoms_[aClipboard], w, time);
  owned_ = XGetSelectionOwner(display_, atoms_[aClipboard]) == w;
  ownedSince_ = time;
  if (owned_ && clip_.Data.size() <= MaxPropertyBytes()) {
    XChangeProperty(display_, w, atoms_[aOurData], clip_.Type, 8, PropModeReplace, clip_.Data.data(),
                    static_cast<int>(clip_.Data.size()));
  } else {
    XDeleteProperty(display_, w, atoms_[aOurData]);
  }
  if (!owned_) clip_ = {};
  XFlush(display_);
}

void TX11WindowSystem::SetClipboard(const std::string& format, const std::vector<std::uint8_t>& data) {
  if (!Alive()) return;
  Own({XInternAtom(display_, format.c_str(), False), data, false});
}

void TX11WindowSystem::SetClipboardText(const std::string& utf8) {
  Own({atoms_[aUtf8String], std::vector<std::uint8_t>(utf8.begin(), utf8.end()), true});
}

void TX11WindowSystem::HandleSelectionRequest(const XSelectionRequestEvent& req) {
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = display_;
  reply.requestor = req.requestor;
  reply.selection = req.selection;
  reply.target = req.target;
  reply.time = req.time;
  reply.property = None;
  const Atom property = req.property != None ? req.property : req.target;  // obsolete requestors
  const bool ours = owned_ && req.owner == selectionWindow_ && req.selection == atoms_[aClipboard] &&
                    (req.time == CurrentTime || req.time >= ownedSince_);
  const detail::TExpectedErrors expected(connection_);  // the requestor may have gone
  if (ours) {
    if (req.target == atoms_[aTargets]) {
      std::vector<long> targets{static_cast<long>(atoms_[aTargets]), static_cast<long>(atoms_[aTimestamp]),
                                static_cast<long>(clip_.Type)};
      if (clip_.Text) targets.push_back(static_cast<long>(XA_STRING));
      XChangeProperty(display_, req.requestor, property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(targets.data()), static_cast<int>(targets.size()));
      reply.property = property;
    } else if (req.target == atoms_[aTimestamp]) {
      const long time = static_cast<long>(ownedSince_);
      XChangeProperty(display_, req.requestor, property, XA_INTEGER, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&time), 1);
      reply.property = property;
    } else if ((req.target == clip_.Type || (clip_.Text && req.target == XA_STRING)) &&
               clip_.Data.size() <= MaxPropertyBytes()) {
      std::string latin1;
      const unsigned char* bytes = clip_.Data.data();
      std::size_t size = clip_.Data.size();
      if (req.target == XA_STRING && clip_.Type != XA_STRING) {
        latin1 = detail::Utf8ToLatin1(std::string(clip_.Data.begin(), clip_.Data.end()));
        bytes = reinterpret_cast<const unsigned char*>(latin1.data());
        size = latin1.size();
      }
      XChangeProperty(display_, req.requestor, property, req.target, 8, PropModeReplace, bytes, static_cast<int>(size));
      reply.property = property;
    }
  }
  XSendEvent(display_, req.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
  XFlush(display_);
}

std::optional<std::pair<Atom, std::vector<std::uint8_t>>> TX11WindowSystem::ReadProperty(::Window window, Atom property,
                                                                                         bool remove) {
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  const long maxLongs = static_cast<long>(MaxPropertyBytes() / 4 + 1);
  if (XGetWindowProperty(display_, window, property, 0, maxLongs, remove ? True : False, AnyPropertyType, &type,
                         &format, &items, &after, &data) != Success) {
    return std::nullopt;
  }
  std::optional<std::pair<Atom, std::vector<std::uint8_t>>> result;
  if (type != None && type != atoms_[aIncr] && after == 0) {
    std::vector<std::uint8_t> bytes;
    if (format == 8) {
      bytes.assign(data, data + items);
    } else if (format == 16) {
      const auto* v = reinterpret_cast<const short*>(data);
      for (unsigned long i = 0; i < items; ++i)
        bytes.push_back(static_cast<std::uint8_t>(v[i])), bytes.push_back(static_cast<std::uint8_t>(v[i] >> 8));
    } else if (format == 32) {
      // Xlib hands 32-bit items as longs.
      const auto* v = reinterpret_cast<const long*>(data);
      for (unsigned long i = 0; i < items; ++i) {
        for (int k = 0; k < 4; ++k)
          bytes.push_back(static_cast<std::uint8_t>(static_cast<unsigned long>(v[i]) >> (8 * k)));
      }
    }
    result.emplace(type, std::move(bytes));
  }
  if (data != nullptr) XFree(data);
  // INCR (or data too large) is refused; the property is deleted either way when asked.
  if ((type == atoms_[aIncr] || after != 0) && remove) XDeleteProperty(display_, window, property);
  return result;
}

bool TX11WindowSystem::IsOurOwner(::Window owner) {
  const detail::TExpectedErrors expected(connection_);  // another program's window, which may go
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display_, owner, atoms_[aOurMarker], 0, 1, False, XA_CARDINAL, &type, &format, &items, &after,
                         &data) != Success) {
    return false;
  }
  if (data != nullptr) XFree(data);
  return type == XA_CARDINAL && items == 1;
}

// Asks the owner of the clipboard for the target, waiting a few hundred milliseconds at most.
std::optional<std::pair<Atom, std::vector<std::uint8_t>>> TX11WindowSystem::Convert(Atom target) {
  const ::Window w = SelectionWindow();
  XDeleteProperty(display_, w, atoms_[aOurSelection]);
  XConvertSelection(display_, atoms_[aClipboard], target, atoms_[aOurSelection], w, lastTime_);
  XFlush(display_);
  XEvent ev;
  const auto deadline = TClock::now() + kSelectionWait;
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - TClock::now());
    if (left.count() <= 0 || !WaitFor(w, SelectionNotify, ev, left)) return std::nullopt;
    if (ev.xselection.selection == atoms_[aClipboard] && ev.xselection.target == target) break;
  }
  if (ev.xselection.property == None) return std::nullopt;
  return ReadProperty(w, ev.xselection.property, true);
}

// The clipboard's data for the target: from memory when we own it, from the owner's window when
// the owner is another of our systems, else through the owner.
std::optional<std::pair<Atom, std::vector<std::uint8_t>>> TX11WindowSystem::ReadClip(Atom target) {
  const ::Window owner = XGetSelectionOwner(display_, atoms_[aClipboard]);
  if (owner == None) return std::nullopt;
  if (owner == selectionWindow_ && owned_) {
    if (clip_.Type != target) return std::nullopt;
    return std::make_pair(clip_.Type, clip_.Data);
  }
  if (IsOurOwner(owner)) {
    const detail::TExpectedErrors expected(connection_);  // its system may close meanwhile
    auto data = ReadProperty(owner, atoms_[aOurData], false);
    if (data && data->first == target) return data;
    if (data) return std::nullopt;
  }
  auto data = Convert(target);
  if (data && data->first != target) return std::nullopt;
  return data;
}

bool TX11WindowSystem::ClipboardHasOwner() {
  return Alive() && XGetSelectionOwner(display_, atoms_[aClipboard]) != None;
}

bool TX11WindowSystem::HasClipboard(const std::string& format) {
  if (!Alive()) return false;
  const Atom target = XInternAtom(display_, format.c_str(), False);
  const ::Window owner = XGetSelectionOwner(display_, atoms_[aClipboard]);
  if (owner == None) return false;
  if (owner == selectionWindow_ && owned_) return clip_.Type == target;
  if (IsOurOwner(owner)) {
    const detail::TExpectedErrors expected(connection_);  // its system may close meanwhile
    if (auto data = ReadProperty(owner, atoms_[aOurData], false)) return data->first == target;
  }
  auto targets = Convert(atoms_[aTargets]);
  if (!targets || targets->first != XA_ATOM) return false;
  const auto& bytes = targets->second;
  for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
    const Atom a = static_cast<Atom>(bytes[i]) | static_cast<Atom>(bytes[i + 1]) << 8 |
                   static_cast<Atom>(bytes[i + 2]) << 16 | static_cast<Atom>(bytes[i + 3]) << 24;
    if (a == target) return true;
  }
  return false;
}

std::optional<std::vector<std::uint8_t>> TX11WindowSystem::GetClipboard(const std::string& format) {
  if (!Alive()) return std::nullopt;
  auto data = ReadClip(XInternAtom(display_, format.c_str(), False));
  if (!data) return std::nullopt;
  return std::move(data->second);
}

std::optional<std::string> TX11WindowSystem::GetClipboardText() {
  if (!Alive()) return std::nullopt;
  if (auto data = ReadClip(atoms_[aUtf8String])) return std::string(data->second.begin(), data->second.end());
  const ::Window owner = XGetSelectionOwner(display_, atoms_[aClipboard]);
  if (owner == None || (owner == selectionWindow_ && owned_) || IsOurOwner(owner)) return std::nullopt;
  if (auto data = Convert(XA_STRING); data && data->first == XA_STRING) {
    return detail::Latin1ToUtf8(
        std::string_view(reinterpret_cast<const char*>(data->second.data()), data->second.size()));
  }
  return std::nullopt;
}

}  // namespace

std::unique_ptr<TWindowSystem> CreateNativeWindowSystem() { return std::make_unique<TX11WindowSystem>(); }

}  // namespace vornix::platform
