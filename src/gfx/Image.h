// A picture drawn for every zoom step: the canvas draws the one made for its scale, pixel for
// pixel, so the editor's images stay crisp when it is zoomed (no bitmap is ever stretched).
#pragma once

#include <array>

#include "gfx/Bitmap.h"
#include "gfx/Scale.h"

namespace vornix::gfx {

class TImage {
 public:
  TImage() = default;
  // One bitmap per step of kZoomSteps, in that order.
  explicit TImage(std::array<TBitmap, kZoomSteps.size()> steps) : steps_(std::move(steps)) {}
  // The same bitmap at every scale (pictures that are no part of the editor's look).
  explicit TImage(const TBitmap& everyScale) { steps_.fill(everyScale); }

  // The bitmap made for a scale; a scale between the steps takes the step below it.
  const TBitmap& At(TScale scale) const;
  // The size in logical pixels: the bitmap at 100 %.
  int Width() const { return steps_[0].Width(); }
  int Height() const { return steps_[0].Height(); }
  bool Empty() const { return steps_[0].Empty(); }

  // Every step's bitmap changed alike.
  template <class F>
  TImage Map(F change) const {
    TImage out;
    for (std::size_t i = 0; i < steps_.size(); ++i) out.steps_[i] = change(steps_[i]);
    return out;
  }

 private:
  std::array<TBitmap, kZoomSteps.size()> steps_;
};

}  // namespace vornix::gfx
