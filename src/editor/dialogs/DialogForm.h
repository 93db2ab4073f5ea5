// What the editor's modal dialogs share: the skin's dialog background, the buttons that Enter and
// Escape press, the placement over the owner form, and running modally while the owner takes no
// input.
#pragma once

#include <string>

#include "editor/dialogs/DialogButton.h"
#include "editor/toolkit/Form.h"

namespace vornix::editor {

// The title of a message whose caption is empty.
inline constexpr const char* kApplicationTitle = "Vornix";

class TDialogForm : public TForm {
 public:
  // The dialog takes the owner's window system, skin and zoom.
  explicit TDialogForm(TForm& owner);

  TForm& Owner() const { return owner_; }

  // Enter clicks DefaultButton while it is enabled; Escape clicks CancelButton, or closes the
  // dialog with mrCancel when there is none.
  TDialogButton* DefaultButton = nullptr;
  TDialogButton* CancelButton = nullptr;

  // Centres the dialog over the owner's client area: left = the owner's client origin x +
  // (owner width − dialog width) div 2, top likewise; moved back onto the screen where it would
  // stick out.
  void PlaceOverOwner();

  // Shows the dialog above its owner (Execute: a dialog window with the title; ExecutePopup: a
  // borderless popup, on which a press outside fires OnOutsidePress) and handles events until it
  // has a result; the window is gone when it returns. The owner takes no input meanwhile. A dialog
  // closed without a result answers mrCancel.
  TModalResult Execute(const std::string& title);
  TModalResult ExecutePopup();

 protected:
  // Runs each time the dialog shows, before its first picture reaches the screen.
  virtual void FormShow() {}
  void Paint(gfx::TCanvas& canvas) override;

 private:
  bool DialogKey(const platform::TEvent& event);
  void Shown();

  TForm& owner_;
};

// The dialog's rectangle on the screen for the placement rule above.
TRect PlaceOver(const TRect& ownerClientOnScreen, int width, int height, const TRect& screen);

}  // namespace vornix::editor
