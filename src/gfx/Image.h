// A picture drawn for every zoom step: the canvas draws the one made for its scale, pixel for
// pixel, so the editor's images stay crisp when it is zoomed (no bitmap is ever stretched).
//
// A step's bitmap is made when it is first asked for (decoded, recoloured), once, from any thread:
// an editor at 100 % never pays for the others. Copies share what is made.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <mutex>

#include "gfx/Bitmap.h"
#include "gfx/Scale.h"

namespace vornix::gfx {

class TImage {
 public:
  using TMake = std::function<TBitmap(int percent)>;

  TImage() = default;
  // Makes the bitmap of each step of kZoomSteps when it is first needed.
  explicit TImage(TMake make);
  // One bitmap per step of kZoomSteps, in that order.
  explicit TImage(std::array<TBitmap, kZoomSteps.size()> steps);
  // The same bitmap at every scale (pictures that are no part of the editor's look).
  explicit TImage(const TBitmap& everyScale);

  // The bitmap made for a scale; a scale between the steps takes the step below it.
  const TBitmap& At(TScale scale) const;
  // The size in logical pixels: the bitmap at 100 %.
  int Width() const { return At(TScale()).Width(); }
  int Height() const { return At(TScale()).Height(); }
  bool Empty() const { return At(TScale()).Empty(); }

  // Every step's bitmap changed alike, as each is needed.
  TImage Map(std::function<TBitmap(const TBitmap&)> change) const;

 private:
  struct TSteps {
    TMake make;
    std::array<std::once_flag, kZoomSteps.size()> made;
    std::array<TBitmap, kZoomSteps.size()> bitmaps;
  };
  std::shared_ptr<TSteps> steps_;
};

}  // namespace vornix::gfx
