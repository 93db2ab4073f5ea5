#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/Canvas.h"

namespace vornix::gfx {
namespace {

constexpr TColor kBack = Rgb(10, 20, 30);
constexpr TColor kInk = Rgb(200, 100, 50);

// The rows of a bitmap as text: '#' for ink, '.' for the background, '?' for anything else.
std::vector<std::string> Picture(const TBitmap& b, TColor ink = kInk, TColor back = kBack) {
  std::vector<std::string> rows;
  for (int y = 0; y < b.Height(); ++y) {
    std::string row;
    for (int x = 0; x < b.Width(); ++x) {
      const TColor c = b.Pixel(x, y);
      row += c == ink ? '#' : c == back ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

int CountInk(const TBitmap& b, TColor ink = kInk) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) == ink;
  }
  return n;
}

TEST(CanvasTest, FillRectCoversLeftTopAndExcludesRightBottom) {
  TBitmap b(6, 4, kBack);
  TCanvas c(b);
  c.FillRect({1, 1, 4, 3}, kInk);
  EXPECT_EQ(Picture(b), (std::vector<std::string>{"......", ".###..", ".###..", "......"}));
}

TEST(CanvasTest, OriginAndClipPlaceAndCutAChildsPainting) {
  TBitmap b(8, 6, kBack);
  TCanvas c(b);
  {
    TCanvasScope child(c, TRect::FromSize(2, 1, 4, 3));
    EXPECT_EQ(c.Origin(), (TPoint{2, 1}));
    EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 4, 3}));
    c.FillRect({-5, -5, 50, 50}, kInk);  // cut to the child
    c.SetPixel(-1, 0, Rgb(1, 1, 1));     // outside: nothing
  }
  EXPECT_EQ(Picture(b),
            (std::vector<std::string>{"........", "..####..", "..####..", "..####..", "........", "........"}));
  // The scope restored the canvas.
  EXPECT_EQ(c.Origin(), (TPoint{0, 0}));
  EXPECT_EQ(c.ClipRect(), b.Bounds());
}

TEST(CanvasTest, NestedScopesIntersectClipsAndAddOrigins) {
  TBitmap b(10, 10, kBack);
  TCanvas c(b);
  TCanvasScope outer(c, {2, 2, 8, 8});
  TCanvasScope inner(c, {3, 3, 10, 10});  // reaches past the outer one
  EXPECT_EQ(c.Origin(), (TPoint{5, 5}));
  EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 3, 3}));
  c.FillRect({0, 0, 100, 100}, kInk);
  EXPECT_EQ(CountInk(b), 9);
  EXPECT_EQ(b.Pixel(5, 5), kInk);
  EXPECT_EQ(b.Pixel(7, 7), kInk);
  EXPECT_EQ(b.Pixel(8, 8), kBack);
}

TEST(CanvasTest, TranslucentFillBlends) {
  TBitmap b(2, 1, Rgb(0, 0, 0));
  TCanvas c(b);
  c.FillRect({0, 0, 1, 1}, Argb(128, 255, 0, 0));
  c.FillRect({1, 0, 2, 1}, Argb(0, 255, 0, 0));
  EXPECT_EQ(b.Pixel(0, 0), Rgb(128, 0, 0));
  EXPECT_EQ(b.Pixel(1, 0), Rgb(0, 0, 0));
}

TEST(CanvasTest, LinesLeaveOutTheirEndUnlessInclusive) {
  TBitmap b(8, 8, kBack);
  TCanvas c(b);
  c.Line(1, 0, 5, 0, kInk);  // 1..4
  c.Line(5, 1, 1, 1, kInk);  // leftwards: 5..2
  c.Line(0, 2, 3, 2, kInk, TLineEnd::Inclusive);
  c.Line(7, 0, 7, 3, kInk);  // 0..2
  c.Line(0, 4, 3, 7, kInk);  // diagonal: (0,4) (1,5) (2,6)
  c.Line(4, 4, 4, 4, kInk);  // nothing
  c.Line(6, 6, 6, 6, kInk, TLineEnd::Inclusive);
  EXPECT_EQ(Picture(b), (std::vector<std::string>{".####..#", "..####.#", "####...#", "........", "#.......",
                                                  ".#......", "..#...#.", "........"}));
}

