#include "platform/MemoryWindowSystem.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "platform/WindowSupport.h"

namespace vornix::platform {
namespace {

constexpr TShiftState kKeyFlags = ssShift | ssCtrl | ssAlt;

gfx::TRect Sized(const gfx::TRect& bounds) {
  return gfx::TRect::FromSize(bounds.Left, bounds.Top, detail::ClampSize(bounds.Width()),
                              detail::ClampSize(bounds.Height()));
}

const char* KindName(TWindowKind kind) {
  switch (kind) {
    case TWindowKind::Child: return "child";
    case TWindowKind::Popup: return "popup";
    case TWindowKind::Dialog: return "dialog";
  }
  return "?";
}

}  // namespace

// ---- TMemoryWindow ----

TMemoryWindow::TMemoryWindow(TKey, TMemoryWindowSystem& system, TWindowKind kind, TWindowHandler& handler,
                             const gfx::TRect& bounds)
    : system_(&system),
      kind_(kind),
      handler_(handler),
      serial_(system.nextSerial_++),
      bounds_(Sized(bounds)),
      surface_(bounds_.Width(), bounds_.Height(), 0),
      screen_(bounds_.Width(), bounds_.Height(), 0) {}

TMemoryWindow::~TMemoryWindow() {
  if (system_ != nullptr) system_->Remove(*this);
}

void TMemoryWindow::Present(const gfx::TRect& area) {
  const gfx::TRect r = area.Intersect(surface_.Bounds());
  ++presentCount_;
  if (r.Empty()) return;
  for (int y = r.Top; y < r.Bottom; ++y)
    std::copy(surface_.Row(y) + r.Left, surface_.Row(y) + r.Right, screen_.Row(y) + r.Left);
}

void TMemoryWindow::SetBounds(const gfx::TRect& bounds) {
  bounds_ = Sized(bounds);
  detail::ResizeKeeping(surface_, bounds_.Width(), bounds_.Height());
  detail::ResizeKeeping(screen_, bounds_.Width(), bounds_.Height());
}

gfx::TRect TMemoryWindow::ScreenBounds() const {
  const gfx::TPoint origin = ClientToScreen({0, 0});
  return gfx::TRect::FromSize(origin.X, origin.Y, bounds_.Width(), bounds_.Height());
}

gfx::TPoint TMemoryWindow::ClientToScreen(gfx::TPoint p) const {
  gfx::TPoint origin{bounds_.Left, bounds_.Top};
  if (kind_ == TWindowKind::Child && system_ != nullptr) {
    origin.X += system_->parentOrigin_.X;
    origin.Y += system_->parentOrigin_.Y;
  }
  return {origin.X + p.X, origin.Y + p.Y};
}

void TMemoryWindow::Show() {
  visible_ = true;
  if (kind_ == TWindowKind::Popup && system_ != nullptr) system_->presses_.Shown(*this);
}

void TMemoryWindow::Hide() {
  visible_ = false;
  if (system_ == nullptr) return;
  system_->presses_.Hidden(*this);
  if (system_->focused_ == this) {
    system_->focused_ = nullptr;
    system_->posted_.push_back({serial_, TEvent{.Kind = TEventKind::FocusOut}});
  }
}

bool TMemoryWindow::Focused() const { return system_ != nullptr && system_->focused_ == this; }

void TMemoryWindow::TakeFocus() {
  if (system_ == nullptr || system_->focused_ == this) return;
  if (TMemoryWindow* old = system_->focused_)
    system_->posted_.push_back({old->serial_, TEvent{.Kind = TEventKind::FocusOut}});
  system_->focused_ = this;
  system_->posted_.push_back({serial_, TEvent{.Kind = TEventKind::FocusIn}});
}

void TMemoryWindow::StartTimer(int id, int milliseconds) {
  const int interval = std::max(milliseconds, 1);
  const std::int64_t now = system_ != nullptr ? system_->now_ : 0;
  const std::uint64_t order = system_ != nullptr ? system_->nextTimerOrder_++ : 0;
  timers_[id] = TTimer{interval, now + interval, order};
}

void TMemoryWindow::StopTimer(int id) { timers_.erase(id); }

std::map<int, int> TMemoryWindow::Timers() const {
  std::map<int, int> result;
  for (const auto& [id, timer] : timers_) result[id] = timer.Interval;
  return result;
}

// ---- TMemoryWindowSystem ----

TMemoryWindowSystem::TMemoryWindowSystem(std::shared_ptr<TMemoryClipboard> clipboard)
    : clipboard_(clipboard ? std::move(clipboard) : std::make_shared<TMemoryClipboard>()) {}

TMemoryWindowSystem::~TMemoryWindowSystem() {
  for (TMemoryWindow* w : windows_) w->system_ = nullptr;
}

std::unique_ptr<TWindow> TMemoryWindowSystem::Add(std::unique_ptr<TMemoryWindow> window) {
  windows_.push_back(window.get());
  return window;
}

void TMemoryWindowSystem::Remove(TMemoryWindow& window) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), &window), windows_.end());
  presses_.Hidden(window);
  if (focused_ == &window) focused_ = nullptr;
}

