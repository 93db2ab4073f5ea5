#include "editor/dialogs/DialogButton.h"

#include <algorithm>

namespace vornix::editor {

TDialogButton::TDialogButton(std::string caption, TModalResult result) : ModalResult(result) {
  SetCaption(std::move(caption));
  SetBounds(0, 0, 80, 26);
}

void TDialogButton::Paint(gfx::TCanvas& canvas) {
  TOrvSpTBXSpeedButton::Paint(canvas);
  if (!IsDefault || !Enabled() || Pressed()) return;
  // Two pixels of the accent colour, the inner one lighter, inside the button's edge.
  const int radius = std::min(CornerRadius, std::min(Width(), Height()) / 2);
  canvas.FrameRoundRect(ClientRect(), radius, Colors.FaceDown);
  canvas.FrameRoundRect(ClientRect().Inflate(-1, -1), std::max(radius - 1, 0), gfx::WithAlpha(Colors.FaceDown, 110));
}

void TDialogButton::Click() {
  TForm* form = Form();
  TOrvSpTBXSpeedButton::Click();
  // OnClick may have chosen a result of its own.
  if (form != nullptr && ModalResult != TModalResult::mrNone && form->ModalResult() == TModalResult::mrNone)
    form->SetModalResult(ModalResult);
}

}  // namespace vornix::editor
