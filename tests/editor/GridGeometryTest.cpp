#include "editor/logic/GridGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

namespace vornix::editor {
namespace {

using gfx::TRect;

constexpr int kPageWidth = 705;
constexpr int kPageHeight = 272;
const TValueRange kRange{0, 127};

TEST(GridGeometry, TheGridDrawsSixteenThirtyTwoOrSixtyFourColumns) {
  struct TCase {
    int StepCount, Slots, BarWidth;
  };
  const TCase cases[] = {{1, 16, 43},  {16, 16, 43}, {17, 32, 21}, {32, 32, 21},
                         {33, 64, 10}, {64, 64, 10}, {0, 16, 43},  {100, 64, 10}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.StepCount) + " steps");
    EXPECT_EQ(VisibleSlots(c.StepCount), c.Slots);
    const TGridLayout l = CalcLayout(kPageWidth, kPageHeight, c.StepCount);
    EXPECT_EQ(l.StepCount, std::clamp(c.StepCount, 1, 64));
    EXPECT_EQ(l.VisibleSlots, c.Slots);
    EXPECT_EQ(l.BarWidth, c.BarWidth);
    EXPECT_EQ(l.BarAreaHeight, 254);
    EXPECT_EQ(l.IndicatorHeight, 16);
    // On the page the columns fill the width exactly.
    EXPECT_EQ(l.ColumnLeft(c.Slots - 1) + l.BarWidth + l.Margin, kPageWidth);
  }
}

TEST(GridGeometry, LayoutOfOtherSizes) {
  struct TCase {
    int Width, Height, StepCount, BarWidth, BarAreaHeight;
  };
  const TCase cases[] = {
      {400, 200, 32, 11, 182},  // as created
      {20, 20, 16, 0, 2},      {0, 0, 16, 0, 0}, {-5, 10, 64, 0, 0}, {1, 1, 1, 0, 0},
  };
  for (const TCase& c : cases) {
    const TGridLayout l = CalcLayout(c.Width, c.Height, c.StepCount);
    EXPECT_EQ(l.BarWidth, c.BarWidth) << c.Width << " x " << c.Height;
    EXPECT_EQ(l.BarAreaHeight, c.BarAreaHeight) << c.Width << " x " << c.Height;
    // Hit tests and value mapping stay defined on a control too small to show anything.
    const TStepHit hit = StepAtPos(l, 5, 5);
    EXPECT_GE(hit.Index, 0);
    EXPECT_LT(hit.Index, c.StepCount);
    EXPECT_GE(ValueFromY(l, kRange, 0), 0);
  }
}

TEST(GridGeometry, RectanglesOfColumnsSeparatorsAndIndicatorCells) {
  const TGridLayout l = CalcLayout(kPageWidth, kPageHeight, 16);
  EXPECT_EQ(l.BarBottom(), 255);
  EXPECT_EQ(l.ColumnRect(0), (TRect{1, 1, 44, 255}));
  EXPECT_EQ(l.SeparatorRect(0), (TRect{44, 1, 45, 255}));
  EXPECT_EQ(l.ColumnRect(1), (TRect{45, 1, 88, 255}));
  EXPECT_EQ(l.IndicatorRect(0), (TRect{1, 256, 44, 271}));
  EXPECT_EQ(l.IndicatorEdgeRect(0), (TRect{1, 255, 45, 256}));
  EXPECT_EQ(l.IndicatorSeparatorRect(0), (TRect{44, 256, 45, 271}));
  EXPECT_EQ(l.ColumnRect(15), (TRect{661, 1, 704, 255}));
  // The last column has no separator: the frame follows.
  EXPECT_TRUE(l.SeparatorRect(15).Empty());
  EXPECT_TRUE(l.IndicatorSeparatorRect(15).Empty());

  const TGridLayout l64 = CalcLayout(kPageWidth, kPageHeight, 64);
  EXPECT_EQ(l64.ColumnRect(63), (TRect{694, 1, 704, 255}));
  EXPECT_EQ(l64.SeparatorRect(62), (TRect{693, 1, 694, 255}));
}

TEST(GridGeometry, ColumnsShadeInGroupsOfFour) {
  const bool expected[] = {true, true, true, true, false, false, false, false, true, true};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(TGridLayout::DarkGroup(i), expected[i]) << i;
}

