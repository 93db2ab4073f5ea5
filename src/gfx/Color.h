// Colour arithmetic on TColor (0xAARRGGBB, straight alpha): the skin shading functions and the
// blending the canvas uses.
#pragma once

#include "gfx/Bitmap.h"

namespace vornix::gfx {

constexpr TColor kTransparent = 0;
constexpr TColor kBlack = Rgb(0, 0, 0);
constexpr TColor kWhite = Rgb(255, 255, 255);
// The colour key of glyph bitmaps: transparent where a bitmap has this colour.
constexpr TColor kMagenta = Rgb(255, 0, 255);

constexpr TColor WithAlpha(TColor c, int alpha) { return (c & 0xFFFFFFu) | static_cast<TColor>(alpha & 0xFF) << 24; }
constexpr TColor RgbOf(TColor c) { return c & 0xFFFFFFu; }

// v / 255 rounded to nearest, for v in 0..255·255.
constexpr int Div255(int v) {
  const int t = v + 128;
  return (t + (t >> 8)) >> 8;
}
// a · b / 255 rounded to nearest, for a and b in 0..255.
constexpr int Mul255(int a, int b) { return Div255(a * b); }

// Each channel x becomes x − round(x·p/100), and for LightenColor x + round((255 − x)·p/100), with
// halves rounded away from zero. The alpha channel is kept.
TColor DarkenColor(TColor c, int percent);
TColor LightenColor(TColor c, int percent);

// src drawn over dst with src's alpha ("source over", straight alpha on both sides).
inline TColor BlendOver(TColor dst, TColor src) {
  const int sa = AlphaOf(src);
  if (sa == 255) return src;
  if (sa == 0) return dst;
  const int da = AlphaOf(dst);
  if (da == 255) {
    const int da2 = 255 - sa;
    return Rgb(Div255(RedOf(src) * sa + RedOf(dst) * da2), Div255(GreenOf(src) * sa + GreenOf(dst) * da2),
               Div255(BlueOf(src) * sa + BlueOf(dst) * da2));
  }
  // General case: out alpha = sa + da·(1 − sa), colours weighted by their share of it.
  const int dw = Mul255(da, 255 - sa);
  const int oa = sa + dw;
  if (oa == 0) return 0;
  const auto mix = [&](int s, int d) { return (s * sa + d * dw + oa / 2) / oa; };
  return Argb(oa, mix(RedOf(src), RedOf(dst)), mix(GreenOf(src), GreenOf(dst)), mix(BlueOf(src), BlueOf(dst)));
}

// colour drawn over dst at a coverage of 0..255 (its own alpha scaled by the coverage).
inline TColor BlendCoverage(TColor dst, TColor colour, int coverage) {
  return BlendOver(dst, WithAlpha(colour, Mul255(AlphaOf(colour), coverage)));
}

// The straight mix of two colours, all four channels: t = 0 gives a, t = 255 gives b.
inline TColor MixColors(TColor a, TColor b, int t) {
  const auto ch = [&](int x, int y) { return Div255(x * (255 - t) + y * t); };
  return Argb(ch(AlphaOf(a), AlphaOf(b)), ch(RedOf(a), RedOf(b)), ch(GreenOf(a), GreenOf(b)), ch(BlueOf(a), BlueOf(b)));
}

}  // namespace vornix::gfx
