#include "editor/toolkit/Control.h"

#include <algorithm>
#include <stdexcept>

#include "editor/toolkit/Form.h"
#include "editor/toolkit/PopupMenu.h"

namespace vornix::editor {

TControl::TControl() = default;

// Children go first; the form (if any) was told by Remove or is going itself.
TControl::~TControl() = default;

void TControl::Adopt(std::unique_ptr<TControl> child) {
  if (!child) throw std::invalid_argument("TControl::Add: no control");
  child->parent_ = this;
  TControl& ref = *child;
  children_.push_back(std::move(child));
  // A control added to a tree that has been loaded is loaded at once, so it takes its skin too.
  if (loaded_) ref.LoadTree();
  ref.Invalidate();
}

void TControl::Remove(TControl& child) {
  const auto it = std::find_if(children_.begin(), children_.end(), [&](const auto& c) { return c.get() == &child; });
  if (it == children_.end()) throw std::invalid_argument("TControl::Remove: not a child of this control");
  child.Invalidate();
  if (TForm* form = Form()) form->ControlGoing(child);
  const std::unique_ptr<TControl> going = std::move(*it);
  children_.erase(it);
}

TForm* TControl::Form() const {
  const TControl* c = this;
  while (c->parent_ != nullptr) c = c->parent_;
  return const_cast<TControl*>(c)->AsForm();
}

const gfx::TSkin* TControl::Skin() const {
  const TForm* form = Form();
  return form != nullptr ? form->Skin() : nullptr;
}

gfx::TScale TControl::Scale() const {
  const TForm* form = Form();
  return form != nullptr ? form->Scale() : gfx::TScale();
}

TControl* TControl::FindControl(const std::string& name) {
  if (Name == name) return this;
  for (const auto& child : children_) {
    if (TControl* found = child->FindControl(name)) return found;
  }
  return nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  const TRect bounds = TRect::FromSize(left, top, std::max(width, 0), std::max(height, 0));
  if (bounds == bounds_) return;
  if (parent_ != nullptr && visible_) parent_->InvalidateRect(bounds_);
  bounds_ = bounds;
  if (parent_ != nullptr && visible_) parent_->InvalidateRect(bounds_);
  Resized();
}

TPoint TControl::ClientToForm(TPoint p) const {
  for (const TControl* c = this; c->parent_ != nullptr; c = c->parent_) {
    p.X += c->bounds_.Left;
    p.Y += c->bounds_.Top;
  }
  return p;
}

TPoint TControl::FormToClient(TPoint p) const {
  const TPoint origin = ClientToForm({0, 0});
  return {p.X - origin.X, p.Y - origin.Y};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  const TPoint f = ClientToForm(p);
  const TForm* form = Form();
  if (form == nullptr) return f;
  const TPoint origin = form->ScreenOrigin();
  const TPoint s = form->Scale().Px(f);
  return {origin.X + s.X, origin.Y + s.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  const TForm* form = Form();
  if (form == nullptr) return FormToClient(p);
  const TPoint origin = form->ScreenOrigin();
  return FormToClient(form->Scale().Logical(TPoint{p.X - origin.X, p.Y - origin.Y}));
}

TRect TControl::ScreenRect() const {
  const TPoint topLeft = ClientToScreen({0, 0});
  const TPoint bottomRight = ClientToScreen({Width(), Height()});
  return {topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y};
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (!visible) {
    Invalidate();
    if (TForm* form = Form()) form->ControlGoing(*this);
    visible_ = false;
  } else {
    visible_ = true;
    Invalidate();
  }
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  if (!enabled) {
    if (TForm* form = Form()) form->ControlGoing(*this);
  }
  enabled_ = enabled;
  Invalidate();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c != nullptr; c = c->parent_) {
    if (!c->visible_ || !c->enabled_) return false;
  }
  return true;
}

void TControl::Invalidate() { InvalidateRect(ClientRect()); }

void TControl::InvalidateRect(const TRect& r) {
  TForm* form = Form();
  if (form == nullptr) return;
  const TRect visible = VisibleFormRect(r);
  if (!visible.Empty()) form->Invalidated(visible);
}

TRect TControl::VisibleFormRect(const TRect& r) const {
  TRect area = r.Intersect(ClientRect());
  for (const TControl* c = this; c->parent_ != nullptr; c = c->parent_) {
    if (!c->visible_) return {};
    area = area.Offset(c->bounds_.Left, c->bounds_.Top).Intersect(c->parent_->ClientRect());
    if (area.Empty()) return {};
  }
  return area;
}

void TControl::PaintTree(gfx::TCanvas& canvas, const TRect& dirty) {
  const TRect area = dirty.Intersect(ClientRect());
  if (!visible_ || area.Empty()) return;
  gfx::TCanvasScope scope(canvas);
  canvas.IntersectClip(area);
  Paint(canvas);
  for (const auto& child : children_) {
    if (!child->visible_) continue;
    const TRect b = child->bounds_;
    const TRect childArea = area.Intersect(b);
    if (childArea.Empty()) continue;
    gfx::TCanvasScope childScope(canvas, b);
    child->PaintTree(canvas, childArea.Offset(-b.Left, -b.Top));
  }
}

void TControl::LoadTree() {
  if (!loaded_) {
    loaded_ = true;
    Loaded();
  }
  // Loaded may add children; they load through Adopt, the others here.
  for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->LoadTree();
}

void TControl::ScaleTree() {
  ScaleChanged();
  for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->ScaleTree();
}

TControl* TControl::HitTest(TPoint p) {
  if (!visible_ || !enabled_ || !ClientRect().Contains(p)) return nullptr;
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    TControl& child = **it;
    if (TControl* hit = child.HitTest({p.X - child.Left(), p.Y - child.Top()})) return hit;
  }
  return this;
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}

bool TControl::MouseWheel(TShiftState shift, int wheelDelta, TPoint screenPos) {
  return OnMouseWheel ? OnMouseWheel(*this, shift, wheelDelta, screenPos) : false;
}

void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(*this);
}

void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(*this);
}

void TControl::Click() {
  if (OnClick) OnClick(*this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(*this);
}

bool TControl::KeyDown(int key, TShiftState shift) {
  (void)key;
  (void)shift;
  return false;
}

bool TControl::KeyPress(char32_t character) {
  (void)character;
  return false;
}

bool TControl::ContextPopup(TPoint screenPos) {
  if (PopupMenu == nullptr) return false;
  PopupMenu->Popup(*this, screenPos.X, screenPos.Y);
  return true;
}

bool TControl::Focused() const {
  const TForm* form = Form();
  return form != nullptr && form->FocusedControl() == this;
}

void TControl::SetFocus() {
  if (TForm* form = Form()) form->FocusControl(this);
}

// ---- TTimer ----

TTimer::TTimer(TForm& form, int intervalMs) : form_(form), id_(form.NewTimerId()), interval_(std::max(intervalMs, 1)) {
  form_.timers_[id_] = this;
}

TTimer::~TTimer() { form_.TimerGoing(*this); }

void TTimer::SetInterval(int ms) {
  ms = std::max(ms, 1);
  if (ms == interval_) return;
  interval_ = ms;
  if (enabled_) form_.TimerChanged(*this);
}

void TTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  form_.TimerChanged(*this);
}

}  // namespace vornix::editor
