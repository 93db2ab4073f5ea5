// The grid's whole-pattern operations: the sequence menu, the arrow buttons and the step
// clipboard, each through StepPatterns / StepClipboard on the active steps.
#include "editor/logic/BinClipboard.h"
#include "editor/grid/OrvCCSequencer.h"
#include "editor/logic/StepClipboard.h"

namespace vornix::editor {

void TOrvCCSequencer::PatternDone(bool changed) {
  if (!changed) return;
  Invalidate();
  if (OnModifiedValue) OnModifiedValue(*this, -1);
}

void TOrvCCSequencer::DefaultValues() { PatternDone(editor::DefaultValues(steps_, Scope())); }
void TOrvCCSequencer::RandomizeValues() { PatternDone(editor::RandomizeValues(steps_, Scope())); }
void TOrvCCSequencer::Ramp() { PatternDone(editor::Ramp(steps_, Scope())); }
void TOrvCCSequencer::RampHalf() { PatternDone(editor::RampHalf(steps_, Scope())); }
void TOrvCCSequencer::Sine() { PatternDone(editor::Sine(steps_, Scope())); }
void TOrvCCSequencer::SineHalf() { PatternDone(editor::SineHalf(steps_, Scope())); }
void TOrvCCSequencer::Triangle() { PatternDone(editor::Triangle(steps_, Scope())); }
void TOrvCCSequencer::TriangleHalf() { PatternDone(editor::TriangleHalf(steps_, Scope())); }
void TOrvCCSequencer::RemoveRandom() { PatternDone(editor::RemoveRandom(steps_, Scope())); }
void TOrvCCSequencer::InvertValues() { PatternDone(editor::InvertValues(steps_, Scope())); }
void TOrvCCSequencer::ReverseSteps() { PatternDone(editor::ReverseSteps(steps_, Scope())); }
void TOrvCCSequencer::ShiftValues(int amount) { PatternDone(editor::ShiftValues(steps_, Scope(), amount)); }
void TOrvCCSequencer::ShiftRandom(int amount) { PatternDone(editor::ShiftRandom(steps_, Scope(), amount)); }
void TOrvCCSequencer::RotateLeft() { PatternDone(editor::RotateLeft(steps_, Scope())); }
void TOrvCCSequencer::RotateRight() { PatternDone(editor::RotateRight(steps_, Scope())); }

void TOrvCCSequencer::ArrowButtonClick(TArrowButton button, bool ctrl, bool alt) {
  PatternDone(editor::ArrowButtonClick(steps_, Scope(), button, ctrl, alt));
}

void TOrvCCSequencer::AddRandom() {
  if (DialogHost == nullptr) return;
  const auto amount = DialogHost->InputNumber("Add Random", "Random value", 16, 0, 127, 0);
  if (!amount) return;
  PatternDone(editor::AddRandom(steps_, Scope(), *amount));
}

void TOrvCCSequencer::CopySteps(TBinClipboard& clipboard) { editor::CopySteps(clipboard, steps_, StepCount()); }

void TOrvCCSequencer::PasteSteps(TBinClipboard& clipboard) {
  // Read to the end before anything changes.
  const TClipboardSteps data = editor::PasteSteps(clipboard);
  SetStepCount(ApplyClipboardSteps(data, steps_, MinValue(), MaxValue()));
  Invalidate();
}

}  // namespace vornix::editor
