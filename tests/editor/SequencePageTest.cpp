// The sequence page: choosing a sequence, the settings controls bound to their parameters, the
// idle refresh, the value menus and popups, the title, and the sequence menu.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "EditorPageFixture.h"
#include "editor/logic/StepClipboard.h"

namespace vornix::testing {
namespace {

using editor::TOrvNumericInput;
using editor::TOrvSpTBXSpeedButton;
using platform::TDialogAnswer;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// What a parameter value is in the host's 0..1.
float Normalized(TestPlugin& plugin, const std::string& name, float value) {
  const auto& p = *plugin.ParameterProperties()[static_cast<std::size_t>(plugin.IndexOfParameter(name))];
  return p.NormalizeValue(value);
}

TEST_F(EditorPageTest, SelectingASequenceShowsItsSettingsStepsAndTitleAndTellsTheHost) {
  const std::pair<const char*, float> settings[] = {{"Seq3 Active", 1}, {"Seq3 Steps", 7},   {"Seq3 Channel", 5},
                                                    {"Seq3 CC#", 20},   {"Seq3 Rate", 2},    {"Seq3 Rate Type", 0},
                                                    {"Seq3 Order", 3},  {"Seq3 Trigger", 1}, {"Seq3 Smooth", 1}};
  for (const auto& [name, value] : settings) plugin->SetParameterByName(name, value);
  plugin->Sequencer().Items(2).Steps()[4].SetValue(99);
  OpenEditor();
  ChooseFrom(*form->btnMenu, form->ddmMenu, "ddmMenu_TeachCC");
  form->SetGridStepNo(3);
  host.automated.clear();

  Click(Control("btnSeq3"));
  EXPECT_EQ(plugin->CurrentSequence(), 2);
  EXPECT_TRUE(form->switchActive->Value());
  EXPECT_EQ(form->inputSteps->Value(), 7);
  EXPECT_EQ(form->inputChannel->Value(), 5);
  EXPECT_EQ(form->inputCC->Value(), 20);
  EXPECT_EQ(form->btnRate->Caption(), "1/32");
  EXPECT_EQ(form->btnRateType->Caption(), "Dotted");
  EXPECT_EQ(form->btnOrder->Caption(), "Backward >");
  EXPECT_EQ(form->btnTrigger->Caption(), "Note");
  EXPECT_TRUE(form->switchSmooth->Value());
  EXPECT_EQ(form->CCSequencer->StepCount(), 7);
  EXPECT_EQ(form->CCSequencer->StepList()[4].Value(), 99);
  EXPECT_EQ(form->CCSequencer->StepNo(), -1) << "no playing step until the next one arrives";
  EXPECT_EQ(form->lblSeqHeading->Caption(), "Sequence #3");
  EXPECT_TRUE(Control<TOrvSpTBXSpeedButton>("btnSeq3").Down());
  EXPECT_FALSE(Control<TOrvSpTBXSpeedButton>("btnSeq1").Down());
  EXPECT_EQ(plugin->TeachCC(), -1) << "teach ends with another sequence";
  EXPECT_EQ(form->ControlParameterName("Rate Type"), "Seq3 Rate Type");
  // The host hears of the change as parameter 0 reported with its own value.
  ASSERT_FALSE(host.automated.empty());
  EXPECT_EQ(host.automated.back().first, 0);
}

TEST_F(EditorPageTest, HostAutomationShowsAtTheNextIdleCallWithoutBeingWrittenBack) {
  OpenEditor();
  Click(Control("btnSeq2"));
  host.automated.clear();
  HostAutomates("Seq2 Steps", Normalized(*plugin, "Seq2 Steps", 40));
  EXPECT_NE(form->inputSteps->Value(), 40) << "the page follows at the idle call";
  Idle();
  EXPECT_EQ(form->inputSteps->Value(), 40);
  EXPECT_EQ(form->inputSteps->Text(), "40");
  EXPECT_EQ(form->CCSequencer->StepCount(), 40);
  EXPECT_THAT(host.automated, IsEmpty());
  // A sequence that is not shown changes nothing on the page.
  HostAutomates("Seq1 Steps", Normalized(*plugin, "Seq1 Steps", 3));
  Idle();
  EXPECT_EQ(form->inputSteps->Value(), 40);
}

TEST_F(EditorPageTest, AnIdleRefreshWithNothingChangedPaintsNothing) {
  OpenEditor();
  system.AdvanceTime(200);
  const int presented = window->PresentCount();
  Idle();
  Idle();
  form->Update();
  EXPECT_EQ(window->PresentCount(), presented);
}

TEST_F(EditorPageTest, TheActiveSwitchUnderlinesItsSequenceButton) {
  OpenEditor();
  auto& button = Control<TOrvSpTBXSpeedButton>("btnSeq1");
  const bool before = Parameter("Seq1 Active") != 0;
  EXPECT_EQ(button.Font().Underline, before);
  Click(*form->switchActive);
  EXPECT_EQ(Parameter("Seq1 Active") != 0, !before);
  EXPECT_EQ(Info(), std::string("Active: ") + (before ? "Off" : "On"));
  Idle();
  EXPECT_EQ(button.Font().Underline, !before);
  EXPECT_TRUE(button.Font().Bold);
  // The host switches sequence 4 on.
  HostAutomates("Seq4 Active", 1.0f);
  Idle();
  EXPECT_TRUE(Control<TOrvSpTBXSpeedButton>("btnSeq4").Font().Underline);
}

TEST_F(EditorPageTest, AValueMenuChecksTheCurrentValueAndAChoiceSetsTheParameter) {
  OpenEditor();
  WithMenu(*form->btnOrder, [&] {
    for (const auto& item : form->ddmOrder.Items.Items()) EXPECT_EQ(item->Checked, item->Tag == 0) << item->Caption;
    EXPECT_EQ(form->ddmOrder.Items.Count(), 9u);
  });
  host.automated.clear();
  TMenuItem* random = nullptr;
  for (const auto& item : form->ddmOrder.Items.Items())
    if (item->Caption == "Random") random = item.get();
  ASSERT_NE(random, nullptr);
  WithMenu(*form->btnOrder, [&] { Choose(form->ddmOrder, *random); });
  EXPECT_EQ(Parameter("Seq1 Order"), 7);
  EXPECT_EQ(form->btnOrder->Caption(), "Random");
  EXPECT_EQ(form->btnOrder->ItemValue, 7);
  EXPECT_EQ(Info(), "Order: Random");
  ASSERT_FALSE(host.automated.empty());
  EXPECT_EQ(host.automated.back().first, plugin->IndexOfParameter("Seq1 Order"));
  WithMenu(*form->btnOrder, [&] { EXPECT_TRUE(random->Checked); });
}

TEST_F(EditorPageTest, TheStepsPopupGroupsItsValuesAndChecksTheCurrentOne) {
  plugin->SetParameterByName("Seq1 Steps", 20);
  OpenEditor();
  WithMenu(
      *form->inputSteps,
      [&] {
        const TMenuItem& items = form->inputSteps->Popup().Items;
        ASSERT_EQ(items.Count(), 3u);
        const std::pair<const char*, std::size_t> groups[] = {
            {"1 \u2013 16", 16}, {"17 \u2013 32", 16}, {"33 \u2013 64", 32}};
        for (std::size_t g = 0; g < 3; ++g) {
          EXPECT_EQ(items.Item(g).Caption, groups[g].first);
          EXPECT_EQ(items.Item(g).Count(), groups[g].second);
          EXPECT_EQ(items.Item(g).Checked, g == 1);
        }
        EXPECT_EQ(items.Item(0).Item(0).Caption, "1");
        EXPECT_EQ(items.Item(2).Item(31).Caption, "64");
        EXPECT_TRUE(items.Item(1).Item(3).Checked);  // 20
        Choose(form->inputSteps->Popup(), items.Item(2).Item(0));
      },
      TMouseButton::Right);
  EXPECT_EQ(Parameter("Seq1 Steps"), 33);
  EXPECT_EQ(form->CCSequencer->StepCount(), 20) << "the grid follows at the idle call";
  Idle();
  EXPECT_EQ(form->CCSequencer->StepCount(), 33);
}

TEST_F(EditorPageTest, TheControllerPopupHasThirteenGroupsOfTenTheLastOfEight) {
  OpenEditor();
  const TMenuItem& items = form->inputCC->Popup().Items;
  ASSERT_EQ(items.Count(), 13u);
  for (std::size_t g = 0; g < 13; ++g) {
    const int low = static_cast<int>(10 * g);
    const int high = std::min(low + 9, 127);
    EXPECT_EQ(items.Item(g).Caption, std::to_string(low) + " \u2013 " + std::to_string(high));
    EXPECT_EQ(items.Item(g).Count(), static_cast<std::size_t>(high - low + 1));
  }
  // The channel's list is flat.
  const TMenuItem& channels = form->inputChannel->Popup().Items;
  ASSERT_EQ(channels.Count(), 16u);
  EXPECT_FALSE(channels.Item(0).HasSubmenu());
}

TEST_F(EditorPageTest, EveryControlShowsItsLineOfInformation) {
  OpenEditor();
  form->inputSteps->SetValue(12.5f);  // shown whole, as the sequence uses it
  const std::pair<const char*, std::string> lines[] = {
      {"Active", std::string("Active: ") + (form->switchActive->Value() ? "On" : "Off")},
      {"Steps", "Steps: 12"},
      {"CC#", "CC#: " + form->inputCC->Text()},
      {"Channel", "Channel: " + form->inputChannel->Text()},
      {"Rate", "Rate: " + form->btnRate->Caption()},
      {"Rate Type", "Rate Type: " + form->btnRateType->Caption()},
      {"Order", "Order: Forward"},
      {"Trigger", "Trigger: " + form->btnTrigger->Caption()},
      {"Smooth", std::string("Smooth: ") + (form->switchSmooth->Value() ? "On" : "Off")}};
  for (const auto& [name, line] : lines) {
    form->ShowControlInfo(name);
    EXPECT_EQ(Info(), line);
  }
  form->ShowControlInfo("Nothing");
  EXPECT_EQ(Info(), lines[8].second) << "an unknown name shows nothing new";
}

TEST_F(EditorPageTest, TheTitleIsEditedByDoubleClickOrItsMenuAndABlankTitleNamesTheSequence) {
  OpenEditor();
  Click(Control("btnSeq2"));
  host.automated.clear();
  dialogs->Answer(TDialogAnswer::Typed("  Filter Sweep  "));
  const gfx::TPoint p = Center(*form->lblSeqHeading);
  system.DoubleClick(*window, p.X, p.Y);
  ASSERT_EQ(dialogs->Questions().size(), 1u);
  const auto& question = dialogs->Questions()[0];
  EXPECT_EQ(question.Caption, "Edit Sequence Title");
  EXPECT_EQ(question.Prompt, "Title");
  EXPECT_EQ(question.Text, "Sequence #2");
  EXPECT_TRUE(question.AllowEmpty);
  EXPECT_EQ(question.MaxLength, 50);
  EXPECT_EQ(plugin->Sequencer().Items(1).Title(), "Filter Sweep");
  EXPECT_EQ(form->lblSeqHeading->Caption(), "Filter Sweep");
  EXPECT_FALSE(host.automated.empty());

  // Three spaces give the sequence's own name back; the popup's item asks the same.
  dialogs->Answer(TDialogAnswer::Typed("   "));
  ChooseFrom(*form->lblSeqHeading, form->popSeqTitle, "popSeqTitle_Edit", TMouseButton::Right);
  EXPECT_EQ(plugin->Sequencer().Items(1).Title(), "Sequence #2");
  EXPECT_EQ(form->lblSeqHeading->Caption(), "Sequence #2");

  // Cancel changes nothing; a long title gets the room it needs.
  dialogs->Answer(TDialogAnswer::Cancel());
  system.DoubleClick(*window, p.X, p.Y);
  EXPECT_EQ(plugin->Sequencer().Items(1).Title(), "Sequence #2");
  const std::string longest(50, 'M');
  dialogs->Answer(TDialogAnswer::Typed(longest));
  system.DoubleClick(*window, p.X, p.Y);
  EXPECT_EQ(plugin->Sequencer().Items(1).Title(), longest);
  EXPECT_GE(form->lblSeqHeading->Width(),
            std::min(gfx::TextWidth(form->lblSeqHeading->Font, longest), 740 - form->lblSeqHeading->Left()));
  EXPECT_THAT(dialogs->Problems(), IsEmpty());
}

TEST_F(EditorPageTest, ThePlayingStepReachesTheGridOnlyOnceTheFormIsActivated) {
  OpenEditor();
  plugin->SetParameterByName("Seq1 Active", 1);
  Block(0.0, true);
  Block(0.25, true);
  Idle();
  EXPECT_EQ(form->CCSequencer->StepNo(), -1);
  system.AdvanceTime(100);
  Block(0.5, true);
  Idle();
  EXPECT_GE(form->CCSequencer->StepNo(), 0);
}

TEST_F(EditorPageTest, TheArrowButtonsShowTheirGlyphsInTheSkinsButtonTextColours) {
  OpenEditor();
  const gfx::TSkin& skin = *form->Skin();
  ASSERT_EQ(form->ImageList.Count(), 8);
  const auto hasColour = [](const gfx::TBitmap& image, gfx::TColor colour) {
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x)
        if (image.Pixel(x, y) == colour) return true;
    return false;
  };
  for (int i = 0; i < 8; ++i) {
    const gfx::TBitmap& image = form->ImageList.Image(i);
    EXPECT_TRUE(hasColour(image, i % 2 == 0 ? skin.sfButtonTextNormal : skin.sfButtonTextPressed)) << i;
    EXPECT_FALSE(hasColour(image, gfx::kMagenta)) << "magenta is transparent";
  }
  const std::pair<const char*, int> buttons[] = {{"btnUp", 0}, {"btnDown", 2}, {"btnLeft", 4}, {"btnRight", 6}};
  for (const auto& [name, image] : buttons) EXPECT_EQ(Control<TOrvSpTBXSpeedButton>(name).ImageIndex(), image);
}

TEST_F(EditorPageTest, TheSequenceMenuLeavesLearnAndOffersPasteOnlyWithStepsOnTheClipboard) {
  OpenEditor();
  ChooseFrom(*form->btnMenu, form->ddmMenu, "ddmMenu_MidiCCLearn");
  WithMenu(*form->btnSeqMenu, [&] {
    EXPECT_EQ(plugin->LearnMode(), 0);
    EXPECT_EQ(Info(), "");
    EXPECT_FALSE(form->ddmSeqMenu.Items.Find("ddmSeqMenu_Paste")->Enabled);
    std::vector<std::string> captions;
    for (const auto& item : form->ddmSeqMenu.Items.Items()) captions.push_back(item->Caption);
    EXPECT_THAT(captions, ElementsAre("Default", "Randomize Values", "-", "Ramp", "Ramp 1/2", "Sine", "Sine 1/2",
                                      "Triangle", "Triangle 1/2", "-", "Add Random", "Remove Random", "-", "Invert",
                                      "Reverse", "-", "Copy Steps", "Paste Steps"));
  });
  editor::CopySteps(form->BinClipboard, plugin->Sequencer().Items(0).Steps(), 8);
  WithMenu(*form->btnSeqMenu, [&] { EXPECT_TRUE(form->ddmSeqMenu.Items.Find("ddmSeqMenu_Paste")->Enabled); });
}

}  // namespace
}  // namespace vornix::testing
