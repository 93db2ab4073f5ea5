#include "editor/toolkit/OrvSpTBXSpeedButton.h"

namespace vornix::editor {

TOrvSpTBXSpeedButton::TOrvSpTBXSpeedButton() { SetBounds(0, 0, 22, 22); }

void TOrvSpTBXSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  clickAllowed_ = AskBeforeMouseDown(OnBeforeMouseDown, *this, button, shift, x, y);
  if (clickAllowed_) TSpeedButton::MouseDown(button, shift, x, y);
}

void TOrvSpTBXSpeedButton::Click() {
  if (!clickAllowed_) {
    clickAllowed_ = true;
    return;
  }
  TSpeedButton::Click();
}

bool TOrvSpTBXSpeedButton::ContextPopup(TPoint screenPos) {
  return !clickAllowed_ || TSpeedButton::ContextPopup(screenPos);
}

}  // namespace vornix::editor
