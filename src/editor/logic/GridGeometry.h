// The step grid's arithmetic: how many columns it draws, where each column, separator and
// indicator cell lies, which step a point hits, which value a height means, how high a step's bar
// and random band are, and what a wheel notch does to a step. No drawing, no state of its own.
#pragma once

#include <optional>

#include "gfx/Bitmap.h"

namespace vornix::editor {

// 16 for up to 16 steps, 32 for up to 32, otherwise 64.
int VisibleSlots(int stepCount);

struct TGridLayout {
  int Width = 400;
  int Height = 200;
  int StepCount = 32;  // 1..64
  int Margin = 1;      // frame
  int BarGap = 1;      // between two columns: the separator line
  int IndicatorHeight = 16;
  int VisibleSlots = 32;
  int BarWidth = 0;       // of one column
  int BarAreaHeight = 0;  // rows of the bars

  // x(i): the left edge of column i.
  int ColumnLeft(int i) const { return Margin + i * (BarWidth + BarGap); }
  // B: the row below the bars, where the indicator strip's top edge runs.
  int BarBottom() const { return Height - Margin - IndicatorHeight; }
  bool Active(int i) const { return i < StepCount; }
  // Groups of four columns alternate; the first group is the darker one.
  static bool DarkGroup(int i) { return (i / 4) % 2 == 0; }

  // The bar area of column i: x(i) <= x < x(i) + BarWidth, Margin <= y < B.
  gfx::TRect ColumnRect(int i) const;
  // The separator right of column i beside the bars; empty for the last visible column.
  gfx::TRect SeparatorRect(int i) const;
  // The indicator cell below column i: B + 1 <= y < Height - Margin.
  gfx::TRect IndicatorRect(int i) const;
  // The top edge of that cell, one row at B, across the column and its gap.
  gfx::TRect IndicatorEdgeRect(int i) const;
  // The separator right of the indicator cell; empty for the last visible column.
  gfx::TRect IndicatorSeparatorRect(int i) const;
};

// The layout of a control of this size, with the step count limited to 1..64. Widths and heights
// too small for the columns give columns and a bar area of 0 pixels, never negative ones.
TGridLayout CalcLayout(int width, int height, int stepCount);

struct TStepHit {
  int Index = 0;
  bool Inside = false;  // in the bar area's rows over an active column
  friend bool operator==(const TStepHit&, const TStepHit&) = default;
};

// Column i is hit from the separator left of it through its last pixel. Left of the first column
// the index is 0, over inactive columns and right of the grid it is the last active step; those
// and the rows outside the bar area are not inside.
TStepHit StepAtPos(const TGridLayout& layout, int x, int y);

struct TValueRange {
  int MinValue = 0;
  int MaxValue = 127;
  int Range() const { return MaxValue - MinValue; }
};

// The state of a mouse gesture in the grid, cleared at creation and on every release.
struct TMouseDownInfo {
  bool AltMode = false;     // the gesture edits random ranges
  bool Modified = false;    // a step changed during the gesture
  bool ButtonDown = false;  // the left button went down inside the bar area
  bool Moved = false;       // the mouse moved with the button down
  int StartY = -1;          // reference height of the fine value mapping
  int LastStep = -1;        // the step the drag reached last
  bool FineMode = false;    // Shift was held during the drag

  void Clear() { *this = {}; }
};

// The value a height in the bar area means: round((A - y) / A * R + MinValue), ties to even. Once
// a drag has moved in fine mode, the value moves 25 units over the bar area's height from the
// height where fine mode began. Limited to MinValue..MaxValue.
int ValueFromY(const TGridLayout& layout, const TValueRange& range, int y, const TMouseDownInfo& gesture = {});

// The half-range value a Ctrl press or drag paints: trunc(R / 2).
int HalfRangeValue(const TValueRange& range);

struct TStepValues {
  float Value = 63.0f;
  float RandomRange = 0.0f;
  friend bool operator==(const TStepValues&, const TStepValues&) = default;
};

// Pixel height of a step's bar: round(Value * A / R + MinValue).
int BarHeight(const TGridLayout& layout, const TValueRange& range, float value);
// Pixel height of its random band: the random range, limited so that it ends at the top of the
// range, in pixels like the bar; 0 without a random part.
int BandHeight(const TGridLayout& layout, const TValueRange& range, TStepValues step);

struct TStepBars {
  gfx::TRect Bar;   // from B - h up to B
  gfx::TRect Band;  // on top of the bar
};
// Where column i shows its step; both empty for an inactive column. Clipped to the column.
TStepBars StepBars(const TGridLayout& layout, const TValueRange& range, int i, TStepValues step);

// A step after the mouse set its value: the random range limited so that Value + RandomRange
// stays within R.
TStepValues WithValue(const TValueRange& range, TStepValues step, float value);

// One wheel notch over a step: up for a positive delta, down for a negative one (0 does nothing);
// the random range with Alt, else the value, by `wheelStep`. Nothing when the step would not
// change.
std::optional<TStepValues> WheelChange(const TValueRange& range, TStepValues step, int wheelDelta, bool alt,
                                       float wheelStep);

}  // namespace vornix::editor