TMemoryWindow& TMemoryWindowSystem::Ours(TWindow& window) const {
  TMemoryWindow* w = Find(window);
  if (w == nullptr) throw std::invalid_argument("not an open window of this memory window system");
  return *w;
}

TMemoryWindow* TMemoryWindowSystem::Find(const TWindow& window) const {
  for (TMemoryWindow* w : windows_) {
    if (w == &window) return w;
  }
  return nullptr;
}

TMemoryWindow* TMemoryWindowSystem::BySerial(std::uint64_t serial) const {
  for (TMemoryWindow* w : windows_) {
    if (w->serial_ == serial) return w;
  }
  return nullptr;
}

std::unique_ptr<TWindow> TMemoryWindowSystem::CreateChild(std::uintptr_t parent, int width, int height,
                                                          TWindowHandler& handler) {
  if (parent == 0) throw std::runtime_error("no parent window for the editor");
  auto w = std::make_unique<TMemoryWindow>(TMemoryWindow::TKey{}, *this, TWindowKind::Child, handler,
                                           gfx::TRect{0, 0, width, height});
  w->parent_ = parent;
  w->visible_ = true;
  return Add(std::move(w));
}

std::unique_ptr<TWindow> TMemoryWindowSystem::CreatePopup(TWindow& owner, const gfx::TRect& screenBounds,
                                                          TWindowHandler& handler) {
  auto w = std::make_unique<TMemoryWindow>(TMemoryWindow::TKey{}, *this, TWindowKind::Popup, handler, screenBounds);
  w->owner_ = &Ours(owner);
  return Add(std::move(w));
}

std::unique_ptr<TWindow> TMemoryWindowSystem::CreateDialog(TWindow& owner, const gfx::TRect& screenBounds,
                                                           const std::string& title, TWindowHandler& handler) {
  auto w = std::make_unique<TMemoryWindow>(TMemoryWindow::TKey{}, *this, TWindowKind::Dialog, handler, screenBounds);
  w->owner_ = &Ours(owner);
  w->title_ = title;
  return Add(std::move(w));
}

void TMemoryWindowSystem::ReplayPress() {
  if (presses_.Closing() == nullptr)
    throw std::logic_error(
        "ReplayPress outside a popup's CloseRequest for a press, or after the popup was hidden or destroyed");
  presses_.Replay();
}

TMemoryWindow* TMemoryWindowSystem::ActivePopup() const { return presses_.Watching(); }

// Input reaches the handler from outside, as the host's loop delivers it on Win32: the guard is
// held until the handler has returned, and whatever it kept alive may go then.
bool TMemoryWindowSystem::Deliver(TMemoryWindow& window, const TEvent& event) {
  const std::shared_ptr<void> entry = GuardEntry();
  return window.handler_.HandleEvent(window, event);
}

void TMemoryWindowSystem::DeliverKey(TMemoryWindow& window, const TEvent& event) {
  const bool child = window.kind_ == TWindowKind::Child;
  const bool used = Deliver(window, event);
  if (!child || used) return;
  if (event.Kind == TEventKind::KeyUp) {
    const auto down = std::find(keysDownForTheHost_.begin(), keysDownForTheHost_.end(), event.Key);
    if (down == keysDownForTheHost_.end()) return;
    keysDownForTheHost_.erase(down);
  } else if (event.Kind == TEventKind::KeyDown) {
    keysDownForTheHost_.push_back(event.Key);
  }
  keysForTheHost_.push_back(event);
}

// A press (or wheel) for `window`, routed as the popups decide.
void TMemoryWindowSystem::Press(TMemoryWindow& window, const TEvent& event) {
  TMemoryWindow* popup = ActivePopup();
  const bool inPopup = popup == &window && popup->surface_.Bounds().Contains(event.X, event.Y);
  switch (detail::RouteOfPress(popup, inPopup, event.Kind == TEventKind::MouseWheel)) {
    case detail::TPressRoute::Deliver: Deliver(window, event); return;
    case detail::TPressRoute::Drop: return;
    case detail::TPressRoute::CloseRequest: break;
  }
  const TEvent close = detail::CloseRequestOf(window.ClientToScreen({event.X, event.Y}), popup->ClientToScreen({0, 0}),
                                              event.Button, event.Shift);
  const std::uint64_t target = window.serial_;
  if (!presses_.Offer(*popup, event.Button, true, [&] { Deliver(*popup, close); })) return;
  if (TMemoryWindow* w = BySerial(target)) Deliver(*w, event);
}

