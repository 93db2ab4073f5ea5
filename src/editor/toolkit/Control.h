// The editor's own retained controls: a tree of rectangles that paint themselves into their form's
// pixel surface and receive the form's mouse and key input in their own coordinates.
//
// Every size and position here is in logical pixels, the design's; the form shows them at its
// zoom (Scale), on the screen's pixels.
//
// Threads: a control belongs to its form's thread (the thread that calls the editor entries).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Skin.h"
#include "platform/Window.h"

namespace vornix::editor {

using gfx::TColor;
using gfx::TPoint;
using gfx::TRect;
using platform::TCursor;
using platform::TMouseButton;
using platform::TShiftState;

class TForm;
class TPopupMenu;

class TControl {
 public:
  TControl();
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  // The tree. A parent owns its children and paints them after itself, in the order they were
  // added (the last one on top, and first to be hit).
  template <class T, class... Args>
  T& Add(Args&&... args) {
    static_assert(std::is_base_of_v<TControl, T>);
    auto child = std::make_unique<T>(std::forward<Args>(args)...);
    T& ref = *child;
    Adopt(std::move(child));
    return ref;
  }
  // Destroys a child (and its children); focus, capture and hover leave it first.
  void Remove(TControl& child);
  TControl* Parent() const { return parent_; }
  const std::vector<std::unique_ptr<TControl>>& Children() const { return children_; }
  // The form at the root of the tree, or null while the control is not in one.
  TForm* Form() const;
  // The skin of the form, or null (no form, or a form without skin).
  const gfx::TSkin* Skin() const;
  // The zoom of the form (100 % without one). Text a control sizes itself by is measured with it.
  gfx::TScale Scale() const;

  std::string Name;  // the component's name ("btnPresets"), for finding and testing
  int Tag = 0;
  // The first control of this subtree (this one included) with the name, or null.
  TControl* FindControl(const std::string& name);

  // Geometry: the bounds lie in the parent's client coordinates; a control's own coordinates start
  // at its top left corner.
  int Left() const { return bounds_.Left; }
  int Top() const { return bounds_.Top; }
  int Width() const { return bounds_.Width(); }
  int Height() const { return bounds_.Height(); }
  const TRect& BoundsRect() const { return bounds_; }
  TRect ClientRect() const { return {0, 0, Width(), Height()}; }
  void SetBounds(int left, int top, int width, int height);
  // Between a control's own coordinates and its form's client coordinates and the screen's (the
  // screen's pixels: a point takes the top left screen pixel of its logical pixel, and a screen
  // pixel the logical pixel that covers it).
  TPoint ClientToForm(TPoint p) const;
  TPoint FormToClient(TPoint p) const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  // The control's rectangle on the screen.
  TRect ScreenRect() const;

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Visible and enabled up to the form. A disabled control is painted but gets no input: the mouse
  // acts on its parent there.
  bool Showing() const;

  // Painting. Paint draws the control in its own coordinates; the canvas is clipped to it. A
  // control that leaves pixels unpainted shows its parent there (the parent always paints first).
  virtual void Paint(gfx::TCanvas& canvas) { (void)canvas; }
  // Asks for a repaint of the whole control or of a part of it (own coordinates); the form paints
  // what was asked at its next turn, at the latest before it handles the next input.
  void Invalidate();
  void InvalidateRect(const TRect& r);

  // Input, in the control's own coordinates. A press captures the mouse: moves and the release go to
  // the pressed control until the last button is released. The default handlers fire the events
  // below; overrides call them to keep the events.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // The wheel goes to the focused control, or when it does not take it (returns false) to its
  // parents in turn; WheelDelta +120 is a notch up. The position is the pointer's, on the screen.
  // The default handler answers OnMouseWheel, or false.
  virtual bool MouseWheel(TShiftState shift, int wheelDelta, TPoint screenPos);
  virtual void MouseEnter();
  virtual void MouseLeave();
  // A left press and release on the same control; a second press soon after is a double click.
  virtual void Click();
  virtual void DblClick();
  // Keys go to the focused control; returning false passes them to the parent.
  virtual bool KeyDown(int key, TShiftState shift);
  virtual bool KeyPress(char32_t character);
  virtual void FocusIn() {}
  virtual void FocusOut() {}

  // Focus: only a control that can take it gets it (a press on it gives it).
  bool CanFocus() const { return canFocus_; }
  void SetCanFocus(bool canFocus) { canFocus_ = canFocus; }
  bool Focused() const;
  void SetFocus();

  // The mouse pointer's shape while it is over the control.
  TCursor Cursor = TCursor::Default;
  // Opened by a right click (after MouseDown and MouseUp) at the pointer.
  TPopupMenu* PopupMenu = nullptr;
  // A right click's context menu: true when it was handled here (the default opens PopupMenu when
  // there is one); false passes it to the parent. A control that refused the press answers true to
  // swallow it.
  virtual bool ContextPopup(TPoint screenPos);

  // Called once when the form has been built and skinned, parents before children: where a control
  // takes its skin colours and images.
  virtual void Loaded() {}
  // Called after the form's zoom changed, parents before children: where a control measures again
  // what it measured by text.
  virtual void ScaleChanged() {}
  bool IsLoaded() const { return loaded_; }

  // Events. Unassigned ones are skipped.
  std::function<void(TControl&sender)> OnClick, OnDblClick, OnMouseEnter, OnMouseLeave;
  std::function<void(TControl&sender, TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown, OnMouseUp;
  std::function<void(TControl& sender, TShiftState shift, int x, int y)> OnMouseMove;
  // Returns true when it took the wheel.
  std::function<bool(TControl& sender, TShiftState shift, int wheelDelta, TPoint screenPos)> OnMouseWheel;

 protected:
  // Called after the bounds changed.
  virtual void Resized() {}
  // The control under a point of its own coordinates: itself, one of its children, or null when
  // the point is outside it or it does not show.
  virtual TControl* HitTest(TPoint p);

 private:
  friend class TForm;
  void Adopt(std::unique_ptr<TControl> child);
  // The form at the root; null for every other control (and for a form being destroyed).
  virtual TForm* AsForm() { return nullptr; }
  void PaintTree(gfx::TCanvas& canvas, const TRect& dirty);
  void LoadTree();
  void ScaleTree();
  // The part of r (own coordinates) that shows on the form, in the form's coordinates.
  TRect VisibleFormRect(const TRect& r) const;

  TControl* parent_ = nullptr;
  std::vector<std::unique_ptr<TControl>> children_;
  TRect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
  bool canFocus_ = false;
  bool loaded_ = false;
};

// A timer of a form: fires OnTimer every Interval milliseconds while enabled, on the form's thread.
class TTimer {
 public:
  explicit TTimer(TForm& form, int intervalMs = 1000);
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  int Interval() const { return interval_; }
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);  // enabling again starts the interval anew
  std::function<void(TTimer& sender)> OnTimer;

 private:
  friend class TForm;
  TForm& form_;
  int id_;
  int interval_;
  bool enabled_ = false;
};

}  // namespace vornix::editor
