#include "editor/toolkit/OrvGuiStitchedSwitch.h"

#include "gfx/Resources.h"

namespace vornix::editor {

TOrvGuiStitchedSwitch::TOrvGuiStitchedSwitch() {
  SetLoading(true);
  SetStrip(gfx::ScaledImage("STITCHED_ONOFF_DARK"), 2);
  SetLoading(false);
}

void TOrvGuiStitchedSwitch::Loaded() {
  // The dark strip suits the dark skins (and a form without skin); the bright one the others.
  const gfx::TSkin* skin = Skin();
  const bool dark = skin == nullptr || skin->Name == "Carbon" || skin->Name == "Amakrits";
  SetLoading(true);
  SetStrip(gfx::ScaledImage(dark ? "STITCHED_ONOFF_DARK" : "STITCHED_ONOFF_BRIGHT"), 2);
  SetLoading(false);
}

void TOrvGuiStitchedSwitch::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  accepted_ = AskBeforeMouseDown(OnBeforeMouseDown, *this, button, shift, x, y);
  if (accepted_) TCustomGuiStitchedSwitch::MouseDown(button, shift, x, y);
}

bool TOrvGuiStitchedSwitch::ContextPopup(TPoint screenPos) {
  // A refused press does nothing at all, not even open the context menu.
  return !accepted_ || TCustomGuiStitchedSwitch::ContextPopup(screenPos);
}

}  // namespace vornix::editor
