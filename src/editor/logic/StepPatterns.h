// The step grid's pattern operations: the sequence menu's shapes and random ranges, and the arrow
// buttons beside the grid. They work on the active steps (0 .. StepCount - 1) of a list of 64; the
// other steps are never touched.
//
// Each returns true when the grid reports a modification of the whole pattern (its change event
// with step -1), which is after every operation except a rotation of a single step. Operations
// that first clear the random ranges report once, at the end.
#pragma once

#include "sequencer/CCStepList.h"

namespace vornix::editor {

// The part of the grid an operation sees.
struct TPatternScope {
  int StepCount = 32;  // active steps, 1..64
  int MinValue = 0;
  int MaxValue = 127;

  // R of the formulas: the span of values, and the limit of Value + RandomRange.
  int Range() const { return MaxValue - MinValue; }
};

// Throws std::invalid_argument unless 1 <= StepCount <= the list's count, 0 <= MinValue < MaxValue.
void CheckPatternScope(const sequencer::TCCStepList& steps, const TPatternScope& scope);

// Value ceil(R / 2), no random range.
bool DefaultValues(sequencer::TCCStepList& steps, const TPatternScope& scope);
// Random ranges cleared, then each value drawn with sequencer::Random(128), in step order.
bool RandomizeValues(sequencer::TCCStepList& steps, const TPatternScope& scope);
// The shapes clear the random ranges first.
bool Ramp(sequencer::TCCStepList& steps, const TPatternScope& scope);
bool RampHalf(sequencer::TCCStepList& steps, const TPatternScope& scope);
bool Sine(sequencer::TCCStepList& steps, const TPatternScope& scope);
bool SineHalf(sequencer::TCCStepList& steps, const TPatternScope& scope);
bool Triangle(sequencer::TCCStepList& steps, const TPatternScope& scope);
bool TriangleHalf(sequencer::TCCStepList& steps, const TPatternScope& scope);
// The amount entered in the "Add Random" dialog (0..127) added to every random range; a cancelled
// dialog must not call it.
bool AddRandom(sequencer::TCCStepList& steps, const TPatternScope& scope, double amount);
bool RemoveRandom(sequencer::TCCStepList& steps, const TPatternScope& scope);
bool InvertValues(sequencer::TCCStepList& steps, const TPatternScope& scope);
// Whole steps (value, random range, enabled) in reverse order.
bool ReverseSteps(sequencer::TCCStepList& steps, const TPatternScope& scope);
// Values move by amount; a step at exactly 0 moves its random range instead, and only downwards
// or when it already has one.
bool ShiftValues(sequencer::TCCStepList& steps, const TPatternScope& scope, int amount);
// Raising moves only existing random ranges; lowering reaches every step and stops at 0.
bool ShiftRandom(sequencer::TCCStepList& steps, const TPatternScope& scope, int amount);
// Whole steps move one place; false (nothing happens) with a single active step.
bool RotateLeft(sequencer::TCCStepList& steps, const TPatternScope& scope);
bool RotateRight(sequencer::TCCStepList& steps, const TPatternScope& scope);
// Every random range limited so that Value + RandomRange <= R; negative ones become 0.
void ClampRandomRanges(sequencer::TCCStepList& steps, const TPatternScope& scope);

// The random range limited so that value + random range stays within `range` (R), the sum taken
// exactly: a single-precision sum would let 126.8 + 0.2 pass as 127.
inline float RandomRangeWithin(float value, float randomRange, int range) {
  if (static_cast<double>(value) + randomRange > range) return static_cast<float>(range - static_cast<double>(value));
  return randomRange;
}

enum class TArrowButton { Up, Down, Left, Right };

// One click on an arrow button with Ctrl and Alt as held at the click. Up and down shift by 1
// (5 with Ctrl), the random ranges with Alt, the values otherwise; left and right rotate once
// (five times with Ctrl).
bool ArrowButtonClick(sequencer::TCCStepList& steps, const TPatternScope& scope, TArrowButton button, bool ctrl,
                      bool alt);

}  // namespace vornix::editor
