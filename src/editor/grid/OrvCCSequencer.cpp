#include "editor/grid/OrvCCSequencer.h"

#include <algorithm>

namespace vornix::editor {

namespace {

bool Held(TShiftState shift, platform::TShiftFlag flag) { return (shift & flag) != 0; }

// Sets a flag for the lifetime of a scope.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~TFlagScope() { flag_ = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

TOrvCCSequencer::TOrvCCSequencer() : shades_(colors_) {
  SetCanFocus(true);  // so that the wheel reaches it after a press
  SetBounds(0, 0, 400, 200);
  CalcLayout();
}

// ---- properties ----

void TOrvCCSequencer::SetMaxValue(int value) {
  if (value == range_.MaxValue) return;
  // An empty range would leave nothing to map heights to.
  range_.MaxValue = std::max(value, range_.MinValue + 1);
  Invalidate();
}

void TOrvCCSequencer::SetMinValue(int value) {
  if (value == range_.MinValue) return;
  range_.MinValue = std::clamp(value, 0, range_.MaxValue - 1);
  Invalidate();
}

void TOrvCCSequencer::SetStepCount(int count) {
  count = std::clamp(count, 1, MaxSteps);
  if (count == layout_.StepCount) return;
  layout_ = editor::CalcLayout(Width(), Height(), count);
  Invalidate();
}

void TOrvCCSequencer::SetStepNo(int stepNo) {
  if (stepNo == stepNo_) return;
  const int old = stepNo_;
  stepNo_ = stepNo;
  DrawStepIndicator(old);
  DrawStepIndicator(stepNo_);
}

void TOrvCCSequencer::SetStepList(const sequencer::TCCStepList& steps) {
  const int count = std::min(steps.Count(), MaxSteps);
  for (int i = 0; i < count; ++i) steps_[i].Assign(steps[i]);
  Invalidate();
}

void TOrvCCSequencer::StoreStep(int i, TStepValues values) {
  steps_[i].SetValue(values.Value);
  steps_[i].SetRandomRange(values.RandomRange);
}

// ---- layout and skin ----

void TOrvCCSequencer::CalcLayout() { layout_ = editor::CalcLayout(Width(), Height(), layout_.StepCount); }

void TOrvCCSequencer::Resized() {
  CalcLayout();
  Invalidate();
}

void TOrvCCSequencer::Loaded() {
  CalcLayout();
  if (const gfx::TSkin* skin = Skin()) LoadSkinColors(*skin);
  Invalidate();
}

void TOrvCCSequencer::LoadSkinColors(const gfx::TSkin& skin) {
  colors_ = SkinGridColors(skin);
  shades_ = TColumnShades(colors_);
}

// ---- painting ----

TRect TOrvCCSequencer::StepArea(int i) const { return layout_.ColumnRect(i).Union(layout_.SeparatorRect(i)); }

TRect TOrvCCSequencer::IndicatorArea(int i) const {
  return layout_.IndicatorEdgeRect(i).Union(layout_.IndicatorRect(i)).Union(layout_.IndicatorSeparatorRect(i));
}

void TOrvCCSequencer::DrawStep(int i) {
  if (painting_ || i < 0 || i >= layout_.VisibleSlots) return;
  InvalidateRect(StepArea(i));
}

void TOrvCCSequencer::DrawStepIndicator(int i) {
  if (painting_ || i < 0 || i >= layout_.VisibleSlots) return;
  InvalidateRect(IndicatorArea(i));
}

void TOrvCCSequencer::Paint(gfx::TCanvas& canvas) {
  if (painting_) return;
  const TFlagScope painting(painting_);
  const TRect clip = canvas.ClipRect();
  canvas.FillRect(ClientRect(), colors_.BackColor);
  canvas.FrameRect(ClientRect(), colors_.FrameColor);
  // Only the columns the form repaints: one after a step change, all after Invalidate.
  for (int i = 0; i < layout_.VisibleSlots; ++i) {
    if (!StepArea(i).Intersect(clip).Empty()) PaintStep(canvas, i);
    if (!IndicatorArea(i).Intersect(clip).Empty()) PaintStepIndicator(canvas, i, i == stepNo_);
  }
}

void TOrvCCSequencer::PaintStep(gfx::TCanvas& canvas, int i) const {
  const TColumnColors& c = shades_.Of(layout_, i);
  canvas.FillRect(layout_.ColumnRect(i), c.Back);
  const TStepBars bars = StepBars(layout_, range_, i, Step(i));
  canvas.FillRect(bars.Bar, c.Bar);
  canvas.FillRect(bars.Band, c.Random);
  canvas.FillRect(layout_.SeparatorRect(i), c.Separator);
}

void TOrvCCSequencer::PaintStepIndicator(gfx::TCanvas& canvas, int i, bool highlighted) const {
  const TColumnColors& c = shades_.Of(layout_, i);
  canvas.FillRect(layout_.IndicatorEdgeRect(i), colors_.FrameColor);
  canvas.FillRect(layout_.IndicatorRect(i), highlighted ? colors_.CurrentStepColor : c.Back);
  canvas.FillRect(layout_.IndicatorSeparatorRect(i), c.Separator);
}

// ---- mouse ----

void TOrvCCSequencer::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!Focused()) SetFocus();
  // Only the left button draws; another button pressed during a drag leaves the gesture alone.
  if (button == TMouseButton::Left) PressStep(shift, x, y);
  TControl::MouseDown(button, shift, x, y);
}

