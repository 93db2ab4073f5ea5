#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "ImageGenerator.h"
#include "gfx/Canvas.h"
#include "gfx/Png.h"
#include "gfx/Resources.h"

namespace vornix::gfx {
namespace {

// The committed files are exactly what the generator draws (run vornix-images resources/images
// after changing it).
TEST(ImagesTest, CommittedImagesAreTheGeneratorsOutput) {
  const auto images = tools::GenerateImages();
  ASSERT_EQ(images.size(), 8u);
  for (const auto& image : images) {
    SCOPED_TRACE(image.Name);
    const TBitmap& embedded = ImageResource(image.Name);
    ASSERT_EQ(embedded.Width(), image.Bitmap.Width());
    ASSERT_EQ(embedded.Height(), image.Bitmap.Height());
    for (int y = 0; y < embedded.Height(); ++y) {
      for (int x = 0; x < embedded.Width(); ++x)
        ASSERT_EQ(embedded.Pixel(x, y), image.Bitmap.Pixel(x, y)) << x << "," << y;
    }
    const auto file = FindResource("images/" + image.Name + ".png");
    const auto encoded = EncodePng(image.Bitmap);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), encoded.begin(), encoded.end())) << "bytes differ";
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
    if (std::string(name).find("DARK") != std::string::npos) EXPECT_GT(onLight, offLight + 144 * 60);
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
