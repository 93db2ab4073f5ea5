// The sequence page: the editor window the host shows. Eight sequence buttons, the step grid of
// the shown sequence with its menu and arrow buttons, the sequence's title and its settings, each
// setting a control bound to its host parameter by name ("Seq3 Rate Type").
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/forms/VSTEditorMenu.h"
#include "editor/grid/OrvCCSequencer.h"
#include "editor/logic/BinClipboard.h"
#include "editor/toolkit/ImageList.h"
#include "editor/toolkit/OrvGuiStitchedSwitch.h"
#include "editor/toolkit/OrvNumericInput.h"
#include "plugin/EditHistory.h"

namespace vornix::plugin {
class TVSTPlugin;
}
namespace vornix::sequencer {
class TOrvValueList;
}

namespace vornix::editor {

class TfrmEditor : public TfrmVSTEditorMenu {
 public:
  static constexpr int kClientWidth = 786;
  static constexpr int kClientHeight = 421;
  static constexpr int kSequenceCount = 8;

  TfrmEditor(plugin::TVSTPlugin& owner, platform::TWindowSystem& system, const gfx::TSkin* skin);
  ~TfrmEditor() override;

  plugin::TVSTPlugin& Plugin() const { return plugin_; }

  // Every settings control from its parameter (only what differs is written), and the grid's step
  // count from the step count shown.
  void UpdateControls() override;
  // "Seq" + the shown sequence's number + " " + the control name.
  std::string ControlParameterName(const std::string& controlName) override;
  // The shown sequence's controller.
  int GetTeachCC() override;
  void ShowControlInfo(const std::string& controlName) override;

  // The active sequences underlined, the shown one pressed, its title in the heading.
  void UpdateSequenceButtons();
  // The shown sequence's steps into the grid.
  void LoadGridSteps();
  // The playing step's highlight in the grid; -1 for none.
  void SetGridStepNo(int step);
  void ResetGridStepNo();
  // Asks for a new title of the shown sequence.
  void EditSequenceTitle();

  std::string UndoName() const override;
  std::string RedoName() const override;
  void UndoEdit() override;
  void RedoEdit() override;
  // A link learned from a controller becomes the CC map's (an edit of its own), at the host's idle.
  void CompleteLearn();

  TLabel* lblSeqHeading = nullptr;
  TOrvGuiStitchedSwitch* switchActive = nullptr;
  std::array<TOrvSpTBXSpeedButton*, kSequenceCount> btnSeq{};
  TOrvCCSequencer* CCSequencer = nullptr;
  TOrvMenuButton* btnSeqMenu = nullptr;
  TOrvSpTBXSpeedButton* btnUp = nullptr;
  TOrvSpTBXSpeedButton* btnDown = nullptr;
  TOrvSpTBXSpeedButton* btnLeft = nullptr;
  TOrvSpTBXSpeedButton* btnRight = nullptr;
  TLabel* lblSteps = nullptr;
  TOrvNumericInput* inputSteps = nullptr;
  TLabel* lblChannel = nullptr;
  TOrvNumericInput* inputChannel = nullptr;
  TLabel* lblCC = nullptr;
  TOrvNumericInput* inputCC = nullptr;
  TLabel* lblRate = nullptr;
  TOrvSpTBXSpeedButton* btnRate = nullptr;
  TLabel* lblRateType = nullptr;
  TOrvSpTBXSpeedButton* btnRateType = nullptr;
  TLabel* lblOrder = nullptr;
  TOrvSpTBXSpeedButton* btnOrder = nullptr;
  TLabel* lblTrigger = nullptr;
  TOrvSpTBXSpeedButton* btnTrigger = nullptr;
  TLabel* lblSmooth = nullptr;
  TOrvGuiStitchedSwitch* switchSmooth = nullptr;

  TImageList ImageList{16, 16};
  TBinClipboard BinClipboard;
  TOrvPopupMenu ddmRate, ddmRateType, ddmOrder, ddmTrigger;
  TOrvPopupMenu ddmSeqMenu;
  TOrvPopupMenu popSeqTitle;

 protected:
  void FormShow() override;
  void ApplyChanges(unsigned changes) override;
  // What the user does between the first input and the moment no button holds a control any more
  // is one edit.
  void EventStarts(const platform::TEvent& event) override;
  void EventEnds(const platform::TEvent& event) override;
  void NameEdit(const std::string& name) override;
  void ddmMenuPopup() override;
  // The labels that take the room their text needs measure it again.
  void ScaleChanged() override;

 private:
  void BuildHeading();
  void BuildSequenceButtons();
  void BuildGrid();
  void BuildSettings();
  void BuildSequenceMenu();
  // A settings control bound to its parameter: presses ask ControlBeforeMouseDown with the
  // control's refresh.
  template <class TControlKind>
  TControlKind& AddParameterControl(const std::string& controlName, int left, int top, int width, int height);
  TLabel& AddStaticText(const std::string& caption, int left, int top, int width, int height);
  TOrvSpTBXSpeedButton& AddValueButton(const std::string& controlName, TOrvPopupMenu& menu,
                                       const sequencer::TOrvValueList& list, int left, int top, int width);
  TOrvNumericInput& AddNumericInput(const std::string& controlName, int left, int minValue, int maxValue);
  TOrvSpTBXSpeedButton& AddArrowButton(const std::string& name, int top, int image);
  void FillValueMenu(TOrvPopupMenu& menu, const sequencer::TOrvValueList& list, const std::string& controlName,
                     TOrvSpTBXSpeedButton& button);
  void LoadArrowImages();
  // The refresh operation of a control name.
  void UpdateControl(const std::string& controlName);
  void FitHeading();
  // A static text's width: at least its design width, and as wide as its text is drawn.
  void FitStaticText(TLabel& label, int designWidth);

  void btnSeq1Click(TControl& sender);
  void CCSequencerDisplayValue(int stepNo);
  void CCSequencerModifiedValue(int stepNo);
  void ddmSeqMenuPopup();
  void ddmSeqMenu_PasteClick();
  // The info text of a step of the grid: "Step: 5  Value: 63 <=> 83".
  std::string StepText(int stepNo) const;

  void BeginEdit(bool byWheel);
  void EndEdit();
  // Undo (true) or redo (false) of the history's next edit.
  void Replay(bool undo);

  plugin::TVSTPlugin& plugin_;
  // The edit under way: the state before it, its name when a command names it.
  std::optional<plugin::TEditableState> editStart_;
  std::string editName_;
  bool editByWheel_ = false;
  bool lastEditByWheel_ = false;
  int eventDepth_ = 0;
  std::vector<std::pair<TLabel*, int>> staticTexts_;  // with their design widths
};

}  // namespace vornix::editor
