#include "editor/toolkit/Panel.h"

#include <algorithm>

namespace vornix::editor {

void TPanel::Paint(gfx::TCanvas& canvas) {
  if (!Transparent) canvas.FillRect(ClientRect(), Color);
  const int alpha = gfx::Mul255(gfx::AlphaOf(PanelColor), std::clamp(Alpha, 0, 255));
  canvas.FillRoundRect(ClientRect(), BorderRadius, gfx::WithAlpha(PanelColor, alpha));
  if (BorderVisible && BorderWidth > 0) canvas.FrameRoundRect(ClientRect(), BorderRadius, BorderColor, BorderWidth);
}

}  // namespace vornix::editor
