// The canvas at a zoom: logical pixels on the bitmap's pixels, shapes meeting without gap or
// overlap, whole-pixel frames, crisp text at the scaled size and images drawn for the scale.
#include <gtest/gtest.h>

#include <string>

#include "gfx/Canvas.h"
#include "gfx/Resources.h"
#include "gfx/Scale.h"

namespace vornix::gfx {
namespace {

constexpr TColor kBack = Rgb(255, 255, 255);
constexpr TColor kInk = Rgb(200, 100, 50);

class AtEveryZoom : public ::testing::TestWithParam<int> {
 protected:
  TScale scale{GetParam()};
};

TEST_P(AtEveryZoom, LogicalPixelsCoverWholeScreenPixelsAndEveryScreenPixelBelongsToOne) {
  for (int v = -40; v < 400; ++v) {
    const int first = scale.Px(v), next = scale.Px(v + 1);
    ASSERT_GE(next - first, GetParam() / 100) << v;
    ASSERT_LE(next - first, (GetParam() + 99) / 100) << v;
    for (int d = first; d < next; ++d) ASSERT_EQ(scale.Logical(d), v) << d;
  }
  EXPECT_EQ(scale.Px(786), 786 * GetParam() / 100 + (786 * GetParam() % 100 >= 50 ? 1 : 0));
  EXPECT_EQ(scale.LogicalCover({scale.Px(10), scale.Px(20), scale.Px(30), scale.Px(40)}), (TRect{10, 20, 30, 40}));
}

// Neighbours meet exactly, whichever of them paints last; each lands on its scaled edges.
TEST_P(AtEveryZoom, NeighbouringRectanglesMeetWithoutGapOrOverlap) {
  TBitmap b(scale.Px(60), scale.Px(20), kBack);
  TCanvas c(b, scale);
  for (int i = 0; i < 20; ++i) c.FillRect({3 * i, 0, 3 * i + 3, 20}, Argb(128, 0, 0, 255));
  for (int x = 0; x < b.Width(); ++x) ASSERT_EQ(b.Pixel(x, 5), Rgb(127, 127, 255)) << "blended once at " << x;
  // A child's own coordinates are the form's, moved: the same pixels.
  TBitmap a(b.Width(), b.Height(), kBack), d(b.Width(), b.Height(), kBack);
  TCanvas ca(a, scale), cd(d, scale);
  ca.FillRect({7, 3, 19, 11}, kInk);
  {
    TCanvasScope child(cd, {5, 1, 40, 15});
    cd.FillRect({2, 2, 14, 10}, kInk);
  }
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) ASSERT_EQ(a.Pixel(x, y), d.Pixel(x, y)) << x << "," << y;
  }
  EXPECT_EQ(a.Pixel(scale.Px(7), scale.Px(3)), kInk);
  EXPECT_EQ(a.Pixel(scale.Px(7) - 1, scale.Px(3)), kBack);
  EXPECT_EQ(a.Pixel(scale.Px(19) - 1, scale.Px(11) - 1), kInk);
  EXPECT_EQ(a.Pixel(scale.Px(19), scale.Px(11) - 1), kBack);
}