TEST(GridGeometry, HitTest) {
  const TGridLayout l16 = CalcLayout(kPageWidth, kPageHeight, 16);
  const TGridLayout l17 = CalcLayout(kPageWidth, kPageHeight, 17);  // 32 columns of 21, 17 active
  struct TCase {
    std::string Name;
    const TGridLayout& Layout;
    int X, Y;
    TStepHit Expected;
  };
  const TCase cases[] = {
      {"left frame", l16, 0, 100, {0, false}},
      {"first pixel", l16, 1, 100, {0, true}},
      {"last pixel of column 0", l16, 43, 100, {0, true}},
      {"separator right of column 0 belongs to column 1", l16, 44, 100, {1, true}},
      {"first pixel of column 1", l16, 45, 100, {1, true}},
      {"last column", l16, 703, 100, {15, true}},
      {"right frame", l16, 704, 100, {15, false}},
      {"right of the control", l16, 900, 100, {15, false}},
      {"top frame", l16, 10, 0, {0, false}},
      {"top row of the bars", l16, 10, 1, {0, true}},
      {"bottom row of the bars", l16, 10, 254, {0, true}},
      {"indicator edge", l16, 10, 255, {0, false}},
      {"indicator cell", l16, 10, 260, {0, false}},
      {"above the control", l16, 50, -20, {1, false}},
      {"last active column", l17, 373, 100, {16, true}},
      {"first inactive column", l17, 374, 100, {16, false}},
      {"far inactive column", l17, 700, 100, {16, false}},
      {"inactive column in the indicator strip", l17, 700, 260, {16, false}},
  };
  for (const TCase& c : cases) EXPECT_EQ(StepAtPos(c.Layout, c.X, c.Y), c.Expected) << c.Name;
}

TEST(GridGeometry, ValueFromHeight) {
  const TGridLayout page = CalcLayout(kPageWidth, kPageHeight, 32);
  const TGridLayout created = CalcLayout(400, 200, 32);
  TMouseDownInfo fine;
  fine.FineMode = true;
  fine.Moved = true;
  fine.StartY = 127;
  TMouseDownInfo fineNotMoved = fine;
  fineNotMoved.Moved = false;
  TMouseDownInfo movedNotFine = fine;
  movedNotFine.FineMode = false;
  struct TCase {
    std::string Name;
    const TGridLayout& Layout;
    TMouseDownInfo Gesture;
    int Y, Expected;
  };
  const TCase cases[] = {
      {"top row", page, {}, 1, 126},  // 126.5, to even
      {"bottom row", page, {}, 254, 0},
      {"top frame", page, {}, 0, 127},
      {"middle", page, {}, 127, 64},  // 63.5, to even
      {"below the middle", page, {}, 128, 63},
      {"tie to even below", page, {}, 129, 62},  // 62.5
      {"indicator edge", page, {}, 255, 0},      // -0.5
      {"far above", page, {}, -50, 127},
      {"far below", page, {}, 300, 0},
      {"created size", created, {}, 1, 126},  // 126.30
      {"fine at the start height", page, fine, 127, 64},
      {"fine 100 pixels up", page, fine, 27, 73},           // 73.34
      {"fine the whole height up", page, fine, -127, 88},   // 88.5: 25 units, to even
      {"fine the whole height down", page, fine, 381, 38},  // 38.5, to even
      {"fine before the first move", page, fineNotMoved, 27, 114},
      {"moved without fine mode", page, movedNotFine, 27, 114},
  };
  for (const TCase& c : cases) EXPECT_EQ(ValueFromY(c.Layout, kRange, c.Y, c.Gesture), c.Expected) << c.Name;
  EXPECT_EQ(HalfRangeValue(kRange), 63);
}

TEST(GridGeometry, BarAndBandHeights) {
  const TGridLayout l = CalcLayout(kPageWidth, kPageHeight, 16);
  struct TCase {
    TStepValues Step;
    int Bar, Band;
  };
  const TCase cases[] = {
      {{127, 0}, 254, 0},    {{63, 0}, 126, 0},    {{0, 0}, 0, 0},       {{63.25f, 0}, 126, 0},  // 126.5
      {{126.8f, 0}, 254, 0}, {{100, 27}, 200, 54}, {{100, 40}, 200, 54}, {{100, -3}, 200, 0},
      {{127, 5}, 254, 0},    {{0, 127}, 0, 254},   {{10, 0.25f}, 20, 0},  // band 0.5, to even
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(BarHeight(l, kRange, c.Step.Value), c.Bar) << c.Step.Value << " + " << c.Step.RandomRange;
    EXPECT_EQ(BandHeight(l, kRange, c.Step), c.Band) << c.Step.Value << " + " << c.Step.RandomRange;
  }
}

