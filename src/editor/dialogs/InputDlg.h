// The text question: a prompt, a line of text, OK and Cancel.
#pragma once

#include "editor/dialogs/DialogForm.h"
#include "editor/toolkit/Edit.h"
#include "editor/toolkit/Label.h"

namespace vornix::editor {

class TfrmInputDlg : public TDialogForm {
 public:
  explicit TfrmInputDlg(TForm& owner);

  TLabel& lblPrompt;
  TEdit& txtValue;
  TDialogButton& btnOK;
  TDialogButton& btnCancel;
  // OK is allowed with blank text.
  bool FAllowEmpty = false;

  // OK is enabled when the text is not blank, or blank text is allowed.
  void UpdateOKButton();

 protected:
  void FormShow() override;

 private:
  // Where FormShow puts the controls, from the dialog's client size.
  void ArrangeControls();
};

// Blank: empty, or nothing but blanks and control characters.
bool IsBlank(std::string_view text);

// The prompt stands in a rectangle of the designed height; a font whose lines are taller gets a
// taller rectangle around the same middle, so that nothing is cut.
TRect PromptBounds(int left, int top, int width, int designedHeight, const gfx::TFont& font, gfx::TScale scale = {});

// The buttons in the lower right corner, 6 pixels from the edges and apart: Cancel outermost.
void PlaceDialogButtons(const TForm& form, TDialogButton& ok, TDialogButton& cancel);

}  // namespace vornix::editor
