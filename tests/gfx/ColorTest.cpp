#include <gtest/gtest.h>

#include "gfx/Color.h"

namespace vornix::gfx {
namespace {

struct TShadeCase {
  TColor in;
  int percent;
  TColor darker;
  TColor lighter;
};

TEST(ColorTest, DarkenAndLightenRoundHalvesAwayFromZero) {
  const TShadeCase cases[] = {
      // The step grid's current-step colour: 192 − round(57.6) = 134.
      {Rgb(192, 192, 192), 30, Rgb(134, 134, 134), Rgb(211, 211, 211)},
      // Halves: 50·1/100 = 0.5 → 1; (255 − 205)·1/100 = 0.5 → 1.
      {Rgb(50, 150, 205), 1, Rgb(49, 148, 203), Rgb(52, 151, 206)},
      // (255 − 170)·50/100 = 42.5 → 43, 47.5 → 48, 52.5 → 53; 170·50/100 = 85.
      {Rgb(170, 160, 150), 50, Rgb(85, 80, 75), Rgb(213, 208, 203)},
      // Just below a half rounds down: 36·4/100 = 1.44, (255 − 36)·4/100 = 8.76.
      {Rgb(36, 36, 38), 4, Rgb(35, 35, 36), Rgb(45, 45, 47)},
      {Rgb(42, 42, 43), 10, Rgb(38, 38, 39), Rgb(63, 63, 64)},
      {Rgb(0, 255, 128), 0, Rgb(0, 255, 128), Rgb(0, 255, 128)},
      {Rgb(0, 255, 128), 100, Rgb(0, 0, 0), Rgb(255, 255, 255)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DarkenColor(c.in, c.percent), c.darker) << std::hex << c.in << " " << std::dec << c.percent;
    EXPECT_EQ(LightenColor(c.in, c.percent), c.lighter) << std::hex << c.in << " " << std::dec << c.percent;
  }
}

TEST(ColorTest, ShadingKeepsAlpha) {
  EXPECT_EQ(AlphaOf(DarkenColor(Argb(77, 100, 100, 100), 50)), 77);
  EXPECT_EQ(AlphaOf(LightenColor(Argb(77, 100, 100, 100), 50)), 77);
}

TEST(ColorTest, BlendOverOpaqueAndTransparentTargets) {
  EXPECT_EQ(BlendOver(Rgb(0, 0, 0), Argb(128, 255, 255, 255)), Rgb(128, 128, 128));
  EXPECT_EQ(BlendOver(Rgb(10, 20, 30), Argb(0, 255, 255, 255)), Rgb(10, 20, 30));
  EXPECT_EQ(BlendOver(Rgb(10, 20, 30), Rgb(1, 2, 3)), Rgb(1, 2, 3));
  // Over nothing, a colour keeps its own colour and alpha.
  EXPECT_EQ(BlendOver(kTransparent, Argb(100, 200, 50, 25)), Argb(100, 200, 50, 25));
  // Two halves make three quarters.
  EXPECT_EQ(AlphaOf(BlendOver(Argb(128, 0, 0, 0), Argb(128, 0, 0, 0))), 192);
  EXPECT_EQ(BlendCoverage(Rgb(0, 0, 0), Rgb(255, 0, 0), 51), Rgb(51, 0, 0));
}

TEST(ColorTest, Mul255RoundsToNearest) {
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; b += 17) {
      EXPECT_EQ(Mul255(a, b), (a * b * 2 + 255) / 510) << a << " " << b;
    }
  }
}

}  // namespace
}  // namespace vornix::gfx
