// The editor window's heading layer: the product name, the preset button, the info line and the
// main menu, MIDI learn and teach, and the link between parameter controls and the module's
// parameters that the sequence page builds on.
#pragma once

#include <functional>
#include <string>

#include "editor/forms/VSTEditorBase.h"
#include "editor/toolkit/Label.h"
#include "editor/toolkit/OrvMenuButton.h"
#include "editor/toolkit/OrvPopupMenu.h"
#include "editor/toolkit/OrvSpTBXSpeedButton.h"
#include "editor/toolkit/Panel.h"

namespace vornix::editor {

class TfrmVSTEditorMenu : public TfrmVSTEditorBase {
 public:
  static constexpr int kClientWidth = 656;
  static constexpr int kInfoMilliseconds = 3000;

  TfrmVSTEditorMenu(plugin::TVSTPluginBase& owner, platform::TWindowSystem& system, const gfx::TSkin* skin);
  // Learn and teach end with the window.
  ~TfrmVSTEditorMenu() override;

  void UpdatePresetName() override;
  // The name and the preset button's text are measured again.
  void ScaleChanged() override;

  // A line about a control in the info line (the page knows the texts).
  virtual void ShowControlInfo(const std::string& controlName) { (void)controlName; }
  virtual void LowestOctaveChanged() {}
  // The parameter a control stands for.
  virtual std::string ControlParameterName(const std::string& controlName) { return controlName; }
  // The controller "MIDI CC Teach" sends; -1 for none.
  virtual int GetTeachCC() { return -1; }
  // "Init": the init preset or the defaults, then every control anew.
  virtual void InitPreset();
  // A press on a parameter control, before the control reacts: learn, reset to the default with
  // Ctrl, or telling the host the parameter is touched. False stops the control from reacting.
  // `shift` holds the pressed button too; `refresh` writes the control from its parameter.
  virtual bool ControlBeforeMouseDown(const std::string& controlName, TShiftState shift,
                                      const std::function<void()>& refresh);
  // A control's value changed: its parameter follows unless it already holds the value. `value`
  // is the chosen tag of a list button.
  virtual void ControlValueChanged(const std::string& controlName, TControl& control, float value);
  // Writes a control from its parameter, without writing the parameter back.
  virtual void UpdateControlFromParameter(const std::string& controlName, TControl& control);
  // A message in the info line for three seconds (for as long as a learn mode lasts); empty
  // clears it.
  virtual void ShowInfo(const std::string& text);

  // "Load Preset" (the main menu and the preset button): the browser, then its choice loaded.
  void ShowPresetBrowser();

  // Undo and redo of the editor's own edits: what the next undo (redo) would take back (empty:
  // nothing), and doing it. The sequence page keeps the history.
  virtual std::string UndoName() const { return {}; }
  virtual std::string RedoName() const { return {}; }
  virtual void UndoEdit() {}
  virtual void RedoEdit() {}
  // Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo.
  bool KeyDown(int key, TShiftState shift) override;

  // Leaves MIDI learn and clears the info line; commands of the page start with it.
  void CancelMidiLearn();

  // The zoom the editor shows at, in percent (while the host is asked for a new size: that one's).
  int Zoom() const { return requestedZoom_ != 0 ? requestedZoom_ : Scale().Percent(); }
  // Asks the host to fit its window to the editor at another zoom (audioMasterSizeWindow) and, when
  // it does, shows the editor at it; false when the host refused (the editor stays as it is).
  bool ResizeTo(int zoom);
  // The user guide found when the window was made; empty when there is none.
  const std::string& UserGuidePath() const { return FUserGuidePath; }

  TPanel* const panHeading;
  TLabel* const lblName;
  TPanel* const panInfo;
  TLabel* const lblInfo;
  TOrvMenuButton* const btnMenu;
  TOrvSpTBXSpeedButton* const btnPresets;
  TTimer timInfo;
  TOrvPopupMenu ddmMenu;

 protected:
  void FormShow() override;
  void panMainClick() override;
  void ApplyChanges(unsigned changes) override;
  // The main menu opens: its items' states from the module.
  virtual void ddmMenuPopup();
  // A menu item by its component name.
  TMenuItem& MenuItem(const std::string& name);
  // Runs a command of the menu; an error it raises is reported with the command's caption, which
  // also names the command's edit for undo.
  void RunCommand(const std::string& caption, const std::function<void()>& command);
  // The name the edit the user is making gets (a command's caption).
  virtual void NameEdit(const std::string& name) { (void)name; }

 private:
  void BuildMainMenu();
  void FitName();
  void timInfoTimer();
  void ddmMenu_InitClick();
  void ddmMain_Skin_CarbonClick(TMenuItem& item);
  void ddmMain_ZoomClick(TMenuItem& item);
  void ddmMenu_OpenUserGuideClick();
  void ddmMenu_AboutClick();
  std::string FindUserGuide() const;

  std::string FUserGuidePath;
  int requestedZoom_ = 0;
};

}  // namespace vornix::editor
