#include "gfx/Image.h"

namespace vornix::gfx {

const TBitmap& TImage::At(TScale scale) const {
  std::size_t best = 0;
  for (std::size_t i = 0; i < kZoomSteps.size(); ++i) {
    if (kZoomSteps[i] <= scale.Percent()) best = i;
  }
  return steps_[best];
}

}  // namespace vornix::gfx
