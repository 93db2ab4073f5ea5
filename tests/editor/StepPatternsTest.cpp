#include "editor/logic/StepPatterns.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sequencer/OrvRandom.h"

namespace vornix::editor {
namespace {

using sequencer::TCCStepList;

using TOperation = std::function<bool(TCCStepList&, const TPatternScope&)>;

// 64 steps whose values and random ranges are recognisable (value 100 + i, range i % 3), so that
// a test sees which steps an operation touched.
TCCStepList MarkedSteps() {
  TCCStepList steps(TCCStepList::kMaxSteps);
  for (int i = 0; i < steps.Count(); ++i) {
    steps[i].SetValue(static_cast<float>(100 + i % 20));
    steps[i].SetRandomRange(static_cast<float>(i % 3));
    steps[i].SetEnabled(i % 2 == 0);
  }
  return steps;
}

std::vector<float> Values(const TCCStepList& steps, int count) {
  std::vector<float> v;
  for (int i = 0; i < count; ++i) v.push_back(steps[i].Value());
  return v;
}

std::vector<float> Ranges(const TCCStepList& steps, int count) {
  std::vector<float> v;
  for (int i = 0; i < count; ++i) v.push_back(steps[i].RandomRange());
  return v;
}

// The steps from `first` on are exactly as MarkedSteps made them.
void ExpectUntouchedFrom(const TCCStepList& steps, int first) {
  const TCCStepList marked = MarkedSteps();
  for (int i = first; i < steps.Count(); ++i) {
    EXPECT_EQ(steps[i].Value(), marked[i].Value()) << "step " << i;
    EXPECT_EQ(steps[i].RandomRange(), marked[i].RandomRange()) << "step " << i;
    EXPECT_EQ(steps[i].Enabled(), marked[i].Enabled()) << "step " << i;
  }
}

struct TShapeCase {
  std::string Name;
  TOperation Operation;
  int StepCount;
  std::vector<float> Expected;
};

TEST(StepPatterns, ShapesGiveTheirTablesAndClearRandomRanges) {
  const TShapeCase cases[] = {
      {"Ramp", Ramp, 16, {0, 8, 17, 25, 34, 42, 51, 59, 68, 76, 85, 93, 102, 110, 119, 127}},
      {"Ramp 1/2", RampHalf, 16, {0, 4, 8, 13, 17, 21, 25, 30, 34, 38, 42, 47, 51, 55, 59, 64}},
      {"Sine", Sine, 16, {64, 40, 19, 6, 1, 6, 19, 40, 64, 88, 109, 122, 127, 122, 109, 88}},
      {"Sine 1/2", SineHalf, 16, {32, 20, 10, 3, 1, 3, 10, 20, 32, 44, 54, 61, 63, 61, 54, 44}},
      {"Triangle", Triangle, 16, {0, 18, 36, 54, 73, 91, 109, 127, 127, 109, 91, 73, 54, 36, 18, 0}},
      {"Triangle 1/2", TriangleHalf, 16, {0, 9, 18, 27, 36, 45, 54, 63, 63, 54, 45, 36, 27, 18, 9, 0}},
      {"Triangle", Triangle, 5, {0, 64, 127, 64, 0}},
      {"Triangle", Triangle, 3, {0, 127, 0}},
      {"Triangle", Triangle, 2, {0, 0}},
      {"Triangle", Triangle, 1, {0}},
      {"Triangle 1/2", TriangleHalf, 5, {0, 32, 64, 32, 0}},
      {"Ramp", Ramp, 2, {0, 127}},
      {"Ramp", Ramp, 1, {0}},
      {"Ramp 1/2", RampHalf, 2, {0, 64}},
      {"Ramp", Ramp, 3, {0, 64, 127}},
      // The single-precision step puts the middle of 7 steps at 63.4999981, not at the tie 63.5.
      {"Ramp", Ramp, 7, {0, 21, 42, 63, 85, 106, 127}},
      {"Sine", Sine, 4, {64, 1, 64, 127}},
      {"Sine", Sine, 1, {64}},
      {"Sine 1/2", SineHalf, 4, {32, 1, 32, 63}},
  };
  for (const TShapeCase& c : cases) {
    SCOPED_TRACE(c.Name + " with " + std::to_string(c.StepCount) + " steps");
    TCCStepList steps = MarkedSteps();
    EXPECT_TRUE(c.Operation(steps, {c.StepCount, 0, 127}));
    EXPECT_EQ(Values(steps, c.StepCount), c.Expected);
    EXPECT_EQ(Ranges(steps, c.StepCount), std::vector<float>(static_cast<std::size_t>(c.StepCount), 0.0f));
    ExpectUntouchedFrom(steps, c.StepCount);
  }
}

TEST(StepPatterns, ShapesStayInTheirBandsForEveryStepCount) {
  struct TBand {
    TOperation Operation;
    float Low, High;
  };
  const TBand bands[] = {{Ramp, 0, 127},    {RampHalf, 0, 64},  {Sine, 1, 127},
                         {SineHalf, 1, 63}, {Triangle, 0, 127}, {TriangleHalf, 0, 64}};
  for (int n = 1; n <= 64; ++n) {
    for (const TBand& band : bands) {
      TCCStepList steps = MarkedSteps();
      band.Operation(steps, {n, 0, 127});
      for (int i = 0; i < n; ++i) {
        EXPECT_GE(steps[i].Value(), band.Low) << n << " steps, step " << i;
        EXPECT_LE(steps[i].Value(), band.High) << n << " steps, step " << i;
      }
    }
  }
}

TEST(StepPatterns, DefaultSetsTheMiddleAndRemovesRandomRanges) {
  TCCStepList steps = MarkedSteps();
  EXPECT_TRUE(DefaultValues(steps, {10, 0, 127}));
  EXPECT_EQ(Values(steps, 10), std::vector<float>(10, 64.0f));
  EXPECT_EQ(Ranges(steps, 10), std::vector<float>(10, 0.0f));
  ExpectUntouchedFrom(steps, 10);
}

TEST(StepPatterns, RandomizeDrawsEachActiveStepInOrderFromTheSharedGenerator) {
  sequencer::SetRandSeed(0x12345678u);
  std::vector<float> expected;
  for (int i = 0; i < 12; ++i) expected.push_back(static_cast<float>(sequencer::Random(128)));

  sequencer::SetRandSeed(0x12345678u);
  TCCStepList steps = MarkedSteps();
  // The bound stays 128 with a narrower range.
  EXPECT_TRUE(RandomizeValues(steps, {12, 0, 40}));
  EXPECT_EQ(Values(steps, 12), expected);
  EXPECT_EQ(Ranges(steps, 12), std::vector<float>(12, 0.0f));
  ExpectUntouchedFrom(steps, 12);
}

// One step before and after an operation on a single active step.
struct TStepCase {
  float Value, Range;
  float ExpectedValue, ExpectedRange;
};

void ExpectStepCases(const std::string& name, const std::function<bool(TCCStepList&, const TPatternScope&)>& operation,
                     const std::vector<TStepCase>& cases) {
  for (const TStepCase& c : cases) {
    SCOPED_TRACE(name + " on value " + std::to_string(c.Value) + ", range " + std::to_string(c.Range));
    TCCStepList steps = MarkedSteps();
    steps[0].SetValue(c.Value);
    steps[0].SetRandomRange(c.Range);
    EXPECT_TRUE(operation(steps, {1, 0, 127}));
    EXPECT_EQ(steps[0].Value(), c.ExpectedValue);
    EXPECT_EQ(steps[0].RandomRange(), c.ExpectedRange);
    ExpectUntouchedFrom(steps, 1);
  }
}

TEST(StepPatterns, ArrowsUpAndDownMoveValuesOrTheRandomRangeOfStepsAtZero) {
  const auto arrow = [](TArrowButton button, bool ctrl, bool alt) {
    return [=](TCCStepList& s, const TPatternScope& scope) { return ArrowButtonClick(s, scope, button, ctrl, alt); };
  };
  ExpectStepCases("Ctrl+Up", arrow(TArrowButton::Up, true, false),
                  {{0, 0, 0, 0}, {1, 0, 6, 0}, {125, 0, 127, 0}, {0, 3, 0, 8}, {120, 7, 125, 2}, {0.5f, 0, 5.5f, 0}});
  ExpectStepCases("Up", arrow(TArrowButton::Up, false, false), {{0, 0, 0, 0}, {127, 0, 127, 0}, {126, 1, 127, 0}});
  ExpectStepCases("Down", arrow(TArrowButton::Down, false, false),
                  {{0, 3, 0, 2}, {0, 0, 0, 0}, {5, 4, 4, 4}, {0.5f, 0, 0, 0}});
  ExpectStepCases("Ctrl+Down", arrow(TArrowButton::Down, true, false), {{3, 2, 0, 2}, {0, 3, 0, 0}});
  ExpectStepCases("Alt+Up", arrow(TArrowButton::Up, false, true), {{10, 0, 10, 0}, {10, 4, 10, 5}, {126, 1, 126, 1}});
  ExpectStepCases("Alt+Ctrl+Up", arrow(TArrowButton::Up, true, true), {{10, 4, 10, 9}, {120, 4, 120, 7}});
  ExpectStepCases("Alt+Down", arrow(TArrowButton::Down, false, true), {{10, 0, 10, 0}, {10, 4, 10, 3}});
  ExpectStepCases("Alt+Ctrl+Down", arrow(TArrowButton::Down, true, true), {{10, 4, 10, 0}, {0, 7, 0, 2}});
}

TEST(StepPatterns, RandomRangeOperationsKeepValuePlusRangeWithinTheRange) {
  ExpectStepCases("Add Random 16", [](TCCStepList& s, const TPatternScope& scope) { return AddRandom(s, scope, 16); },
                  {{0, 0, 0, 16}, {120, 0, 120, 7}, {64, 5, 64, 21}, {64, -3, 64, 13}, {127, 0, 127, 0}});
  ExpectStepCases("Add Random 0", [](TCCStepList& s, const TPatternScope& scope) { return AddRandom(s, scope, 0); },
                  {{64, -3, 64, 0}, {100, 40, 100, 27}});
  ExpectStepCases("Remove Random", RemoveRandom, {{64, 5, 64, 0}, {64, -3, 64, 0}});
  ExpectStepCases("Invert", InvertValues, {{10, 100, 117, 10}, {0, 0, 127, 0}, {127, 0, 0, 0}, {63.5f, 2, 63.5f, 2}});
}

TEST(StepPatterns, ClampRandomRangesLimitsTheSumAndDropsNegativeRanges) {
  TCCStepList steps = MarkedSteps();
  // The sum is exact: 126.8 + 0.2 in singles lies above 127, though their single sum is 127.
  const std::vector<TStepCase> cases = {
      {100, 40, 100, 27}, {10, -5, 10, 0}, {10, 5, 10, 5}, {127, 0, 127, 0}, {126.8f, 0.2f, 126.8f, 127.0f - 126.8f}};
  const int n = static_cast<int>(cases.size());
  for (int i = 0; i < n; ++i) {
    steps[i].SetValue(cases[i].Value);
    steps[i].SetRandomRange(cases[i].Range);
  }
  ClampRandomRanges(steps, {n, 0, 127});
  for (int i = 0; i < n; ++i) {
    EXPECT_EQ(steps[i].Value(), cases[i].ExpectedValue) << i;
    EXPECT_EQ(steps[i].RandomRange(), cases[i].ExpectedRange) << i;
  }
  ExpectUntouchedFrom(steps, n);
}

TEST(StepPatterns, RotationsMoveWholeActiveSteps) {
  struct TCase {
    TArrowButton Button;
    bool Ctrl;
    std::vector<float> Expected;
  };
  const TCase cases[] = {
      {TArrowButton::Left, false, {20, 30, 40, 10}},
      {TArrowButton::Right, false, {40, 10, 20, 30}},
      // Five places on four steps are one.
      {TArrowButton::Left, true, {20, 30, 40, 10}},
      {TArrowButton::Right, true, {40, 10, 20, 30}},
  };
  for (const TCase& c : cases) {
    TCCStepList steps = MarkedSteps();
    for (int i = 0; i < 4; ++i) steps[i].SetValue(10.0f * (i + 1));
    EXPECT_TRUE(ArrowButtonClick(steps, {4, 0, 127}, c.Button, c.Ctrl, false));
    EXPECT_EQ(Values(steps, 4), c.Expected);
    ExpectUntouchedFrom(steps, 4);
  }

  // The random range and the enabled flag travel with the value.
  TCCStepList steps = MarkedSteps();
  EXPECT_TRUE(RotateLeft(steps, {3, 0, 127}));
  const TCCStepList marked = MarkedSteps();
  for (int i = 0; i < 3; ++i) {
    const int from = (i + 1) % 3;
    EXPECT_EQ(steps[i].Value(), marked[from].Value());
    EXPECT_EQ(steps[i].RandomRange(), marked[from].RandomRange());
    EXPECT_EQ(steps[i].Enabled(), marked[from].Enabled());
  }
}

TEST(StepPatterns, RotatingASingleStepDoesNothingAndReportsNothing) {
  for (const bool ctrl : {false, true}) {
    for (const TArrowButton button : {TArrowButton::Left, TArrowButton::Right}) {
      TCCStepList steps = MarkedSteps();
      EXPECT_FALSE(ArrowButtonClick(steps, {1, 0, 127}, button, ctrl, false));
      ExpectUntouchedFrom(steps, 0);
    }
  }
  TCCStepList steps = MarkedSteps();
  EXPECT_FALSE(RotateLeft(steps, {1, 0, 127}));
  EXPECT_FALSE(RotateRight(steps, {1, 0, 127}));
  ExpectUntouchedFrom(steps, 0);
}

TEST(StepPatterns, ReverseMovesWholeActiveStepsOnly) {
  for (const int n : {1, 4, 5, 64}) {
    TCCStepList steps = MarkedSteps();
    EXPECT_TRUE(ReverseSteps(steps, {n, 0, 127}));
    const TCCStepList marked = MarkedSteps();
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(steps[i].Value(), marked[n - 1 - i].Value());
      EXPECT_EQ(steps[i].RandomRange(), marked[n - 1 - i].RandomRange());
      EXPECT_EQ(steps[i].Enabled(), marked[n - 1 - i].Enabled());
    }
    ExpectUntouchedFrom(steps, n);
  }
}

TEST(StepPatterns, ScopesOutsideTheListAreRefused) {
  TCCStepList steps = MarkedSteps();
  const TPatternScope bad[] = {{0, 0, 127}, {65, 0, 127}, {4, 10, 10}, {4, -1, 127}, {4, 20, 10}};
  for (const TPatternScope& scope : bad) {
    EXPECT_THROW(Ramp(steps, scope), std::invalid_argument);
    EXPECT_THROW(RotateLeft(steps, scope), std::invalid_argument);
  }
  TCCStepList few(8);
  EXPECT_THROW(Sine(few, {9, 0, 127}), std::invalid_argument);
  ExpectUntouchedFrom(steps, 0);
}

}  // namespace
}  // namespace vornix::editor
