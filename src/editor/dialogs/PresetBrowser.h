// The preset browser: the preset files of the presets folder in three columns, to open, delete or
// show in the file browser. It behaves like a popup: a press outside it closes it (Cancel) and
// goes on to whatever it fell on.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/dialogs/DialogForm.h"
#include "editor/toolkit/Label.h"
#include "editor/toolkit/ListBox.h"
#include "editor/toolkit/OrvGuiPanel.h"
#include "editor/toolkit/OrvPopupMenu.h"
#include "platform/WarningBeep.h"

namespace vornix::editor {

class TfrmPresets : public TDialogForm {
 public:
  explicit TfrmPresets(TForm& owner);

  // Set by the caller before showing: the folder (with trailing separator) and the name to select.
  std::string FPresetsFolder;
  std::string FCurrentPreset;

  TOrvGuiPanel& panMain;
  TLabel& lblCaption;
  TListBox& lstPresets;
  TDialogButton& btnOK;
  TDialogButton& btnCancel;
  TOrvPopupMenu popMenu;
  TTimer Timer;  // the outside-press watch

  // The preset files of the last listing (with extension, without folder), sorted ignoring case.
  const std::vector<std::string>& PresetFiles() const { return FPresetFiles; }
  // A mouse button is held on one of the dialog's own controls.
  bool MouseIsDown() const { return FMouseDown; }
  // Shows a folder in the desktop's file browser ("Show in Explorer"); tests replace it.
  std::function<void(const std::filesystem::path&)> OpenFolder;

  // Lists the folder's preset files anew and selects the first. A folder that is not an absolute
  // path (there is no documents folder) lists nothing.
  void RefreshList();
  // The selected entry's file: folder + name + extension; empty when nothing is selected.
  std::string GetSelectedFileName() const;
  // The selected entry's preset name; empty when nothing is selected.
  std::string SelectedPreset() const;

 protected:
  void FormShow() override;
  void Paint(gfx::TCanvas& canvas) override;
  void Resized() override;

 private:
  bool FolderKnown() const;
  void panMainResize();
  void UpdateButtons();
  void lstPresetsDrawItem(gfx::TCanvas& canvas, int index, const TRect& rect, bool selected);
  void lstPresetsDblClick();
  void lstPresetsMouseDown(TMouseButton button, int x, int y);
  void popMenuPopup();
  void popMenu_DeleteClick();
  void popMenu_ExplorerClick();
  void TimerTimer();
  void OutsidePress();
  // Runs a question of the browser's own (a message box above it): presses on it are not outside.
  template <class F>
  auto Asking(F&& ask);

  // Off from creation to destruction, then as it was.
  platform::TWarningBeepOff beepOff_;
  std::vector<std::string> FPresetFiles;
  bool FMouseDown = false;
  int asking_ = 0;
  bool watchAgain_ = false;  // a press was let through to a question: the popup stopped watching
};

// Shows the browser over the editor form (32 pixels smaller than its client area, centred on it)
// for the presets folder, with the current preset selected when it is listed. Returns the chosen
// preset's name, or nothing when the browser closed otherwise. Mouse input still queued when it
// has closed is dropped, so the press that closed it does not reach the editor as well.
std::optional<std::string> BrowsePresets(TForm& editor, const std::string& presetsFolder,
                                         const std::string& currentPreset);

}  // namespace vornix::editor
