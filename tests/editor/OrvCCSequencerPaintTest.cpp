// The step grid's pixels: columns, bars, bands, shading, separators and indicator cells at the
// page's size, the colours of each skin, and which areas a change repaints.
#include <gtest/gtest.h>

#include "GridFixture.h"
#include "gfx/Color.h"
#include "gfx/Skin.h"

namespace vornix::editor::test {
namespace {

using gfx::Rgb;
using gfx::TColor;
using gfx::TRect;

// The creation colours, and their shades in the darker groups (steps 1-4, 9-12, ...).
constexpr TColor kFrame = Rgb(100, 100, 100);
constexpr TColor kBack = Rgb(240, 240, 240);
constexpr TColor kBackDark = Rgb(228, 228, 228);
constexpr TColor kBar = Rgb(128, 128, 128);
constexpr TColor kBarDark = Rgb(115, 115, 115);
constexpr TColor kBand = Rgb(192, 192, 192);
constexpr TColor kBandDark = Rgb(173, 173, 173);
constexpr TColor kSeparator = Rgb(160, 160, 164);
constexpr TColor kInactive = Rgb(171, 171, 171);
constexpr TColor kInactiveSeparator = Rgb(128, 128, 128);
constexpr TColor kCurrent = Rgb(255, 255, 255);

bool Dark(int column) { return column / 4 % 2 == 0; }

// ---- columns and bars ----

struct TColumnsCase {
  int stepCount;
  int columns;
  int barWidth;
};

class GridColumns : public ::testing::TestWithParam<TColumnsCase> {};

// Columns of 43, 21 and 10 pixels fill the page's width exactly; each shows its value as a bar of
// 2·v pixels above the bottom edge, with a separator on its right but the last.
TEST_P(GridColumns, FillThePageWidthAndShowEachValueAsABar) {
  const auto [stepCount, columns, barWidth] = GetParam();
  TGridFixture f(nullptr, stepCount);
  std::vector<TStepSetting> steps;
  for (int i = 0; i < stepCount; ++i) steps.push_back({i, static_cast<float>(i * 2 % 128)});
  f.SetSteps(steps);
  f.Show();
  ASSERT_EQ(f.W(), barWidth);
  ASSERT_EQ(f.grid.Layout().VisibleSlots, columns);
  for (int i = 0; i < columns; ++i) {
    SCOPED_TRACE("column " + std::to_string(i));
    const int left = 1 + i * (barWidth + 1);
    const int right = left + barWidth - 1;
    const int h = 2 * (i * 2 % 128);
    const TColor back = Dark(i) ? kBackDark : kBack;
    const TColor bar = Dark(i) ? kBarDark : kBar;
    EXPECT_EQ(f.X(i), left);
    for (const int x : {left, right}) {
      EXPECT_EQ(f.Pixel(x, kB - 1 - h), back);
      if (h > 0) {
        EXPECT_EQ(f.Pixel(x, kB - h), bar);
        EXPECT_EQ(f.Pixel(x, kB - 1), bar);
      }
    }
    EXPECT_EQ(f.Pixel(right + 1, 1), i + 1 < columns ? kSeparator : kFrame);
    EXPECT_EQ(f.Pixel(right + 1, kB - 1), i + 1 < columns ? kSeparator : kFrame);
  }
  EXPECT_EQ(f.X(columns - 1) + barWidth, kGridWidth - 1);  // up to the frame
}

INSTANTIATE_TEST_SUITE_P(PageSize, GridColumns,
                         ::testing::Values(TColumnsCase{16, 16, 43}, TColumnsCase{32, 32, 21},
                                           TColumnsCase{64, 64, 10}),
                         [](const auto& info) { return std::to_string(info.param.columns); });

TEST(GridPaint, BarHeightsRoundToNearestWithTiesToEvenAndFullValuesFillTheArea) {
  struct TCase {
    float value;
    int height;
  };
  // Step 5 (index 4) lies in a plain group.
  for (const TCase c : {TCase{0, 0}, {127, 254}, {63, 126}, {63.25f, 126}, {63.75f, 128}, {0.2f, 0}, {0.3f, 1}}) {
    SCOPED_TRACE(c.value);
    TGridFixture f;
    f.SetSteps({{4, c.value}});
    f.Show();
    const int x = f.Mid(4);
    for (int y = 1; y < kB; ++y) ASSERT_EQ(f.Pixel(x, y), y >= kB - c.height ? kBar : kBack) << "row " << y;
  }
}

TEST(GridPaint, TheFrameOutlinesTheGridAndTheIndicatorStripHasATopEdge) {
  TGridFixture f;
  f.Show();
  for (int x = 0; x < kGridWidth; ++x) {
    ASSERT_EQ(f.Pixel(x, 0), kFrame);
    ASSERT_EQ(f.Pixel(x, kGridHeight - 1), kFrame);
    ASSERT_EQ(f.Pixel(x, kB), kFrame) << x;
  }
  for (int y = 0; y < kGridHeight; ++y) {
    ASSERT_EQ(f.Pixel(0, y), kFrame);
    ASSERT_EQ(f.Pixel(kGridWidth - 1, y), kFrame);
  }
  // The form around it is the form's.
  EXPECT_EQ(f.window->Pixel(kGridLeft - 1, kGridTop), kPageColor);
  EXPECT_EQ(f.window->Pixel(kGridLeft + kGridWidth, kGridTop), kPageColor);
}

TEST(GridPaint, GroupsOfFourAlternateBetweenTheDarkerAndThePlainShade) {
  TGridFixture f(nullptr, 16);
  std::vector<TStepSetting> steps;
  for (int i = 0; i < 16; ++i) steps.push_back({i, 50, 20});
  f.SetSteps(steps);
  f.Show();
  for (int i = 0; i < 16; ++i) {
    SCOPED_TRACE(i);
    const bool dark = i < 4 || (i >= 8 && i < 12);
    const int x = f.Mid(i);
    EXPECT_EQ(f.Pixel(x, 1), dark ? kBackDark : kBack);
    EXPECT_EQ(f.Pixel(x, kB - 1), dark ? kBarDark : kBar);
    EXPECT_EQ(f.Pixel(x, kB - 101), dark ? kBandDark : kBand);
    EXPECT_EQ(f.Pixel(x, kB + 5), dark ? kBackDark : kBack);  // the indicator cell too
  }
}

TEST(GridPaint, InactiveColumnsAreFlatWithTheirOwnSeparatorsAndShowNoBarOrBand) {
  TGridFixture f(nullptr, 20);
  std::vector<TStepSetting> steps;
  for (int i = 0; i < 64; ++i) steps.push_back({i, 80, 30});
  f.SetSteps(steps);
  f.Show();
  ASSERT_EQ(f.grid.Layout().VisibleSlots, 32);
  for (int i = 0; i < 32; ++i) {
    SCOPED_TRACE(i);
    const int x = f.Mid(i);
    if (i < 20) {
      EXPECT_EQ(f.Pixel(x, kB - 1), Dark(i) ? kBarDark : kBar);
    } else {
      for (const int y : {1, kB - 1, kB - 170, kB + 5}) EXPECT_EQ(f.Pixel(x, y), kInactive) << y;
    }
    if (i < 31) {
      const TColor separator = i < 20 ? kSeparator : kInactiveSeparator;
      EXPECT_EQ(f.Pixel(f.X(i) + f.W(), 10), separator);
      EXPECT_EQ(f.Pixel(f.X(i) + f.W(), kB + 5), separator);
    }
  }
  // The steps beyond the count keep their values.
  EXPECT_EQ(f.Value(40), 80);
}

TEST(GridPaint, TheRandomBandSitsOnTheBarAndEndsAtTheTopOfTheRange) {
  struct TCase {
    const char* name;
    float value, randomRange;
    int bandRows;
  };
  for (const TCase c : {TCase{"plain", 60, 10, 20},
                        {"limited to the range", 120, 20, 14},
                        {"none", 60, 0, 0},
                        {"negative is none", 100, -5, 0},
                        {"fraction", 60, 10.25f, 20}}) {
    SCOPED_TRACE(c.name);
    TGridFixture f;
    f.SetSteps({{5, c.value, c.randomRange}});
    f.Show();
    const int x = f.Mid(5);
    const int top = kB - static_cast<int>(2 * c.value);
    EXPECT_EQ(f.Pixel(x, top), kBar);
    for (int y = top - 1; y >= top - c.bandRows; --y) ASSERT_EQ(f.Pixel(x, y), kBand) << y;
    if (top - c.bandRows - 1 >= 1) {
      EXPECT_EQ(f.Pixel(x, top - c.bandRows - 1), kBack);
    }
  }
}

TEST(GridPaint, TheLastColumnHasNoSeparatorWhenTheColumnsDoNotFillTheWidth) {
  // The grid's own size, 400 × 200: 32 columns of 11 pixels end at x 384, short of the frame.
  TGridFixture f(nullptr, 32, 400, 200);
  f.Show();
  ASSERT_EQ(f.W(), 11);
  const int right = f.X(31) + 11;
  EXPECT_EQ(right, 384);
  EXPECT_EQ(f.Pixel(right - 12, 10), kSeparator);
  for (const int y : {10, 150, 190}) {
    EXPECT_EQ(f.Pixel(right, y), kBack) << y;
    EXPECT_EQ(f.Pixel(398, y), kBack) << y;
  }
  EXPECT_EQ(f.Pixel(399, 10), kFrame);
}

// ---- the playing step ----

TEST(GridPaint, ThePlayingStepLightsItsIndicatorCellAndAFullRepaintKeepsIt) {
  TGridFixture f;
  f.Show();
  const auto lit = [&f](int i) {
    for (int y = kB + 1; y < kGridHeight - 1; ++y)
      for (int x = f.X(i); x < f.X(i) + f.W(); ++x)
        if (f.Pixel(x, y) != kCurrent) return false;
    return true;
  };
  const auto litCells = [&] {
    std::vector<int> cells;
    for (int i = 0; i < 32; ++i)
      if (f.Pixel(f.Mid(i), kB + 8) == kCurrent) cells.push_back(i);
    return cells;
  };
  EXPECT_EQ(litCells(), std::vector<int>{});
  f.grid.SetStepNo(5);
  f.form.Update();
  EXPECT_TRUE(lit(5));
  EXPECT_EQ(litCells(), std::vector<int>{5});
  // The cell's separator and the strip's top edge stay.
  EXPECT_EQ(f.Pixel(f.X(5) + f.W(), kB + 8), kSeparator);
  EXPECT_EQ(f.Pixel(f.Mid(5), kB), kFrame);
  f.grid.Invalidate();
  f.form.Update();
  EXPECT_EQ(litCells(), std::vector<int>{5});
  f.grid.SetStepNo(6);
  f.form.Update();
  EXPECT_EQ(litCells(), std::vector<int>{6});
  EXPECT_EQ(f.Pixel(f.Mid(5), kB + 8), kBack);
  f.grid.ResetStepNo();
  f.grid.Invalidate();
  f.form.Update();
  EXPECT_EQ(litCells(), std::vector<int>{});
  EXPECT_EQ(f.grid.StepNo(), -1);
}

TEST(GridPaint, AStepNoBeyondTheColumnsLightsNothing) {
  TGridFixture f(nullptr, 16);
  f.Show();
  f.grid.SetStepNo(40);
  f.grid.Invalidate();
  f.form.Update();
  for (int i = 0; i < 16; ++i) EXPECT_NE(f.Pixel(f.Mid(i), kB + 8), kCurrent) << i;
}

// ---- skins ----

struct TSkinCase {
  const char* skin;
  TColor frame, back, inactive, separator, inactiveSeparator, current, band, bar;
};

class GridSkin : public ::testing::TestWithParam<TSkinCase> {};

TEST_P(GridSkin, TakesItsColoursFromTheSkinAtLoad) {
  const TSkinCase& c = GetParam();
  const gfx::TSkin& skin = gfx::SkinByName(c.skin);
  ASSERT_EQ(skin.Name, c.skin);
  TGridFixture f(&skin, 20);
  // Column 5 (plain group) with a band; column 1 (darker group) likewise; step 21 inactive.
  f.SetSteps({{1, 50, 20}, {5, 50, 20}, {21, 90, 10}});
  f.grid.SetStepNo(5);
  f.Show();
  const TGridColors expected{c.frame, c.back, c.inactive, c.separator, c.inactiveSeparator, c.current, c.band, c.bar};
  EXPECT_EQ(f.grid.Colors(), expected);
  // And the pixels show them.
  EXPECT_EQ(f.Pixel(0, 0), c.frame);
  EXPECT_EQ(f.Pixel(f.Mid(5), kB), c.frame);
  EXPECT_EQ(f.Pixel(f.Mid(5), 1), c.back);
  EXPECT_EQ(f.Pixel(f.Mid(5), kB - 1), c.bar);
  EXPECT_EQ(f.Pixel(f.Mid(5), kB - 101), c.band);
  EXPECT_EQ(f.Pixel(f.Mid(5), kB + 8), c.current);
  EXPECT_EQ(f.Pixel(f.Mid(1), 1), gfx::DarkenColor(c.back, 5));
  EXPECT_EQ(f.Pixel(f.Mid(1), kB - 1), gfx::DarkenColor(c.bar, 10));
  EXPECT_EQ(f.Pixel(f.Mid(1), kB - 101), gfx::DarkenColor(c.band, 10));
  EXPECT_EQ(f.Pixel(f.X(5) + f.W(), 10), c.separator);
  EXPECT_EQ(f.Pixel(f.Mid(21), kB - 1), c.inactive);
  EXPECT_EQ(f.Pixel(f.X(21) + f.W(), 10), c.inactiveSeparator);
}

INSTANTIATE_TEST_SUITE_P(
    Skins, GridSkin,
    ::testing::Values(TSkinCase{"Carbon", Rgb(110, 110, 112), Rgb(42, 42, 43), Rgb(36, 36, 38), Rgb(64, 64, 67),
                                Rgb(45, 45, 47), Rgb(134, 134, 134), Rgb(80, 117, 29), Rgb(37, 95, 120)},
                      TSkinCase{"Amakrits", Rgb(100, 110, 120), Rgb(34, 38, 44), Rgb(32, 36, 42), Rgb(62, 70, 80),
                                Rgb(41, 45, 51), Rgb(134, 134, 134), Rgb(104, 204, 189), Rgb(61, 177, 160)},
                      TSkinCase{"Light", Rgb(160, 160, 160), Rgb(250, 250, 250), Rgb(225, 225, 225), Rgb(160, 160, 160),
                                Rgb(193, 193, 193), Rgb(192, 192, 192), Rgb(170, 200, 230), Rgb(96, 140, 190)},
                      TSkinCase{"Luna", Rgb(161, 161, 146), Rgb(255, 255, 255), Rgb(229, 229, 229), Rgb(161, 161, 146),
                                Rgb(180, 191, 212), Rgb(173, 173, 173), Rgb(252, 223, 144), Rgb(250, 210, 98)},
                      TSkinCase{"Smokey Quartz Kamri", Rgb(150, 140, 130), Rgb(238, 234, 228), Rgb(214, 211, 205),
                                Rgb(170, 160, 150), Rgb(213, 208, 203), Rgb(182, 182, 182), Rgb(246, 178, 140),
                                Rgb(237, 112, 59)}),
    [](const auto& info) { return std::string(info.param.skin).substr(0, std::string(info.param.skin).find(' ')); });

TEST(GridSkinColors, ASkinOfAnotherNameKeepsTheGenericAssignments) {
  gfx::TSkin skin = gfx::SkinByName("Carbon");
  skin.Name = "Somebody Else's";
  const TGridColors c = SkinGridColors(skin);
  EXPECT_EQ(c.BarColor, skin.scButtonFocused);
  EXPECT_EQ(c.RandomColor, skin.scHintGradientEnd);
  EXPECT_EQ(c.InactiveColor, Rgb(38, 38, 39));  // the window colour 10 % darker
  EXPECT_EQ(c.InactiveSeparatorColor, skin.scGenericGradientEnd);
  EXPECT_EQ(c.CurrentStepColor, kCurrent);  // as created
}

TEST(GridSkinColors, WithoutASkinTheCreationColoursStay) {
  TGridFixture f;
  f.Show();
  EXPECT_EQ(f.grid.Colors(), TGridColors{});
  EXPECT_EQ(f.Pixel(f.Mid(4), 1), kBack);
}

// ---- what a change repaints ----

TEST(GridRepaint, AWheelChangeRepaintsOnlyItsColumn) {
  TGridFixture f;
  f.Show();
  f.grid.SetFocus();
  f.ForgetPaint();
  f.Wheel(f.Mid(4), 100, 120);
  ASSERT_EQ(f.Value(4), 63.2f);
  const TRect column{f.X(4), 1, f.X(4) + f.W() + 1, kB};  // with its separator
  const auto check = f.PaintedOnly({TGridFixture::OnForm(column)});
  EXPECT_EQ(check.Outside, 0);
  EXPECT_EQ(check.Missed, 0);
}

TEST(GridRepaint, ADragRepaintsTheColumnsItChangesAndNoOthers) {
  TGridFixture f;
  f.Show();
  f.Press(f.Mid(2), 100);
  f.Move(f.Mid(3), 100);
  f.ForgetPaint();
  f.Move(f.Mid(6), 50);  // steps 5, 6 and 7 change
  std::vector<TRect> columns;
  for (int i = 4; i <= 6; ++i) columns.push_back(TGridFixture::OnForm({f.X(i), 1, f.X(i) + f.W() + 1, kB}));
  const auto check = f.PaintedOnly(columns);
  EXPECT_EQ(check.Outside, 0);
  EXPECT_EQ(check.Missed, 0);
  f.Release(f.Mid(6), 50);
}

TEST(GridRepaint, ANewPlayingStepRepaintsOnlyTheTwoIndicatorCells) {
  TGridFixture f;
  f.grid.SetStepNo(2);
  f.Show();
  f.ForgetPaint();
  f.grid.SetStepNo(9);
  f.form.Update();
  // Each cell with its top edge and its separator.
  const auto cell = [&f](int i) { return TGridFixture::OnForm({f.X(i), kB, f.X(i) + f.W() + 1, kGridHeight - 1}); };
  const auto check = f.PaintedOnly({cell(2), cell(9)});
  EXPECT_EQ(check.Outside, 0);
  EXPECT_EQ(check.Missed, 0);
  EXPECT_EQ(f.Pixel(f.Mid(9), kB + 8), kCurrent);
  EXPECT_EQ(f.Pixel(f.Mid(2), kB + 8), kBackDark);
}

TEST(GridRepaint, AnUnchangedPropertyRepaintsNothing) {
  TGridFixture f;
  f.grid.SetStepNo(3);
  f.Show();
  f.ForgetPaint();
  f.grid.SetStepNo(3);
  f.grid.SetStepCount(32);
  f.grid.SetMaxValue(127);
  f.grid.SetMinValue(0);
  f.grid.SetWheelStep(0.5f);
  f.form.Update();
  EXPECT_EQ(f.PaintedOnly({}).Outside, 0);
}

TEST(GridRepaint, RangeAndStepCountChangesRepaintTheWholeGrid) {
  for (int what = 0; what < 3; ++what) {
    SCOPED_TRACE(what);
    TGridFixture f;
    f.Show();
    f.ForgetPaint();
    if (what == 0) f.grid.SetStepCount(16);
    if (what == 1) f.grid.SetMaxValue(100);
    if (what == 2) f.grid.SetMinValue(10);
    f.form.Update();
    const auto check = f.PaintedOnly({TGridFixture::OnForm({0, 0, kGridWidth, kGridHeight})});
    EXPECT_EQ(check.Outside, 0);
    EXPECT_EQ(check.Missed, 0);
  }
}

TEST(GridRepaint, TheStepCountChangesTheColumnsShown) {
  TGridFixture f(nullptr, 32);
  f.Show();
  f.grid.SetStepCount(40);
  f.form.Update();
  EXPECT_EQ(f.W(), 10);
  EXPECT_EQ(f.Pixel(f.X(63) + 5, kB - 1), kInactive);
  EXPECT_EQ(f.Pixel(f.X(39) + 5, kB - 1), kBar);  // step 40, value 63, plain group
}

}  // namespace
}  // namespace vornix::editor::test
