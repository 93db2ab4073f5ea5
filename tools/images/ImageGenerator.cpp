#include "ImageGenerator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gfx/Color.h"

// Everything here is integer arithmetic or IEEE +, −, ×, ÷ and sqrt, which give the same bits on
// every platform, so the images come out byte for byte the same everywhere.

namespace vornix::tools {

namespace {

using gfx::Rgb;
using gfx::TBitmap;
using gfx::TColor;

// A small deterministic generator (xorshift32).
class TRandom {
 public:
  explicit TRandom(std::uint32_t seed) : state_(seed ? seed : 1) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // Uniform in lo..hi.
  int Range(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<std::uint32_t>(hi - lo + 1)); }

 private:
  std::uint32_t state_;
};

int RoundDiv(int a, int b) { return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b); }

// A length of the 100 % drawing at a zoom step, rounded to whole pixels.
int Scaled(int v, int percent) { return (v * percent + 50) / 100; }

// Brushed metal: long horizontal streaks (noise blurred along the row) over row-to-row variation.
// Every blur wraps around, so the tile repeats without a seam in both directions. Zoomed, the tile
// and its streaks grow with the zoom while the grain stays one pixel fine and as strong.
TBitmap EditorBackground(int percent) {
  const int size = Scaled(64, percent);
  const int radius = Scaled(7, percent);  // half the streak blur along a row
  const auto n = static_cast<std::size_t>(size);
  TRandom random(0x5EED5EEDu);
  std::vector<std::vector<int>> noise(n, std::vector<int>(n));
  for (auto& row : noise) {
    for (auto& v : row) v = random.Range(-100, 100);
  }
  std::vector<int> rowOffset(n);
  for (auto& v : rowOffset) v = random.Range(-100, 100);

  // A longer blur sums more samples: scaled back to the spread of the 15 at 100 %.
  const double spread = std::sqrt(15.0 / (2 * radius + 1));
  std::vector<std::vector<int>> streak(n, std::vector<int>(n));
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int sum = 0;
      for (int k = -radius; k <= radius; ++k) sum += noise[y][static_cast<std::size_t>((x + k + size) % size)];
      // about ±100 · √15
      streak[y][x] = percent == 100 ? sum : static_cast<int>(std::lround(sum * spread));
    }
  }
  TBitmap bitmap(size, size);
  for (int y = 0; y < size; ++y) {
    // Neighbouring rows share a little of their brightness, as brushed fibres do.
    const int row = 2 * rowOffset[static_cast<std::size_t>(y)] + rowOffset[static_cast<std::size_t>((y + 1) % size)] +
                    rowOffset[static_cast<std::size_t>((y + size - 1) % size)];  // ±400
    for (int x = 0; x < size; ++x) {
      // Streaks weigh a little more than the rows; the sum spans about ±6 and is limited to it.
      const int fine = noise[y][x];  // a trace of the raw grain keeps it from looking smeared
      const int v = std::clamp(RoundDiv(streak[y][x] * 3 + row * 4 + fine * 2, 400), -6, 6);
      bitmap.SetPixel(x, y, Rgb(58 + v, 58 + v, 60 + v));
    }
  }
  return bitmap;
}

struct TColorF {
  double r = 0, g = 0, b = 0;
};