// Each edge of a frame is one logical pixel on the screen: whole pixels, nothing blended.
TEST_P(AtEveryZoom, FramesAreOneScaledPixelWide) {
  const TRect r{5, 4, 41, 23};
  TBitmap b(scale.Px(50), scale.Px(30), kBack);
  TCanvas c(b, scale);
  c.FrameRect(r, kInk);
  const TRect s = scale.Px(r);
  const int left = scale.Px(r.Left + 1) - s.Left, right = s.Right - scale.Px(r.Right - 1);
  const int top = scale.Px(r.Top + 1) - s.Top, bottom = s.Bottom - scale.Px(r.Bottom - 1);
  for (const int w : {left, right, top, bottom}) {
    EXPECT_GE(w, GetParam() / 100);
    EXPECT_LE(w, (GetParam() + 99) / 100);
  }
  const int y = (s.Top + s.Bottom) / 2, x = (s.Left + s.Right) / 2;
  for (int i = s.Left - 1; i <= s.Right; ++i) {
    const bool ink = (i >= s.Left && i < s.Left + left) || (i >= s.Right - right && i < s.Right);
    ASSERT_EQ(b.Pixel(i, y), ink ? kInk : kBack) << "column " << i;
  }
  for (int j = s.Top - 1; j <= s.Bottom; ++j) {
    const bool ink = (j >= s.Top && j < s.Top + top) || (j >= s.Bottom - bottom && j < s.Bottom);
    ASSERT_EQ(b.Pixel(x, j), ink ? kInk : kBack) << "row " << j;
  }
  // A rounded frame's straight parts take the scaled pen, whole pixels wide.
  TBitmap rb(scale.Px(50), scale.Px(30), kBack);
  TCanvas rc(rb, scale);
  rc.FrameRoundRect(r, 4, kInk);
  int pen = 0;
  for (int j = s.Top; rb.Pixel(x, j) == kInk; ++j) ++pen;
  EXPECT_EQ(pen, scale.Pen(1));
  EXPECT_EQ(rb.Pixel(x, s.Top + pen), kBack);
}

// Text is drawn from the font at the scaled size: its baseline, cap height and stems land on whole
// pixels, as at 100 %.
TEST_P(AtEveryZoom, TextIsCrispAtTheScaledSize) {
  for (const TFont& font : {TFont::SegoeUI(12, true), TFont::SegoeUI(13), TFont::Tahoma(11), TFont::Tahoma(21, true)}) {
    SCOPED_TRACE(std::string(FontFaceName(font.Face)) + " " + std::to_string(font.Height));
    const TFont scaled = scale.Font(font);
    EXPECT_EQ(scaled.Height, scale.Px(font.Height));
    const TFontMetrics m = FontMetrics(scaled);
    TBitmap b(scale.Px(60), scale.Px(50), kBack);
    TCanvas c(b, scale);
    c.TextOut(3, 5, "H", font);
    const int baseline = scale.Px(5) + m.Ascent;
    int top = b.Height(), bottom = -1;
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) {
        if (b.Pixel(x, y) == kBack) continue;
        top = std::min(top, y);
        bottom = std::max(bottom, y + 1);
      }
    }
    EXPECT_EQ(bottom, baseline);
    EXPECT_EQ(bottom - top, m.CapHeight);
    // The edges fall on pixel boundaries: the top and bottom rows and a row through the stems hold
    // solid ink, not just the grey of an edge split between two pixels.
    for (const int y : {top, bottom - 1, top + m.CapHeight / 4}) {
      int solid = 0;
      for (int x = 0; x < b.Width(); ++x) solid += RedOf(b.Pixel(x, y)) < 64;
      EXPECT_GE(solid, 2) << "row " << y;
    }
  }
}

// Measured in logical pixels, scaled text fits the box measured for it.
TEST_P(AtEveryZoom, TextFitsTheLogicalWidthMeasuredForIt) {
  const TFont font = TFont::SegoeUI(13, true);
  for (const char* text : {"Steps", "Note Retrigger One Shot", "Sequence title with 33 letters!"}) {
    const int logical = scale.TextWidth(font, text);
    EXPECT_GE(scale.Px(logical), TextWidth(scale.Font(font), text)) << text;
    EXPECT_GE(logical, TextWidth(font, text)) << text;
    EXPECT_TRUE(scale.Px(logical - 1) <= TextWidth(scale.Font(font), text) + 1 || logical == TextWidth(font, text))
        << text;
    const std::size_t fit = scale.TextFit(font, text, logical - 1);
    EXPECT_LT(fit, std::string_view(text).size());
    EXPECT_LE(scale.TextWidth(font, std::string_view(text).substr(0, fit)), logical - 1);
  }
  EXPECT_GE(scale.Px(scale.LineHeight(font)), FontMetrics(scale.Font(font)).LineHeight);
  EXPECT_GE(scale.LineHeight(font), FontMetrics(font).LineHeight);
  // In the box measured for it, the text loses nothing to the box's edges.
  const auto inkOf = [&](const TRect& box, THAlign align) {
    TBitmap b(scale.Px(200), scale.Px(30), kBack);
    TCanvas(b, scale).DrawText(box, "Trigger", font, align);
    int ink = 0;
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) ink += b.Pixel(x, y) != kBack;
    }
    return ink;
  };
  const int w = scale.TextWidth(font, "Trigger");
  // (A pixel more, as the editor's labels take: the last glyph's ink may reach past its advance.)
  EXPECT_EQ(inkOf({10, 5, 10 + w + 1, 25}, THAlign::Left), inkOf({10, 5, 190, 25}, THAlign::Left));
  EXPECT_EQ(inkOf({10, 5, 10 + w + 1, 25}, THAlign::Center), inkOf({10, 5, 190, 25}, THAlign::Left));
}

