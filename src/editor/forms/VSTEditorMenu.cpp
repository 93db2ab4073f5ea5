#include "editor/forms/VSTEditorMenu.h"

#include <chrono>
#include <filesystem>
#include <stdexcept>

#include "editor/forms/PresetCommands.h"
#include "editor/toolkit/OrvGuiStitchedSwitch.h"
#include "editor/toolkit/OrvNumericInput.h"
#include "platform/DateText.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/Shell.h"
#include "plugin/Skins.h"
#include "plugin/VSTPluginBaseDM.h"

namespace vornix::editor {

namespace {

using platform::TModalResult;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;

constexpr int kHeadingHeight = 41;
constexpr int kLearnCC = 1;
constexpr int kLearnSetCC = 2;
// The preset name keeps this much room inside the button.
constexpr int kPresetNameInset = 8;

// Removes the last character of UTF-8 text (all of its bytes).
void DropLastCharacter(std::string& text) {
  while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
  if (!text.empty()) text.pop_back();
}

// A text for the info line: one line.
std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    const bool lineBreak = c == '\r' || c == '\n';
    if (lineBreak && (line.empty() || line.back() == ' ')) continue;
    line += lineBreak ? ' ' : c;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

// The last-modification date of the plug-in's own file, as the user writes dates.
std::string BuildDate() {
  std::error_code error;
  const auto written = std::filesystem::last_write_time(platform::FilePath(platform::ModuleFileName()), error);
  if (error) return {};
  return platform::ShortDateText(
      std::chrono::time_point_cast<std::chrono::system_clock::duration>(std::chrono::file_clock::to_sys(written)));
}

}  // namespace

TfrmVSTEditorMenu::TfrmVSTEditorMenu(plugin::TVSTPluginBase& owner, platform::TWindowSystem& system,
                                     const gfx::TSkin* skin)
    : TfrmVSTEditorBase(owner, system, skin),
      panHeading(&Add<TPanel>()),
      lblName(&panHeading->Add<TLabel>()),
      panInfo(&panHeading->Add<TPanel>()),
      lblInfo(&panInfo->Add<TLabel>()),
      btnMenu(&panHeading->Add<TOrvMenuButton>()),
      btnPresets(&panHeading->Add<TOrvSpTBXSpeedButton>()),
      timInfo(*this, kInfoMilliseconds) {
  Name = "frmVSTEditorMenu";
  SetBounds(0, 0, kClientWidth, kClientHeight);

  panHeading->Name = "panHeading";
  panHeading->SetBounds(0, 0, Width(), kHeadingHeight);
  panHeading->Transparent = true;
  panHeading->Alpha = 0;
  panHeading->BorderVisible = false;
  panHeading->BorderRadius = 2;
  panHeading->OnClick = [this](TControl&) { FocusControlUnderCursor(); };

  lblName->Name = "lblName";
  // The heading lies on the dark background in every skin.
  lblName->Font = gfx::TFont::Tahoma(21, true, gfx::Rgb(236, 236, 236));
  lblName->UseSkinColor = false;
  lblName->SetCaption(owner.ProductName());
  FitName();

  panInfo->Name = "panInfo";
  panInfo->SetBounds(453, 8, 197, 26);
  panInfo->BorderRadius = 6;
  panInfo->Transparent = true;
  panInfo->PanelColor = gfx::Rgb(192, 192, 192);
  panInfo->BorderColor = gfx::Rgb(160, 160, 160);

  lblInfo->Name = "lblInfo";
  lblInfo->SetBounds(6, 6, 186, 14);
  lblInfo->Font = gfx::TFont::Tahoma(11);
  lblInfo->Alignment = gfx::THAlign::Center;
  // Dark text on the silver panel in every skin.
  lblInfo->UseSkinColor = false;

  btnMenu->Name = "btnMenu";
  btnMenu->SetBounds(6, 8, 26, 26);
  btnMenu->DropDownMenu = &ddmMenu;

  btnPresets->Name = "btnPresets";
  btnPresets->SetBounds(226, 8, 205, 26);
  btnPresets->SetFont(gfx::TFont::SegoeUI(13, true));
  btnPresets->SetCaption("-");
  btnPresets->OnClick = [this](TControl&) { RunCommand("Load Preset", [this] { ShowPresetBrowser(); }); };

  PlaceMainPanel(kHeadingHeight);
  panMain->Alpha = 225;
  panMain->BorderVisible = true;

  timInfo.OnTimer = [this](TTimer&) { timInfoTimer(); };
  BuildMainMenu();
  FUserGuidePath = FindUserGuide();
}

TfrmVSTEditorMenu::~TfrmVSTEditorMenu() {
  timInfo.SetEnabled(false);
  Owner().SetLearnMode(0);
  Owner().SetTeachCC(-1);
}

std::string TfrmVSTEditorMenu::FindUserGuide() const {
  const std::string& name = Owner().UserGuideFileName();
  if (name.empty()) return {};
  // Only absolute paths: never a file that happens to lie in the host's working folder.
  for (const std::string& folder : {Owner().DataFolder(), platform::ModuleFolder()}) {
    if (!folder.empty() && platform::FileExistsAbsolute(folder + name)) return folder + name;
  }
  return {};
}

void TfrmVSTEditorMenu::BuildMainMenu() {
  ddmMenu.Name = "ddmMenu";
  const auto add = [this](TMenuItem& parent, const std::string& name, const std::string& caption,
                          std::function<void()> action) -> TMenuItem& {
    TMenuItem& item = parent.Add(caption, 0, [this, caption, action](TMenuItem&) { RunCommand(caption, action); });
    item.Name = name;
    return item;
  };
  TMenuItem& items = ddmMenu.Items;
  // Their captions name what they would take back when the menu opens.
  items.Add("Undo", 0, [this](TMenuItem&) { UndoEdit(); }).Name = "ddmMenu_Undo";
  items.Add("Redo", 0, [this](TMenuItem&) { RedoEdit(); }).Name = "ddmMenu_Redo";
  items.AddSeparator();
  add(items, "ddmMenu_Init", "Init", [this] { ddmMenu_InitClick(); });
  items.AddSeparator();
  add(items, "ddmMenu_LoadPreset", "Load Preset", [this] { ShowPresetBrowser(); });
  add(items, "ddmMenu_SavePreset", "Save Preset", [this] { SavePresetAs(Owner()); });
  items.AddSeparator();
  add(items, "ddmMenu_TeachCC", "MIDI CC Teach", [this] { ShowInfo(Owner().ToggleMidiTeach(GetTeachCC())); });
  items.AddSeparator();
  add(items, "ddmMenu_MidiCCLearn", "MIDI CC Learn", [this] { ShowInfo(Owner().ToggleMidiLearn()); });
  add(items, "ddmMenu_MidiSetCC", "MIDI Set CC", [this] { ShowInfo(Owner().ToggleMidiSetCC()); });
  items.AddSubmenu("MIDI CC Remove").Name = "ddmMenu_MidiCCRemove";
  items.AddSeparator();

  TMenuItem& octave = items.AddSubmenu("Lowest Octave");
  octave.Name = "ddmMain_LowestOctave";
  struct TOctave {
    const char* name;
    const char* caption;
    int value;
  };
  for (const TOctave& o : {TOctave{"ddmMain_LowestOctave_0", "0", 0}, TOctave{"ddmMain_LowestOctave_min1", "-1", -1},
                           TOctave{"ddmMain_LowestOctave_min2", "-2", -2}}) {
    const int value = o.value;
    add(octave, o.name, o.caption, [this, value] {
      Owner().SetLowestOctave(value);
      LowestOctaveChanged();
    }).Tag = value;
  }

  TMenuItem& skins = items.AddSubmenu("Skin");
  skins.Name = "ddmMain_Skin";
  const char* const skinNames[plugin::kSkinCount] = {"ddmMain_Skin_Carbon", "ddmMain_Skin_Black", "ddmMain_Skin_Light",
                                                     "ddmMain_Skin_Luna", "ddmMain_Skin_Smokey"};
  for (int tag = 0; tag < plugin::kSkinCount; ++tag) {
    TMenuItem& item = skins.Add(plugin::SkinMenuCaption(tag), tag, [this](TMenuItem& chosen) {
      RunCommand("Change Skin", [&] { ddmMain_Skin_CarbonClick(chosen); });
    });
    item.Name = skinNames[tag];
  }
  TMenuItem& zooms = items.AddSubmenu("Zoom");
  zooms.Name = "ddmMain_Zoom";
  for (const int percent : gfx::kZoomSteps) {
    TMenuItem& item = zooms.Add(std::to_string(percent) + " %", percent,
                                [this](TMenuItem& chosen) { RunCommand("Zoom", [&] { ddmMain_ZoomClick(chosen); }); });
    item.Name = "ddmMain_Zoom_" + std::to_string(percent);
  }
  items.AddSeparator();
  add(items, "ddmMenu_OpenUserGuide", "Open User Guide", [this] { ddmMenu_OpenUserGuideClick(); });
  items.AddSeparator();
  add(items, "ddmMenu_About", "About", [this] { ddmMenu_AboutClick(); });

  ddmMenu.OnPopup = [this](TPopupMenu&) { ddmMenuPopup(); };
}

TMenuItem& TfrmVSTEditorMenu::MenuItem(const std::string& name) {
  TMenuItem* item = ddmMenu.Items.Find(name);
  if (item == nullptr) throw std::logic_error("TfrmVSTEditorMenu: no menu item " + name);
  return *item;
}

void TfrmVSTEditorMenu::RunCommand(const std::string& caption, const std::function<void()>& command) {
  NameEdit(caption);
  try {
    command();
  } catch (const std::exception& e) {
    Owner().DialogHost()->ShowMessageDialog(platform::ErrorText("The command could not be completed.", e.what()),
                                            caption, TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
  }
}

void TfrmVSTEditorMenu::FormShow() {
  TfrmVSTEditorBase::FormShow();
  UpdatePresetName();
  ShowInfo("");
}

void TfrmVSTEditorMenu::panMainClick() {
  TfrmVSTEditorBase::panMainClick();
  CancelMidiLearn();
}

void TfrmVSTEditorMenu::ApplyChanges(unsigned changes) {
  TfrmVSTEditorBase::ApplyChanges(changes);
  // The host told another scale: the editor follows unless the user chose a zoom.
  if ((changes & plugin::TEditorInbox::kZoom) != 0 && Owner().ZoomChoice() == 0) ResizeTo(Owner().EditorZoom());
  if ((changes & plugin::TEditorInbox::kPresetName) != 0) UpdatePresetName();
  while (const auto text = Owner().EditorInbox().TakeInfo()) ShowInfo(OneLine(*text));
}

void TfrmVSTEditorMenu::ShowPresetBrowser() {
  editor::ShowPresetBrowser(Owner());
  // The click that closed the browser must not reach the editor as well.
  WindowSystem().FlushMouseInput();
}

void TfrmVSTEditorMenu::CancelMidiLearn() {
  Owner().SetLearnMode(0);
  ShowInfo("");
}

void TfrmVSTEditorMenu::FitName() {
  lblName->SetBounds(40, 9, Scale().TextWidth(lblName->Font, lblName->Caption()) + 2,
                     Scale().LineHeight(lblName->Font));
}

void TfrmVSTEditorMenu::ScaleChanged() {
  TfrmVSTEditorBase::ScaleChanged();
  FitName();
  UpdatePresetName();
}

// Cut character by character until it fits, without an ellipsis.
void TfrmVSTEditorMenu::UpdatePresetName() {
  const std::string name = Owner().PresetName();
  if (name.empty()) {
    btnPresets->SetCaption("-");
    return;
  }
  std::string shown = name;
  const int room = btnPresets->Width() - kPresetNameInset;
  while (!shown.empty() && Scale().TextWidth(btnPresets->Font(), shown) > room) DropLastCharacter(shown);
  btnPresets->SetCaption(shown);
}

void TfrmVSTEditorMenu::ShowInfo(const std::string& text) {
  timInfo.SetEnabled(false);
  if (!text.empty()) {
    lblInfo->SetCaption(text);
    timInfo.SetEnabled(true);
  } else {
    lblInfo->SetCaption("");
  }
  Update();
}

void TfrmVSTEditorMenu::timInfoTimer() {
  timInfo.SetEnabled(false);
  const int mode = Owner().LearnMode();
  if (mode == kLearnCC || mode == kLearnSetCC) {
    // The prompt stays for as long as the learn mode lasts.
    timInfo.SetEnabled(true);
  } else {
    ShowInfo("");
  }
}

void TfrmVSTEditorMenu::InitPreset() {
  Owner().InitPreset();
  UpdateControls();
  ShowInfo("");
}

bool TfrmVSTEditorMenu::ControlBeforeMouseDown(const std::string& controlName, TShiftState shift,
                                               const std::function<void()>& refresh) {
  plugin::TVSTPluginBase& module = Owner();
  const std::string parameter = ControlParameterName(controlName);
  const int mode = module.LearnMode();
  if (mode == kLearnCC || mode == kLearnSetCC) {
    // Learn mode 1 waits for a controller; mode 2 asks for the number now.
    ShowInfo(module.LearnControlPressed(parameter));
    return false;
  }
  if ((shift & platform::ssLeft) == 0) return true;
  if ((shift & platform::ssCtrl) != 0) {
    auto& values = module.ParameterValues();
    module.BeginParameterEdit(module.IndexOfParameter(parameter));
    values.ResetToDefault(values.FindByName(parameter), false);
    module.EndParameterEdit();
    if (refresh) refresh();
    ShowControlInfo(controlName);
    return false;
  }
  module.TouchParameter(parameter);
  ShowControlInfo(controlName);
  return true;
}

void TfrmVSTEditorMenu::ControlValueChanged(const std::string& controlName, TControl& control, float value) {
  if (FUpdating) return;
  plugin::TVSTPluginBase& module = Owner();
  const std::string parameter = ControlParameterName(controlName);
  auto& values = module.ParameterValues();
  const float stored = values.Items(values.FindByName(parameter)).Value();
  if (auto* button = dynamic_cast<TOrvSpTBXSpeedButton*>(&control)) {
    if (value != stored) {
      button->ItemValue = RoundHalfEven(value);
      std::string caption = button->Caption();
      module.GetValueText(controlName, button->ItemValue, caption);
      button->SetCaption(caption);
      module.EditParameter(parameter, value);
    }
  } else if (auto* input = dynamic_cast<TOrvNumericInput*>(&control)) {
    if (input->Value() != stored) module.EditParameter(parameter, input->Value());
  } else if (auto* toggle = dynamic_cast<TOrvGuiStitchedSwitch*>(&control)) {
    if (RoundHalfEven(stored) != (toggle->Value() ? 1 : 0))
      module.EditParameter(parameter, toggle->Value() ? 1.0f : 0.0f);
  }
  ShowControlInfo(controlName);
}

void TfrmVSTEditorMenu::UpdateControlFromParameter(const std::string& controlName, TControl& control) {
  FUpdating = true;
  struct TDone {
    bool& updating;
    ~TDone() { updating = false; }
  } done{FUpdating};
  plugin::TVSTPluginBase& module = Owner();
  auto& values = module.ParameterValues();
  const float stored = values.Items(values.FindByName(ControlParameterName(controlName))).Value();
  const int rounded = RoundHalfEven(stored);
  if (auto* button = dynamic_cast<TOrvSpTBXSpeedButton*>(&control)) {
    if (rounded != button->ItemValue) {
      button->ItemValue = rounded;
      std::string caption = button->Caption();
      module.GetValueText(controlName, rounded, caption);
      button->SetCaption(caption);
    }
  } else if (auto* input = dynamic_cast<TOrvNumericInput*>(&control)) {
    if (stored != input->Value()) input->SetValue(stored);
  } else if (auto* toggle = dynamic_cast<TOrvGuiStitchedSwitch*>(&control)) {
    if (rounded != (toggle->Value() ? 1 : 0)) toggle->SetValue(rounded != 0);
  }
}

bool TfrmVSTEditorMenu::KeyDown(int key, TShiftState shift) {
  if ((shift & platform::ssCtrl) == 0 || (shift & platform::ssAlt) != 0) return TfrmVSTEditorBase::KeyDown(key, shift);
  if (key == 'Z' && (shift & platform::ssShift) == 0) {
    UndoEdit();
    return true;
  }
  if (key == 'Y' || key == 'Z') {
    RedoEdit();
    return true;
  }
  return TfrmVSTEditorBase::KeyDown(key, shift);
}

void TfrmVSTEditorMenu::ddmMenuPopup() {
  plugin::TVSTPluginBase& module = Owner();
  const std::string undo = UndoName(), redo = RedoName();
  TMenuItem& undoItem = MenuItem("ddmMenu_Undo");
  undoItem.Caption = undo.empty() ? "Undo" : "Undo " + undo;
  undoItem.Enabled = !undo.empty();
  TMenuItem& redoItem = MenuItem("ddmMenu_Redo");
  redoItem.Caption = redo.empty() ? "Redo" : "Redo " + redo;
  redoItem.Enabled = !redo.empty();
  TMenuItem& teach = MenuItem("ddmMenu_TeachCC");
  TMenuItem& octave = MenuItem("ddmMain_LowestOctave");
  teach.Visible = false;
  octave.Visible = false;

  const bool teaching = module.TeachCC() >= 0;
  teach.Default = teach.Checked = teaching;
  TMenuItem& learn = MenuItem("ddmMenu_MidiCCLearn");
  TMenuItem& setCC = MenuItem("ddmMenu_MidiSetCC");
  learn.Default = learn.Checked = module.LearnMode() == kLearnCC;
  setCC.Default = setCC.Checked = module.LearnMode() == kLearnSetCC;

  TMenuItem& remove = MenuItem("ddmMenu_MidiCCRemove");
  remove.Clear();
  for (const auto& entry : module.RemoveEntries()) {
    const int index = entry.Index;
    remove.Add(entry.Caption, 0, [this, index](TMenuItem& item) {
      RunCommand(item.Caption, [this, index] { Owner().RemoveLink(index); });
    });
  }
  remove.Enabled = remove.Count() > 0;

  ddmMenu.CheckItemByTag(&octave, plugin::ProcessLowestOctave(), false);
  ddmMenu.CheckItemByTag(&MenuItem("ddmMain_Skin"), module.Style(), false);
  ddmMenu.CheckItemByTag(&MenuItem("ddmMain_Zoom"), Zoom(), false);
  MenuItem("ddmMenu_OpenUserGuide").Visible = platform::FileExistsAbsolute(FUserGuidePath);
}

void TfrmVSTEditorMenu::ddmMenu_InitClick() {
  if (Owner().DialogHost()->ShowMessageDialog("Initialize preset?", "Init", TMsgDlgType::mtConfirmation,
                                              TMsgDlgButtons::mbYesNo) != TModalResult::mrNo)
    InitPreset();
}

void TfrmVSTEditorMenu::ddmMain_Skin_CarbonClick(TMenuItem& item) {
  // The open window keeps its look: the skin is applied when the editor opens.
  if (item.Tag == Owner().Style()) return;
  Owner().SetStyle(item.Tag);
  Owner().DialogHost()->ShowMessageDialog("Please close and re-open the plugin window for skin changes to take effect.",
                                          "Change Skin", TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK);
}

// The choice is kept for new editors even when the host will not resize this one.
void TfrmVSTEditorMenu::ddmMain_ZoomClick(TMenuItem& item) {
  Owner().SetZoomChoice(item.Tag);
  if (item.Tag == Zoom() || ResizeTo(item.Tag)) return;
  Owner().DialogHost()->ShowMessageDialog(
      "The host did not resize the plugin window. The editor opens at " + item.Caption + " the next time.", "Zoom",
      TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK);
}

bool TfrmVSTEditorMenu::ResizeTo(int zoom) {
  if (zoom == Zoom()) return true;
  int width = 0, height = 0;
  plugin::TVSTPluginBase::EditorSizeAt(zoom, width, height);
  // A host that asks for the editor's size while it resizes hears the new one.
  requestedZoom_ = zoom;
  const bool resized = Owner().HostSizeWindow(width, height);
  requestedZoom_ = 0;
  if (resized) SetScale(gfx::TScale(zoom));
  return resized;
}

void TfrmVSTEditorMenu::ddmMenu_OpenUserGuideClick() {
  if (platform::OpenDocument(FUserGuidePath)) return;
  Owner().DialogHost()->ShowMessageDialog("Error opening file.\r\n\r\n\"" + FUserGuidePath + "\"", "Open User Guide",
                                          TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK);
}

void TfrmVSTEditorMenu::ddmMenu_AboutClick() {
  const plugin::TVSTPluginBase& module = Owner();
  Owner().DialogHost()->ShowMessageDialog(
      module.ProductName() + " v" + module.Version() + "\r\n\r\nBuild date: " + BuildDate(), "About",
      TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK);
}

}  // namespace vornix::editor
