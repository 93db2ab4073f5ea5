// The step grid: the steps of one sequence as vertical bars above a strip of indicator cells, one
// per column, in which the playing step lights up. The user draws values with the left button
// (Ctrl paints the middle of the range, Alt draws random ranges instead, Shift slows the drag
// down), nudges them with the wheel, and changes the whole pattern from the sequence menu and the
// arrow buttons beside the grid.
//
// The grid edits its own copy of 64 steps and tells its owner through OnModifiedValue; it knows
// nothing of parameters, the module or MIDI. The arithmetic is GridGeometry's and StepPatterns'.
//
// Painting goes through the form like every control's: a changed step invalidates its column, a
// new playing step the two indicator cells, and the form repaints just those areas from its
// buffer. The whole grid is repainted only after a change of size, range, step count or pattern.
#pragma once

#include <functional>

#include "editor/grid/GridColors.h"
#include "editor/logic/GridGeometry.h"
#include "editor/logic/StepPatterns.h"
#include "editor/toolkit/Control.h"
#include "platform/DialogHost.h"
#include "sequencer/CCStepList.h"

namespace vornix::editor {

class TBinClipboard;
class TOrvCCSequencer;

using TOrvCCSequencerDisplayValueEvent = std::function<void(TOrvCCSequencer& sender, int stepNo)>;
using TOrvCCSequencerModifiedValueEvent = std::function<void(TOrvCCSequencer& sender, int stepNo)>;

class TOrvCCSequencer : public TControl {
 public:
  static constexpr int MaxSteps = sequencer::TCCStepList::kMaxSteps;

  // 400 × 200 pixels, 32 of 64 default steps active, no playing step, the creation colours.
  TOrvCCSequencer();

  // The value range, MinValue 0 or more and MaxValue above it. Changing either repaints.
  int MaxValue() const { return range_.MaxValue; }
  void SetMaxValue(int value);  // raised to MinValue + 1 when not above MinValue
  int MinValue() const { return range_.MinValue; }
  void SetMinValue(int value);  // limited to 0 .. MaxValue - 1
  // Active steps, 1..64: 16, 32 or 64 columns show, the ones from StepCount on inactive. The steps
  // beyond keep their values.
  int StepCount() const { return layout_.StepCount; }
  void SetStepCount(int count);
  // The step shown as playing, −1 for none. A change redraws only the old and the new cell.
  int StepNo() const { return stepNo_; }
  void SetStepNo(int stepNo);
  void ResetStepNo() { SetStepNo(-1); }
  // Value change per wheel notch.
  float WheelStep() const { return wheelStep_; }
  void SetWheelStep(float step) { wheelStep_ = step; }

  // Always all 64 steps.
  const sequencer::TCCStepList& StepList() const { return steps_; }
  // Copies the given steps (at most 64; the rest keep theirs) and repaints.
  void SetStepList(const sequencer::TCCStepList& steps);

  const TGridLayout& Layout() const { return layout_; }
  const TGridColors& Colors() const { return colors_; }

  // Redraw requests for one column (bar area and separator) and for one indicator cell (with its
  // top edge and separator; lit when it is StepNo's). Steps outside the visible columns, and
  // requests made while the grid paints, are ignored.
  void DrawStep(int i);
  void DrawStepIndicator(int i);

  // The sequence menu. Each works on the active steps, repaints and fires OnModifiedValue (−1).
  void DefaultValues();
  void RandomizeValues();
  void Ramp();
  void RampHalf();
  void Sine();
  void SineHalf();
  void Triangle();
  void TriangleHalf();
  // Asks DialogHost for the amount ("Add Random", 0..127, 16 to start with); cancelled, or without
  // a dialog host, nothing changes.
  void AddRandom();
  void RemoveRandom();
  void InvertValues();
  void ReverseSteps();
  // The arrow buttons: values or random ranges up and down, the pattern round by one step. A
  // rotation of a single step does nothing and fires nothing.
  void ShiftValues(int amount);
  void ShiftRandom(int amount);
  void RotateLeft();
  void RotateRight();
  // A whole arrow click (five rotations with Ctrl) with one repaint and one report.
  void ArrowButtonClick(TArrowButton button, bool ctrl, bool alt);
  // The active steps onto the clipboard; nothing changes, nothing fires.
  void CopySteps(TBinClipboard& clipboard);
  // The clipboard's steps and step count into the grid, read completely first: data that cannot be
  // read raises (the runtime_error's message is the one to show) and changes nothing. Fires
  // nothing; the owner takes the steps itself.
  void PasteSteps(TBinClipboard& clipboard);

  // Asks the "Add Random" question; the owner's host, which places its dialogs over the form.
  platform::TDialogHost* DialogHost = nullptr;

  // The step under the pointer while no gesture runs, and each step a drag changes.
  TOrvCCSequencerDisplayValueEvent OnDisplayValue;
  // −1 after a gesture that changed steps and after a pattern operation; the step after a wheel
  // change.
  TOrvCCSequencerModifiedValueEvent OnModifiedValue;

  void Loaded() override;
  void Paint(gfx::TCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  bool MouseWheel(TShiftState shift, int wheelDelta, TPoint screenPos) override;

 protected:
  void Resized() override;

 private:
  void CalcLayout();
  void LoadSkinColors(const gfx::TSkin& skin);
  TPatternScope Scope() const { return {layout_.StepCount, range_.MinValue, range_.MaxValue}; }
  TStepValues Step(int i) const { return {steps_[i].Value(), steps_[i].RandomRange()}; }
  void StoreStep(int i, TStepValues values);

  // Painting, into a canvas clipped to what the form repaints.
  void PaintStep(gfx::TCanvas& canvas, int i) const;
  void PaintStepIndicator(gfx::TCanvas& canvas, int i, bool highlighted) const;
  // Everything DrawStep / DrawStepIndicator repaint.
  TRect StepArea(int i) const;
  TRect IndicatorArea(int i) const;

  // The gesture.
  void PressStep(TShiftState shift, int x, int y);
  void DragSteps(TShiftState shift, int x, int y);
  void EndGesture();
  // What a drag to step i at height y sets: a value, or with AltMode a random range.
  float DragQuantity(int i, int y, TShiftState shift) const;
  void ApplyQuantity(int j, float quantity);
  bool SetStepValue(int j, float value);
  bool SetStepRandom(int j, float randomRange);

  // A pattern operation that changed the steps: repaint and report.
  void PatternDone(bool changed);

  sequencer::TCCStepList steps_{MaxSteps};
  TValueRange range_;
  TGridLayout layout_;
  int stepNo_ = -1;
  float wheelStep_ = 0.2f;
  TGridColors colors_;
  TColumnShades shades_;
  TMouseDownInfo gesture_;
  bool painting_ = false;  // drawing requests made while painting are dropped
};

}  // namespace vornix::editor
