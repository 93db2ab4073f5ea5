// The editor's menu button: three bars in the skin's button text colour (another shade while
// pressed) that open the button's drop-down menu.
#pragma once

#include "editor/toolkit/SpeedButton.h"

namespace vornix::editor {

class TOrvMenuButton : public TSpeedButton {
 public:
  TOrvMenuButton();

  // Image 0 at rest, image 1 while pressed.
  const TImageList& Glyphs() const { return images_; }

  void Loaded() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  TImageList images_{16, 16};
};

}  // namespace vornix::editor
