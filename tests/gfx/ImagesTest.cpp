#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

#include "ImageGenerator.h"
#include "gfx/Canvas.h"
#include "gfx/Png.h"
#include "gfx/Resources.h"

namespace vornix::gfx {
namespace {

int Ink(const TBitmap& b) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      const TColor c = RgbOf(b.Pixel(x, y));
      EXPECT_TRUE(c == 0 || c == RgbOf(kMagenta)) << "only black and magenta";
      n += c == 0;
    }
  }
  return n;
}

// The committed files, one per image and zoom step, are exactly what the generator draws (run
// vornix-images resources/images after changing it).
TEST(ImagesTest, CommittedImagesAreTheGeneratorsOutput) {
  for (const int percent : kZoomSteps) {
    const auto images = tools::GenerateImages(percent);
    ASSERT_EQ(images.size(), 8u);
    for (const auto& image : images) {
      SCOPED_TRACE(image.Name + " at " + std::to_string(percent) + " %");
      const TBitmap& embedded = ScaledImage(image.Name).At(TScale(percent));
      ASSERT_EQ(embedded.Width(), image.Bitmap.Width());
      ASSERT_EQ(embedded.Height(), image.Bitmap.Height());
      for (int y = 0; y < embedded.Height(); ++y) {
        for (int x = 0; x < embedded.Width(); ++x)
          ASSERT_EQ(embedded.Pixel(x, y), image.Bitmap.Pixel(x, y)) << x << "," << y;
      }
      const auto file = FindResource("images/" + ImageFileStem(image.Name, percent) + ".png");
      const auto encoded = EncodePng(image.Bitmap);
      EXPECT_TRUE(std::equal(file.begin(), file.end(), encoded.begin(), encoded.end())) << "bytes differ";
    }
  }
  EXPECT_EQ(&ImageResource("ARROWUP"), &ScaledImage("ARROWUP").At(TScale()));
}

// Zoomed, every image is drawn anew at the scaled size: the same things, more pixels.
TEST(ImagesTest, EachZoomStepHasItsOwnDrawingAtTheScaledSize) {
  for (const int percent : kZoomSteps) {
    SCOPED_TRACE(std::to_string(percent) + " %");
    const TScale scale(percent);
    const auto size = [&](const char* name) {
      const TBitmap& b = ScaledImage(name).At(scale);
      return std::pair{b.Width(), b.Height()};
    };
    EXPECT_EQ(size("EditorBackground"), std::pair(scale.Px(64), scale.Px(64)));
    EXPECT_EQ(size("STITCHED_ONOFF_DARK"), std::pair(scale.Px(24), 2 * scale.Px(24)));
    EXPECT_EQ(size("ARROWUP"), std::pair(scale.Px(16), scale.Px(16)));
    EXPECT_EQ(size("menu16"), std::pair(scale.Px(16), scale.Px(16)));
    // The background is the same quiet metal; the switch glyphs are round and see-through around.
    const TBitmap& tile = ScaledImage("EditorBackground").At(scale);
    long sum = 0;
    for (int y = 0; y < tile.Height(); ++y) {
      for (int x = 0; x < tile.Width(); ++x) {
        ASSERT_GE(RedOf(tile.Pixel(x, y)), 52);
        ASSERT_LE(RedOf(tile.Pixel(x, y)), 64);
        sum += RedOf(tile.Pixel(x, y));
      }
    }
    EXPECT_NEAR(static_cast<double>(sum) / (tile.Width() * tile.Height()), 58.0, 1.0);
    const TBitmap& strip = ScaledImage("STITCHED_ONOFF_BRIGHT").At(scale);
    const int n = strip.Width();
    EXPECT_EQ(AlphaOf(strip.Pixel(0, 0)), 0);
    EXPECT_EQ(AlphaOf(strip.Pixel(n / 2, n / 2)), 255);
    for (int x = 0; x < n; ++x) EXPECT_EQ(AlphaOf(strip.Pixel(x, n / 3)), AlphaOf(strip.Pixel(n - 1 - x, n / 3)));
    // The arrow: rows one pixel wider at each side than the one before, so its edges are clean
    // steps; the menu glyph's bars keep their gaps.
    const TBitmap& up = ScaledImage("ARROWUP").At(scale);
    int rows = 0, last = 0;
    for (int y = 0; y < up.Height(); ++y) {
      int ink = 0;
      for (int x = 0; x < up.Width(); ++x) ink += up.Pixel(x, y) == kBlack;
      if (ink == 0) continue;
      ++rows;
      EXPECT_EQ(ink, last + 2) << "row " << y;
      last = ink;
    }
    EXPECT_EQ(rows, scale.Px(6));
    EXPECT_EQ(Ink(ScaledImage("menu16").At(scale)), 3 * scale.Px(12) * (scale.Px(5) - scale.Px(3)));
  }
}

