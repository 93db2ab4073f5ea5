// A panel: a rectangle with rounded corners, filled and framed, that holds other controls. With
// Alpha below 255 what lies under it shows through (the editor's translucent main panel).
#pragma once

#include "editor/toolkit/Control.h"

namespace vornix::editor {

class TPanel : public TControl {
 public:
  // The look; set before the form shows, or call Invalidate() after a change.
  TColor PanelColor = gfx::kWhite;
  TColor BorderColor = gfx::Rgb(160, 160, 160);
  int BorderRadius = 0;
  int BorderWidth = 1;
  bool BorderVisible = true;
  // True: outside the rounded corners the parent shows; false: Color fills the whole rectangle first.
  bool Transparent = false;
  TColor Color = gfx::kWhite;
  int Alpha = 255;  // of the fill, 0..255

  void Paint(gfx::TCanvas& canvas) override;
};

}  // namespace vornix::editor