TEvent TMemoryWindowSystem::MouseEvent(TMemoryWindow& window, TEventKind kind, int x, int y, TShiftState shift) {
  pointer_ = window.ClientToScreen({x, y});
  modifiers_ = shift & kKeyFlags;
  TEvent e;
  e.Kind = kind;
  e.X = x;
  e.Y = y;
  e.Shift = (shift & ~kMouseButtonFlags) | buttons_;
  return e;
}

void TMemoryWindowSystem::MouseDown(TWindow& window, int x, int y, TMouseButton button, TShiftState shift) {
  TMemoryWindow& w = Ours(window);
  buttons_ |= ButtonFlag(button);
  TEvent e = MouseEvent(w, TEventKind::MouseDown, x, y, shift);
  e.Button = button;
  Press(w, e);
}

void TMemoryWindowSystem::MouseUp(TWindow& window, int x, int y, TMouseButton button, TShiftState shift) {
  TMemoryWindow& w = Ours(window);
  buttons_ &= ~ButtonFlag(button);
  TEvent e = MouseEvent(w, TEventKind::MouseUp, x, y, shift & ~ssDouble);
  e.Button = button;
  if (presses_.DropRelease(button)) return;
  Deliver(w, e);
}

void TMemoryWindowSystem::Click(TWindow& window, int x, int y, TMouseButton button, TShiftState shift) {
  const std::uint64_t serial = Ours(window).serial_;
  MouseDown(window, x, y, button, shift);
  // The press may have closed the window.
  if (TMemoryWindow* w = BySerial(serial)) {
    MouseUp(*w, x, y, button, shift);
  } else {
    buttons_ &= ~ButtonFlag(button);
  }
}

void TMemoryWindowSystem::DoubleClick(TWindow& window, int x, int y, TShiftState shift) {
  const std::uint64_t serial = Ours(window).serial_;
  Click(window, x, y, TMouseButton::Left, shift & ~ssDouble);
  if (TMemoryWindow* w = BySerial(serial)) Click(*w, x, y, TMouseButton::Left, shift | ssDouble);
}

void TMemoryWindowSystem::MouseMove(TWindow& window, int x, int y, TShiftState shift) {
  TMemoryWindow& w = Ours(window);
  Deliver(w, MouseEvent(w, TEventKind::MouseMove, x, y, shift & ~ssDouble));
}

void TMemoryWindowSystem::MouseWheel(TWindow& window, int x, int y, int delta, TShiftState shift) {
  TMemoryWindow& w = Ours(window);
  TEvent e = MouseEvent(w, TEventKind::MouseWheel, x, y, shift & ~ssDouble);
  e.WheelDelta = delta;
  Press(w, e);
}

void TMemoryWindowSystem::KeyDown(TWindow& window, int key, TShiftState shift) {
  TMemoryWindow& w = Ours(window);
  modifiers_ = shift & kKeyFlags;
  DeliverKey(w, TEvent{.Kind = TEventKind::KeyDown, .Shift = (shift & kKeyFlags) | buttons_, .Key = key});
}

void TMemoryWindowSystem::KeyUp(TWindow& window, int key, TShiftState shift) {
  TMemoryWindow& w = Ours(window);
  modifiers_ = shift & kKeyFlags;
  DeliverKey(w, TEvent{.Kind = TEventKind::KeyUp, .Shift = (shift & kKeyFlags) | buttons_, .Key = key});
}

void TMemoryWindowSystem::Type(TWindow& window, const std::string& utf8, TShiftState shift) {
  const std::uint64_t serial = Ours(window).serial_;
  for (char32_t c : detail::DecodeUtf8(utf8)) {
    TMemoryWindow* w = BySerial(serial);
    if (w == nullptr) return;
    DeliverKey(*w, TEvent{.Kind = TEventKind::Char, .Shift = (shift & kKeyFlags) | buttons_, .Char = c});
  }
}

void TMemoryWindowSystem::Send(TWindow& window, const TEvent& event) { Deliver(Ours(window), event); }

void TMemoryWindowSystem::Post(TWindow& window, const TEvent& event) {
  posted_.push_back({Ours(window).serial_, event});
}

