#include "editor/logic/GridGeometry.h"

#include <algorithm>
#include <cstdint>

#include "editor/logic/StepPatterns.h"
#include "sequencer/Rounding.h"

namespace vornix::editor {

using gfx::TRect;

namespace {

// num / den rounded to nearest with ties to even, exactly (den > 0): the value mapping's quotients
// land on ties (Y = 1 on the page is exactly 126.5), where a floating-point quotient could fall
// on either side.
std::int64_t DivideRoundHalfEven(std::int64_t num, std::int64_t den) {
  std::int64_t q = num / den;
  std::int64_t rem = num % den;
  if (rem < 0) {
    --q;
    rem += den;
  }
  if (2 * rem > den || (2 * rem == den && q % 2 != 0)) ++q;
  return q;
}

int PixelHeight(const TGridLayout& layout, const TValueRange& range, double v) {
  return static_cast<int>(sequencer::RoundHalfEven(v * layout.BarAreaHeight / range.Range() + range.MinValue));
}

}  // namespace

int VisibleSlots(int stepCount) {
  if (stepCount <= 16) return 16;
  if (stepCount <= 32) return 32;
  return 64;
}

TGridLayout CalcLayout(int width, int height, int stepCount) {
  TGridLayout l;
  l.Width = width;
  l.Height = height;
  l.StepCount = std::clamp(stepCount, 1, 64);
  l.IndicatorHeight = 16;
  l.VisibleSlots = VisibleSlots(l.StepCount);
  // A negative width would make the hit test divide by zero.
  l.BarWidth = std::max(0, (width - 2 * l.Margin - (l.VisibleSlots - 1) * l.BarGap) / l.VisibleSlots);
  l.BarAreaHeight = std::max(0, height - l.IndicatorHeight - 2 * l.Margin);
  return l;
}

TRect TGridLayout::ColumnRect(int i) const { return {ColumnLeft(i), Margin, ColumnLeft(i) + BarWidth, BarBottom()}; }

TRect TGridLayout::SeparatorRect(int i) const {
  if (i >= VisibleSlots - 1) return {};
  const int x = ColumnLeft(i) + BarWidth;
  return {x, Margin, x + 1, BarBottom()};
}

TRect TGridLayout::IndicatorRect(int i) const {
  return {ColumnLeft(i), BarBottom() + 1, ColumnLeft(i) + BarWidth, Height - Margin};
}

TRect TGridLayout::IndicatorEdgeRect(int i) const {
  return {ColumnLeft(i), BarBottom(), ColumnLeft(i) + BarWidth + BarGap, BarBottom() + 1};
}

TRect TGridLayout::IndicatorSeparatorRect(int i) const {
  if (i >= VisibleSlots - 1) return {};
  const int x = ColumnLeft(i) + BarWidth;
  return {x, BarBottom() + 1, x + 1, Height - Margin};
}

TStepHit StepAtPos(const TGridLayout& layout, int x, int y) {
  TStepHit hit;
  hit.Inside = y >= layout.Margin && y < layout.Height - layout.IndicatorHeight - layout.Margin;
  if (x < layout.Margin) {
    hit.Inside = false;
    hit.Index = 0;
    return hit;
  }
  // The column pitch measured from x = 0, not from the margin: with a margin of one pixel the
  // separator left of a column counts to it.
  hit.Index = x / (layout.BarWidth + layout.BarGap);
  if (hit.Index >= layout.StepCount) {
    hit.Inside = false;
    hit.Index = layout.StepCount - 1;
  }
  return hit;
}

int ValueFromY(const TGridLayout& layout, const TValueRange& range, int y, const TMouseDownInfo& gesture) {
  const std::int64_t a = std::max(1, layout.BarAreaHeight);
  const std::int64_t r = range.Range();
  // ((StartY - Y) / (R / 25) + (A - StartY)) / A * R, with R cancelled out of the first term.
  const std::int64_t num =
      gesture.FineMode && gesture.Moved ? 25 * (gesture.StartY - y) + (a - gesture.StartY) * r : (a - y) * r;
  const std::int64_t v = DivideRoundHalfEven(num, a) + range.MinValue;
  return static_cast<int>(std::clamp<std::int64_t>(v, range.MinValue, range.MaxValue));
}

int HalfRangeValue(const TValueRange& range) { return range.Range() / 2; }

int BarHeight(const TGridLayout& layout, const TValueRange& range, float value) {
  return PixelHeight(layout, range, value);
}

int BandHeight(const TGridLayout& layout, const TValueRange& range, TStepValues step) {
  if (!(step.RandomRange > 0.0f)) return 0;
  const float r = RandomRangeWithin(step.Value, step.RandomRange, range.Range());
  if (!(r > 0.0f)) return 0;
  return PixelHeight(layout, range, r);
}

TStepBars StepBars(const TGridLayout& layout, const TValueRange& range, int i, TStepValues step) {
  if (!layout.Active(i)) return {};
  const TRect column = layout.ColumnRect(i);
  const int b = layout.BarBottom();
  const int h = BarHeight(layout, range, step.Value);
  const int hr = BandHeight(layout, range, step);
  TStepBars bars;
  bars.Bar = TRect{column.Left, b - h, column.Right, b}.Intersect(column);
  if (hr > 0) bars.Band = TRect{column.Left, b - h - hr, column.Right, b - h}.Intersect(column);
  if (bars.Bar.Empty()) bars.Bar = {};
  if (bars.Band.Empty()) bars.Band = {};
  return bars;
}

TStepValues WithValue(const TValueRange& range, TStepValues step, float value) {
  step.Value = value;
  step.RandomRange = RandomRangeWithin(step.Value, step.RandomRange, range.Range());
  return step;
}

std::optional<TStepValues> WheelChange(const TValueRange& range, TStepValues step, int wheelDelta, bool alt,
                                       float wheelStep) {
  if (wheelDelta == 0) return std::nullopt;
  const bool up = wheelDelta > 0;
  TStepValues changed = step;
  if (alt) {
    if (up)
      changed.RandomRange = RandomRangeWithin(step.Value, step.RandomRange + wheelStep, range.MaxValue);
    else
      changed.RandomRange = std::max(step.RandomRange - wheelStep, 0.0f);
  } else {
    const float v = up ? std::min(step.Value + wheelStep, static_cast<float>(range.MaxValue))
                       : std::max(step.Value - wheelStep, static_cast<float>(range.MinValue));
    if (v == step.Value) return std::nullopt;
    changed = WithValue(range, step, v);
  }
  if (changed == step) return std::nullopt;
  return changed;
}

}  // namespace vornix::editor
