#include "gfx/Image.h"

#include <mutex>

namespace vornix::gfx {

TImage::TImage(TMake make) : steps_(std::make_shared<TSteps>()) { steps_->make = std::move(make); }

TImage::TImage(std::array<TBitmap, kZoomSteps.size()> steps)
    : TImage([bitmaps = std::make_shared<std::array<TBitmap, kZoomSteps.size()>>(std::move(steps))](int percent) {
        return (*bitmaps)[static_cast<std::size_t>(ZoomStepIndex(percent))];
      }) {}

TImage::TImage(const TBitmap& everyScale) : TImage([everyScale](int) { return everyScale; }) {}

const TBitmap& TImage::At(TScale scale) const {
  static const TBitmap none;
  if (!steps_) return none;
  std::size_t step = 0;
  for (std::size_t i = 0; i < kZoomSteps.size(); ++i) {
    if (kZoomSteps[i] <= scale.Percent()) step = i;
  }
  TSteps& s = *steps_;
  std::call_once(s.made[step], [&] { s.bitmaps[step] = s.make(kZoomSteps[step]); });
  return s.bitmaps[step];
}

TImage TImage::Map(std::function<TBitmap(const TBitmap&)> change) const {
  if (!steps_) return {};
  return TImage(
      [source = *this, change = std::move(change)](int percent) { return change(source.At(TScale(percent))); });
}

}  // namespace vornix::gfx