TEST(ImagesTest, BackgroundIsQuietMetalThatTilesWithoutASeam) {
  const TBitmap& tile = ImageResource("EditorBackground");
  ASSERT_EQ(tile.Width(), 64);
  ASSERT_EQ(tile.Height(), 64);
  long sum = 0;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const TColor c = tile.Pixel(x, y);
      ASSERT_EQ(AlphaOf(c), 255);
      ASSERT_GE(RedOf(c), 52);
      ASSERT_LE(RedOf(c), 64);
      ASSERT_EQ(GreenOf(c), RedOf(c));
      ASSERT_EQ(BlueOf(c), RedOf(c) + 2);
      sum += RedOf(c);
    }
  }
  EXPECT_NEAR(static_cast<double>(sum) / (64 * 64), 58.0, 1.0);
  // Neighbouring columns differ as little across the tile's edge as inside it, and so do rows.
  const auto columnStep = [&](int a, int b) {
    long d = 0;
    for (int y = 0; y < 64; ++y) d += std::abs(RedOf(tile.Pixel(a, y)) - RedOf(tile.Pixel(b, y)));
    return d;
  };
  const auto rowStep = [&](int a, int b) {
    long d = 0;
    for (int x = 0; x < 64; ++x) d += std::abs(RedOf(tile.Pixel(x, a)) - RedOf(tile.Pixel(x, b)));
    return d;
  };
  long maxColumn = 0, maxRow = 0;
  for (int i = 0; i < 63; ++i) {
    maxColumn = std::max(maxColumn, columnStep(i, i + 1));
    maxRow = std::max(maxRow, rowStep(i, i + 1));
  }
  EXPECT_LE(columnStep(63, 0), maxColumn);
  EXPECT_LE(rowStep(63, 0), maxRow);
  // The grain runs horizontally: along a row the metal changes less than from row to row.
  long along = 0, across = 0;
  for (int i = 0; i < 63; ++i) {
    along += columnStep(i, i + 1);
    across += rowStep(i, i + 1);
  }
  EXPECT_LT(along, across);
}

TEST(ImagesTest, SwitchStripsHoldAnOffAndAnOnGlyph) {
  for (const char* name : {"STITCHED_ONOFF_DARK", "STITCHED_ONOFF_BRIGHT"}) {
    SCOPED_TRACE(name);
    const TBitmap& strip = ImageResource(name);
    ASSERT_EQ(strip.Width(), 24);
    ASSERT_EQ(strip.Height(), 48);
    // Over the lens the lit glyph is clearly blue, the unlit one grey.
    int offBlue = 0, onBlue = 0, offLight = 0, onLight = 0;
    for (int y = 6; y < 18; ++y) {
      for (int x = 6; x < 18; ++x) {
        const TColor off = strip.Pixel(x, y), on = strip.Pixel(x, y + 24);
        ASSERT_EQ(AlphaOf(off), 255);
        ASSERT_EQ(AlphaOf(on), 255);
        offBlue += BlueOf(off) - RedOf(off);
        onBlue += BlueOf(on) - RedOf(on);
        offLight += GreenOf(off);
        onLight += GreenOf(on);
      }
    }
    EXPECT_GT(onBlue, offBlue + 144 * 60);
    if (std::string(name).find("DARK") != std::string::npos) {
      EXPECT_GT(onLight, offLight + 144 * 60);
    }
    // Round, with anti-aliased, transparent surroundings.
    EXPECT_EQ(AlphaOf(strip.Pixel(0, 0)), 0);
    EXPECT_EQ(AlphaOf(strip.Pixel(23, 47)), 0);
    int partial = 0;
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 24; ++x) {
        const int a = AlphaOf(strip.Pixel(x, y));
        partial += a > 0 && a < 255;
        // Symmetric left to right in shape.
        EXPECT_EQ(a, AlphaOf(strip.Pixel(23 - x, y))) << x << "," << y;
      }
    }
    EXPECT_GT(partial, 20);
  }
}

TEST(ImagesTest, GlyphsAreSolidBlackOnMagenta) {
  const TBitmap& up = ImageResource("ARROWUP");
  const TBitmap& down = ImageResource("ARROWDOWN");
  const TBitmap& left = ImageResource("ARROWLEFT");
  const TBitmap& right = ImageResource("ARROWRIGHT");
  EXPECT_EQ(Ink(up), 2 + 4 + 6 + 8 + 10 + 12);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      EXPECT_EQ(up.Pixel(x, y), down.Pixel(x, 15 - y));
      EXPECT_EQ(up.Pixel(x, y), left.Pixel(y, x));
      EXPECT_EQ(left.Pixel(x, y), right.Pixel(15 - x, y));
      EXPECT_EQ(up.Pixel(x, y), up.Pixel(15 - x, y));  // centred
    }
  }
  const TBitmap& menu = ImageResource("menu16");
  EXPECT_EQ(Ink(menu), 3 * 12 * 2);
  EXPECT_EQ(menu.Pixel(2, 3), kBlack);
  EXPECT_EQ(menu.Pixel(13, 12), kBlack);
  EXPECT_EQ(menu.Pixel(1, 3), kMagenta);
  EXPECT_EQ(menu.Pixel(2, 5), kMagenta);
  // Recoloured, the glyph keeps only its shape.
  const TBitmap tinted = RecolorBitmap(menu, Rgb(220, 220, 220));
  EXPECT_EQ(tinted.Pixel(2, 3), Rgb(220, 220, 220));
  EXPECT_EQ(tinted.Pixel(0, 0), kTransparent);
}

}  // namespace
}  // namespace vornix::gfx