TEST(CanvasTest, BresenhamLineReachesItsEndAlongTheMajorAxis) {
  TBitmap b(8, 4, kBack);
  TCanvas c(b);
  c.Line(0, 0, 7, 3, kInk, TLineEnd::Inclusive);
  EXPECT_EQ(CountInk(b), 8);  // one pixel per column
  EXPECT_EQ(b.Pixel(0, 0), kInk);
  EXPECT_EQ(b.Pixel(7, 3), kInk);
  for (int x = 0; x < 8; ++x) {
    int inColumn = 0;
    for (int y = 0; y < 4; ++y) inColumn += b.Pixel(x, y) == kInk;
    EXPECT_EQ(inColumn, 1) << x;
  }
  // The same line backwards covers the same pixels.
  TBitmap back(8, 4, kBack);
  TCanvas cb(back);
  cb.Line(7, 3, 0, 0, kInk, TLineEnd::Inclusive);
  EXPECT_EQ(CountInk(back), 8);
  EXPECT_EQ(back.Pixel(0, 0), kInk);
}

TEST(CanvasTest, HorizontalAndVerticalLinesCoverHalfOpenRanges) {
  TBitmap b(5, 5, kBack);
  TCanvas c(b);
  c.HLine(1, 4, 0, kInk);
  c.VLine(0, 1, 5, kInk);
  EXPECT_EQ(Picture(b), (std::vector<std::string>{".###.", "#....", "#....", "#....", "#...."}));
}

TEST(CanvasTest, FrameWithPenWidthLiesInsideTheRectangle) {
  TBitmap b(8, 7, kBack);
  TCanvas c(b);
  c.FrameRect({1, 1, 7, 7}, kInk, 2);
  EXPECT_EQ(Picture(b), (std::vector<std::string>{"........", ".######.", ".######.", ".##..##.", ".##..##.",
                                                  ".######.", ".######."}));
  TBitmap one(4, 4, kBack);
  TCanvas c1(one);
  c1.FrameRect(one.Bounds(), kInk);
  EXPECT_EQ(Picture(one), (std::vector<std::string>{"####", "#..#", "#..#", "####"}));
}

TEST(CanvasTest, TranslucentFrameBlendsEveryPixelOnce) {
  TBitmap b(6, 6, Rgb(0, 0, 0));
  TCanvas c(b);
  c.FrameRect(b.Bounds(), Argb(128, 255, 255, 255), 2);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) {
      const bool frame = x < 2 || x >= 4 || y < 2 || y >= 4;
      EXPECT_EQ(b.Pixel(x, y), frame ? Rgb(128, 128, 128) : Rgb(0, 0, 0)) << x << "," << y;
    }
  }
}

// Mirror symmetry, left to right and top to bottom, and a solid middle.
void ExpectSymmetric(const TBitmap& b) {
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      ASSERT_EQ(b.Pixel(x, y), b.Pixel(b.Width() - 1 - x, y)) << x << "," << y;
      ASSERT_EQ(b.Pixel(x, y), b.Pixel(x, b.Height() - 1 - y)) << x << "," << y;
    }
  }
}

TEST(CanvasTest, RoundRectCornersAreSymmetricAndAntiAliased) {
  for (int radius = 2; radius <= 10; ++radius) {
    SCOPED_TRACE(radius);
    TBitmap b(30, 24, Rgb(0, 0, 0));
    TCanvas c(b);
    c.FillRoundRect(b.Bounds(), radius, Rgb(255, 255, 255));
    ExpectSymmetric(b);
    // The corner pixel lies (almost) outside the arc.
    EXPECT_LT(RedOf(b.Pixel(0, 0)), radius >= 4 ? 1 : 100);
    EXPECT_EQ(b.Pixel(15, 0), Rgb(255, 255, 255));
    EXPECT_EQ(b.Pixel(0, 12), Rgb(255, 255, 255));
    EXPECT_EQ(b.Pixel(radius, radius), Rgb(255, 255, 255));
    // The top-left corner is symmetric about its diagonal and has partly covered pixels.
    int partial = 0;
    for (int y = 0; y < radius; ++y) {
      for (int x = 0; x < radius; ++x) {
        EXPECT_EQ(b.Pixel(x, y), b.Pixel(y, x));
        partial += RedOf(b.Pixel(x, y)) > 0 && RedOf(b.Pixel(x, y)) < 255;
      }
    }
    EXPECT_GT(partial, 0);
    // Coverage grows away from the corner along the edge.
    for (int x = 1; x < radius; ++x) EXPECT_GE(RedOf(b.Pixel(x, 0)), RedOf(b.Pixel(x - 1, 0)));
  }
}

