#include "editor/dialogs/PresetBrowser.h"

#include <algorithm>

#include "editor/dialogs/MessageDialog.h"
#include "gfx/Resources.h"
#include "platform/DialogHost.h"
#include "platform/FileBrowser.h"
#include "platform/Files.h"
#include "platform/PlatformError.h"

namespace vornix::editor {

using platform::TModalResult;

namespace {

constexpr int kDesignedWidth = 544;
constexpr int kDesignedHeight = 289;
constexpr int kWatchIntervalMs = 100;
constexpr int kTextInset = 4;
constexpr const char* kEllipsis = "\xE2\x80\xA6";

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

std::string WithoutExtension(const std::string& fileName) {
  const auto ext = platform::PresetFileExtension;
  return fileName.size() >= ext.size() ? fileName.substr(0, fileName.size() - ext.size()) : fileName;
}

// The text cut to the width, with an ellipsis where it was cut.
std::string Fitted(const gfx::TFont& font, const std::string& text, int width, gfx::TScale scale) {
  if (scale.TextWidth(font, text) <= width) return text;
  const int room = width - scale.TextWidth(font, kEllipsis);
  return text.substr(0, room > 0 ? scale.TextFit(font, text, room) : 0) + kEllipsis;
}

}  // namespace

TfrmPresets::TfrmPresets(TForm& owner)
    : TDialogForm(owner),
      panMain(Add<TOrvGuiPanel>()),
      lblCaption(panMain.Add<TLabel>("Load Preset")),
      lstPresets(panMain.Add<TListBox>()),
      btnOK(panMain.Add<TDialogButton>("OK", TModalResult::mrOk)),
      btnCancel(panMain.Add<TDialogButton>("Cancel", TModalResult::mrCancel)),
      Timer(*this, kWatchIntervalMs),
      OpenFolder(platform::OpenInFileBrowser) {
  panMain.Name = "panMain";
  panMain.BorderRadius = 5;
  panMain.BorderWidth = 2;
  panMain.BorderVisible = false;
  panMain.PanelColor = gfx::kWhite;
  panMain.Transparent = true;

  lblCaption.Name = "lblCaption";
  lblCaption.Font = gfx::TFont::Tahoma(16, true);
  lblCaption.Alignment = gfx::THAlign::Center;
  lblCaption.Layout = gfx::TVAlign::Center;

  lstPresets.Name = "lstPresets";
  lstPresets.SetBounds(12, 36, 517, 202);
  lstPresets.ItemHeight = 20;
  lstPresets.Columns = 3;
  lstPresets.Font = gfx::TFont::SegoeUI(12, true);
  lstPresets.PopupMenu = &popMenu;
  lstPresets.OnDrawItem = [this](gfx::TCanvas& canvas, int index, const TRect& rect, bool selected) {
    lstPresetsDrawItem(canvas, index, rect, selected);
  };
  lstPresets.OnDblClick = [this](TControl&) { lstPresetsDblClick(); };

  btnOK.Name = "btnOK";
  btnOK.SetFont(gfx::TFont::SegoeUI(12, true));
  btnOK.IsDefault = true;
  btnCancel.Name = "btnCancel";
  DefaultButton = &btnOK;
  CancelButton = &btnCancel;

  popMenu.Name = "popMenu";
  popMenu.Items.Add("Open", 0, [this](TMenuItem&) { SetModalResult(TModalResult::mrOk); }).Name = "popMenu_Open";
  popMenu.Items.Add("Delete", 0, [this](TMenuItem&) { popMenu_DeleteClick(); }).Name = "popMenu_Delete";
  popMenu.Items.AddSeparator();
  popMenu.Items.Add("Show in Explorer", 0, [this](TMenuItem&) { popMenu_ExplorerClick(); }).Name = "popMenu_Explorer";
  popMenu.OnPopup = [this](TPopupMenu&) { popMenuPopup(); };

  // A button held on any of the dialog's own controls is no press outside it.
  for (TControl* control : std::initializer_list<TControl*>{&panMain, &lblCaption, &lstPresets, &btnOK, &btnCancel}) {
    control->OnMouseDown = [this](TControl& sender, TMouseButton button, TShiftState, int x, int y) {
      FMouseDown = true;
      if (&sender == &lstPresets) lstPresetsMouseDown(button, x, y);
    };
    control->OnMouseUp = [this](TControl&, TMouseButton, TShiftState, int, int) { FMouseDown = false; };
  }
  Timer.OnTimer = [this](TTimer&) { TimerTimer(); };
  OnOutsidePress = [this](TForm&, const platform::TEvent&) { OutsidePress(); };

  SetBounds(0, 0, kDesignedWidth, kDesignedHeight);
  UpdateButtons();
}

// ---- showing ----

void TfrmPresets::FormShow() {
  RefreshList();
  for (int i = 0; i < lstPresets.Count(); ++i) {
    if (SameTextIgnoringCase(lstPresets.Item(i).Text, FCurrentPreset)) {
      lstPresets.SetItemIndex(i);
      break;
    }
  }
  FocusControl(&lstPresets);
  Timer.SetEnabled(true);
}

void TfrmPresets::Paint(gfx::TCanvas& canvas) { canvas.FillTiled(ClientRect(), gfx::ScaledImage("EditorBackground")); }

void TfrmPresets::Resized() {
  TDialogForm::Resized();
  panMain.SetBounds(1, 1, std::max(Width() - 2, 0), std::max(Height() - 2, 0));
  panMainResize();
}

// The controls follow the form's size: the list takes what the buttons below it leave.
void TfrmPresets::panMainResize() {
  lblCaption.SetBounds(0, 6, panMain.Width(), 19);
  lstPresets.SetBounds(lstPresets.Left(), lstPresets.Top(), Width() - 24, lstPresets.Height());
  const int cancelLeft = lstPresets.Left() + lstPresets.Width() - btnCancel.Width() - 1;
  const int top = Height() - btnCancel.Height() - 10;
  btnCancel.SetBounds(cancelLeft, top, btnCancel.Width(), btnCancel.Height());
  btnOK.SetBounds(cancelLeft - btnOK.Width() - 10, top, btnOK.Width(), btnOK.Height());
  lstPresets.SetBounds(lstPresets.Left(), lstPresets.Top(), lstPresets.Width(), top - lstPresets.Top() - 10);
}

// ---- the list ----

// Without a documents folder the presets folder is a relative path: it would name a folder in the
// host's working folder, which is none of ours.
bool TfrmPresets::FolderKnown() const { return platform::FilePath(FPresetsFolder).is_absolute(); }

void TfrmPresets::RefreshList() {
  lstPresets.Clear();
  FPresetFiles.clear();
  if (FolderKnown())
    FPresetFiles = platform::ListFiles(platform::FilePath(FPresetsFolder), platform::PresetFileExtension);
  for (std::size_t i = 0; i < FPresetFiles.size(); ++i)
    lstPresets.AddItem(WithoutExtension(FPresetFiles[i]), static_cast<int>(i));
  if (lstPresets.Count() > 0) lstPresets.SetItemIndex(0);
  UpdateButtons();
}

void TfrmPresets::UpdateButtons() { btnOK.SetEnabled(lstPresets.ItemIndex() >= 0); }

std::string TfrmPresets::SelectedPreset() const {
  const int index = lstPresets.ItemIndex();
  return index >= 0 ? lstPresets.Item(index).Text : std::string();
}

std::string TfrmPresets::GetSelectedFileName() const {
  const std::string name = SelectedPreset();
  return name.empty() ? std::string() : FPresetsFolder + name + std::string(platform::PresetFileExtension);
}

void TfrmPresets::lstPresetsDrawItem(gfx::TCanvas& canvas, int index, const TRect& rect, bool selected) {
  canvas.FillRect(rect, lstPresets.ItemBackground(false));
  if (selected) canvas.FillRoundRect(rect.Inflate(-1, -1), 3, lstPresets.ItemBackground(true));
  gfx::TFont font = lstPresets.Font;
  font.Color = lstPresets.ItemTextColor(selected);
  const TRect text = rect.Inflate(-kTextInset, 0);
  // One line, "&" as it is; a name wider than its column ends in an ellipsis.
  canvas.DrawText(text, Fitted(font, lstPresets.Item(index).Text, text.Width(), Scale()), font, gfx::THAlign::Left,
                  gfx::TVAlign::Center);
}

void TfrmPresets::lstPresetsDblClick() {
  if (!btnOK.Enabled()) return;
  // Only on an entry: a double click on the empty part of the list chooses nothing.
  const TPoint p = lstPresets.ScreenToClient(WindowSystem().PointerPosition());
  if (lstPresets.ItemAt(p.X, p.Y) >= 0) SetModalResult(TModalResult::mrOk);
}

void TfrmPresets::lstPresetsMouseDown(TMouseButton button, int x, int y) {
  // The menu that a right click opens acts on the entry under the pointer.
  if (button != TMouseButton::Right) return;
  if (const int index = lstPresets.ItemAt(x, y); index >= 0) lstPresets.SetItemIndex(index);
}

// ---- the menu ----

void TfrmPresets::popMenuPopup() {
  const bool chosen = btnOK.Enabled();
  popMenu.Items.Find("popMenu_Open")->Enabled = chosen;
  popMenu.Items.Find("popMenu_Delete")->Enabled = chosen;
  popMenu.Items.Find("popMenu_Explorer")->Enabled = true;
}

template <class F>
auto TfrmPresets::Asking(F&& ask) {
  ++asking_;
  struct TDone {
    TfrmPresets& form;
    ~TDone() {
      --form.asking_;
      // Watch the presses outside again.
      if (form.asking_ == 0 && form.watchAgain_ && form.Window() != nullptr) form.Window()->Show();
      form.watchAgain_ = false;
    }
  } done{*this};
  return ask();
}

void TfrmPresets::popMenu_DeleteClick() {
  const int index = lstPresets.ItemIndex();
  if (index < 0) return;
  const std::string file = FPresetFiles.at(static_cast<std::size_t>(lstPresets.Item(index).Data));
  const std::string question = "Delete \"" + lstPresets.Item(index).Text + "\"?";
  const TModalResult answer = Asking([&] {
    return ShowMessageDialog(this, question, "Delete Preset", TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo);
  });
  if (answer == TModalResult::mrNo) return;
  // A file that cannot be deleted stays in the list.
  platform::RemoveFile(platform::FilePath(FPresetsFolder + file));
  RefreshList();
  if (lstPresets.Count() > 0) lstPresets.SetItemIndex(std::min(index, lstPresets.Count() - 1));
  UpdateButtons();
}

void TfrmPresets::popMenu_ExplorerClick() {
  try {
    if (!FolderKnown()) throw platform::EOSError("There is no documents folder to keep the presets in.");
    // Created first, so that the file browser always opens a folder that is there.
    const auto folder = platform::FilePath(FPresetsFolder);
    platform::ForceDirectories(folder);
    if (OpenFolder) OpenFolder(folder);
  } catch (const std::exception& e) {
    Asking([&] {
      return ShowMessageDialog(this, platform::ErrorText("Error showing the presets folder.", e.what()),
                               "Show in Explorer", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    });
  }
}

// ---- presses outside ----

// The window system hands over a press outside the popup before it goes anywhere.
void TfrmPresets::OutsidePress() {
  WindowSystem().ReplayPress();
  if (asking_ > 0) {
    // Most likely on the question above the browser; the browser stays.
    watchAgain_ = true;
    return;
  }
  Timer.SetEnabled(false);
  SetModalResult(TModalResult::mrCancel);
}

// The press the window system could not hand over (another program held the pointer) went where
// it fell; what is left is to close when a button is held outside.
void TfrmPresets::TimerTimer() {
  platform::TWindow* window = Window();
  if (FMouseDown || window == nullptr || asking_ > 0) return;
  const TShiftState held = WindowSystem().ModifierState();
  if ((held & (platform::ssLeft | platform::ssRight)) == 0) return;
  const TPoint p = WindowSystem().PointerPosition();
  if (ScreenRect().Contains(p)) return;
  Timer.SetEnabled(false);
  SetModalResult(TModalResult::mrCancel);
}

// ---- the command's dialog part ----

std::optional<std::string> BrowsePresets(TForm& editor, const std::string& presetsFolder,
                                         const std::string& currentPreset) {
  std::optional<std::string> chosen;
  {
    TfrmPresets browser(editor);
    browser.SetBounds(0, 0, std::max(editor.Width() - 32, 1), std::max(editor.Height() - 32, 1));
    browser.PlaceOverOwner();
    browser.FPresetsFolder = presetsFolder;
    browser.FCurrentPreset = currentPreset;
    if (browser.ExecutePopup() == TModalResult::mrOk && !browser.SelectedPreset().empty())
      chosen = browser.SelectedPreset();
  }
  editor.WindowSystem().FlushMouseInput();
  return chosen;
}

}  // namespace vornix::editor
