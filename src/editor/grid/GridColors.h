// The step grid's colours: the eight it is created with, the ones each skin gives it, and how one
// column shades them (groups of four alternate; inactive columns are flat).
#pragma once

#include "editor/logic/GridGeometry.h"
#include "gfx/Bitmap.h"
#include "gfx/Skin.h"

namespace vornix::editor {

struct TGridColors {
  // Neutral stand-ins for the system colours (window frame, button face, application workspace).
  gfx::TColor FrameColor = gfx::Rgb(100, 100, 100);              // outer frame, top edge of the indicator cells
  gfx::TColor BackColor = gfx::Rgb(240, 240, 240);               // active columns
  gfx::TColor InactiveColor = gfx::Rgb(171, 171, 171);           // columns at or beyond the step count
  gfx::TColor SeparatorColor = gfx::Rgb(160, 160, 164);          // right of active columns
  gfx::TColor InactiveSeparatorColor = gfx::Rgb(128, 128, 128);  // right of inactive columns
  gfx::TColor CurrentStepColor = gfx::Rgb(255, 255, 255);        // the playing step's indicator cell
  gfx::TColor RandomColor = gfx::Rgb(192, 192, 192);             // random-range band
  gfx::TColor BarColor = gfx::Rgb(128, 128, 128);                // value bar
  friend bool operator==(const TGridColors&, const TGridColors&) = default;
};

// The skin's generic elements, then the touches of the skin with that name; a skin of any other
// name keeps the generic ones.
TGridColors SkinGridColors(const gfx::TSkin& skin);

// What column i paints with.
struct TColumnColors {
  gfx::TColor Back = 0;
  gfx::TColor Bar = 0;
  gfx::TColor Random = 0;
  gfx::TColor Separator = 0;
  friend bool operator==(const TColumnColors&, const TColumnColors&) = default;
};

// The column colours of both groups and of inactive columns, worked out once per colour change.
class TColumnShades {
 public:
  explicit TColumnShades(const TGridColors& colors = {});
  // The first group of four (steps 1-4, 9-12, ...) is the darker one.
  const TColumnColors& Of(const TGridLayout& layout, int i) const {
    if (!layout.Active(i)) return inactive_;
    return TGridLayout::DarkGroup(i) ? dark_ : plain_;
  }

 private:
  TColumnColors dark_, plain_, inactive_;
};

}  // namespace vornix::editor
