// The step grid zoomed: its columns, separators and frame on the screen's pixels, and presses hit
// the step and value drawn under them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GridFixture.h"

namespace vornix::editor::test {
namespace {

using gfx::Rgb;
using gfx::TColor;

constexpr TColor kFrame = Rgb(100, 100, 100);
constexpr TColor kBarDark = Rgb(115, 115, 115);
constexpr TColor kBar = Rgb(128, 128, 128);
constexpr TColor kSeparator = Rgb(160, 160, 164);

struct TZoomCase {
  int zoom;
  int stepCount;
};

class ZoomedGrid : public ::testing::TestWithParam<TZoomCase> {
 protected:
  ZoomedGrid() : f(nullptr, GetParam().stepCount) {
    f.form.SetScale(gfx::TScale(GetParam().zoom));
    std::vector<TStepSetting> full;
    for (int i = 0; i < 64; ++i) full.push_back({i, 127});
    f.SetSteps(full);
    f.Show();
  }
  // Grid coordinates on the screen's pixels.
  int Sx(int x) const { return scale.Px(kGridLeft + x); }
  int Sy(int y) const { return scale.Px(kGridTop + y); }
  TColor At(int sx, int sy) const { return f.window->Pixel(sx, sy); }
  void Press(int sx, int sy) {
    f.system.MouseDown(*f.window, sx, sy);
    f.system.MouseUp(*f.window, sx, sy);
  }

  gfx::TScale scale{GetParam().zoom};
  TGridFixture f;
};

// Each column covers exactly the screen pixels of its scaled edges, each separator those between
// them: nothing stretched, no column a pixel short or long.
TEST_P(ZoomedGrid, ColumnsAndSeparatorsLieExactlyOnTheirScaledEdges) {
  ASSERT_EQ(f.window->Width(), scale.Px(786));
  const int columns = f.grid.Layout().VisibleSlots;
  const int rowTop = Sy(kB - 1), rowBottom = Sy(kB);
  for (int i = 0; i < columns; ++i) {
    SCOPED_TRACE("column " + std::to_string(i));
    const TColor bar = i / 4 % 2 == 0 ? kBarDark : kBar;
    const int left = Sx(f.X(i)), right = Sx(f.X(i) + f.W()), next = Sx(f.X(i) + f.W() + 1);
    for (int sy = rowTop; sy < rowBottom; ++sy) {
      ASSERT_NE(At(left - 1, sy), bar);
      for (int sx = left; sx < right; ++sx) ASSERT_EQ(At(sx, sy), bar) << sx;
      for (int sx = right; sx < next; ++sx) ASSERT_EQ(At(sx, sy), i + 1 < columns ? kSeparator : kFrame) << sx;
    }
  }
}

// The frame is one pixel of the design wide on the screen, around the whole grid.
TEST_P(ZoomedGrid, TheFrameIsOneScaledPixelWide) {
  const int middle = Sx(f.Mid(1));
  for (int sy = Sy(0); sy < Sy(1); ++sy) ASSERT_EQ(At(middle, sy), kFrame);
  EXPECT_NE(At(middle, Sy(1)), kFrame);
  for (int sy = Sy(kGridHeight - 1); sy < Sy(kGridHeight); ++sy) ASSERT_EQ(At(middle, sy), kFrame);
  EXPECT_NE(At(middle, Sy(kGridHeight - 1) - 1), kFrame);
  const int row = Sy(100);
  for (int sx = Sx(0); sx < Sx(1); ++sx) ASSERT_EQ(At(sx, row), kFrame);
  EXPECT_NE(At(Sx(1), row), kFrame);
  for (int sx = Sx(kGridWidth - 1); sx < Sx(kGridWidth); ++sx) ASSERT_EQ(At(sx, row), kFrame);
}

// A press hits the step whose column (with the separator on its left) holds the screen pixel, and
// the value of the row of the design that pixel belongs to.
TEST_P(ZoomedGrid, PressesHitTheStepAndValueDrawnUnderThem) {
  const int k = 5;
  struct TCase {
    int sx, sy;
    int step;
    float value;
  };
  const TCase cases[] = {
      {Sx(f.X(k)), Sy(1), k, 126},                      // first pixel of the column, top row
      {Sx(f.X(k) + f.W()) - 1, Sy(254 + 1) - 1, k, 0},  // last pixel of the column, bottom row
      {Sx(f.X(k) + f.W()), Sy(kB - 20), k + 1, 10},     // the separator on the next one's left
      {Sx(f.X(k)) - 1, Sy(128) - 1, k, 64},             // the separator on its own left
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.sx) + "," + std::to_string(c.sy));
    f.SetSteps({});
    Press(c.sx, c.sy);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(f.Value(i), i == c.step ? c.value : 63.0f) << "step " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Zoom, ZoomedGrid,
                         ::testing::Values(TZoomCase{150, 16}, TZoomCase{150, 64}, TZoomCase{200, 32},
                                           TZoomCase{200, 64}, TZoomCase{125, 32}, TZoomCase{175, 64}),
                         [](const auto& info) {
                           return std::to_string(info.param.zoom) + "_" + std::to_string(info.param.stepCount);
                         });

}  // namespace
}  // namespace vornix::editor::test
