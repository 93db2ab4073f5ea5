// The editor window's bottom layer: a borderless form over the tiled background, with the
// rounded, translucent main panel, the keyboard focus taken shortly after showing, the wheel's
// focus following the mouse pointer, and the pull of what the module marked in its inbox.
#pragma once

#include "editor/toolkit/Form.h"
#include "editor/toolkit/OrvGuiPanel.h"
#include "platform/ThreadCheck.h"

namespace vornix::plugin {
class TVSTPluginBase;
}

namespace vornix::editor {

class TfrmVSTEditorBase : public TForm {
 public:
  static constexpr int kClientWidth = 531;
  static constexpr int kClientHeight = 396;

  TfrmVSTEditorBase(plugin::TVSTPluginBase& owner, platform::TWindowSystem& system, const gfx::TSkin* skin);
  ~TfrmVSTEditorBase() override;

  plugin::TVSTPluginBase& Owner() const { return owner_; }

  // Every control from the module: when the form shows, when the module marked its settings
  // changed, and after Init.
  virtual void UpdateControls() {}
  // The module's preset name on the preset button.
  virtual void UpdatePresetName() {}

  // Takes what the module marked in its inbox and shows it: on every host idle call and before and
  // after every window event. Only the thread that made the form may call it.
  void PullChanges();

  // True once the form has been shown and has taken the focus; the playing step reaches the grid
  // only from then on.
  bool Activated() const { return FActivated; }
  // The control under the mouse pointer gets the focus, so that the wheel acts on it; buttons never
  // take it.
  void FocusControlUnderCursor();

  void Paint(gfx::TCanvas& canvas) override;

  TOrvGuiPanel* const panMain;
  TTimer timFormActivated;

 protected:
  // Runs when the form shows; overrides call this first.
  virtual void FormShow();
  // Shows the changes PullChanges took (TEditorInbox bits, maybe none) and what else waits for
  // the editor; overrides call this first.
  virtual void ApplyChanges(unsigned changes);
  void CatchUp() override { PullChanges(); }
  virtual void panMainClick();
  // Lays panMain out below `top` pixels of heading, with the margins of the frame.
  void PlaceMainPanel(int top);

  // True while a control is being written from its parameter: its change events are ignored.
  bool FUpdating = false;
  bool FActivated = false;

 private:
  void timFormActivatedTimer();

  plugin::TVSTPluginBase& owner_;
  const gfx::TImage& FBackground;
  platform::TThreadCheck FThread;  // the thread that made the form
};

}  // namespace vornix::editor
