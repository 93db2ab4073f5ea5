// A dialog's push button: the editor's speed button that closes its dialog with a result, and
// wears an accent frame while it is the button Enter presses.
#pragma once

#include <string>

#include "editor/toolkit/Form.h"
#include "editor/toolkit/OrvSpTBXSpeedButton.h"

namespace vornix::editor {

class TDialogButton : public TOrvSpTBXSpeedButton {
 public:
  TDialogButton(std::string caption, TModalResult result);

  // Set on the form when clicked, after OnClick (mrNone: the button does not close the dialog).
  TModalResult ModalResult = TModalResult::mrNone;
  bool IsDefault = false;

  void Paint(gfx::TCanvas& canvas) override;
  void Click() override;
};

}  // namespace vornix::editor