TColorF Mix(const TColorF& a, const TColorF& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

TColorF FromRgb(int r, int g, int b) {
  return {static_cast<double>(r), static_cast<double>(g), static_cast<double>(b)};
}

// The look of one LED switch strip.
struct TLedStyle {
  TColorF bezelTop, bezelBottom;  // the metal ring, lit from above
  TColorF rim;                    // its outer edge line
  TColorF groove;                 // the dark seam between ring and lens
  TColorF offCentre, offEdge;     // the unlit lens
  TColorF onCore, onMid, onEdge;  // the lit lens from the centre out
  TColorF glow;                   // light spilling onto the ring and around it
  double offShine, onShine;       // strength of the reflection at the top of the lens
  double halo;                    // strength of the glow outside the ring
};

constexpr double kOuter = 10.5;  // outer radius of the ring
constexpr double kLens = 7.5;    // radius of the lens inside it
constexpr double kHalo = 12.0;   // the glow fades out here

// One sample of the switch: its colour and opacity at (dx, dy) from the centre.
void ShadeLed(const TLedStyle& s, bool on, double dx, double dy, TColorF& colour, double& alpha) {
  const double d = std::sqrt(dx * dx + dy * dy);
  if (d >= kOuter) {
    colour = s.glow;
    const double t = (d - kOuter) / (kHalo - kOuter);
    alpha = on && t < 1 ? s.halo * (1 - t) * (1 - t) : 0;
    return;
  }
  alpha = 1;
  if (d >= kLens) {
    // The ring: a vertical light gradient, an edge line outside, a seam inside.
    const double t = (dy + kOuter) / (2 * kOuter);
    colour = Mix(s.bezelTop, s.bezelBottom, t);
    if (d > kOuter - 0.9) colour = Mix(colour, s.rim, 0.85);
    if (d < kLens + 0.9) colour = Mix(colour, s.groove, 0.75);
    if (on) {
      const double spill = std::max(0.0, 1 - (d - kLens) / 1.6);
      colour = Mix(colour, s.glow, 0.55 * spill * spill);
    }
    return;
  }
  const double t = d / kLens;
  if (on) {
    colour = t < 0.5 ? Mix(s.onCore, s.onMid, t / 0.5) : Mix(s.onMid, s.onEdge, (t - 0.5) / 0.5);
  } else {
    colour = Mix(s.offCentre, s.offEdge, t * t);
  }
  // A soft reflection: an ellipse in the upper part of the lens.
  const double ex = dx / 4.8, ey = (dy + 3.4) / 2.6;
  const double q = ex * ex + ey * ey;
  if (q < 1) {
    const double shine = (on ? s.onShine : s.offShine) * (1 - q) * (1 - q);
    colour = Mix(colour, FromRgb(255, 255, 255), shine);
  }
}

// A 24 × 48 strip at 100 %: glyph 0 off above glyph 1 on, 8 × 8 samples per pixel. Zoomed, the
// same shapes are sampled on the finer pixels.
TBitmap LedStrip(const TLedStyle& style, int percent) {
  const int glyphSize = Scaled(24, percent);
  const double unit = glyphSize / 24.0;  // pixels per pixel of the 100 % drawing
  constexpr int kSamples = 8;
  TBitmap bitmap(glyphSize, 2 * glyphSize);
  for (int glyph = 0; glyph < 2; ++glyph) {
    for (int y = 0; y < glyphSize; ++y) {
      for (int x = 0; x < glyphSize; ++x) {
        double r = 0, g = 0, b = 0, a = 0;  // premultiplied sums
        for (int sy = 0; sy < kSamples; ++sy) {
          for (int sx = 0; sx < kSamples; ++sx) {
            const double px = (x + (sx + 0.5) / kSamples) / unit, py = (y + (sy + 0.5) / kSamples) / unit;
            TColorF c;
            double alpha = 0;
            ShadeLed(style, glyph == 1, px - 12.0, py - 12.0, c, alpha);
            r += c.r * alpha;
            g += c.g * alpha;
            b += c.b * alpha;
            a += alpha;
          }
        }
        TColor pixel = 0;
        const int alpha = static_cast<int>(a * 255 / (kSamples * kSamples) + 0.5);
        if (alpha > 0) {
          const auto ch = [&](double v) { return std::clamp(static_cast<int>(v / a + 0.5), 0, 255); };
          pixel = gfx::Argb(alpha, ch(r), ch(g), ch(b));
        }
        bitmap.SetPixel(x, glyph * glyphSize + y, pixel);
      }
    }
  }
  return bitmap;
}

// For dark skins: graphite ring, teal-blue light.
TLedStyle DarkStyle() {
  TLedStyle s;
  s.bezelTop = FromRgb(118, 120, 124);
  s.bezelBottom = FromRgb(40, 41, 44);
  s.rim = FromRgb(16, 16, 18);
  s.groove = FromRgb(18, 19, 21);
  s.offCentre = FromRgb(58, 62, 66);
  s.offEdge = FromRgb(26, 28, 31);
  s.onCore = FromRgb(215, 255, 252);
  s.onMid = FromRgb(52, 200, 222);
  s.onEdge = FromRgb(10, 100, 128);
  s.glow = FromRgb(40, 196, 222);
  s.offShine = 0.22;
  s.onShine = 0.35;
  s.halo = 0.45;
  return s;
}

// For light skins: a mid-grey ring, blue light.
TLedStyle BrightStyle() {
  TLedStyle s;
  s.bezelTop = FromRgb(214, 216, 220);
  s.bezelBottom = FromRgb(128, 131, 138);
  s.rim = FromRgb(96, 99, 106);
  s.groove = FromRgb(84, 87, 94);
  s.offCentre = FromRgb(196, 201, 208);
  s.offEdge = FromRgb(150, 156, 165);
  s.onCore = FromRgb(222, 240, 255);
  s.onMid = FromRgb(70, 146, 240);
  s.onEdge = FromRgb(22, 78, 182);
  s.glow = FromRgb(64, 136, 236);
  s.offShine = 0.55;
  s.onShine = 0.45;
  s.halo = 0.35;
  return s;
}

constexpr TColor kKey = Rgb(255, 0, 255);
constexpr TColor kInk = Rgb(0, 0, 0);

// An upward triangle of six rows, 2 to 12 pixels wide, centred in 16 × 16; the others turn it.
// Zoomed, the square and the number of rows grow and each row still widens by one pixel a side,
// so the edges stay clean steps.
TBitmap Arrow(int direction, int percent) {  // 0 up, 1 down, 2 left, 3 right
  const int size = Scaled(16, percent);
  const int rows = Scaled(6, percent);
  const int first = (size - rows) / 2;  // rows 5..10 at 100 %
  const int mid = size / 2;
  TBitmap bitmap(size, size, kKey);
  for (int row = 0; row < rows; ++row) {
    const int half = row + 1;
    for (int k = mid - half; k < mid + half; ++k) {
      const int along = first + row;
      switch (direction) {
        case 0: bitmap.SetPixel(k, along, kInk); break;
        case 1: bitmap.SetPixel(k, size - 1 - along, kInk); break;
        case 2: bitmap.SetPixel(along, k, kInk); break;
        default: bitmap.SetPixel(size - 1 - along, k, kInk); break;
      }
    }
  }
  return bitmap;
}

// Three bars of 12 × 2 pixels, centred in 16 × 16; zoomed, each edge at its scaled place.
TBitmap MenuGlyph(int percent) {
  const int size = Scaled(16, percent);
  TBitmap bitmap(size, size, kKey);
  for (int top : {3, 7, 11}) {
    for (int y = Scaled(top, percent); y < Scaled(top + 2, percent); ++y) {
      for (int x = Scaled(2, percent); x < Scaled(14, percent); ++x) bitmap.SetPixel(x, y, kInk);
    }
  }
  return bitmap;
}

}  // namespace

std::vector<TGeneratedImage> GenerateImages(int percent) {
  std::vector<TGeneratedImage> images;
  images.push_back({"EditorBackground", EditorBackground(percent)});
  images.push_back({"STITCHED_ONOFF_DARK", LedStrip(DarkStyle(), percent)});
  images.push_back({"STITCHED_ONOFF_BRIGHT", LedStrip(BrightStyle(), percent)});
  images.push_back({"ARROWUP", Arrow(0, percent)});
  images.push_back({"ARROWDOWN", Arrow(1, percent)});
  images.push_back({"ARROWLEFT", Arrow(2, percent)});
  images.push_back({"ARROWRIGHT", Arrow(3, percent)});
  images.push_back({"menu16", MenuGlyph(percent)});
  return images;
}

}  // namespace vornix::tools
