#include "editor/toolkit/Form.h"

#include <algorithm>
#include <stdexcept>

namespace vornix::editor {

using platform::TEvent;
using platform::TEventKind;

namespace {

// The timer that paints changes made outside event handling; TTimer ids start at 1.
constexpr int kPaintTimerId = 0;
// More invalid areas than this are painted as one.
constexpr std::size_t kMaxDirtyAreas = 8;

bool InSubtree(const TControl* control, const TControl& root) {
  for (const TControl* c = control; c != nullptr; c = c->Parent()) {
    if (c == &root) return true;
  }
  return false;
}

bool Contains(const TControl& root, const TControl* control) {
  if (&root == control) return true;
  for (const auto& child : root.Children()) {
    if (Contains(*child, control)) return true;
  }
  return false;
}

}  // namespace

TForm::TForm(platform::TWindowSystem& system, const gfx::TSkin* skin) : system_(system), skin_(skin) {}

TForm::~TForm() {
  focused_ = captured_ = hovered_ = lastClickControl_ = nullptr;
  // The controls go while the form still stands: their timers leave it.
  children_.clear();
  if (window_) {
    window_->Hide();
    window_.reset();
  }
}

// ---- showing ----

void TForm::CreateWindow(std::unique_ptr<platform::TWindow> window) {
  window_ = std::move(window);
  shownCursor_.reset();
  paintTimerRunning_ = false;
  for (const auto& [id, timer] : timers_) {
    if (timer->enabled_) window_->StartTimer(id, timer->interval_);
  }
}

void TForm::StartShowing() {
  dirty_.assign(1, ClientRect());
  Update();
  if (OnShow) OnShow(*this);
}

TRect TForm::WindowBounds() const { return TRect::FromSize(Left(), Top(), scale_.Px(Width()), scale_.Px(Height())); }

TPoint TForm::ScreenOrigin() const { return window_ ? window_->ClientToScreen({0, 0}) : TPoint{Left(), Top()}; }

void TForm::SetScale(gfx::TScale scale) {
  if (scale == scale_) return;
  scale_ = scale;
  ScaleTree();
  if (window_) window_->SetBounds(WindowBounds());
  Invalidate();
}

void TForm::ShowEmbedded(std::uintptr_t parentWindow) {
  if (window_) throw std::logic_error("TForm::ShowEmbedded: the form shows already");
  LoadTree();
  CreateWindow(system_.CreateChild(parentWindow, scale_.Px(Width()), scale_.Px(Height()), *this));
  StartShowing();
}

TModalResult TForm::ShowModal(TForm& owner, const std::string& title) {
  // The editor is closing under its questions: a question asked now is cancelled unasked.
  if (system_.ModalLoopsEnded()) return TModalResult::mrCancel;
  if (window_) throw std::logic_error("TForm::ShowModal: the form shows already");
  if (owner.Window() == nullptr) throw std::logic_error("TForm::ShowModal: the owner form does not show");
  LoadTree();
  modalResult_ = TModalResult::mrNone;
  CreateWindow(system_.CreateDialog(*owner.Window(), WindowBounds(), title, *this));
  struct TCloser {
    TForm& form;
    ~TCloser() { form.Close(); }
  } closer{*this};
  window_->Show();
  window_->TakeFocus();
  StartShowing();
  RunUntilModalResult();
  // A dialog closed without a result was cancelled.
  return modalResult_ == TModalResult::mrNone ? TModalResult::mrCancel : modalResult_;
}

void TForm::ShowPopup(TForm& owner) {
  if (system_.ModalLoopsEnded()) return;  // as above; its loop ends at once
  if (window_) throw std::logic_error("TForm::ShowPopup: the form shows already");
  if (owner.Window() == nullptr) throw std::logic_error("TForm::ShowPopup: the owner form does not show");
  LoadTree();
  modalResult_ = TModalResult::mrNone;
  CreateWindow(system_.CreatePopup(*owner.Window(), WindowBounds(), *this));
  window_->Show();
  StartShowing();
}

void TForm::RunUntilModalResult() {
  system_.RunModal([this] { return modalResult_ != TModalResult::mrNone || !window_; });
}

void TForm::Close() {
  if (!window_) return;
  SetHovered(nullptr);
  ReleaseCapture();
  cursorOverride_.reset();
  std::unique_ptr<platform::TWindow> going = std::move(window_);
  going->Hide();
  going.reset();
  dirty_.clear();
  paintTimerRunning_ = false;
  if (OnClose) OnClose(*this);
}

void TForm::Resized() {
  if (!window_) return;
  window_->SetBounds(WindowBounds());
  Invalidate();
}

// ---- painting ----

void TForm::Paint(gfx::TCanvas& canvas) {
  if (Color) canvas.FillRect(ClientRect(), *Color);
}

void TForm::Invalidated(const TRect& formRect) {
  TRect r = formRect.Intersect(ClientRect());
  if (r.Empty()) return;
  if (std::any_of(dirty_.begin(), dirty_.end(), [&](const TRect& d) { return d.Intersect(r) == r; })) return;
  // Areas that overlap or touch become one.
  for (bool merged = true; merged;) {
    merged = false;
    for (auto it = dirty_.begin(); it != dirty_.end(); ++it) {
      if (!it->Inflate(1, 1).Intersect(r).Empty()) {
        r = r.Union(*it);
        dirty_.erase(it);
        merged = true;
        break;
      }
    }
  }
  dirty_.push_back(r);
  if (dirty_.size() > kMaxDirtyAreas) {
    TRect all;
    for (const TRect& d : dirty_) all = all.Union(d);
    dirty_.assign(1, all);
  }
  if (eventDepth_ == 0 && window_ && !paintTimerRunning_) {
    window_->StartTimer(kPaintTimerId, 1);
    paintTimerRunning_ = true;
  }
}

void TForm::PaintDirty(gfx::TBitmap& target, const TRect& area) {
  gfx::TCanvas canvas(target, scale_);
  PaintTree(canvas, area);
}

void TForm::Update() {
  if (!window_) return;
  if (paintTimerRunning_) {
    window_->StopTimer(kPaintTimerId);
    paintTimerRunning_ = false;
  }
  if (dirty_.empty()) return;
  const std::vector<TRect> areas = std::move(dirty_);
  dirty_.clear();
  TRect all;
  for (const TRect& r : areas) {
    PaintDirty(window_->Surface(), r);
    all = all.Union(r);
  }
  window_->Present(scale_.Px(all));
}

void TForm::PaintTo(gfx::TBitmap& target) {
  target.Resize(scale_.Px(Width()), scale_.Px(Height()));
  PaintDirty(target, ClientRect());
}

// ---- focus, hover, capture ----

void TForm::FocusControl(TControl* control) {
  if (control == focused_) return;
  if (control != nullptr && (!control->CanFocus() || control->Form() != this)) return;
  TControl* old = focused_;
  focused_ = control;
  if (old != nullptr) old->FocusOut();
  if (control != nullptr && focused_ == control && Alive(control)) control->FocusIn();
}

TControl* TForm::ControlAt(TPoint formPoint) { return HitTest(formPoint); }

TControl* TForm::ControlAtScreen(TPoint screenPoint) {
  const TPoint origin = ScreenOrigin();
  return ControlAt(scale_.Logical(TPoint{screenPoint.X - origin.X, screenPoint.Y - origin.Y}));
}

void TForm::SetCursorOverride(std::optional<TCursor> cursor) {
  cursorOverride_ = cursor;
  ApplyCursor();
}

void TForm::ApplyCursor() {
  if (!window_) return;
  const TControl* over = captured_ != nullptr ? captured_ : hovered_;
  const TCursor want = cursorOverride_ ? *cursorOverride_ : over != nullptr ? over->Cursor : Cursor;
  if (shownCursor_ == want) return;
  shownCursor_ = want;
  window_->SetCursor(want);
}

void TForm::SetHovered(TControl* control) {
  if (control == hovered_) return;
  TControl* old = hovered_;
  hovered_ = control;
  if (old != nullptr) old->MouseLeave();
  if (control != nullptr && hovered_ == control && Alive(control)) control->MouseEnter();
}

void TForm::ReleaseCapture() {
  captured_ = nullptr;
  captureButton_ = TMouseButton::None;
  clickPending_ = false;
}

bool TForm::Alive(const TControl* control) const { return control != nullptr && Contains(*this, control); }

void TForm::ControlGoing(TControl& control) {
  if (InSubtree(focused_, control)) {
    TControl* old = focused_;
    focused_ = nullptr;
    old->FocusOut();
  }
  if (InSubtree(captured_, control)) ReleaseCapture();
  if (InSubtree(hovered_, control)) hovered_ = nullptr;
  if (InSubtree(lastClickControl_, control)) lastClickControl_ = nullptr;
}

// ---- timers ----

int TForm::NewTimerId() { return nextTimerId_++; }

void TForm::TimerChanged(TTimer& timer) {
  if (!window_) return;
  if (timer.enabled_) {
    window_->StartTimer(timer.id_, timer.interval_);
  } else {
    window_->StopTimer(timer.id_);
  }
}

void TForm::TimerGoing(TTimer& timer) {
  timers_.erase(timer.id_);
  if (window_) window_->StopTimer(timer.id_);
}

// ---- events ----

// Mouse positions come in the window's pixels; the controls take logical ones. (A popup's
// CloseRequest keeps the window's pixels: only the menus read it, on the screen.)
bool TForm::HandleEvent(platform::TWindow&, const TEvent& event) {
  switch (event.Kind) {
    case TEventKind::MouseDown:
    case TEventKind::MouseUp:
    case TEventKind::MouseMove:
    case TEventKind::MouseWheel:
    case TEventKind::MouseEnter:
      if (!scale_.Identity()) {
        TEvent logical = event;
        logical.X = scale_.Logical(event.X);
        logical.Y = scale_.Logical(event.Y);
        return HandleInput(logical);
      }
      break;
    default: break;
  }
  return HandleInput(event);
}

bool TForm::HandleInput(const TEvent& event) {
  // What was asked before the input shows before the input is handled.
  CatchUp();
  Update();
  bool used = true;
  {
    ++eventDepth_;
    struct TDepth {
      int& depth;
      ~TDepth() { --depth; }
    } depth{eventDepth_};
    // A copy: the filter may replace itself (a dialog chaining the owner's) while it runs.
    const auto filter = OnWindowEvent;
    EventStarts(event);
    if (!filter || !filter(*this, event)) used = Dispatch(event);
    EventEnds(event);
  }
  CatchUp();
  Update();
  return used;
}

// Keys go to the focused control and up its parents; the others are the form's in any case.
bool TForm::Dispatch(const TEvent& event) {
  switch (event.Kind) {
    case TEventKind::MouseMove: MouseMoveEvent(event); break;
    case TEventKind::MouseDown: MouseDownEvent(event); break;
    case TEventKind::MouseUp: MouseUpEvent(event); break;
    case TEventKind::MouseWheel: WheelEvent(event); break;
    case TEventKind::MouseEnter:
      if (captured_ == nullptr) SetHovered(ControlAt({event.X, event.Y}));
      ApplyCursor();
      break;
    case TEventKind::MouseLeave: SetHovered(nullptr); break;
    case TEventKind::KeyDown:
    case TEventKind::Char: return KeyEvent(event);
    case TEventKind::KeyUp: return false;
    case TEventKind::Timer:
      if (event.TimerId == kPaintTimerId) {
        if (window_) window_->StopTimer(kPaintTimerId);
        paintTimerRunning_ = false;
      } else if (auto it = timers_.find(event.TimerId); it != timers_.end()) {
        TTimer& timer = *it->second;
        if (timer.enabled_ && timer.OnTimer) timer.OnTimer(timer);
      }
      break;
    case TEventKind::CloseRequest:
      if (event.Button == TMouseButton::None) {
        // A dialog's close box.
        modalResult_ = TModalResult::mrCancel;
      } else if (OnOutsidePress) {
        OnOutsidePress(*this, event);
      } else {
        modalResult_ = TModalResult::mrCancel;
        Close();
      }
      break;
    case TEventKind::FocusIn:
    case TEventKind::FocusOut: break;
  }
  return true;
}

void TForm::MouseMoveEvent(const TEvent& event) {
  // A release we never saw (a modal loop took it) ends the capture.
  if (captured_ != nullptr && (event.Shift & platform::kMouseButtonFlags) == 0) ReleaseCapture();
  TControl* hit = ControlAt({event.X, event.Y});
  if (captured_ != nullptr) {
    SetHovered(hit == captured_ ? captured_ : nullptr);
  } else {
    SetHovered(hit);
  }
  ApplyCursor();
  TControl* target = captured_ != nullptr ? captured_ : hit;
  if (target == nullptr || !Alive(target)) return;
  const TPoint p = target->FormToClient({event.X, event.Y});
  target->MouseMove(event.Shift, p.X, p.Y);
}

void TForm::MouseDownEvent(const TEvent& event) {
  // No other button held: a capture left from a release we never saw ends.
  if (captured_ != nullptr && (event.Shift & platform::kMouseButtonFlags & ~platform::ButtonFlag(event.Button)) == 0)
    ReleaseCapture();
  TControl* hit = ControlAt({event.X, event.Y});
  TControl* target = captured_ != nullptr ? captured_ : hit;
  if (target == nullptr) return;
  const bool left = event.Button == TMouseButton::Left;
  const bool twice = left && (event.Shift & platform::ssDouble) != 0 && target == lastClickControl_;
  if (captured_ == nullptr) {
    captured_ = target;
    captureButton_ = event.Button;
    clickPending_ = left && !twice;
  } else {
    clickPending_ = false;  // a second button spoils the click
  }
  SetHovered(hit == target ? target : nullptr);
  ApplyCursor();
  if (target->CanFocus() && focused_ != target) {
    FocusControl(target);
    if (window_) window_->TakeFocus();
    if (!Alive(target)) return;
  }
  if (twice) {
    lastClickControl_ = nullptr;
    target->DblClick();
    if (!Alive(target)) return;
  }
  const TPoint p = target->FormToClient({event.X, event.Y});
  target->MouseDown(event.Button, event.Shift, p.X, p.Y);
}

void TForm::MouseUpEvent(const TEvent& event) {
  TControl* hit = ControlAt({event.X, event.Y});
  TControl* target = captured_ != nullptr ? captured_ : hit;
  if (target == nullptr) return;
  const bool inside = hit == target;
  const bool click = clickPending_ && event.Button == TMouseButton::Left && inside;
  const bool context = event.Button == TMouseButton::Right && inside;
  if (event.Button == TMouseButton::Left) clickPending_ = false;
  const TPoint p = target->FormToClient({event.X, event.Y});
  target->MouseUp(event.Button, event.Shift, p.X, p.Y);
  if ((event.Shift & platform::kMouseButtonFlags) == 0) {
    ReleaseCapture();
    SetHovered(ControlAt({event.X, event.Y}));
    ApplyCursor();
  }
  if (!Alive(target)) return;
  if (click) {
    lastClickControl_ = target;
    target->Click();
  }
  if (context && Alive(target)) {
    const TPoint screen = ClientToScreen({event.X, event.Y});
    for (TControl* c = target; c != nullptr; c = c->Parent()) {
      if (c->ContextPopup(screen)) break;
    }
  }
}

void TForm::WheelEvent(const TEvent& event) {
  const TPoint screen = ClientToScreen({event.X, event.Y});
  TControl* c = focused_ != nullptr ? focused_ : this;
  while (c != nullptr) {
    TControl* parent = c->Parent();
    if (c->Showing() && c->MouseWheel(event.Shift, event.WheelDelta, screen)) return;
    c = Alive(parent) ? parent : nullptr;
  }
}

bool TForm::KeyEvent(const TEvent& event) {
  TControl* c = focused_ != nullptr ? focused_ : this;
  while (c != nullptr) {
    TControl* parent = c->Parent();
    if (c->Showing()) {
      const bool taken =
          event.Kind == TEventKind::KeyDown ? c->KeyDown(event.Key, event.Shift) : c->KeyPress(event.Char);
      if (taken) return true;
    }
    c = Alive(parent) ? parent : nullptr;
  }
  return false;
}

}  // namespace vornix::editor
