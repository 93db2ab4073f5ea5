// A form: the root of a tree of controls, shown in a window of its own (the editor inside the
// host's window, a modal dialog, or a popup list). It turns the window's events into control input
// (hit testing, capture, hover, focus, wheel, keys, double clicks, context menus) and paints what
// its controls invalidated into the window's surface.
//
// A form is not destroyed from inside one of its own event handlers (a menu command that rebuilds
// the editor defers the rebuild); controls may be removed there.
//
// A form shows at a zoom (Scale): its controls keep their logical layout, its window is the scaled
// size, its painting is scaled and the window's mouse positions are taken back to logical pixels
// before any control sees them. A popup's or dialog's bounds hold its screen position in the
// screen's pixels (Left, Top) and its logical size.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/toolkit/Control.h"
#include "gfx/Skin.h"
#include "platform/DialogHost.h"
#include "platform/Window.h"

namespace vornix::editor {

using platform::TModalResult;

class TForm : public TControl, private platform::TWindowHandler {
 public:
  // skin may be null: the controls then keep their creation colours.
  TForm(platform::TWindowSystem& system, const gfx::TSkin* skin);
  ~TForm() override;

  platform::TWindowSystem& WindowSystem() const { return system_; }
  const gfx::TSkin* Skin() const { return skin_; }
  gfx::TScale Scale() const { return scale_; }
  // Shows the form at another zoom: the window takes the scaled size, the controls measure again
  // (ScaleChanged) and everything is painted anew.
  void SetScale(gfx::TScale scale);
  // The window's rectangle: on the screen for a popup or dialog, in the parent for the editor.
  TRect WindowBounds() const;
  // Where the form's client area starts on the screen.
  TPoint ScreenOrigin() const;
  // The window the form shows in, or null before it is shown.
  platform::TWindow* Window() const { return window_.get(); }

  // Shows the form as a child of the host's window at (0, 0), its size the form's.
  void ShowEmbedded(std::uintptr_t parentWindow);
  // Shows the form as a dialog above its owner, at the form's bounds on the screen (Left, Top),
  // and handles events until ModalResult is set; the window goes away before it returns. Once the
  // window system's modal loops have ended (the editor closes), it shows nothing: mrCancel.
  TModalResult ShowModal(TForm& owner, const std::string& title);
  // Shows the form as a popup at the form's bounds on the screen. An outside press fires
  // OnOutsidePress (the default closes the popup with mrCancel). Nothing once the modal loops
  // have ended.
  void ShowPopup(TForm& owner);
  // Hides the window and lets it go.
  void Close();

  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) { modalResult_ = result; }
  // For a popup: runs events until ModalResult is set (a menu's own nested loop).
  void RunUntilModalResult();

  // The form's own colour, painted under every control (none: nothing is painted).
  std::optional<TColor> Color;

  TControl* FocusedControl() const { return focused_; }
  // Focuses a control that can take the focus (null: none); any other control is ignored.
  void FocusControl(TControl* control);
  // The showing, enabled control under a point of the form's client area or of the screen (the
  // form itself when no child is there; null outside the form).
  TControl* ControlAt(TPoint formPoint);
  TControl* ControlAtScreen(TPoint screenPoint);
  TControl* HoveredControl() const { return hovered_; }
  TControl* CapturedControl() const { return captured_; }
  // Overrides the pointer's shape over the whole form (a drag in progress); none gives it back.
  void SetCursorOverride(std::optional<TCursor> cursor);

  // A key the host offers (it had the keyboard): handled like one from the form's window; true
  // when a control used it.
  bool OfferKey(const platform::TEvent& event) { return HandleInput(event); }

  // Paints what was invalidated and presents it. Events paint by themselves after they were
  // handled; changes made elsewhere (an idle refresh) are painted by a short timer, or at once by
  // calling this.
  void Update();
  // Paints the whole form into a bitmap of its size at its zoom, whether it shows or not (tests,
  // gallery).
  void PaintTo(gfx::TBitmap& target);

  std::function<void(TForm& sender)> OnShow;
  std::function<void(TForm& sender)> OnClose;
  // A popup's outside press; the handler may ask the window system to replay it.
  std::function<void(TForm& sender, const platform::TEvent& press)> OnOutsidePress;
  // Every window event, before the form handles it; returning true swallows it (a dialog's
  // default and cancel keys, the editor's wheel focusing).
  std::function<bool(TForm& sender, const platform::TEvent& event)> OnWindowEvent;
  // Modal dialogs running above the form (TModalInputBlock counts them). The keyboard focus is
  // theirs meanwhile: the form must not take it back.
  int ModalDialogsAbove = 0;

  // Paints Color when it is set. A form that draws a background of its own overrides it.
  void Paint(gfx::TCanvas& canvas) override;

 protected:
  // Resizes the window with the form; an override calls this first.
  void Resized() override;
  // Runs before and after every window event: a form that shows state kept elsewhere catches up
  // with it here.
  virtual void CatchUp() {}
  // Around the handling of every window event (nested ones too, while a modal loop runs inside a
  // handler): a form that groups the user's input into gestures watches here.
  virtual void EventStarts(const platform::TEvent& event) { (void)event; }
  virtual void EventEnds(const platform::TEvent& event) { (void)event; }

 private:
  friend class TControl;
  friend class TTimer;
  TForm* AsForm() override { return this; }
  bool HandleEvent(platform::TWindow& window, const platform::TEvent& event) override;
  bool HandleInput(const platform::TEvent& event);
  bool Dispatch(const platform::TEvent& event);
  void MouseMoveEvent(const platform::TEvent& event);
  void MouseDownEvent(const platform::TEvent& event);
  void MouseUpEvent(const platform::TEvent& event);
  void WheelEvent(const platform::TEvent& event);
  bool KeyEvent(const platform::TEvent& event);
  void ReleaseCapture();
  void SetHovered(TControl* control);
  void ApplyCursor();
  // True while the control is still in this form's tree (handlers may remove controls).
  bool Alive(const TControl* control) const;
  void Invalidated(const TRect& formRect);
  void ControlGoing(TControl& control);  // focus, capture and hover let go of it
  void PaintDirty(gfx::TBitmap& target, const TRect& area);
  int NewTimerId();
  void TimerChanged(TTimer& timer);
  void TimerGoing(TTimer& timer);
  void CreateWindow(std::unique_ptr<platform::TWindow> window);
  void StartShowing();

  platform::TWindowSystem& system_;
  const gfx::TSkin* skin_;
  gfx::TScale scale_;
  std::unique_ptr<platform::TWindow> window_;
  // Invalid areas in form coordinates; a few apart, merged when they touch.
  std::vector<TRect> dirty_;
  int eventDepth_ = 0;  // handling a window event (which paints when it ends)
  bool paintTimerRunning_ = false;
  TModalResult modalResult_ = TModalResult::mrNone;
  TControl* focused_ = nullptr;
  TControl* captured_ = nullptr;
  TControl* hovered_ = nullptr;
  TMouseButton captureButton_ = TMouseButton::None;  // the press that took the capture
  bool clickPending_ = false;                        // the left press may become a click
  std::optional<TCursor> cursorOverride_;
  std::optional<TCursor> shownCursor_;
  std::map<int, TTimer*> timers_;
  int nextTimerId_ = 1;
  // The last left click, for double clicks.
  TControl* lastClickControl_ = nullptr;
};

}  // namespace vornix::editor
