// The editor's speed button: a press hook that may refuse the press, and the value the editor
// frame keeps for a button whose menu lists values.
#pragma once

#include "editor/toolkit/OrvBeforeMouseDownEvent.h"
#include "editor/toolkit/SpeedButton.h"

namespace vornix::editor {

class TOrvSpTBXSpeedButton : public TSpeedButton {
 public:
  TOrvSpTBXSpeedButton();

  // The current value of a drop-down button (-1: none yet).
  int ItemValue = -1;
  TOrvBeforeMouseDownEvent OnBeforeMouseDown;

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  // Swallowed once after a refused press; the next press decides anew.
  void Click() override;
  bool ContextPopup(TPoint screenPos) override;

 private:
  bool clickAllowed_ = true;
};

}  // namespace vornix::editor
