#include "editor/toolkit/OrvMenuButton.h"

#include "gfx/Resources.h"

namespace vornix::editor {

TOrvMenuButton::TOrvMenuButton() { SetBounds(0, 0, 26, 26); }

void TOrvMenuButton::Loaded() {
  TSpeedButton::Loaded();
  // Without a skin the glyphs take the button's own text colours, so the bars still show.
  const gfx::TSkin* skin = Skin();
  const TColor normal = skin != nullptr ? skin->sfButtonTextNormal : Colors.Text;
  const TColor pressed = skin != nullptr ? skin->sfButtonTextPressed : Colors.TextPressed;
  const gfx::TImage& bars = gfx::ScaledImage("menu16");
  images_.Clear();
  images_.Add(gfx::RecolorImage(bars, normal));
  images_.Add(gfx::RecolorImage(bars, pressed));
  SetImages(&images_);
  SetImageIndex(0);
}

void TOrvMenuButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  SetImageIndex(1);
  TSpeedButton::MouseDown(button, shift, x, y);
}

void TOrvMenuButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  SetImageIndex(0);
  TSpeedButton::MouseUp(button, shift, x, y);
}

}  // namespace vornix::editor