// An image is drawn as made for the scale, pixel for pixel at its scaled place; a strip's glyph
// too.
TEST_P(AtEveryZoom, ImagesAreDrawnAsMadeForTheScale) {
  const TImage& strip = ScaledImage("STITCHED_ONOFF_DARK");
  const TBitmap& made = strip.At(scale);
  TBitmap b(scale.Px(40), scale.Px(40), kBack);
  TCanvas c(b, scale);
  c.DrawStitched(7, 9, strip, 2, 1);
  const int half = made.Height() / 2;
  for (int y = 0; y < half; ++y) {
    for (int x = 0; x < made.Width(); ++x) {
      TBitmap one(1, 1, kBack);
      TCanvas(one).DrawBitmap(0, 0, made, {x, half + y, x + 1, half + y + 1});
      ASSERT_EQ(b.Pixel(scale.Px(7) + x, scale.Px(9) + y), one.Pixel(0, 0)) << x << "," << y;
    }
  }
  // The tile repeats from the window's corner at its own size.
  const TImage& tile = ScaledImage("EditorBackground");
  TBitmap t(scale.Px(200), scale.Px(10), kBack);
  TCanvas(t, scale).FillTiled({0, 0, 200, 10}, tile);
  const int n = tile.At(scale).Width();
  for (int x = 0; x + n < t.Width(); ++x) ASSERT_EQ(t.Pixel(x, 3), t.Pixel(x + n, 3)) << x;
}

// An arrow head's steps are the bitmap's pixels: one pixel in at each side per row.
TEST_P(AtEveryZoom, ArrowHeadsStepByWholePixels) {
  TBitmap b(scale.Px(20), scale.Px(10), kBack);
  TCanvas c(b, scale);
  c.FillArrow({2, 2, 9, 6}, TArrowDirection::Down, kInk);
  const TRect box = scale.Px(TRect{2, 2, 9, 6});
  for (int j = 0; j < box.Height(); ++j) {
    int ink = 0;
    for (int x = 0; x < b.Width(); ++x) ink += b.Pixel(x, box.Top + j) == kInk;
    EXPECT_EQ(ink, std::max(0, box.Width() - 2 * j)) << "row " << j;
  }
}

INSTANTIATE_TEST_SUITE_P(Zoom, AtEveryZoom, ::testing::ValuesIn(kZoomSteps),
                         [](const auto& info) { return std::to_string(info.param); });

TEST(ZoomSteps, TheNearestStepOfAScale) {
  struct TCase {
    double percent;
    int step;
  };
  for (const TCase c : {TCase{0, 100},
                        {50, 100},
                        {100, 100},
                        {112.4, 100},
                        {112.5, 125},
                        {120, 125},
                        {144, 150},
                        {160, 150},
                        {163, 175},
                        {190, 200},
                        {250, 200},
                        {400, 200}}) {
    EXPECT_EQ(NearestZoomStep(c.percent), c.step) << c.percent;
  }
  EXPECT_EQ(ZoomStepIndex(175), 3);
  EXPECT_EQ(ZoomStepIndex(133), -1);
}

}  // namespace
}  // namespace vornix::gfx