void TMemoryWindowSystem::DeliverPosted() {
  while (!posted_.empty()) {
    const TPosted posted = posted_.front();
    posted_.pop_front();
    TMemoryWindow* w = BySerial(posted.Serial);
    if (w == nullptr) continue;
    if (posted.Event.Kind == TEventKind::MouseDown || posted.Event.Kind == TEventKind::MouseWheel) {
      Press(*w, posted.Event);
    } else {
      Deliver(*w, posted.Event);
    }
  }
}

void TMemoryWindowSystem::Pump() { DeliverPosted(); }

void TMemoryWindowSystem::FlushMouseInput() {
  std::erase_if(posted_, [](const TPosted& p) {
    switch (p.Event.Kind) {
      case TEventKind::MouseDown:
      case TEventKind::MouseUp:
      case TEventKind::MouseMove:
      case TEventKind::MouseWheel: return true;
      default: return false;
    }
  });
}

void TMemoryWindowSystem::AdvanceTime(int milliseconds) {
  const std::int64_t target = now_ + std::max(milliseconds, 0);
  for (;;) {
    TMemoryWindow* next = nullptr;
    int nextId = 0;
    const TMemoryWindow::TTimer* best = nullptr;
    for (TMemoryWindow* w : windows_) {
      for (const auto& [id, timer] : w->timers_) {
        if (timer.Due > target) continue;
        if (best == nullptr || timer.Due < best->Due || (timer.Due == best->Due && timer.Order < best->Order)) {
          best = &timer;
          next = w;
          nextId = id;
        }
      }
    }
    if (next == nullptr) break;
    TMemoryWindow::TTimer& timer = next->timers_[nextId];
    now_ = timer.Due;
    timer.Due += timer.Interval;
    Deliver(*next, TEvent{.Kind = TEventKind::Timer, .TimerId = nextId});
  }
  now_ = target;
}

void TMemoryWindowSystem::QueueModalAction(std::function<void()> action) { modalActions_.push_back(std::move(action)); }

void TMemoryWindowSystem::RunModalLoop(const std::function<bool()>& done) {
  struct TDepth {
    int& depth;
    explicit TDepth(int& d) : depth(d) { ++depth; }
    ~TDepth() { --depth; }
  } depth(modalDepth_);
  for (;;) {
    if (done()) return;
    DeliverPosted();
    if (done()) return;
    if (modalActions_.empty()) throw std::logic_error(DescribeStuckModal());
    std::function<void()> action = std::move(modalActions_.front());
    modalActions_.pop_front();
    action();
  }
}

std::string TMemoryWindowSystem::DescribeStuckModal() const {
  std::ostringstream out;
  out << "modal loop stuck (depth " << modalDepth_
      << "): it is not done and the test queued no further modal action; shown windows:";
  bool any = false;
  for (const TMemoryWindow* w : windows_) {
    if (!w->visible_) continue;
    const gfx::TRect b = w->ScreenBounds();
    out << (any ? "," : "") << ' ' << KindName(w->kind_);
    if (!w->title_.empty()) out << " \"" << w->title_ << '"';
    out << " at (" << b.Left << ", " << b.Top << ") " << b.Width() << "x" << b.Height();
    any = true;
  }
  if (!any) out << " none";
  return out.str();
}

std::vector<TMemoryWindow*> TMemoryWindowSystem::Windows() const { return windows_; }

TMemoryWindow* TMemoryWindowSystem::FindDialog(const std::string& title) const {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    if ((*it)->kind_ == TWindowKind::Dialog && (*it)->visible_ && (*it)->title_ == title) return *it;
  }
  return nullptr;
}

void TMemoryWindowSystem::SetClipboard(const std::string& format, const std::vector<std::uint8_t>& data) {
  clipboard_->Formats.clear();
  clipboard_->Text.reset();
  clipboard_->Formats[format] = data;
  clipboard_->Owned = true;
}

bool TMemoryWindowSystem::HasClipboard(const std::string& format) { return clipboard_->Formats.contains(format); }

std::optional<std::vector<std::uint8_t>> TMemoryWindowSystem::GetClipboard(const std::string& format) {
  auto it = clipboard_->Formats.find(format);
  if (it == clipboard_->Formats.end()) return std::nullopt;
  return it->second;
}

void TMemoryWindowSystem::SetClipboardText(const std::string& utf8) {
  clipboard_->Formats.clear();
  clipboard_->Text = utf8;
  clipboard_->Owned = true;
}

std::optional<std::string> TMemoryWindowSystem::GetClipboardText() { return clipboard_->Text; }

}  // namespace vornix::platform