TEST(GridGeometry, StepBarsStandOnTheBottomOfTheirColumn) {
  const TGridLayout l = CalcLayout(kPageWidth, kPageHeight, 5);
  const TStepBars bars = StepBars(l, kRange, 1, {63, 10});
  EXPECT_EQ(bars.Bar, (TRect{45, 129, 88, 255}));
  EXPECT_EQ(bars.Band, (TRect{45, 109, 88, 129}));

  const TStepBars full = StepBars(l, kRange, 0, {127, 0});
  EXPECT_EQ(full.Bar, l.ColumnRect(0));
  EXPECT_TRUE(full.Band.Empty());

  const TStepBars none = StepBars(l, kRange, 0, {0, 0});
  EXPECT_TRUE(none.Bar.Empty());
  EXPECT_TRUE(none.Band.Empty());

  // Columns at or beyond the step count show neither.
  const TStepBars inactive = StepBars(l, kRange, 5, {100, 20});
  EXPECT_TRUE(inactive.Bar.Empty());
  EXPECT_TRUE(inactive.Band.Empty());
}

TEST(GridGeometry, ASetValueLimitsTheRandomRange) {
  EXPECT_EQ(WithValue(kRange, {63, 64}, 100), (TStepValues{100, 27}));
  EXPECT_EQ(WithValue(kRange, {63, 64}, 63), (TStepValues{63, 64}));
  EXPECT_EQ(WithValue(kRange, {63, -3}, 10), (TStepValues{10, -3}));  // no random part either way
}

TEST(GridGeometry, WheelNotches) {
  struct TCase {
    std::string Name;
    TStepValues Step;
    int Delta;
    bool Alt;
    std::optional<TStepValues> Expected;
  };
  const TCase cases[] = {
      {"top, up", {127, 0}, 120, false, std::nullopt},
      {"top, down", {127, 0}, -120, false, TStepValues{126.8f, 0}},
      {"only the sign counts", {127, 0}, -1, false, TStepValues{126.8f, 0}},
      {"no notch", {100, 0}, 0, false, std::nullopt},
      {"bottom, down", {0, 0}, -120, false, std::nullopt},
      {"near the top, up", {126.9f, 0}, 120, false, TStepValues{127, 0}},
      {"near the bottom, down", {0.1f, 0}, -120, false, TStepValues{0, 0}},
      {"up with a random range at the top", {100, 27}, 120, false, TStepValues{100.2f, 127.0f - 100.2f}},
      {"random range up", {100, 0}, 120, true, TStepValues{100, 0.2f}},
      {"random range at its limit", {100, 27}, 120, true, std::nullopt},
      {"random range near its limit", {100, 26.9f}, 120, true, TStepValues{100, 27}},
      {"random range down at 0", {100, 0}, -120, true, std::nullopt},
      {"random range down", {100, 5}, -120, true, TStepValues{100, 4.8f}},
      {"negative random range down", {100, -3}, -120, true, TStepValues{100, 0}},
      {"negative random range up", {100, -3}, 120, true, TStepValues{100, -2.8f}},
  };
  for (const TCase& c : cases) EXPECT_EQ(WheelChange(kRange, c.Step, c.Delta, c.Alt, 0.2f), c.Expected) << c.Name;
}

TEST(GridGeometry, ClearingAGestureRestoresItsInitialState) {
  TMouseDownInfo g;
  g.AltMode = g.Modified = g.ButtonDown = g.Moved = g.FineMode = true;
  g.StartY = 10;
  g.LastStep = 3;
  g.Clear();
  EXPECT_FALSE(g.AltMode || g.Modified || g.ButtonDown || g.Moved || g.FineMode);
  EXPECT_EQ(g.StartY, -1);
  EXPECT_EQ(g.LastStep, -1);
}

}  // namespace
}  // namespace vornix::editor