void TOrvCCSequencer::PressStep(TShiftState shift, int x, int y) {
  // A gesture whose release never arrived still reports what it changed.
  if (gesture_.ButtonDown) EndGesture();
  gesture_.Modified = false;
  const TStepHit hit = StepAtPos(layout_, x, y);
  if (!hit.Inside) return;
  const int i = hit.Index;
  gesture_.StartY = y;
  if (Held(shift, platform::ssAlt)) {
    // Below the top of the bar this is negative: no random part.
    const float r = static_cast<float>(ValueFromY(layout_, range_, y)) - steps_[i].Value();
    if (SetStepRandom(i, r)) gesture_.Modified = true;
    gesture_.AltMode = true;
  } else {
    const int v = Held(shift, platform::ssCtrl) ? HalfRangeValue(range_) : ValueFromY(layout_, range_, y);
    if (SetStepValue(i, static_cast<float>(v))) gesture_.Modified = true;
  }
  gesture_.ButtonDown = true;
}

void TOrvCCSequencer::MouseMove(TShiftState shift, int x, int y) {
  // A release that never reached us (a modal loop took it) ends the gesture here.
  if (gesture_.ButtonDown && !Held(shift, platform::ssLeft)) EndGesture();
  if (gesture_.ButtonDown) {
    DragSteps(shift, x, y);
  } else if (OnDisplayValue) {
    const TStepHit hit = StepAtPos(layout_, x, y);
    if (hit.Inside) OnDisplayValue(*this, hit.Index);
  }
  TControl::MouseMove(shift, x, y);
}

float TOrvCCSequencer::DragQuantity(int i, int y, TShiftState shift) const {
  if (gesture_.AltMode) return static_cast<float>(ValueFromY(layout_, range_, y, gesture_)) - steps_[i].Value();
  if (Held(shift, platform::ssCtrl)) return static_cast<float>(HalfRangeValue(range_));
  return static_cast<float>(ValueFromY(layout_, range_, y, gesture_));
}

void TOrvCCSequencer::DragSteps(TShiftState shift, int x, int y) {
  if (Held(shift, platform::ssShift) && !gesture_.FineMode) {
    gesture_.FineMode = true;
    gesture_.StartY = y;
  }
  gesture_.Moved = true;
  const TStepHit hit = StepAtPos(layout_, x, y);
  const int i = hit.Index;
  const int last = gesture_.LastStep;
  if (!hit.Inside) {
    // Off the bar area: only a drag that has reached a step goes on, through every step it passes.
    if (last < 0) return;
    const float q = DragQuantity(i, y, shift);
    if (i > last) {
      for (int j = last + 1; j <= i; ++j) ApplyQuantity(j, q);
    } else {
      for (int j = last; j >= i; --j) ApplyQuantity(j, q);
    }
  } else {
    const float q = DragQuantity(i, y, shift);
    // A fast drag skips columns: they take the same quantity.
    if (last >= 0 && last != i) {
      const int dir = i > last ? 1 : -1;
      for (int j = last + dir; j != i; j += dir) ApplyQuantity(j, q);
    }
    ApplyQuantity(i, q);
  }
  gesture_.LastStep = i;
}

void TOrvCCSequencer::ApplyQuantity(int j, float quantity) {
  const bool changed = gesture_.AltMode ? SetStepRandom(j, quantity) : SetStepValue(j, quantity);
  if (!changed) return;
  gesture_.Modified = true;
  if (OnDisplayValue) OnDisplayValue(*this, j);
}

bool TOrvCCSequencer::SetStepValue(int j, float value) {
  if (value == steps_[j].Value()) return false;
  StoreStep(j, WithValue(range_, Step(j), value));
  DrawStep(j);
  return true;
}

bool TOrvCCSequencer::SetStepRandom(int j, float randomRange) {
  if (randomRange == steps_[j].RandomRange()) return false;
  steps_[j].SetRandomRange(randomRange);
  DrawStep(j);
  return true;
}

void TOrvCCSequencer::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  EndGesture();
  TControl::MouseUp(button, shift, x, y);
}

void TOrvCCSequencer::EndGesture() {
  const bool modified = gesture_.Modified;
  gesture_.Clear();
  if (modified && OnModifiedValue) OnModifiedValue(*this, -1);
}

bool TOrvCCSequencer::MouseWheel(TShiftState shift, int wheelDelta, TPoint screenPos) {
  const TPoint p = ScreenToClient(screenPos);
  const TStepHit hit = StepAtPos(layout_, p.X, p.Y);
  if (hit.Inside) {
    const int i = hit.Index;
    if (const auto changed = WheelChange(range_, Step(i), wheelDelta, Held(shift, platform::ssAlt), wheelStep_)) {
      StoreStep(i, *changed);
      DrawStep(i);
      if (OnModifiedValue) OnModifiedValue(*this, i);
    }
  }
  // Taken over the steps, so that no parent acts on the same notch.
  return TControl::MouseWheel(shift, wheelDelta, screenPos) || hit.Inside;
}

}  // namespace vornix::editor
