#include "editor/logic/StepPatterns.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "sequencer/OrvRandom.h"
#include "sequencer/Rounding.h"

namespace vornix::editor {

using sequencer::RoundHalfEven;
using sequencer::TCCStepItem;
using sequencer::TCCStepList;

namespace {

// The shapes' step widths are single-precision numbers: a wider quotient rounds some steps to the
// other neighbour (the 7th step of "Triangle 1/2" on 16 steps is 63, not 64).
float Single(double quotient) { return static_cast<float>(quotient); }

float Rounded(double v) { return static_cast<float>(RoundHalfEven(v)); }

template <class F>
void ForEachActive(TCCStepList& steps, const TPatternScope& scope, F&& f) {
  for (int i = 0; i < scope.StepCount; ++i) f(steps[i]);
}

void ClearRandomRanges(TCCStepList& steps, const TPatternScope& scope) {
  ForEachActive(steps, scope, [](TCCStepItem& s) { s.SetRandomRange(0.0f); });
}

// Both ramps: 0 at the start, `last` at the end, whole numbers on a line of slope d between.
void FillRamp(TCCStepList& steps, const TPatternScope& scope, double span, float last) {
  CheckPatternScope(steps, scope);
  ClearRandomRanges(steps, scope);
  const int n = scope.StepCount;
  steps[0].SetValue(0.0f);
  if (n <= 1) return;
  const float d = Single(span / (n - 1));
  for (int i = 1; i < n - 1; ++i) steps[i].SetValue(Rounded(i * static_cast<double>(d)));
  steps[n - 1].SetValue(last);
}

// Both triangles: 0 at both ends, rising by d to a peak of one step (odd counts) or two (even).
void FillTriangle(TCCStepList& steps, const TPatternScope& scope, double span) {
  CheckPatternScope(steps, scope);
  ClearRandomRanges(steps, scope);
  const int n = scope.StepCount;
  steps[0].SetValue(0.0f);
  if (n <= 1) return;
  if (n > 2) {
    const int h = (n - 2) / 2 + (n % 2 == 1 ? 1 : 0);
    const float d = Single(span / h);
    for (int i = 1; i <= h; ++i) {
      const float v = Rounded(i * static_cast<double>(d));
      steps[i].SetValue(v);
      steps[n - i - 1].SetValue(v);
    }
  }
  steps[n - 1].SetValue(0.0f);
}

// One period over the active steps, starting in the middle and falling first. The phase grows by
// addition, step by step.
template <class F>
void FillSine(TCCStepList& steps, const TPatternScope& scope, F&& valueOfSine) {
  CheckPatternScope(steps, scope);
  ClearRandomRanges(steps, scope);
  const double step = 2.0 * std::numbers::pi / scope.StepCount;
  double phase = 0.0;
  for (int i = 0; i < scope.StepCount; ++i) {
    steps[i].SetValue(static_cast<float>(valueOfSine(std::sin(phase))));
    phase += step;
  }
}

void RotateLeftOnce(TCCStepList& steps, int n) {
  const TCCStepItem first = steps[0];
  for (int i = 0; i < n - 1; ++i) steps[i] = steps[i + 1];
  steps[n - 1] = first;
}

void RotateRightOnce(TCCStepList& steps, int n) {
  const TCCStepItem last = steps[n - 1];
  for (int i = n - 1; i > 0; --i) steps[i] = steps[i - 1];
  steps[0] = last;
}

}  // namespace

void CheckPatternScope(const TCCStepList& steps, const TPatternScope& scope) {
  if (scope.StepCount < 1 || scope.StepCount > steps.Count())
    throw std::invalid_argument("Step count " + std::to_string(scope.StepCount) + " outside 1.." +
                                std::to_string(steps.Count()));
  if (scope.MinValue < 0 || scope.MaxValue <= scope.MinValue)
    throw std::invalid_argument("Value range " + std::to_string(scope.MinValue) + ".." +
                                std::to_string(scope.MaxValue) + " is empty or negative");
}

void ClampRandomRanges(TCCStepList& steps, const TPatternScope& scope) {
  const int r = scope.Range();
  ForEachActive(steps, scope, [r](TCCStepItem& s) {
    const float limited = RandomRangeWithin(s.Value(), s.RandomRange(), r);
    if (limited != s.RandomRange())
      s.SetRandomRange(limited);
    else if (s.RandomRange() < 0.0f)
      s.SetRandomRange(0.0f);
  });
}

bool DefaultValues(TCCStepList& steps, const TPatternScope& scope) {
  CheckPatternScope(steps, scope);
  // ceil(R / 2): 64 for 0..127, while a new step starts at 63.
  const float v = static_cast<float>((scope.Range() + 1) / 2);
  ForEachActive(steps, scope, [v](TCCStepItem& s) {
    s.SetValue(v);
    s.SetRandomRange(0.0f);
  });
  return true;
}

bool RandomizeValues(TCCStepList& steps, const TPatternScope& scope) {
  CheckPatternScope(steps, scope);
  ClearRandomRanges(steps, scope);
  // 128 whatever the range: the menu item knows only the controller range.
  ForEachActive(steps, scope, [](TCCStepItem& s) { s.SetValue(static_cast<float>(sequencer::Random(128))); });
  return true;
}

bool Ramp(TCCStepList& steps, const TPatternScope& scope) {
  FillRamp(steps, scope, scope.Range(), static_cast<float>(scope.MaxValue));
  return true;
}

bool RampHalf(TCCStepList& steps, const TPatternScope& scope) {
  FillRamp(steps, scope, scope.Range() / 2.0, Rounded(scope.MaxValue / 2.0));
  return true;
}

bool Sine(TCCStepList& steps, const TPatternScope& scope) {
  const int a = scope.Range() / 2;
  FillSine(steps, scope, [a](double s) { return a - RoundHalfEven(s * a) + 1; });
  return true;
}

bool SineHalf(TCCStepList& steps, const TPatternScope& scope) {
  const int a = scope.Range() / 2;
  const int q = scope.Range() / 4;
  FillSine(steps, scope, [a, q](double s) { return a - RoundHalfEven(s * q) - q; });
  return true;
}

bool Triangle(TCCStepList& steps, const TPatternScope& scope) {
  FillTriangle(steps, scope, scope.Range());
  return true;
}

bool TriangleHalf(TCCStepList& steps, const TPatternScope& scope) {
  FillTriangle(steps, scope, scope.Range() / 2.0);
  return true;
}

bool AddRandom(TCCStepList& steps, const TPatternScope& scope, double amount) {
  CheckPatternScope(steps, scope);
  ForEachActive(steps, scope,
                [amount](TCCStepItem& s) { s.SetRandomRange(static_cast<float>(s.RandomRange() + amount)); });
  ClampRandomRanges(steps, scope);
  return true;
}

bool RemoveRandom(TCCStepList& steps, const TPatternScope& scope) {
  CheckPatternScope(steps, scope);
  ClearRandomRanges(steps, scope);
  return true;
}

bool InvertValues(TCCStepList& steps, const TPatternScope& scope) {
  CheckPatternScope(steps, scope);
  const float top = static_cast<float>(scope.MaxValue);
  ForEachActive(steps, scope, [top](TCCStepItem& s) { s.SetValue(top - s.Value()); });
  ClampRandomRanges(steps, scope);
  return true;
}

bool ReverseSteps(TCCStepList& steps, const TPatternScope& scope) {
  CheckPatternScope(steps, scope);
  for (int i = 0, j = scope.StepCount - 1; i < j; ++i, --j) {
    const TCCStepItem t = steps[i];
    steps[i] = steps[j];
    steps[j] = t;
  }
  return true;
}

bool ShiftValues(TCCStepList& steps, const TPatternScope& scope, int amount) {
  CheckPatternScope(steps, scope);
  const float low = static_cast<float>(scope.MinValue);
  const float high = static_cast<float>(scope.Range());
  ForEachActive(steps, scope, [&](TCCStepItem& s) {
    if (amount > 0 && s.Value() == 0.0f && s.RandomRange() == 0.0f) return;
    if (s.Value() != 0.0f)
      s.SetValue(std::clamp(s.Value() + static_cast<float>(amount), low, high));
    else
      s.SetRandomRange(s.RandomRange() + static_cast<float>(amount));
  });
  ClampRandomRanges(steps, scope);
  return true;
}

bool ShiftRandom(TCCStepList& steps, const TPatternScope& scope, int amount) {
  CheckPatternScope(steps, scope);
  ForEachActive(steps, scope, [amount](TCCStepItem& s) {
    if (amount <= 0 || s.RandomRange() != 0.0f) s.SetRandomRange(s.RandomRange() + static_cast<float>(amount));
  });
  ClampRandomRanges(steps, scope);
  return true;
}

bool RotateLeft(TCCStepList& steps, const TPatternScope& scope) {
  CheckPatternScope(steps, scope);
  if (scope.StepCount == 1) return false;
  RotateLeftOnce(steps, scope.StepCount);
  return true;
}

bool RotateRight(TCCStepList& steps, const TPatternScope& scope) {
  CheckPatternScope(steps, scope);
  if (scope.StepCount == 1) return false;
  RotateRightOnce(steps, scope.StepCount);
  return true;
}

bool ArrowButtonClick(TCCStepList& steps, const TPatternScope& scope, TArrowButton button, bool ctrl, bool alt) {
  switch (button) {
    case TArrowButton::Up:
    case TArrowButton::Down: {
      const int amount = (ctrl ? 5 : 1) * (button == TArrowButton::Up ? 1 : -1);
      return alt ? ShiftRandom(steps, scope, amount) : ShiftValues(steps, scope, amount);
    }
    case TArrowButton::Left:
    case TArrowButton::Right: {
      bool modified = false;
      for (int i = 0; i < (ctrl ? 5 : 1); ++i)
        modified |= button == TArrowButton::Left ? RotateLeft(steps, scope) : RotateRight(steps, scope);
      return modified;
    }
  }
  return false;
}

}  // namespace vornix::editor
