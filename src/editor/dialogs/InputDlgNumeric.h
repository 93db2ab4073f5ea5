// The number question: a prompt, a number box, OK and Cancel.
#pragma once

#include "editor/dialogs/DialogForm.h"
#include "editor/dialogs/OrvNumericEdit.h"
#include "editor/toolkit/Label.h"

namespace vornix::editor {

class TfrmInputDlgNumeric : public TDialogForm {
 public:
  // The number box reads and shows numbers with the separator.
  TfrmInputDlgNumeric(TForm& owner, char decimalSeparator);

  TLabel& lblPrompt;
  TOrvNumericEdit& txtNumeric;
  TDialogButton& btnOK;
  TDialogButton& btnCancel;

 protected:
  void FormShow() override;

 private:
  // Where FormShow puts the controls, from the dialog's client size.
  void ArrangeControls();
};

}  // namespace vornix::editor