TEST(CanvasTest, RoundRectFrameIsSymmetricAndLeavesTheInsideAlone) {
  for (int pen = 1; pen <= 3; ++pen) {
    for (int radius = 2; radius <= 10; ++radius) {
      SCOPED_TRACE(std::to_string(radius) + " pen " + std::to_string(pen));
      TBitmap b(31, 25, Rgb(0, 0, 0));
      TCanvas c(b);
      c.FrameRoundRect(b.Bounds(), radius, Rgb(255, 255, 255), pen);
      ExpectSymmetric(b);
      EXPECT_EQ(b.Pixel(15, 12), Rgb(0, 0, 0));
      EXPECT_EQ(b.Pixel(15, pen), Rgb(0, 0, 0));
      EXPECT_EQ(b.Pixel(15, pen - 1), Rgb(255, 255, 255));
      EXPECT_EQ(b.Pixel(pen - 1, 12), Rgb(255, 255, 255));
      EXPECT_EQ(b.Pixel(pen, 12), Rgb(0, 0, 0));
      EXPECT_LT(RedOf(b.Pixel(0, 0)), radius >= 4 ? 1 : 100);
    }
  }
}

TEST(CanvasTest, RoundRectWithoutRadiusIsARectangle) {
  TBitmap a(9, 7, kBack), b(9, 7, kBack);
  TCanvas ca(a), cb(b);
  ca.FillRoundRect({1, 1, 8, 6}, 0, kInk);
  cb.FillRect({1, 1, 8, 6}, kInk);
  EXPECT_EQ(Picture(a), Picture(b));
}

TEST(CanvasTest, VerticalGradientRunsFromTopToBottomColour) {
  TBitmap b(3, 5);
  TCanvas c(b);
  c.FillGradientV(b.Bounds(), Rgb(0, 0, 0), Rgb(200, 100, 40));
  EXPECT_EQ(b.Pixel(1, 0), Rgb(0, 0, 0));
  EXPECT_EQ(b.Pixel(1, 2), Rgb(100, 50, 20));
  EXPECT_EQ(b.Pixel(1, 4), Rgb(200, 100, 40));
  EXPECT_EQ(b.Pixel(0, 3), b.Pixel(2, 3));
}

TBitmap GlyphSource() {
  // magenta key, black ink, a white pixel and a half-transparent red one
  TBitmap g(3, 2, kMagenta);
  g.SetPixel(0, 0, kBlack);
  g.SetPixel(1, 0, kWhite);
  g.SetPixel(2, 1, Argb(128, 255, 0, 0));
  return g;
}

TEST(CanvasTest, KeyedBlitLeavesMagentaOut) {
  TBitmap b(4, 3, Rgb(0, 0, 0));
  TCanvas c(b);
  c.DrawBitmapKeyed(1, 1, GlyphSource(), GlyphSource().Bounds());
  EXPECT_EQ(b.Pixel(1, 1), kBlack);
  EXPECT_EQ(b.Pixel(2, 1), kWhite);
  EXPECT_EQ(b.Pixel(3, 1), Rgb(0, 0, 0));  // magenta: left out
  EXPECT_EQ(b.Pixel(1, 2), Rgb(0, 0, 0));
  EXPECT_EQ(b.Pixel(3, 2), Rgb(128, 0, 0));  // blended
}

TEST(CanvasTest, RecolourTurnsBlackIntoTheColourAndMagentaTransparent) {
  const TBitmap r = RecolorBitmap(GlyphSource(), Rgb(1, 2, 3));
  EXPECT_EQ(r.Pixel(0, 0), Rgb(1, 2, 3));
  EXPECT_EQ(r.Pixel(1, 0), kWhite);
  EXPECT_EQ(r.Pixel(2, 0), kTransparent);
  EXPECT_EQ(r.Pixel(2, 1), Argb(128, 255, 0, 0));
  // Drawn with alpha, the transparent pixels leave the target alone.
  TBitmap b(3, 2, kBack);
  TCanvas c(b);
  c.DrawBitmap(0, 0, r);
  EXPECT_EQ(b.Pixel(0, 0), Rgb(1, 2, 3));
  EXPECT_EQ(b.Pixel(0, 1), kBack);
}

TEST(CanvasTest, BitmapBlitClipsAtEveryEdge) {
  TBitmap src(4, 4, kInk);
  TBitmap b(5, 5, kBack);
  TCanvas c(b);
  c.DrawBitmap(-2, 3, src);
  EXPECT_EQ(CountInk(b), 4);  // columns 0..1, rows 3..4
  EXPECT_EQ(b.Pixel(1, 4), kInk);
  c.DrawBitmap(4, -1, src, {1, 1, 4, 4});  // the part 1..3 at x 4 (cut), y −1
  EXPECT_EQ(b.Pixel(4, 0), kInk);
  EXPECT_EQ(b.Pixel(4, 1), kInk);
  EXPECT_EQ(b.Pixel(4, 2), kBack);
}

