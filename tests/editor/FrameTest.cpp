// The editor's frame: heading, info line, preset button, main menu, learn and teach, the press
// hook of every parameter control, and the wheel's focus.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "EditorPageFixture.h"
#include "editor/dialogs/EditorDialogHost.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/OrvRegistry.h"
#include "platform/ThreadCheck.h"
#include "plugin/Skins.h"

namespace vornix::testing {

Host* Host::current = nullptr;

namespace {

using editor::TOrvNumericInput;
using editor::TOrvSpTBXSpeedButton;
using platform::TDialogAnswer;
using platform::TDialogKind;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(EditorPageTest, OpensAtItsSizeWithTheHeadingAndEveryComponentInPlace) {
  OpenEditor();
  EXPECT_EQ(window->Width(), 786);
  EXPECT_EQ(window->Height(), 421);
  struct TPlace {
    const char* name;
    gfx::TRect bounds;
  };
  // Heading positions are the form's; the page's are panMain's.
  for (const TPlace& p : {TPlace{"panHeading", {0, 0, 786, 41}},       TPlace{"lblName", {40, 9, 0, 0}},
                          TPlace{"panInfo", {546, 8, 780, 34}},        TPlace{"lblInfo", {6, 6, 229, 20}},
                          TPlace{"btnMenu", {6, 8, 32, 34}},           TPlace{"btnPresets", {275, 8, 512, 34}},
                          TPlace{"panMain", {3, 45, 783, 418}},        TPlace{"switchActive", {37, 8, 61, 32}},
                          TPlace{"btnSeq1", {6, 38, 30, 62}},          TPlace{"btnSeq8", {6, 220, 30, 244}},
                          TPlace{"CCSequencer", {37, 38, 742, 310}},   TPlace{"btnSeqMenu", {749, 37, 773, 61}},
                          TPlace{"btnUp", {749, 67, 773, 91}},         TPlace{"btnRight", {749, 145, 773, 169}},
                          TPlace{"inputSteps", {37, 341, 77, 365}},    TPlace{"inputChannel", {84, 341, 124, 365}},
                          TPlace{"inputCC", {131, 341, 171, 365}},     TPlace{"btnRate", {178, 341, 281, 366}},
                          TPlace{"btnRateType", {288, 341, 395, 366}}, TPlace{"btnOrder", {402, 341, 524, 366}},
                          TPlace{"btnTrigger", {531, 341, 690, 366}},  TPlace{"switchSmooth", {718, 341, 742, 365}}}) {
    const gfx::TRect b = Control(p.name).BoundsRect();
    EXPECT_EQ(b.Left, p.bounds.Left) << p.name;
    EXPECT_EQ(b.Top, p.bounds.Top) << p.name;
    if (p.bounds.Right != 0) {
      EXPECT_EQ(b.Right, p.bounds.Right) << p.name;
      EXPECT_EQ(b.Bottom, p.bounds.Bottom) << p.name;
    }
  }
  EXPECT_EQ(form->lblName->Caption(), "Vornix");
  EXPECT_EQ(form->btnPresets->Caption(), "-");
  EXPECT_EQ(Info(), "");
  for (int k = 0; k < 8; ++k) {
    auto& button = Control<TOrvSpTBXSpeedButton>("btnSeq" + std::to_string(k + 1));
    EXPECT_EQ(button.Caption(), std::to_string(k + 1));
    EXPECT_EQ(button.Tag, k);
    EXPECT_EQ(button.GroupIndex, 2);
    EXPECT_EQ(button.Down(), k == 0);
  }
}

TEST_F(EditorPageTest, ThePresetNameIsCutToTheButtonWithoutAnEllipsisAndNoNameShowsADash) {
  OpenEditor();
  const auto& button = *form->btnPresets;
  const int room = button.Width() - 8;
  const std::string longName = "A Very Long Preset Name That Does Not Fit The Button At All";
  // A name set by the module shows at the editor's next idle call.
  const auto name = [this](const std::string& text) {
    plugin->SetPresetName(text);
    plugin->Call(vst::effEditIdle);
  };
  name(longName);
  const std::string shown = button.Caption();
  ASSERT_LT(shown.size(), longName.size());
  EXPECT_EQ(longName.substr(0, shown.size()), shown);
  EXPECT_LE(gfx::TextWidth(button.Font(), shown), room);
  EXPECT_GT(gfx::TextWidth(button.Font(), longName.substr(0, shown.size() + 1)), room) << "cut one too many";

  name("Bass");
  EXPECT_EQ(button.Caption(), "Bass");
  // Characters of several bytes go whole.
  name(std::string(60, 'W') + "\u00e9");
  EXPECT_EQ(button.Caption().find('\xc3'), std::string::npos);
  name("");
  EXPECT_EQ(button.Caption(), "-");
}

TEST_F(EditorPageTest, AnInfoTextGoesAfterThreeSecondsAndANewOneStartsThemAgain) {
  OpenEditor();
  form->ShowInfo("first");
  system.AdvanceTime(2000);
  form->ShowInfo("second");
  system.AdvanceTime(2999);
  EXPECT_EQ(Info(), "second");
  system.AdvanceTime(1);
  EXPECT_EQ(Info(), "");
}

TEST_F(EditorPageTest, LearnPromptsStayForAsLongAsTheLearnModeLasts) {
  OpenEditor();
  ChooseFrom(*form->btnMenu, form->ddmMenu, "ddmMenu_MidiCCLearn");
  EXPECT_EQ(plugin->LearnMode(), 1);
  EXPECT_EQ(Info(), "MIDI Learn: Click control");
  system.AdvanceTime(10000);
  EXPECT_EQ(Info(), "MIDI Learn: Click control");

  // A press on a control picks the parameter and does nothing else.
  const float before = Parameter("Seq1 Steps");
  Click(*form->inputSteps);
  EXPECT_EQ(Info(), "MIDI Learn: Move MIDI controller");
  EXPECT_EQ(plugin->LearnTarget(), "Seq1 Steps");
  EXPECT_EQ(Parameter("Seq1 Steps"), before);
  system.AdvanceTime(10000);
  EXPECT_EQ(Info(), "MIDI Learn: Move MIDI controller");

  // The controller completes the link at the next idle call; the mode ends, the text goes in 3 s.
  plugin->Receive(0xB3, 21, 64);
  Idle();
  EXPECT_EQ(Info(), "Seq1 Steps = CC# 21");
  EXPECT_EQ(plugin->LearnMode(), 0);
  system.AdvanceTime(3000);
  EXPECT_EQ(Info(), "");
}

TEST_F(EditorPageTest, SetCCAsksForTheNumberWhenAControlIsPressed) {
  OpenEditor();
  ChooseFrom(*form->btnMenu, form->ddmMenu, "ddmMenu_MidiSetCC");
  EXPECT_EQ(Info(), "MIDI Set CC: Click control");
  dialogs->Answer(TDialogAnswer::Entered(33));
  Click(*form->btnOrder);
  EXPECT_EQ(system.ActivePopup(), nullptr) << "the press went to the dialog, not to the menu";
  ASSERT_EQ(dialogs->Questions().size(), 1u);
  EXPECT_EQ(dialogs->Questions()[0].Caption, "MIDI Set CC: Seq1 Order");
  EXPECT_EQ(dialogs->Questions()[0].Value, 1);
  EXPECT_EQ(Info(), "Seq1 Order = CC# 33");
  EXPECT_EQ(plugin->LearnMode(), 0);
  ASSERT_EQ(plugin->MidiCCList().Count(), 1);
  EXPECT_EQ(plugin->MidiCCList().Items(0).CC, 33);
}

TEST_F(EditorPageTest, CtrlClickResetsTheParameterToItsDefaultAndTheMenuStaysShut) {
  OpenEditor();
  plugin->SetParameterByName("Seq1 Order", 5);
  Idle();
  EXPECT_EQ(form->btnOrder->Caption(), "Each 3rd");
  host.automated.clear();
  // A menu that opened would run a loop with nothing queued for it, and fail the test.
  Click(*form->btnOrder, platform::ssCtrl);
  EXPECT_EQ(system.ActivePopup(), nullptr);
  EXPECT_EQ(Parameter("Seq1 Order"), 0);
  EXPECT_EQ(form->btnOrder->Caption(), "Forward");
  EXPECT_EQ(form->btnOrder->ItemValue, 0);
  EXPECT_EQ(Info(), "Order: Forward");
  const int index = plugin->IndexOfParameter("Seq1 Order");
  EXPECT_THAT(host.automated, ElementsAre(std::pair<vst::VstInt32, float>(index, 0.0f)));

  // At its default already, nothing more is reported.
  host.automated.clear();
  Click(*form->btnOrder, platform::ssCtrl);
  EXPECT_THAT(host.automated, IsEmpty());
}

TEST_F(EditorPageTest, APlainPressTellsTheHostWhichParameterIsTouchedAndTheControlWorksOn) {
  OpenEditor();
  auto& input = *form->inputCC;
  const gfx::TPoint p = Center(input);
  system.MouseDown(*window, p.X, p.Y);
  const int index = plugin->IndexOfParameter("Seq1 CC#");
  ASSERT_EQ(host.automated.size(), 1u);
  EXPECT_EQ(host.automated[0].first, index);
  EXPECT_FLOAT_EQ(host.automated[0].second, Parameter("Seq1 CC#") / 127.0f);
  EXPECT_EQ(Info(), "CC#: " + std::to_string(static_cast<int>(Parameter("Seq1 CC#"))));
  // The drag still works: upwards raises the value, and the parameter follows.
  const float before = input.Value();
  for (int dy = 1; dy <= 8; ++dy) system.MouseMove(*window, p.X, p.Y - dy, platform::ssLeft);
  system.MouseUp(*window, p.X, p.Y - 8);
  EXPECT_FLOAT_EQ(input.Value(), before + 2.0f);
  EXPECT_FLOAT_EQ(Parameter("Seq1 CC#"), before + 2.0f);
}

// Each edit made in the editor reaches the host as one gesture on its parameter: begun at the
// press (or with a change made without one), one or more values, and ended once the editor lets go
// (at the idle call after the release, or at once for a change of its own).
TEST_F(EditorPageTest, EditsInTheEditorReachTheHostAsGestures) {
  plugin->SetParameterByName("Seq1 Order", 5);
  OpenEditor();
  auto gesture = [](int index) {
    return ::testing::AllOf(::testing::SizeIs(::testing::Ge(3u)),
                            ::testing::Truly([index](const std::vector<std::string>& edits) {
                              const std::string i = " " + std::to_string(index);
                              for (std::size_t k = 1; k + 1 < edits.size(); ++k)
                                if (edits[k] != "automate" + i) return false;
                              return edits.front() == "begin" + i && edits.back() == "end" + i;
                            }));
  };
  const TMenuItem* random = nullptr;
  for (const auto& item : form->ddmOrder.Items.Items())
    if (item->Caption == "Random") random = item.get();
  ASSERT_NE(random, nullptr);
  struct TCase {
    const char* what;
    const char* parameter;
    std::function<void()> edit;
  };
  const TCase cases[] = {
      {"a drag", "Seq1 CC#",
       [&] {
         const gfx::TPoint p = Center(*form->inputCC);
         system.MouseDown(*window, p.X, p.Y);
         for (int dy = 1; dy <= 8; ++dy) system.MouseMove(*window, p.X, p.Y - dy, platform::ssLeft);
         system.MouseUp(*window, p.X, p.Y - 8);
         EXPECT_THAT(host.edits, ::testing::Not(::testing::Contains(::testing::StartsWith("end"))))
             << "the press holds the parameter until the editor lets go";
       }},
      {"a wheel notch", "Seq1 Steps",
       [&] {
         const gfx::TPoint p = Center(*form->inputSteps);
         system.MouseWheel(*window, p.X, p.Y, 120);
       }},
      {"a click on a switch", "Seq1 Smooth", [&] { Click(*form->switchSmooth); }},
      {"a menu choice", "Seq1 Order", [&] { WithMenu(*form->btnOrder, [&] { Choose(form->ddmOrder, *random); }); }},
      {"a reset to the default", "Seq1 Order", [&] { Click(*form->btnOrder, platform::ssCtrl); }},
  };
  for (const TCase& c : cases) {
    host.edits.clear();
    const float before = Parameter(c.parameter);
    c.edit();
    Idle();
    EXPECT_NE(Parameter(c.parameter), before) << c.what;
    EXPECT_THAT(host.edits, gesture(plugin->IndexOfParameter(c.parameter))) << c.what;
  }

  // An editor closed in the middle of a drag ends its edit.
  host.edits.clear();
  const gfx::TPoint p = Center(*form->inputChannel);
  system.MouseDown(*window, p.X, p.Y);
  CloseEditor();
  const std::string channel = std::to_string(plugin->IndexOfParameter("Seq1 Channel"));
  EXPECT_THAT(host.edits, ::testing::ElementsAre("begin " + channel, "automate " + channel, "end " + channel));
}

TEST_F(EditorPageTest, TheMainMenuShowsTeachLearnRemoveAndSkinStates) {
  plugin->SetCC("Seq2 Rate", 7);
  plugin->SetCC("Seq1 Steps", 100);
  OpenEditor();
  auto& menu = form->ddmMenu;
  const auto item = [&](const char* name) -> TMenuItem& { return *menu.Items.Find(name); };

  WithMenu(*form->btnMenu, [&] {
    EXPECT_TRUE(item("ddmMenu_TeachCC").Visible);
    EXPECT_FALSE(item("ddmMenu_TeachCC").Checked);
    EXPECT_FALSE(item("ddmMenu_TeachCC").Default);
    EXPECT_FALSE(item("ddmMain_LowestOctave").Visible);
    EXPECT_FALSE(item("ddmMenu_OpenUserGuide").Visible) << "no user guide anywhere";
    const TMenuItem& remove = item("ddmMenu_MidiCCRemove");
    EXPECT_TRUE(remove.Enabled);
    ASSERT_EQ(remove.Count(), 2u);
    EXPECT_EQ(remove.Item(0).Caption, "CC# 7 - Seq2 Rate");
    EXPECT_EQ(remove.Item(1).Caption, "CC# 100 - Seq1 Steps");
    for (const auto& skin : item("ddmMain_Skin").Items()) EXPECT_EQ(skin->Checked, skin->Tag == plugin->Style());
  });

  // Teach on: bold and checked, and its text shows.
  ChooseFrom(*form->btnMenu, menu, "ddmMenu_TeachCC");
  EXPECT_EQ(plugin->TeachCC(), static_cast<int>(Parameter("Seq1 CC#")));
  EXPECT_EQ(Info(), "MIDI Teach CC: Sending CC#" + std::to_string(plugin->TeachCC()));
  WithMenu(*form->btnMenu, [&] {
    EXPECT_TRUE(item("ddmMenu_TeachCC").Checked);
    EXPECT_TRUE(item("ddmMenu_TeachCC").Default);
  });

  // Learn ends teach; its item is bold and checked, Set CC is not.
  ChooseFrom(*form->btnMenu, menu, "ddmMenu_MidiCCLearn");
  EXPECT_EQ(plugin->TeachCC(), -1);
  WithMenu(*form->btnMenu, [&] {
    EXPECT_TRUE(item("ddmMenu_MidiCCLearn").Checked && item("ddmMenu_MidiCCLearn").Default);
    EXPECT_FALSE(item("ddmMenu_MidiSetCC").Checked || item("ddmMenu_MidiSetCC").Default);
    EXPECT_FALSE(item("ddmMenu_TeachCC").Checked);
  });
  // Chosen again, learn goes off and clears the line.
  ChooseFrom(*form->btnMenu, menu, "ddmMenu_MidiCCLearn");
  EXPECT_EQ(plugin->LearnMode(), 0);
  EXPECT_EQ(Info(), "");

  // Removing the links one by one disables the submenu.
  for (int i = 0; i < 2; ++i) {
    TMenuItem* entry = nullptr;
    WithMenu(*form->btnMenu, [&] {
      entry = &item("ddmMenu_MidiCCRemove").Item(0);
      Choose(menu, *entry);
    });
  }
  EXPECT_EQ(plugin->MidiCCList().Count(), 0);
  WithMenu(*form->btnMenu, [&] { EXPECT_FALSE(item("ddmMenu_MidiCCRemove").Enabled); });
}

TEST_F(EditorPageTest, ChoosingAnotherSkinSavesItAndAsksToReopenTheWindowWhichKeepsItsLook) {
  OpenEditor();
  const gfx::TSkin* look = form->Skin();
  dialogs->Answer(TDialogAnswer::Ok());
  ChooseFrom(*form->btnMenu, form->ddmMenu, "ddmMain_Skin_Luna");
  EXPECT_EQ(plugin->Style(), 3);
  ASSERT_EQ(dialogs->Questions().size(), 1u);
  EXPECT_EQ(dialogs->Questions()[0].Text,
            "Please close and re-open the plugin window for skin changes to take effect.");
  EXPECT_EQ(dialogs->Questions()[0].Caption, "Change Skin");
  EXPECT_EQ(dialogs->Questions()[0].Type, platform::TMsgDlgType::mtInformation);
  EXPECT_EQ(form->Skin(), look);
  const auto storedStyle = [] { return platform::OpenConfigKey("Vornix")->ReadInteger("Config", "Style", -1); };
  EXPECT_EQ(storedStyle(), 3);

  // The skin in use: no message, nothing written.
  platform::OpenConfigKey("Vornix")->WriteInteger("Config", "Style", 1);
  ChooseFrom(*form->btnMenu, form->ddmMenu, "ddmMain_Skin_Luna");
  EXPECT_EQ(dialogs->Questions().size(), 1u);
  EXPECT_EQ(storedStyle(), 1);

  // Opened again, the window wears the new skin.
  CloseEditor();
  OpenEditor();
  EXPECT_EQ(form->Skin()->Name, "Luna");
  WithMenu(*form->btnMenu, [&] { EXPECT_TRUE(form->ddmMenu.Items.Find("ddmMain_Skin_Luna")->Checked); });
}

TEST_F(EditorPageTest, InitAsksFirstAndNoKeepsTheState) {
  OpenEditor();
  plugin->SetParameterByName("Seq1 Steps", 5);
  dialogs->Answer(TDialogAnswer::No());
  ChooseFrom(*form->btnMenu, form->ddmMenu, "ddmMenu_Init");
  EXPECT_EQ(dialogs->Questions().back().Text, "Initialize preset?");
  EXPECT_EQ(dialogs->Questions().back().Caption, "Init");
  EXPECT_EQ(Parameter("Seq1 Steps"), 5);

  form->ShowInfo("something");
  dialogs->Answer(TDialogAnswer::Yes());
  ChooseFrom(*form->btnMenu, form->ddmMenu, "ddmMenu_Init");
  const float initial = plugin->ParameterValues().Items("Seq1 Steps").Default;
  EXPECT_EQ(Parameter("Seq1 Steps"), initial);
  EXPECT_EQ(form->inputSteps->Value(), initial) << "the controls follow at once";
  EXPECT_EQ(Info(), "");
}

// Installed as a user gets it: the guide lies beside the plug-in's own file (here, the module is
// this test program). The tests of this program never run beside each other, so none of them sees
// the file by surprise.
TEST_F(EditorPageTest, TheUserGuideBesideThePluginIsOffered) {
  const std::string guide = platform::ModuleFolder() + "Vornix User Guide.pdf";
  ASSERT_FALSE(platform::FileExistsAbsolute(guide)) << "left over: " << guide;
  std::ofstream(platform::FilePath(guide)) << "%PDF";
  struct TRemove {
    std::string file;
    ~TRemove() { std::filesystem::remove(platform::FilePath(file)); }
  } remove{guide};
  OpenEditor();
  EXPECT_EQ(form->UserGuidePath(), guide);
  WithMenu(*form->btnMenu, [&] { EXPECT_TRUE(form->ddmMenu.Items.Find("ddmMenu_OpenUserGuide")->Visible); });
}

TEST_F(EditorPageTest, TheUserGuideInTheDataFolderIsOfferedAndAFailedOpenIsReported) {
  platform::ForceDirectories(platform::FilePath(plugin->DataFolder()));
  const std::string guide = plugin->DataFolder() + "Vornix User Guide.pdf";
  std::ofstream(platform::FilePath(guide)) << "%PDF";
  OpenEditor();
  EXPECT_EQ(form->UserGuidePath(), guide);
  WithMenu(*form->btnMenu, [&] { EXPECT_TRUE(form->ddmMenu.Items.Find("ddmMenu_OpenUserGuide")->Visible); });
#ifndef _WIN32
  // No program to open it with: the failure is reported with the path.
  platform::test::TScopedEnv path("PATH", home.Path().string());
  dialogs->Answer(TDialogAnswer::Ok());
  ChooseFrom(*form->btnMenu, form->ddmMenu, "ddmMenu_OpenUserGuide");
  ASSERT_EQ(dialogs->Questions().size(), 1u);
  EXPECT_EQ(dialogs->Questions()[0].Text, "Error opening file.\r\n\r\n\"" + guide + "\"");
  EXPECT_EQ(dialogs->Questions()[0].Caption, "Open User Guide");
#endif
}

TEST_F(EditorPageTest, AboutNamesTheProductVersionAndBuildDate) {
  OpenEditor();
  dialogs->Answer(TDialogAnswer::Ok());
  ChooseFrom(*form->btnMenu, form->ddmMenu, "ddmMenu_About");
  ASSERT_EQ(dialogs->Questions().size(), 1u);
  EXPECT_EQ(dialogs->Questions()[0].Caption, "About");
  EXPECT_THAT(dialogs->Questions()[0].Text, ::testing::StartsWith("Vornix v1.12\r\n\r\nBuild date: "));
  EXPECT_GT(dialogs->Questions()[0].Text.size(), std::string("Vornix v1.12\r\n\r\nBuild date: ").size());
}

TEST_F(EditorPageTest, ThePresetButtonLoadsTheChosenPresetAndTheClickThatClosedTheBrowserGoesNowhere) {
  OpenEditor();
  plugin->SetParameterByName("Seq1 Steps", 9);
  dialogs->Answer(TDialogAnswer::Typed("Bass"));
  ChooseFrom(*form->btnMenu, form->ddmMenu, "ddmMenu_SavePreset");
  EXPECT_EQ(form->btnPresets->Caption(), "Bass");
  plugin->SetParameterByName("Seq1 Steps", 3);
  plugin->SetPresetName("");

  dialogs->Answer(TDialogAnswer::Chosen("Bass"));
  // While the browser is open the user clicks a sequence button to close it.
  dialogs->OnQuestion = [&](const platform::TDialogQuestion& question) {
    if (question.Kind != TDialogKind::Preset) return;
    platform::TEvent press;
    press.Kind = platform::TEventKind::MouseDown;
    press.Button = TMouseButton::Left;
    press.Shift = platform::ssLeft;
    const gfx::TPoint p = Center(Control("btnSeq5"));
    press.X = p.X;
    press.Y = p.Y;
    system.Post(*window, press);
  };
  Click(*form->btnPresets);
  EXPECT_EQ(dialogs->Questions().back().Kind, TDialogKind::Preset);
  EXPECT_EQ(Parameter("Seq1 Steps"), 9);
  EXPECT_EQ(form->btnPresets->Caption(), "Bass");
  Idle();
  EXPECT_EQ(form->inputSteps->Value(), 9);
  EXPECT_EQ(system.PostedEvents(), 0u);
  system.Pump();
  EXPECT_EQ(plugin->CurrentSequence(), 0);
}

TEST_F(EditorPageTest, APresetFileThatCannotBeReadIsReportedAndChangesNothing) {
  OpenEditor();
  platform::ForceDirectories(platform::FilePath(plugin->PresetsFolder()));
  std::ofstream(platform::FilePath(plugin->PresetsFolder() + "Broken.orvanep")) << "not a preset";
  plugin->SetParameterByName("Seq1 Steps", 11);
  plugin->SetPresetName("Mine");
  dialogs->Answer(TDialogAnswer::Chosen("Broken")).Answer(TDialogAnswer::Ok());
  Click(*form->btnPresets);
  ASSERT_EQ(dialogs->Questions().size(), 2u);
  EXPECT_THAT(dialogs->Questions()[1].Text, ::testing::StartsWith("Error loading preset from file.\r\n\r\n\""));
  EXPECT_EQ(dialogs->Questions()[1].Caption, "Load Preset");
  EXPECT_EQ(Parameter("Seq1 Steps"), 11);
  EXPECT_EQ(form->btnPresets->Caption(), "Mine");
}

TEST_F(EditorPageTest, TheEditorsOwnDialogsAskTheModulesQuestionsCentredOverIt) {
  OpenEditor(false);
  EXPECT_NE(dynamic_cast<editor::TEditorDialogHost*>(plugin->DialogHost().get()), nullptr);
  const gfx::TPoint p = Center(*form->lblSeqHeading);
  system.QueueModalAction([&] {
    platform::TMemoryWindow* dialog = system.FindDialog("Edit Sequence Title");
    ASSERT_NE(dialog, nullptr);
    const gfx::TRect editor = window->ScreenBounds();
    const gfx::TRect shown = dialog->ScreenBounds();
    EXPECT_LE(std::abs((shown.Left + shown.Right) - (editor.Left + editor.Right)), 1);
    EXPECT_LE(std::abs((shown.Top + shown.Bottom) - (editor.Top + editor.Bottom)), 1);
    system.KeyDown(*dialog, platform::kKeyEnd);
    for (int i = 0; i < 20; ++i) system.KeyDown(*dialog, platform::kKeyBackspace);
    system.Type(*dialog, "Lead");
    system.KeyDown(*dialog, platform::kKeyReturn);
  });
  system.DoubleClick(*window, p.X, p.Y);
  EXPECT_EQ(system.PendingModalActions(), 0u);
  EXPECT_EQ(plugin->Sequencer().Items(0).Title(), "Lead");
  EXPECT_EQ(form->lblSeqHeading->Caption(), "Lead");
  // Closed, the module's questions go where they went before.
  CloseEditor();
  EXPECT_EQ(plugin->DialogHost().get(), dialogs.get());
}

TEST_F(EditorPageTest, AMessageShownWhileNoEditorWasOpenWaitsForTheInfoLine) {
  plugin->SetDialogHost(nullptr);  // the module's own: standard error, and the editor's inbox
  plugin->DialogHost()->ShowMessageDialog(platform::ErrorText("Error loading preset.", "Stream read error"),
                                          "Load Preset", platform::TMsgDlgType::mtWarning,
                                          platform::TMsgDlgButtons::mbOK);
  OpenEditor();
  EXPECT_EQ(Info(), "Error loading preset. \"Stream read error\"");
  // The editor's dialogs answer while it is open; the headless host is back afterwards.
  EXPECT_EQ(plugin->DialogHost().get(), dialogs.get());
  CloseEditor();
  EXPECT_NE(dynamic_cast<platform::THeadlessDialogHost*>(plugin->DialogHost().get()), nullptr);
}

TEST_F(EditorPageTest, TheWheelActsOnTheControlUnderThePointerAndButtonsNeverTakeTheFocus) {
  OpenEditor();
  // The host's 'Whee' call: the control under the pointer takes the focus before the editor
  // handles anything else (here the next idle call).
  MoveTo(*form->inputCC);
  EXPECT_EQ(plugin->Call(vst::effVendorSpecific, 0, 0x57686565), 0);
  plugin->Call(vst::effEditIdle);
  EXPECT_EQ(form->FocusedControl(), form->inputCC);
  MoveTo(*form->btnRate);
  plugin->Call(vst::effVendorSpecific, 0, 0x57686565);
  plugin->Call(vst::effEditIdle);
  EXPECT_EQ(form->FocusedControl(), form->inputCC) << "a speed button does not take the focus";
  MoveTo(*form->btnSeqMenu);
  plugin->Call(vst::effVendorSpecific, 0, 0x57686565);
  plugin->Call(vst::effEditIdle);
  EXPECT_EQ(form->FocusedControl(), form->inputCC) << "a menu button does not take the focus";

  // A wheel message over another input moves the focus there, and every notch acts on it.
  const gfx::TPoint p = Center(*form->inputSteps);
  const float steps = form->inputSteps->Value();
  system.MouseWheel(*window, p.X, p.Y, 120);
  EXPECT_EQ(form->FocusedControl(), form->inputSteps);
  system.MouseWheel(*window, p.X, p.Y, 120);
  EXPECT_FLOAT_EQ(form->inputSteps->Value(), steps + 0.25f);
  EXPECT_FLOAT_EQ(Parameter("Seq1 Steps"), steps + 0.25f);
}

TEST_F(EditorPageTest, TheFormTakesTheFocusAndStartsShowingThePlayingStepAfterATenthOfASecond) {
  OpenEditor();
  EXPECT_FALSE(form->Activated());
  system.AdvanceTime(99);
  EXPECT_FALSE(form->Activated());
  system.AdvanceTime(1);
  EXPECT_TRUE(form->Activated());
  EXPECT_TRUE(window->Focused());
}

// A question opened before that tenth of a second has passed keeps the keyboard: the editor
// taking it back would send the user's Enter to the editor instead of the question.
TEST_F(EditorPageTest, AQuestionOpenedInTheEditorsFirstTenthOfASecondKeepsTheFocus) {
  OpenEditor(false);
  const gfx::TPoint p = Center(*form->lblSeqHeading);
  platform::TMemoryWindow* dialog = nullptr;
  bool dialogFocused = false;
  system.QueueModalAction([&] {
    dialog = system.FindDialog("Edit Sequence Title");
    ASSERT_NE(dialog, nullptr);
    system.AdvanceTime(150);
    dialogFocused = dialog->Focused();
    system.KeyDown(*dialog, platform::kKeyEscape);
  });
  system.DoubleClick(*window, p.X, p.Y);
  EXPECT_TRUE(form->Activated());
  EXPECT_TRUE(dialogFocused);
}

TEST_F(EditorPageTest, ClosingTheEditorEndsLearnAndTeach) {
  OpenEditor();
  ChooseFrom(*form->btnMenu, form->ddmMenu, "ddmMenu_TeachCC");
  ASSERT_GE(plugin->TeachCC(), 0);
  plugin->ToggleMidiLearn();
  CloseEditor();
  EXPECT_EQ(plugin->LearnMode(), 0);
  EXPECT_EQ(plugin->TeachCC(), -1);
}

TEST_F(EditorPageTest, APressOnTheMainPanelLeavesMidiLearn) {
  OpenEditor();
  ChooseFrom(*form->btnMenu, form->ddmMenu, "ddmMenu_MidiCCLearn");
  system.Click(*window, form->panMain->Left() + 400, form->panMain->Top() + 20);
  EXPECT_EQ(plugin->LearnMode(), 0);
  EXPECT_EQ(Info(), "");
}

// The page uses no key: with the keyboard it hands Space (and every other key) to the host's window,
// so the host's transport keys keep working; a key the host offers is "not used" too. A question's
// text box uses what is typed into it.
TEST_F(EditorPageTest, KeysThePageDoesNotUseGoToTheHost) {
  OpenEditor(false);
  system.AdvanceTime(100);  // the form has the keyboard
  system.KeyDown(*window, platform::kKeySpace);
  system.Type(*window, " ");
  system.KeyUp(*window, platform::kKeySpace);
  EXPECT_EQ(system.KeysForTheHost().size(), 3u);
  EXPECT_EQ(plugin->Call(vst::effEditKeyDown, ' ', vst::VKEY_SPACE), 0);
  EXPECT_EQ(plugin->Call(vst::effEditKeyUp, ' ', vst::VKEY_SPACE), 0);
  EXPECT_EQ(plugin->Call(vst::effEditKeyDown, 'q', 0), 0);

  system.QueueModalAction([&] {
    platform::TMemoryWindow* dialog = system.FindDialog("Edit Sequence Title");
    ASSERT_NE(dialog, nullptr);
    system.Type(*dialog, "x");
    system.KeyDown(*dialog, platform::kKeyEscape);
  });
  const gfx::TPoint p = Center(*form->lblSeqHeading);
  system.DoubleClick(*window, p.X, p.Y);
  EXPECT_EQ(system.KeysForTheHost().size(), 3u);
}

// The editor belongs to the thread that opened it. Debug and sanitizer builds stop at once when a
// host calls one of its entries on another thread; release builds trust the host.
TEST_F(EditorPageTest, TheEditorBelongsToTheThreadThatOpenedIt) {
  OpenEditor();
  platform::TThreadCheck check;
  check.Bind();
  EXPECT_TRUE(check.OnOwnerThread());
  bool elsewhere = true;
  std::thread([&] { elsewhere = check.OnOwnerThread(); }).join();
  EXPECT_FALSE(elsewhere);
#if defined(VORNIX_THREAD_CHECKS)
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(std::thread([&] { plugin->Call(vst::effEditIdle); }).join(),
               "effEditIdle called on a thread that does not own the editor");
  EXPECT_DEATH(std::thread([&] { plugin->Call(vst::effEditClose); }).join(), "effEditClose called on a thread");
#endif
}

}  // namespace
}  // namespace vornix::testing
