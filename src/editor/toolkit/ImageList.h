// Glyphs of one size for buttons, by index, each drawn for every zoom step.
#pragma once

#include <vector>

#include "gfx/Canvas.h"

namespace vornix::editor {

class TImageList {
 public:
  TImageList() = default;
  TImageList(int width, int height) : width_(width), height_(height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Adds a glyph (of any size; it is drawn from its top left corner) and returns its index.
  int Add(gfx::TImage glyph);
  int Count() const { return static_cast<int>(images_.size()); }
  const gfx::TImage& Glyph(int index) const { return images_.at(static_cast<std::size_t>(index)); }
  // The glyph as drawn at 100 %.
  const gfx::TBitmap& Image(int index) const { return Glyph(index).At(gfx::TScale()); }
  void Clear() { images_.clear(); }
  // Draws glyph `index` with its alpha, as made for the canvas's scale; a disabled glyph is drawn
  // faint. An index outside the list draws nothing.
  void Draw(gfx::TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

 private:
  int width_ = 16;
  int height_ = 16;
  std::vector<gfx::TImage> images_;
};

}  // namespace vornix::editor
