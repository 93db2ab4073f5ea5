// Holds the step grid's place on the sequence page until the grid control arrives: the same
// members the page uses, keeping the steps it is given.
#pragma once

#include <functional>

#include "editor/BinClipboard.h"
#include "editor/StepPatterns.h"
#include "editor/toolkit/OrvGuiPanel.h"
#include "platform/DialogHost.h"
#include "sequencer/CCStepList.h"

namespace vornix::editor {

class TStepGridStandIn : public TOrvGuiPanel {
 public:
  TStepGridStandIn() {
    PanelGroupColor = true;
    BorderRadius = 2;
  }
  void SetMaxValue(int) {}
  void SetMinValue(int) {}
  void SetWheelStep(float) {}
  int StepCount() const { return stepCount_; }
  void SetStepCount(int count) { stepCount_ = count < 1 ? 1 : count > 64 ? 64 : count; }
  int StepNo() const { return stepNo_; }
  void SetStepNo(int step) { stepNo_ = step; }
  void ResetStepNo() { SetStepNo(-1); }
  const sequencer::TCCStepList& StepList() const { return steps_; }
  void SetStepList(const sequencer::TCCStepList& steps) { steps_.Assign(steps); }
  void DefaultValues() {}
  void RandomizeValues() {}
  void Ramp() {}
  void RampHalf() {}
  void Sine() {}
  void SineHalf() {}
  void Triangle() {}
  void TriangleHalf() {}
  void AddRandom() {}
  void RemoveRandom() {}
  void InvertValues() {}
  void ReverseSteps() {}
  void ArrowButtonClick(TArrowButton, bool, bool) {}
  void CopySteps(TBinClipboard&) {}
  void PasteSteps(TBinClipboard&) {}

  platform::TDialogHost* DialogHost = nullptr;
  std::function<void(TStepGridStandIn&, int)> OnDisplayValue, OnModifiedValue;

 private:
  sequencer::TCCStepList steps_{64};
  int stepCount_ = 32;
  int stepNo_ = -1;
};

}  // namespace vornix::editor
