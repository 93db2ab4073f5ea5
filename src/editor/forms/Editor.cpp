#include "editor/forms/Editor.h"

#include <algorithm>
#include <stdexcept>

#include "editor/logic/StepClipboard.h"
#include "gfx/Resources.h"
#include "plugin/Plugin.h"

namespace vornix::editor {

namespace {

using platform::TMsgDlgButtons;
using platform::TMsgDlgType;

constexpr int kHeadingRight = 740;  // the title may run up to the sequence menu button
constexpr int kSettingsLabelTop = 319;
constexpr int kSettingsTop = 341;

// Blanks and control characters around a typed title do not belong to it.
std::string Trim(const std::string& s) {
  std::size_t first = 0, last = s.size();
  while (first < last && static_cast<unsigned char>(s[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(s[last - 1]) <= ' ') --last;
  return s.substr(first, last - first);
}

// "1 – 16", "17 – 32", "33 – 64" (en dashes).
std::string StepsGroup(int value) {
  if (value <= 16) return "1 \u2013 16";
  if (value <= 32) return "17 \u2013 32";
  return "33 \u2013 64";
}

// Groups of ten controller numbers: "0 – 9" … "120 – 127".
std::string ControllerGroup(int value) {
  const int low = 10 * (value / 10);
  return std::to_string(low) + " \u2013 " + std::to_string(std::min(low + 9, 127));
}

std::string WholeNumberText(float value) { return std::to_string(RoundHalfEven(value)); }

}  // namespace

TfrmEditor::TfrmEditor(plugin::TVSTPlugin& owner, platform::TWindowSystem& system, const gfx::TSkin* skin)
    : TfrmVSTEditorMenu(owner, system, skin),
      BinClipboard(system, StepClipboardFolder(owner.DataFolder())),
      plugin_(owner) {
  Name = "frmEditor";
  SetBounds(0, 0, kClientWidth, kClientHeight);
  BuildHeading();
  LoadArrowImages();
  BuildSequenceButtons();
  BuildGrid();
  BuildSettings();
  BuildSequenceMenu();
}

TfrmEditor::~TfrmEditor() = default;

// ---- building

void TfrmEditor::BuildHeading() {
  panHeading->SetBounds(0, 0, kClientWidth, panHeading->Height());
  panInfo->SetBounds(546, panInfo->Top(), 234, panInfo->Height());
  lblInfo->SetBounds(lblInfo->Left(), lblInfo->Top(), 223, lblInfo->Height());
  btnPresets->SetBounds(275, btnPresets->Top(), 237, btnPresets->Height());
  PlaceMainPanel(panHeading->Height());

  lblSeqHeading = &panMain->Add<TLabel>("Sequence #1");
  lblSeqHeading->Name = "lblSeqHeading";
  lblSeqHeading->Font = gfx::TFont::Tahoma(15, true);
  lblSeqHeading->SetBounds(67, 10, 98, 18);
  lblSeqHeading->PopupMenu = &popSeqTitle;
  lblSeqHeading->OnDblClick = [this](TControl&) { EditSequenceTitle(); };
  popSeqTitle.Name = "popSeqTitle";
  popSeqTitle.Items.Add("Edit Title...", 0, [this](TMenuItem&) { EditSequenceTitle(); }).Name = "popSeqTitle_Edit";

  switchActive = &AddParameterControl<TOrvGuiStitchedSwitch>("Active", 37, 8, 24, 24);
  switchActive->Name = "switchActive";
}

void TfrmEditor::BuildSequenceButtons() {
  for (int k = 0; k < kSequenceCount; ++k) {
    auto& button = panMain->Add<TOrvSpTBXSpeedButton>();
    button.Name = "btnSeq" + std::to_string(k + 1);
    button.SetBounds(6, 38 + 26 * k, 24, 24);
    button.SetCaption(std::to_string(k + 1));
    button.SetFont(gfx::TFont::SegoeUI(12, true));
    button.GroupIndex = 2;
    button.Tag = k;
    button.OnClick = [this](TControl& sender) { btnSeq1Click(sender); };
    btnSeq[static_cast<std::size_t>(k)] = &button;
  }
}

void TfrmEditor::BuildGrid() {
  CCSequencer = &panMain->Add<TOrvCCSequencer>();
  CCSequencer->Name = "CCSequencer";
  CCSequencer->SetBounds(37, 38, 705, 272);
  CCSequencer->SetMaxValue(127);
  CCSequencer->SetMinValue(0);
  CCSequencer->ResetStepNo();
  CCSequencer->SetWheelStep(0.2f);
  CCSequencer->OnDisplayValue = [this](auto&, int stepNo) { CCSequencerDisplayValue(stepNo); };
  CCSequencer->OnModifiedValue = [this](auto&, int stepNo) { CCSequencerModifiedValue(stepNo); };
  CCSequencer->OnMouseLeave = [this](TControl&) {
    if (Owner().LearnMode() == 0) ShowInfo("");
  };

  btnSeqMenu = &panMain->Add<TOrvMenuButton>();
  btnSeqMenu->Name = "btnSeqMenu";
  btnSeqMenu->SetBounds(749, 37, 24, 24);
  btnSeqMenu->DropDownMenu = &ddmSeqMenu;
  btnUp = &AddArrowButton("btnUp", 67, 0);
  btnDown = &AddArrowButton("btnDown", 93, 2);
  btnLeft = &AddArrowButton("btnLeft", 119, 4);
  btnRight = &AddArrowButton("btnRight", 145, 6);
}

void TfrmEditor::BuildSettings() {
  lblSteps = &AddStaticText("Steps", 37, kSettingsLabelTop, 37, 21);
  inputSteps = &AddNumericInput("Steps", 37, 1, 64);
  lblChannel = &AddStaticText("Ch", 84, kSettingsLabelTop, 20, 21);
  inputChannel = &AddNumericInput("Channel", 84, 1, 16);
  lblCC = &AddStaticText("CC#", 131, kSettingsLabelTop, 28, 21);
  inputCC = &AddNumericInput("CC#", 131, 0, 127);
  lblRate = &AddStaticText("Rate", 178, kSettingsLabelTop, 31, 21);
  btnRate = &AddValueButton("Rate", ddmRate, plugin_.RateList(), 178, kSettingsTop, 103);
  lblRateType = &AddStaticText("Type", 287, kSettingsLabelTop, 34, 21);
  btnRateType = &AddValueButton("Rate Type", ddmRateType, plugin_.TypeList(), 288, kSettingsTop, 107);
  lblOrder = &AddStaticText("Order", 402, kSettingsLabelTop, 39, 21);
  btnOrder = &AddValueButton("Order", ddmOrder, plugin_.OrderList(), 402, kSettingsTop, 122);
  lblTrigger = &AddStaticText("Trigger", 531, kSettingsLabelTop, 49, 21);
  btnTrigger = &AddValueButton("Trigger", ddmTrigger, plugin_.TriggerList(), 531, kSettingsTop, 159);
  lblSmooth = &AddStaticText("Smooth", 695, kSettingsLabelTop, 52, 21);
  switchSmooth = &AddParameterControl<TOrvGuiStitchedSwitch>("Smooth", 718, kSettingsTop, 24, 24);
  switchSmooth->Name = "switchSmooth";

  inputSteps->Name = "inputSteps";
  inputSteps->OnGetPopupGroup = [](TOrvNumericInput&, int value, std::string& group) { group = StepsGroup(value); };
  inputChannel->Name = "inputChannel";
  inputCC->Name = "inputCC";
  inputCC->OnGetPopupGroup = [](TOrvNumericInput&, int value, std::string& group) { group = ControllerGroup(value); };
  btnRate->Name = "btnRate";
  btnRateType->Name = "btnRateType";
  btnOrder->Name = "btnOrder";
  btnTrigger->Name = "btnTrigger";
  ddmRate.Name = "ddmRate";
  ddmRateType.Name = "ddmRateType";
  ddmOrder.Name = "ddmOrder";
  ddmTrigger.Name = "ddmTrigger";

  for (TOrvGuiStitchedSwitch* toggle : {switchActive, switchSmooth}) {
    const std::string controlName = toggle == switchActive ? "Active" : "Smooth";
    toggle->OnChange = [this, controlName](TControl& sender) { ControlValueChanged(controlName, sender, 0); };
  }
}

template <class TControlKind>
TControlKind& TfrmEditor::AddParameterControl(const std::string& controlName, int left, int top, int width,
                                              int height) {
  auto& control = panMain->Add<TControlKind>();
  control.SetBounds(left, top, width, height);
  control.OnBeforeMouseDown = [this, controlName](TControl&, TMouseButton button, TShiftState shift, int, int,
                                                  bool& Continue) {
    Continue = ControlBeforeMouseDown(controlName, shift | platform::ButtonFlag(button),
                                      [this, controlName] { UpdateControl(controlName); });
  };
  return control;
}

TLabel& TfrmEditor::AddStaticText(const std::string& caption, int left, int top, int width, int height) {
  auto& label = panMain->Add<TLabel>(caption);
  label.Name = "lbl" + caption;
  label.Font = gfx::TFont::SegoeUI(13, true);
  label.SetBounds(left, top, width, height);
  FitStaticText(label, width);
  staticTexts_.emplace_back(&label, width);
  return label;
}

// Never narrower than its text: the embedded face runs a little wider than the design's.
void TfrmEditor::FitStaticText(TLabel& label, int designWidth) {
  label.SetBounds(label.Left(), label.Top(), std::max(designWidth, Scale().TextWidth(label.Font, label.Caption()) + 1),
                  label.Height());
}

void TfrmEditor::ScaleChanged() {
  TfrmVSTEditorMenu::ScaleChanged();
  for (const auto& [label, designWidth] : staticTexts_) FitStaticText(*label, designWidth);
  FitHeading();
}

TOrvSpTBXSpeedButton& TfrmEditor::AddValueButton(const std::string& controlName, TOrvPopupMenu& menu,
                                                 const sequencer::TOrvValueList& list, int left, int top, int width) {
  auto& button = AddParameterControl<TOrvSpTBXSpeedButton>(controlName, left, top, width, 25);
  button.SetFont(gfx::TFont::SegoeUI(12, true));
  button.DropDownMenu = &menu;
  button.DropDownArrow = true;
  FillValueMenu(menu, list, controlName, button);
  menu.OnPopup = [&menu, &button](TPopupMenu&) { menu.CheckItemByTag(nullptr, button.ItemValue, true); };
  return button;
}

TOrvNumericInput& TfrmEditor::AddNumericInput(const std::string& controlName, int left, int minValue, int maxValue) {
  auto& input = AddParameterControl<TOrvNumericInput>(controlName, left, kSettingsTop, 40, 24);
  input.SetMinValue(minValue);
  input.SetMaxValue(maxValue);
  input.SetFont(gfx::TFont::SegoeUI(12, true));
  input.SetCenter(true);
  input.SetHighlight(false);
  input.SetBorderWidth(1);
  input.OnGetText = [](TOrvNumericInput&, float value, std::string& text) { text = WholeNumberText(value); };
  input.OnChange = [this, controlName](TControl& sender) { ControlValueChanged(controlName, sender, 0); };
  return input;
}

TOrvSpTBXSpeedButton& TfrmEditor::AddArrowButton(const std::string& name, int top, int image) {
  auto& button = panMain->Add<TOrvSpTBXSpeedButton>();
  button.Name = name;
  button.SetBounds(749, top, 24, 24);
  button.SetImages(&ImageList);
  button.SetImageIndex(image);
  const TArrowButton arrow = image == 0   ? TArrowButton::Up
                             : image == 2 ? TArrowButton::Down
                             : image == 4 ? TArrowButton::Left
                                          : TArrowButton::Right;
  button.OnClick = [this, arrow](TControl&) {
    CancelMidiLearn();
    const TShiftState keys = WindowSystem().ModifierState();
    CCSequencer->ArrowButtonClick(arrow, (keys & platform::ssCtrl) != 0, (keys & platform::ssAlt) != 0);
  };
  return button;
}

void TfrmEditor::FillValueMenu(TOrvPopupMenu& menu, const sequencer::TOrvValueList& list,
                               const std::string& controlName, TOrvSpTBXSpeedButton& button) {
  for (int i = 0; i < list.Count(); ++i) {
    const auto& value = list.Items(i);
    menu.Items.Add(value.Name, value.Tag, [this, controlName, &button](TMenuItem& item) {
      ControlValueChanged(controlName, button, static_cast<float>(item.Tag));
    });
  }
}

// Black takes the skin's button text colours; magenta is transparent.
void TfrmEditor::LoadArrowImages() {
  const gfx::TSkin* skin = Skin();
  const TButtonColors defaults;
  const TColor normal = skin != nullptr ? skin->sfButtonTextNormal : defaults.Text;
  const TColor pressed = skin != nullptr ? skin->sfButtonTextPressed : defaults.TextPressed;
  for (const char* name : {"ARROWUP", "ARROWDOWN", "ARROWLEFT", "ARROWRIGHT"}) {
    const gfx::TImage& image = gfx::ScaledImage(name);
    ImageList.Add(gfx::RecolorImage(image, normal));
    ImageList.Add(gfx::RecolorImage(image, pressed));
  }
}

void TfrmEditor::BuildSequenceMenu() {
  ddmSeqMenu.Name = "ddmSeqMenu";
  struct TCommand {
    const char* name;
    const char* caption;
    void (*operation)(TOrvCCSequencer& grid);
  };
  const TCommand commands[] = {
      {"ddmSeqMenu_Default", "Default", [](TOrvCCSequencer& g) { g.DefaultValues(); }},
      {"ddmSeqMenu_Random", "Randomize Values", [](TOrvCCSequencer& g) { g.RandomizeValues(); }},
      {nullptr, "-", nullptr},
      {"ddmSeqMenu_Ramp", "Ramp", [](TOrvCCSequencer& g) { g.Ramp(); }},
      {"ddmSeqMenu_RampHalf", "Ramp 1/2", [](TOrvCCSequencer& g) { g.RampHalf(); }},
      {"ddmSeqMenu_Sine", "Sine", [](TOrvCCSequencer& g) { g.Sine(); }},
      {"ddmSeqMenu_SineHalf", "Sine 1/2", [](TOrvCCSequencer& g) { g.SineHalf(); }},
      {"ddmSeqMenu_Triangle", "Triangle", [](TOrvCCSequencer& g) { g.Triangle(); }},
      {"ddmSeqMenu_TriangleHalf", "Triangle 1/2", [](TOrvCCSequencer& g) { g.TriangleHalf(); }},
      {nullptr, "-", nullptr},
      {"ddmSeqMenu_AddRandom", "Add Random", [](TOrvCCSequencer& g) { g.AddRandom(); }},
      {"ddmSeqMenu_RemoveRandom", "Remove Random", [](TOrvCCSequencer& g) { g.RemoveRandom(); }},
      {nullptr, "-", nullptr},
      {"ddmSeqMenu_Invert", "Invert", [](TOrvCCSequencer& g) { g.InvertValues(); }},
      {"ddmSeqMenu_Reverse", "Reverse", [](TOrvCCSequencer& g) { g.ReverseSteps(); }},
      {nullptr, "-", nullptr},
  };
  for (const TCommand& command : commands) {
    if (command.operation == nullptr) {
      ddmSeqMenu.Items.AddSeparator();
      continue;
    }
    const auto operation = command.operation;
    ddmSeqMenu.Items
        .Add(command.caption, 0,
             [this, operation](TMenuItem& item) {
               RunCommand(item.Caption, [this, operation] {
                 // The grid asks its questions ("Add Random") through the editor's dialogs.
                 CCSequencer->DialogHost = Owner().DialogHost().get();
                 operation(*CCSequencer);
               });
             })
        .Name = command.name;
  }
  // A clipboard that cannot take the steps is reported, not left to the host.
  ddmSeqMenu.Items
      .Add("Copy Steps", 0,
           [this](TMenuItem&) { RunCommand("Copy Steps", [this] { CCSequencer->CopySteps(BinClipboard); }); })
      .Name = "ddmSeqMenu_Copy";
  ddmSeqMenu.Items.Add("Paste Steps", 0, [this](TMenuItem&) { ddmSeqMenu_PasteClick(); }).Name = "ddmSeqMenu_Paste";
  ddmSeqMenu.OnPopup = [this](TPopupMenu&) { ddmSeqMenuPopup(); };
}

// ---- the frame's operations

void TfrmEditor::FormShow() {
  TfrmVSTEditorMenu::FormShow();
  UpdateSequenceButtons();
  LoadGridSteps();
}

void TfrmEditor::ApplyChanges(unsigned changes) {
  TfrmVSTEditorMenu::ApplyChanges(changes);
  if ((changes & plugin::TEditorInbox::kSequenceButtons) != 0) UpdateSequenceButtons();
  if ((changes & plugin::TEditorInbox::kGridSteps) != 0) LoadGridSteps();
  // A playing step shows once the form has the focus; none at any time.
  if (const int step = plugin_.TakeShowStep(); step == -1 || (step >= 0 && Activated())) SetGridStepNo(step);
}

void TfrmEditor::UpdateControls() {
  for (const char* name : {"CC#", "Channel", "Order", "Rate", "Rate Type", "Active", "Smooth", "Steps", "Trigger"})
    UpdateControl(name);
}

void TfrmEditor::UpdateControl(const std::string& controlName) {
  const std::pair<const char*, TControl*> controls[] = {
      {"Active", switchActive}, {"Steps", inputSteps},   {"Channel", inputChannel},
      {"CC#", inputCC},         {"Rate", btnRate},       {"Rate Type", btnRateType},
      {"Order", btnOrder},      {"Trigger", btnTrigger}, {"Smooth", switchSmooth}};
  TControl* control = nullptr;
  for (const auto& [name, c] : controls) {
    if (controlName == name) control = c;
  }
  if (control == nullptr) throw std::logic_error("TfrmEditor: no control " + controlName);
  UpdateControlFromParameter(controlName, *control);
  if (control == inputSteps) CCSequencer->SetStepCount(inputSteps->ValueAsInteger());
}

std::string TfrmEditor::ControlParameterName(const std::string& controlName) {
  return "Seq" + std::to_string(plugin_.CurrentSequence() + 1) + " " + controlName;
}

int TfrmEditor::GetTeachCC() { return inputCC->ValueAsInteger(); }

void TfrmEditor::ShowControlInfo(const std::string& controlName) {
  const auto onOff = [](const TOrvGuiStitchedSwitch* toggle) { return toggle->Value() ? "On" : "Off"; };
  std::string text;
  if (controlName == "Active") {
    text = std::string("Active: ") + onOff(switchActive);
  } else if (controlName == "Steps") {
    text = "Steps: " + inputSteps->Text();
  } else if (controlName == "CC#") {
    text = "CC#: " + inputCC->Text();
  } else if (controlName == "Channel") {
    text = "Channel: " + inputChannel->Text();
  } else if (controlName == "Rate") {
    text = "Rate: " + btnRate->Caption();
  } else if (controlName == "Rate Type") {
    text = "Rate Type: " + btnRateType->Caption();
  } else if (controlName == "Order") {
    text = "Order: " + btnOrder->Caption();
  } else if (controlName == "Trigger") {
    text = "Trigger: " + btnTrigger->Caption();
  } else if (controlName == "Smooth") {
    text = std::string("Smooth: ") + onOff(switchSmooth);
  } else {
    return;
  }
  ShowInfo(text);
}

void TfrmEditor::ddmMenuPopup() {
  TfrmVSTEditorMenu::ddmMenuPopup();
  MenuItem("ddmMenu_TeachCC").Visible = true;
}

// ---- the page's operations

void TfrmEditor::UpdateSequenceButtons() {
  auto& values = plugin_.ParameterValues();
  for (int k = 0; k < kSequenceCount; ++k) {
    TOrvSpTBXSpeedButton& button = *btnSeq[static_cast<std::size_t>(k)];
    gfx::TFont font = button.Font();
    font.Underline = values.Items("Seq" + std::to_string(k + 1) + " Active").ValueAsInteger() != 0;
    button.SetFont(font);
  }
  const int shown = plugin_.CurrentSequence();
  btnSeq[static_cast<std::size_t>(shown)]->SetDown(true);
  lblSeqHeading->SetCaption(plugin_.Sequencer().Items(shown).Title());
  FitHeading();
}

// The title takes the room it needs, up to the sequence menu button.
void TfrmEditor::FitHeading() {
  const int width = Scale().TextWidth(lblSeqHeading->Font, lblSeqHeading->Caption()) + 2;
  lblSeqHeading->SetBounds(lblSeqHeading->Left(), lblSeqHeading->Top(),
                           std::clamp(width, 98, kHeadingRight - lblSeqHeading->Left()), lblSeqHeading->Height());
}

void TfrmEditor::LoadGridSteps() {
  CCSequencer->SetStepList(plugin_.Sequencer().Items(plugin_.CurrentSequence()).Steps());
}

void TfrmEditor::SetGridStepNo(int step) { CCSequencer->SetStepNo(step); }

void TfrmEditor::ResetGridStepNo() { CCSequencer->ResetStepNo(); }

void TfrmEditor::EditSequenceTitle() {
  sequencer::TSequencerItem& sequence = plugin_.Sequencer().Items(plugin_.CurrentSequence());
  const auto typed = Owner().DialogHost()->InputText("Edit Sequence Title", "Title", sequence.Title(), true, 50);
  if (!typed) return;
  std::string title = Trim(*typed);
  if (title.empty()) title = "Sequence #" + std::to_string(plugin_.CurrentSequence() + 1);
  sequence.SetTitle(title);
  plugin_.NotifyHostOfChange();
  lblSeqHeading->SetCaption(sequence.Title());
  FitHeading();
}

// ---- undo and redo

namespace {

bool IsUserInput(platform::TEventKind kind) {
  using platform::TEventKind;
  return kind == TEventKind::MouseDown || kind == TEventKind::MouseUp || kind == TEventKind::MouseWheel ||
         kind == TEventKind::KeyDown || kind == TEventKind::Char;
}

}  // namespace

void TfrmEditor::EventStarts(const platform::TEvent& event) {
  if (++eventDepth_ == 1 && !editStart_ && IsUserInput(event.Kind))
    BeginEdit(event.Kind == platform::TEventKind::MouseWheel);
}

void TfrmEditor::EventEnds(const platform::TEvent&) {
  if (--eventDepth_ == 0 && editStart_ && CapturedControl() == nullptr) EndEdit();
}

void TfrmEditor::NameEdit(const std::string& name) {
  if (editStart_ && editName_.empty()) editName_ = name;
}

void TfrmEditor::BeginEdit(bool byWheel) {
  editStart_ = plugin_.CaptureEditableState();
  editName_.clear();
  editByWheel_ = byWheel;
}

void TfrmEditor::EndEdit() {
  plugin::TEdit edit = plugin::DiffStates(*editStart_, plugin_.CaptureEditableState());
  editStart_.reset();
  // Showing another sequence alone is no edit to take back.
  const bool onlyShown = edit.Sequences.empty() && !edit.PresetName && !edit.Links;
  if (edit.Empty() || onlyShown) return;
  edit.Name = editName_.empty() ? plugin::DescribeEdit(edit) : editName_;
  plugin_.EditHistory().Push(std::move(edit), editByWheel_ && lastEditByWheel_);
  lastEditByWheel_ = editByWheel_;
}

void TfrmEditor::CompleteLearn() {
  BeginEdit(false);
  editName_ = "MIDI CC Learn";
  plugin_.CompletePendingLearn();
  EndEdit();
}

std::string TfrmEditor::UndoName() const { return plugin_.EditHistory().UndoName(); }

std::string TfrmEditor::RedoName() const { return plugin_.EditHistory().RedoName(); }

void TfrmEditor::UndoEdit() { Replay(true); }

void TfrmEditor::RedoEdit() { Replay(false); }

void TfrmEditor::Replay(bool undo) {
  CancelMidiLearn();
  plugin::TEditHistory& history = plugin_.EditHistory();
  const plugin::TEdit* edit = undo ? history.Undo() : history.Redo();
  if (edit == nullptr) return;
  plugin::TEditableState state = plugin_.CaptureEditableState();
  plugin::ApplyEdit(state, *edit, undo);
  // What is taken back shows: the one sequence it changed.
  if (!edit->CurrentSequence && edit->Sequences.size() == 1) state.State.CurrentSequence = edit->Sequences[0].Sequence;
  plugin_.RestoreEditableState(state);
  // Not an edit of its own.
  if (editStart_) editStart_ = plugin_.CaptureEditableState();
  lastEditByWheel_ = false;
  ShowInfo((undo ? "Undo: " : "Redo: ") + edit->Name);
}

void TfrmEditor::btnSeq1Click(TControl& sender) {
  CancelMidiLearn();
  plugin_.SetCurrentSequence(sender.Tag);
  plugin_.NotifyHostOfChange();
}

std::string TfrmEditor::StepText(int stepNo) const {
  const sequencer::TCCStepItem& step = CCSequencer->StepList()[stepNo];
  std::string text = "Step: " + std::to_string(stepNo + 1) + "  Value: " + std::to_string(RoundHalfEven(step.Value()));
  if (step.RandomRange() > 0)
    text += " <=> " + std::to_string(RoundHalfEven(static_cast<double>(step.Value()) + step.RandomRange()));
  return text;
}

void TfrmEditor::CCSequencerDisplayValue(int stepNo) {
  if (Owner().LearnMode() == 0 && Owner().TeachCC() < 0) ShowInfo(StepText(stepNo));
}

void TfrmEditor::CCSequencerModifiedValue(int stepNo) {
  CancelMidiLearn();
  plugin_.Sequencer().Items(plugin_.CurrentSequence()).AssignSteps(CCSequencer->StepList());
  plugin_.NotifyHostOfChange();
  if (stepNo >= 0) ShowInfo(StepText(stepNo));
}

void TfrmEditor::ddmSeqMenuPopup() {
  CancelMidiLearn();
  ddmSeqMenu.Items.Find("ddmSeqMenu_Paste")->Enabled = BinClipboard.HasStepData();
}

void TfrmEditor::ddmSeqMenu_PasteClick() {
  NameEdit("Paste Steps");
  try {
    CCSequencer->PasteSteps(BinClipboard);
    plugin_.Sequencer().Items(plugin_.CurrentSequence()).AssignSteps(CCSequencer->StepList());
    // The step count reaches the sequence through its parameter, like any edit of the input.
    inputSteps->SetValue(static_cast<float>(CCSequencer->StepCount()));
    plugin_.NotifyHostOfChange();
  } catch (const std::exception& e) {
    Owner().DialogHost()->ShowMessageDialog(e.what(), "Paste Steps", TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK);
  }
}

}  // namespace vornix::editor
