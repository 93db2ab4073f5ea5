// The editor's zoom: controls keep their layout in pixels of the design ("logical" pixels) and the
// canvas draws them at a scale onto the screen's pixels. A logical position v lies at the screen
// pixel Px(v), v · percent / 100 rounded to nearest (halves up), so neighbouring shapes meet
// without gap or overlap at every scale and each logical pixel covers whole screen pixels.
#pragma once

#include <array>
#include <string_view>

#include "gfx/Bitmap.h"
#include "gfx/Font.h"

namespace vornix::gfx {

// The zoom steps the editor offers, in percent. (What is constexpr here the plug-in module uses too,
// for the editor's size before there is an editor.)
inline constexpr std::array<int, 5> kZoomSteps = {100, 125, 150, 175, 200};
// The step nearest to a scale in percent (halfway between two: the larger); at most 200 %, at
// least 100 %.
constexpr int NearestZoomStep(double percent) {
  int best = kZoomSteps.front();
  for (const int step : kZoomSteps) {
    const double d = percent - step, b = percent - best;
    if ((d < 0 ? -d : d) <= (b < 0 ? -b : b)) best = step;
  }
  return best;
}
// The index of a step in kZoomSteps, or -1.
constexpr int ZoomStepIndex(int percent) {
  for (std::size_t i = 0; i < kZoomSteps.size(); ++i) {
    if (kZoomSteps[i] == percent) return static_cast<int>(i);
  }
  return -1;
}

class TScale {
 public:
  constexpr TScale() = default;
  // Percent is limited to 25..800.
  explicit constexpr TScale(int percent) : percent_(percent < 25 ? 25 : percent > 800 ? 800 : percent) {}

  constexpr int Percent() const { return percent_; }
  constexpr bool Identity() const { return percent_ == 100; }

  // A logical coordinate on the screen's pixels.
  constexpr int Px(int v) const {
    if (percent_ == 100) return v;
    return FloorDiv(v * percent_ + 50, 100);
  }
  constexpr TPoint Px(TPoint p) const { return {Px(p.X), Px(p.Y)}; }
  constexpr TRect Px(const TRect& r) const { return {Px(r.Left), Px(r.Top), Px(r.Right), Px(r.Bottom)}; }
  // The logical pixel that covers a screen pixel: the largest v with Px(v) <= d.
  constexpr int Logical(int d) const {
    if (percent_ == 100) return d;
    return FloorDiv(100 * d + 49, percent_);
  }
  constexpr TPoint Logical(TPoint p) const { return {Logical(p.X), Logical(p.Y)}; }
  // The smallest logical rectangle whose pixels cover every screen pixel of r.
  constexpr TRect LogicalCover(const TRect& r) const {
    if (r.Empty()) return {Logical(r.Left), Logical(r.Top), Logical(r.Left), Logical(r.Top)};
    return {Logical(r.Left), Logical(r.Top), Logical(r.Right - 1) + 1, Logical(r.Bottom - 1) + 1};
  }
  // A pen or radius of w logical pixels in whole screen pixels, at least one for a visible pen.
  constexpr int Pen(int w) const {
    if (w <= 0) return 0;
    const int p = Px(w);
    return p < 1 ? 1 : p;
  }

  // The font drawn at this scale: its height scaled.
  TFont Font(const TFont& font) const {
    TFont f = font;
    f.Height = Pen(font.Height);
    return f;
  }
  // Text measured as drawn at this scale, in logical pixels rounded up, so a box of that size
  // holds the scaled text; never less than at 100 %.
  int TextWidth(const TFont& font, std::string_view utf8) const;
  int LineHeight(const TFont& font) const;
  // The longest start of the text (in bytes, on a character boundary) whose scaled width fits
  // maxWidth logical pixels.
  std::size_t TextFit(const TFont& font, std::string_view utf8, int maxWidth) const;
  // Screen pixels to logical ones, rounded up.
  constexpr int CeilLogical(int d) const {
    if (percent_ == 100) return d;
    return -FloorDiv(-d * 100, percent_);
  }

  friend constexpr bool operator==(TScale, TScale) = default;

 private:
  static constexpr int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

  int percent_ = 100;
};

}  // namespace vornix::gfx
