#include "editor/toolkit/ImageList.h"

namespace vornix::editor {

int TImageList::Add(gfx::TImage glyph) {
  images_.push_back(std::move(glyph));
  return Count() - 1;
}

void TImageList::Draw(gfx::TCanvas& canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  const gfx::TImage& glyph = Glyph(index);
  if (enabled) {
    canvas.DrawImage(x, y, glyph);
    return;
  }
  gfx::TBitmap faint = glyph.At(canvas.Scale());
  for (int row = 0; row < faint.Height(); ++row) {
    gfx::TColor* p = faint.Row(row);
    for (int col = 0; col < faint.Width(); ++col) p[col] = gfx::WithAlpha(p[col], gfx::AlphaOf(p[col]) * 2 / 5);
  }
  canvas.DrawBitmap(x, y, faint);
}

}  // namespace vornix::editor
