// The step grid's gestures and properties: presses, drags, releases and the wheel with Ctrl, Alt
// and Shift, the events they fire, and the setters' limits.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GridFixture.h"

namespace vornix::editor::test {
namespace {

using platform::ssAlt;
using platform::ssCtrl;
using platform::ssShift;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// On the page a press at row y sets round((254 - y) / 254 · 127), ties to even.
constexpr int kY100 = 54;  // (254 - 54) / 2 = 100
constexpr int kY50 = 154;
constexpr int kY20 = 214;

// ---- press ----

TEST(GridPress, SetsTheValueUnderThePointer) {
  struct TCase {
    int y;
    float value;
  };
  for (const TCase c : {TCase{1, 126}, {2, 126}, {127, 64}, {128, 63}, {253, 0}, {254, 0}, {kY100, 100}}) {
    SCOPED_TRACE(c.y);
    TGridFixture f;
    f.Show();
    f.Press(f.Mid(3), c.y);
    f.Release(f.Mid(3), c.y);
    EXPECT_EQ(f.Value(3), c.value);
  }
}

TEST(GridPress, ChangesOneStepWithoutADisplayEventAndTheReleaseReportsIt) {
  TGridFixture f;
  f.Show();
  f.Press(f.Mid(3), kY100);
  EXPECT_EQ(f.Value(3), 100);
  EXPECT_THAT(f.log, IsEmpty());
  f.Release(f.Mid(3), kY100);
  EXPECT_THAT(f.log, ElementsAre("modified -1"));
  std::vector<float> values = f.Values(0, 64);
  values.erase(values.begin() + 3);
  EXPECT_THAT(values, ::testing::Each(63.0f));
}

TEST(GridPress, AGestureThatChangedNothingReportsNothing) {
  TGridFixture f;
  f.SetSteps({{3, 100}});
  f.Show();
  f.Press(f.Mid(3), kY100);
  f.Move(f.Mid(3), kY100);
  f.Release(f.Mid(3), kY100);
  EXPECT_THAT(f.log, IsEmpty());
}

TEST(GridPress, LimitsTheRandomRangeSoThatTheSumStaysInTheRange) {
  TGridFixture f;
  f.SetSteps({{3, 60, 40}, {4, 60, 40}});
  f.Show();
  f.Press(f.Mid(3), kY100);  // 100 + 40 > 127
  f.Release(f.Mid(3), kY100);
  EXPECT_EQ(f.Random(3), 27);
  f.Press(f.Mid(4), kY50);  // 50 + 40 fits
  f.Release(f.Mid(4), kY50);
  EXPECT_EQ(f.Random(4), 40);
}

TEST(GridPress, WithCtrlSetsTheMiddleOfTheRange) {
  TGridFixture f;
  f.SetSteps({{3, 10}});
  f.Show();
  f.Press(f.Mid(3), kY100, ssCtrl);
  EXPECT_EQ(f.Value(3), 63);
  f.Release(f.Mid(3), kY100);
  EXPECT_THAT(f.log, ElementsAre("modified -1"));
}

TEST(GridPress, WithAltSetsTheRandomRangeFromTheTopOfTheBar) {
  TGridFixture f;
  f.SetSteps({{3, 60}, {4, 100}});
  f.Show();
  f.Press(f.Mid(3), kY100, ssAlt);
  f.Release(f.Mid(3), kY100);
  EXPECT_EQ(f.Value(3), 60);
  EXPECT_EQ(f.Random(3), 40);
  // Below the top of the bar: a negative range, which shows no band.
  f.Press(f.Mid(4), kY50, ssAlt);
  f.Release(f.Mid(4), kY50);
  EXPECT_EQ(f.Value(4), 100);
  EXPECT_EQ(f.Random(4), -50);
  const gfx::TColor back = f.Pixel(f.Mid(4), 1);
  EXPECT_EQ(f.Pixel(f.Mid(4), kB - 201), back);
  EXPECT_NE(f.Pixel(f.Mid(4), kB - 200), back);
  EXPECT_THAT(f.log, ElementsAre("modified -1", "modified -1"));
}

TEST(GridPress, OutsideTheBarAreaStartsNoGesture) {
  struct TCase {
    const char* name;
    int x, y;
  };
  TGridFixture probe;
  const int mid = probe.Mid(3);
  for (const TCase c : {TCase{"indicator strip", mid, kB + 5},
                        {"bottom edge", mid, kB},
                        {"top frame", mid, 0},
                        {"left frame", 0, 100},
                        {"bottom frame", mid, kGridHeight - 1}}) {
    SCOPED_TRACE(c.name);
    TGridFixture f;
    f.Show();
    f.Press(c.x, c.y);
    // The following moves only report the step under the pointer.
    f.Move(mid, kY100);
    f.Move(f.Mid(5), kY50);
    f.Release(f.Mid(5), kY50);
    EXPECT_THAT(f.Values(0, 64), ::testing::Each(63.0f));
    EXPECT_THAT(f.log, ElementsAre("display 3", "display 5"));
  }
}

TEST(GridPress, AnyButtonTakesTheFocusButOnlyTheLeftOneDraws) {
  for (const auto button : {TMouseButton::Left, TMouseButton::Right, TMouseButton::Middle}) {
    TGridFixture f;
    f.Show();
    ASSERT_EQ(f.form.FocusedControl(), nullptr);
    f.Press(f.Mid(3), kB + 5, 0, button);  // even in the indicator strip
    EXPECT_EQ(f.form.FocusedControl(), &f.grid);
    f.Release(f.Mid(3), kB + 5, 0, button);
    f.Press(f.Mid(3), kY100, 0, button);
    f.Release(f.Mid(3), kY100, 0, button);
    EXPECT_EQ(f.Value(3), button == TMouseButton::Left ? 100 : 63);
  }
}

TEST(GridPress, ASecondButtonDuringADragKeepsWhatTheDragChanged) {
  TGridFixture f;
  f.Show();
  f.Press(f.Mid(3), kY100);
  f.Move(f.Mid(4), kY100);
  f.Press(f.Mid(4), kY50, 0, TMouseButton::Right);
  EXPECT_EQ(f.Value(4), 100);
  f.Release(f.Mid(4), kY50, 0, TMouseButton::Right);
  EXPECT_THAT(f.log, ElementsAre("display 4", "modified -1"));
}

// ---- drag ----

TEST(GridDrag, TheFirstMoveSetsOnlyTheStepItReachesLaterMovesFillSkippedSteps) {
  TGridFixture f;
  f.Show();
  f.Press(f.Mid(2), kY100);  // step 3
  f.Move(f.Mid(8), kY100);   // step 9 at once
  EXPECT_THAT(f.Values(0, 10), ElementsAre(63, 63, 100, 63, 63, 63, 63, 63, 100, 63));
  f.Move(f.Mid(11), kY50);
  EXPECT_THAT(f.Values(8, 13), ElementsAre(100, 50, 50, 50, 63));
  // Leftwards likewise, all with the quantity of the step reached; the step left last stays.
  f.Move(f.Mid(5), kY20);
  EXPECT_THAT(f.Values(2, 13), ElementsAre(100, 63, 63, 20, 20, 20, 20, 20, 20, 50, 63));
  f.Release(f.Mid(5), kY20);
  EXPECT_THAT(f.log, ElementsAre("display 8", "display 9", "display 10", "display 11", "display 10", "display 9",
                                 "display 8", "display 7", "display 6", "display 5", "modified -1"));
}

TEST(GridDrag, ReportsOnlyStepsThatChange) {
  TGridFixture f;
  f.SetSteps({{4, 100}});
  f.Show();
  f.Press(f.Mid(2), kY100);
  f.Move(f.Mid(3), kY100);
  f.Move(f.Mid(5), kY100);  // step 5 (index 4) is at 100 already
  f.Release(f.Mid(5), kY100);
  EXPECT_THAT(f.log, ElementsAre("display 3", "display 5", "modified -1"));
}

TEST(GridDrag, LeavingTheBarAreaUpwardSetsEveryPassedStepToTheMaximum) {
  TGridFixture f;
  f.Show();
  f.Press(f.Mid(1), kY50);
  f.Move(f.Mid(2), kY50);
  f.Move(f.Mid(6), -30);
  EXPECT_THAT(f.Values(0, 8), ElementsAre(63, 50, 50, 127, 127, 127, 127, 63));
  // Below it, back to the left: the minimum, from the last step reached down to the one under
  // the pointer.
  f.Move(f.Mid(4), kB + 5);
  EXPECT_THAT(f.Values(0, 8), ElementsAre(63, 50, 50, 127, 0, 0, 0, 63));
  f.Release(f.Mid(4), kB + 5);
  EXPECT_EQ(f.log.back(), "modified -1");
}

TEST(GridDrag, AMoveOffTheBarAreaBeforeAnyStepWasReachedDoesNothing) {
  TGridFixture f;
  f.Show();
  f.Press(f.Mid(3), kY100);
  f.Move(f.Mid(6), -30);
  EXPECT_THAT(f.Values(3, 8), ElementsAre(100, 63, 63, 63, 63));
  // The next move inside starts the fill from the step under the pointer.
  f.Move(f.Mid(7), kY50);
  EXPECT_THAT(f.Values(3, 8), ElementsAre(100, 63, 63, 63, 50));
  f.Release(f.Mid(7), kY50);
}

TEST(GridDrag, WithCtrlPaintsTheMiddleOfTheRangeAcrossThePassedSteps) {
  TGridFixture f;
  f.SetSteps({{2, 10}, {3, 10}, {4, 10}, {5, 10}});
  f.Show();
  f.Press(f.Mid(2), kY100);
  f.Move(f.Mid(3), kY100, ssCtrl);
  f.Move(f.Mid(5), kY20, ssCtrl);
  f.Release(f.Mid(5), kY20);
  EXPECT_THAT(f.Values(2, 6), ElementsAre(100, 63, 63, 63));
}

TEST(GridDrag, AnAltGestureDrawsRandomRangesToTheEndEvenWhenAltIsLetGo) {
  TGridFixture f;
  f.SetSteps({{2, 40}, {3, 40}, {4, 40}, {5, 80}});
  f.Show();
  f.Press(f.Mid(2), kY100, ssAlt);
  f.Move(f.Mid(3), kY100);
  // Skipped steps take the range of the step reached, whatever their own values.
  f.Move(f.Mid(5), kY100);
  f.Release(f.Mid(5), kY100);
  EXPECT_THAT(f.Values(2, 6), ElementsAre(40, 40, 40, 80));
  std::vector<float> ranges;
  for (int i = 2; i < 6; ++i) ranges.push_back(f.Random(i));
  EXPECT_THAT(ranges, ElementsAre(60, 60, 20, 20));
}

TEST(GridDrag, ShiftSlowsTheRestOfTheGestureDownFromWhereItWasPressed) {
  TGridFixture f;
  f.Show();
  f.Press(f.Mid(3), 127);
  EXPECT_EQ(f.Value(3), 64);
  f.Move(f.Mid(3), 127, ssShift);  // fine mode starts here: same value
  EXPECT_EQ(f.Value(3), 64);
  // 50 pixels up: 25 · 50 / 254 ≈ 4.9 units instead of 25.
  f.Move(f.Mid(3), 77);
  EXPECT_EQ(f.Value(3), 68);
  f.Move(f.Mid(4), 77 - 254);  // a whole bar height further, off the area: 25 more
  EXPECT_EQ(f.Value(4), 93);
  f.Release(f.Mid(4), 77 - 254);
  // The next gesture is normal again.
  f.Press(f.Mid(5), 77);
  EXPECT_EQ(f.Value(5), 88);
}

TEST(GridDrag, ALostReleaseEndsTheGestureAndReportsIt) {
  TGridFixture f;
  f.Show();
  f.Press(f.Mid(3), kY100);
  // A move that arrives with no button held: a modal loop swallowed the release.
  platform::TEvent move;
  move.Kind = platform::TEventKind::MouseMove;
  move.X = kGridLeft + f.Mid(6);
  move.Y = kGridTop + kY50;
  f.system.Send(*f.window, move);
  EXPECT_EQ(f.Value(6), 63);
  EXPECT_THAT(f.log, ElementsAre("modified -1", "display 6"));
}

TEST(GridDrag, ANewPressAfterALostReleaseReportsTheGestureBefore) {
  TGridFixture f;
  f.Show();
  f.Press(f.Mid(3), kY100);
  f.Press(f.Mid(5), kY50);  // the release in between never came
  EXPECT_THAT(f.log, ElementsAre("modified -1"));
  f.Release(f.Mid(5), kY50);
  EXPECT_THAT(f.log, ElementsAre("modified -1", "modified -1"));
  EXPECT_THAT(f.Values(3, 6), ElementsAre(100, 63, 50));
}

TEST(GridDrag, HoveringReportsTheStepUnderThePointerInsideTheBarAreaOnly) {
  TGridFixture f;
  f.Show();
  f.Move(f.Mid(0), 10);
  f.Move(f.Mid(0), 20);
  f.Move(f.X(1) - 1, 20);  // the separator left of a column counts to it
  f.Move(f.Mid(1), kB + 5);
  f.Move(f.Mid(31), kB - 1);
  EXPECT_THAT(f.log, ElementsAre("display 0", "display 0", "display 1", "display 31"));
}

TEST(GridDrag, MouseEnterAndLeaveReachTheirEvents) {
  TGridFixture f;
  Log events;
  f.grid.OnMouseEnter = [&](TControl&) { events.push_back("enter"); };
  f.grid.OnMouseLeave = [&](TControl&) { events.push_back("leave"); };
  f.Show();
  f.Move(f.Mid(2), 50);
  f.system.MouseMove(*f.window, 5, 5);
  EXPECT_THAT(events, ElementsAre("enter", "leave"));
}

// ---- 17 steps: 32 columns, 15 of them inactive ----

TEST(GridInactive, PressesOnInactiveColumnsDoNothingAndHoverThereReportsNothing) {
  TGridFixture f(nullptr, 17);
  f.Show();
  ASSERT_EQ(f.grid.Layout().VisibleSlots, 32);
  f.Press(f.Mid(20), kY100);
  f.Move(f.Mid(3), kY100);
  f.Release(f.Mid(3), kY100);
  EXPECT_THAT(f.Values(0, 64), ::testing::Each(63.0f));
  f.Move(f.Mid(25), kY100);
  EXPECT_THAT(f.log, ElementsAre("display 3"));
}

TEST(GridInactive, DragsOverInactiveColumnsReachTheLastStepAsOutside) {
  TGridFixture f(nullptr, 17);
  f.Show();
  f.Press(f.Mid(14), kY100);
  f.Move(f.Mid(15), kY100);
  f.Move(f.Mid(25), kY50);  // step 17, as the last step reached so far, and nothing beyond
  EXPECT_THAT(f.Values(14, 20), ElementsAre(100, 100, 50, 63, 63, 63));
  f.Move(f.Mid(28), kY20);  // still step 17: the last step reached again
  EXPECT_THAT(f.Values(14, 20), ElementsAre(100, 100, 20, 63, 63, 63));
  f.Release(f.Mid(28), kY20);
}

// ---- wheel ----

TEST(GridWheel, NudgesTheValueByTheWheelStepAndReportsTheStep) {
  TGridFixture f;
  f.SetSteps({{4, 127}});
  f.Show();
  f.grid.SetFocus();
  f.Wheel(f.Mid(4), 100, 120);  // already at the top
  EXPECT_EQ(f.Value(4), 127);
  EXPECT_THAT(f.log, IsEmpty());
  f.Wheel(f.Mid(4), 100, -120);
  EXPECT_FLOAT_EQ(f.Value(4), 126.8f);
  EXPECT_THAT(f.log, ElementsAre("modified 4"));
  f.Wheel(f.Mid(4), 100, 360);  // only the sign counts
  EXPECT_FLOAT_EQ(f.Value(4), 127.0f);
}

TEST(GridWheel, StopsAtTheMinimumAndLimitsTheRandomRange) {
  TGridFixture f;
  f.SetSteps({{2, 0.1f}, {3, 126.9f, 0.1f}});
  f.Show();
  f.grid.SetFocus();
  f.Wheel(f.Mid(2), 100, -120);
  EXPECT_EQ(f.Value(2), 0);
  f.Wheel(f.Mid(3), 100, 120);
  EXPECT_EQ(f.Value(3), 127);
  EXPECT_EQ(f.Random(3), 0);
  EXPECT_THAT(f.log, ElementsAre("modified 2", "modified 3"));
}

TEST(GridWheel, WithAltNudgesTheRandomRangeWithinTheRange) {
  TGridFixture f;
  f.SetSteps({{2, 100, 0}, {3, 127, 0}});
  f.Show();
  f.grid.SetFocus();
  f.Wheel(f.Mid(2), 100, 120, ssAlt);
  EXPECT_FLOAT_EQ(f.Random(2), 0.2f);
  f.Wheel(f.Mid(2), 100, -120, ssAlt);
  f.Wheel(f.Mid(2), 100, -120, ssAlt);  // not below 0
  EXPECT_EQ(f.Random(2), 0);
  f.Wheel(f.Mid(3), 100, 120, ssAlt);  // no room above 127
  EXPECT_EQ(f.Random(3), 0);
  EXPECT_EQ(f.Value(2), 100);
  EXPECT_THAT(f.log, ElementsAre("modified 2", "modified 2"));
}

TEST(GridWheel, OffTheActiveBarsNothingChanges) {
  TGridFixture f(nullptr, 17);
  f.Show();
  f.grid.SetFocus();
  f.Wheel(f.Mid(4), kB + 5, 120);  // the indicator strip
  f.Wheel(f.Mid(20), 100, 120);    // an inactive column
  f.Wheel(f.Mid(4), 0, 120);       // the frame
  EXPECT_THAT(f.Values(0, 64), ::testing::Each(63.0f));
  EXPECT_THAT(f.log, IsEmpty());
}

TEST(GridWheel, FollowsTheWheelStep) {
  TGridFixture f;
  f.grid.SetWheelStep(1.5f);
  f.Show();
  f.grid.SetFocus();
  f.Wheel(f.Mid(4), 100, 120);
  EXPECT_EQ(f.Value(4), 64.5f);
}

// ---- properties ----

TEST(GridProperties, CreatedWithTheDefaults) {
  TOrvCCSequencer grid;
  EXPECT_EQ(grid.Width(), 400);
  EXPECT_EQ(grid.Height(), 200);
  EXPECT_EQ(grid.MaxValue(), 127);
  EXPECT_EQ(grid.MinValue(), 0);
  EXPECT_EQ(grid.StepCount(), 32);
  EXPECT_EQ(grid.StepNo(), -1);
  EXPECT_EQ(grid.WheelStep(), 0.2f);
  EXPECT_EQ(grid.StepList().Count(), 64);
  EXPECT_EQ(grid.StepList()[63].Value(), 63);
  EXPECT_TRUE(grid.CanFocus());
}

TEST(GridProperties, TheStepCountIsLimitedToOneTo64AndKeepsTheSteps) {
  struct TCase {
    int set, count, columns;
  };
  for (const TCase c : {TCase{0, 1, 16}, {-5, 1, 16}, {100, 64, 64}, {16, 16, 16}, {17, 17, 32}, {33, 33, 64}}) {
    TOrvCCSequencer grid;
    grid.SetStepCount(c.set);
    EXPECT_EQ(grid.StepCount(), c.count) << c.set;
    EXPECT_EQ(grid.Layout().VisibleSlots, c.columns) << c.set;
  }
}

TEST(GridProperties, TheRangeNeverBecomesEmpty) {
  TOrvCCSequencer grid;
  grid.SetMaxValue(-3);
  EXPECT_EQ(grid.MaxValue(), 1);
  grid.SetMaxValue(0);
  EXPECT_EQ(grid.MaxValue(), 1);
  grid.SetMinValue(5);
  EXPECT_EQ(grid.MinValue(), 0);
  grid.SetMaxValue(127);
  grid.SetMinValue(127);
  EXPECT_EQ(grid.MinValue(), 126);
  grid.SetMinValue(-4);
  EXPECT_EQ(grid.MinValue(), 0);
  grid.SetMinValue(20);
  grid.SetMaxValue(10);
  EXPECT_EQ(grid.MaxValue(), 21);
}

TEST(GridProperties, ALayoutFollowsTheSize) {
  TOrvCCSequencer grid;
  grid.SetStepCount(64);
  grid.SetBounds(0, 0, kGridWidth, kGridHeight);
  EXPECT_EQ(grid.Layout().BarWidth, 10);
  EXPECT_EQ(grid.Layout().BarAreaHeight, 254);
  grid.SetStepCount(16);
  EXPECT_EQ(grid.Layout().BarWidth, 43);
}

TEST(GridProperties, AssigningStepsCopiesThemAndKeepsAll64) {
  TGridFixture f;
  sequencer::TCCStepList few(8);
  few[7].SetValue(5);
  few[7].SetRandomRange(3);
  few[7].SetEnabled(false);
  f.SetSteps({{10, 99}});
  f.grid.SetStepList(few);
  EXPECT_EQ(f.grid.StepList().Count(), 64);
  EXPECT_EQ(f.Value(7), 5);
  EXPECT_EQ(f.Random(7), 3);
  EXPECT_FALSE(f.grid.StepList()[7].Enabled());
  EXPECT_EQ(f.Value(10), 99);  // beyond the given list: kept
}

}  // namespace
}  // namespace vornix::editor::test
