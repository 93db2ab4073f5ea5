#include "editor/toolkit/StitchedSwitch.h"

#include <algorithm>

namespace vornix::editor {

TCustomGuiStitchedSwitch::TCustomGuiStitchedSwitch() { SetBounds(0, 0, 24, 24); }

void TCustomGuiStitchedSwitch::SetStrip(const gfx::TImage& strip, int glyphCount) {
  strip_ = strip;
  glyphCount_ = std::max(glyphCount, 1);
  Invalidate();
  SetGlyphIndex(glyphIndex_);
}

void TCustomGuiStitchedSwitch::SetGlyphIndex(int index) {
  index = std::clamp(index, 0, glyphCount_ - 1);
  if (index == glyphIndex_) return;
  glyphIndex_ = index;
  Invalidate();
  if (!loading_ && OnChange) OnChange(*this);
}

void TCustomGuiStitchedSwitch::Paint(gfx::TCanvas& canvas) {
  if (strip_.Empty()) return;
  // Centred by the 100 % glyph's size; each zoom step's glyph scales with the control.
  const TRect glyph = gfx::StitchedGlyphRect(strip_.At(gfx::TScale()), glyphCount_, glyphIndex_);
  canvas.DrawStitched((Width() - glyph.Width()) / 2, (Height() - glyph.Height()) / 2, strip_, glyphCount_, glyphIndex_);
}

void TCustomGuiStitchedSwitch::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::Left) {
    SetGlyphIndex(glyphIndex_ + 1 < glyphCount_ ? glyphIndex_ + 1 : 0);
  } else if (button == TMouseButton::Right) {
    SetGlyphIndex(glyphIndex_ > 0 ? glyphIndex_ - 1 : glyphCount_ - 1);
  }
  TControl::MouseDown(button, shift, x, y);
}

}  // namespace vornix::editor