TEST(CanvasTest, StitchedStripShowsTheChosenGlyph) {
  TBitmap strip(3, 6, Rgb(1, 1, 1));
  for (int y = 3; y < 6; ++y) {
    for (int x = 0; x < 3; ++x) strip.SetPixel(x, y, Rgb(2, 2, 2));
  }
  EXPECT_EQ(StitchedGlyphRect(strip, 2, 1), (TRect{0, 3, 3, 6}));
  EXPECT_EQ(StitchedGlyphRect(strip, 2, 7), (TRect{0, 3, 3, 6}));
  EXPECT_EQ(StitchedGlyphRect(strip, 2, -1), (TRect{0, 0, 3, 3}));
  TBitmap b(5, 5, kBack);
  TCanvas c(b);
  c.DrawStitched(1, 1, strip, 2, 1);
  EXPECT_EQ(b.Pixel(1, 1), Rgb(2, 2, 2));
  EXPECT_EQ(b.Pixel(3, 3), Rgb(2, 2, 2));
  EXPECT_EQ(b.Pixel(4, 4), kBack);
  c.DrawStitched(1, 1, strip, 2, 0);
  EXPECT_EQ(b.Pixel(2, 2), Rgb(1, 1, 1));
}

TBitmap NumberedTile() {
  TBitmap tile(4, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) tile.SetPixel(x, y, Rgb(x, y, 99));
  }
  return tile;
}

TEST(CanvasTest, TilesContinueFromTheWindowOriginInAChild) {
  const TBitmap tile = NumberedTile();
  TBitmap b(11, 9);
  TCanvas c(b);
  c.FillTiled({0, 0, 11, 9}, tile);
  {
    // A child repaints its part in its own coordinates: the pattern continues unbroken.
    TCanvasScope child(c, TRect::FromSize(3, 2, 5, 5));
    c.FillRect({0, 0, 5, 5}, kInk);
    c.FillTiled({0, 0, 5, 5}, tile);
  }
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 11; ++x) EXPECT_EQ(b.Pixel(x, y), Rgb(x % 4, y % 3, 99)) << x << "," << y;
  }
}

TEST(CanvasTest, TilesStartAtAnAnchor) {
  const TBitmap tile = NumberedTile();
  TBitmap b(6, 6);
  TCanvas c(b);
  c.FillTiled(b.Bounds(), tile, {5, 4});
  // The tile starts at (5, 4); left of and above it the pattern runs on backwards.
  EXPECT_EQ(b.Pixel(5, 4), Rgb(0, 0, 99));
  EXPECT_EQ(b.Pixel(4, 3), Rgb(3, 2, 99));
  EXPECT_EQ(b.Pixel(0, 0), Rgb(3, 2, 99));  // (0 − 5) mod 4 = 3, (0 − 4) mod 3 = 2
}

TEST(CanvasTest, StretchDoublesPixels) {
  TBitmap src(2, 1);
  src.SetPixel(0, 0, Rgb(1, 1, 1));
  src.SetPixel(1, 0, Rgb(2, 2, 2));
  TBitmap b(4, 2);
  TCanvas c(b);
  c.StretchBitmap(b.Bounds(), src, src.Bounds());
  EXPECT_EQ(b.Pixel(1, 1), Rgb(1, 1, 1));
  EXPECT_EQ(b.Pixel(2, 0), Rgb(2, 2, 2));
}

TEST(CanvasTest, CheckMarkStaysInsideItsRectangle) {
  TBitmap b(20, 20, Rgb(0, 0, 0));
  TCanvas c(b);
  c.DrawCheckMark({4, 4, 16, 16}, Rgb(255, 255, 255));
  int ink = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      if (b.Pixel(x, y) == Rgb(0, 0, 0)) continue;
      ++ink;
      EXPECT_TRUE(TRect({4, 4, 16, 16}).Contains(x, y)) << x << "," << y;
    }
  }
  EXPECT_GT(ink, 15);
}

TEST(CanvasTest, RestoreWithoutSaveIsAnError) {
  TBitmap b(1, 1);
  TCanvas c(b);
  EXPECT_THROW(c.Restore(), std::logic_error);
}

}  // namespace
}  // namespace vornix::gfx
