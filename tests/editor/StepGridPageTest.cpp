// The step grid on the sequence page: what the user draws reaches the sequence and is played, the
// step texts in the info line, the sequence menu and the arrow buttons, copy and paste.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "EditorPageFixture.h"
#include "editor/logic/StepClipboard.h"

namespace vornix::testing {
namespace {

using platform::TDialogAnswer;
using ::testing::ElementsAreArray;

class StepGridPageTest : public EditorPageTest {
 protected:
  // A point of the form over a step's column, `y` pixels down in the grid.
  gfx::TPoint StepPoint(int step, int y) const {
    const auto& grid = *form->CCSequencer;
    return grid.ClientToForm({grid.Layout().ColumnLeft(step) + grid.Layout().BarWidth / 2, y});
  }
  std::vector<float> ModelValues(int sequence, int count) const {
    std::vector<float> values;
    for (int i = 0; i < count; ++i) values.push_back(plugin->Sequencer().Items(sequence).Steps()[i].Value());
    return values;
  }
  // The controller values sent while the transport plays the first `blocks` blocks.
  std::vector<int> Played(int blocks) {
    host.midi.clear();
    for (int b = 0; b < blocks; ++b) Block(b * 512 / 24000.0, true);
    std::vector<int> values;
    for (const auto& m : host.midi)
      if ((m[1] & 0xF0) == 0xB0) values.push_back(m[3]);
    return values;
  }
};

TEST_F(StepGridPageTest, AStepDrawnInTheEditorIsHeardAtTheNextBlock) {
  plugin->SetParameterByName("Seq1 Active", 1);
  plugin->SetParameterByName("Seq1 Steps", 16);
  OpenEditor();
  host.automated.clear();
  // The bottom row of the bars is value 0.
  const gfx::TPoint p = StepPoint(0, form->CCSequencer->Layout().BarBottom() - 1);
  system.Click(*window, p.X, p.Y);
  EXPECT_EQ(plugin->Sequencer().Items(0).Steps()[0].Value(), 0);
  EXPECT_FALSE(host.automated.empty()) << "the host hears of the change";
  const auto played = Played(1);
  ASSERT_FALSE(played.empty());
  EXPECT_EQ(played.front(), 0);
}

// Hosts such as Ardour mark the project modified when a plug-in asks them to update their display:
// a drawn stroke asks once, when it has ended, never while the mouse moves. A host's own load
// (which tells the host of every parameter itself) is no edit of the user's.
TEST_F(StepGridPageTest, AStrokeTellsTheHostOnceItHasEnded) {
  OpenEditor();
  const auto updates = [this] {
    return std::count_if(host.requests.begin(), host.requests.end(),
                         [](const auto& r) { return r.first == vst::audioMasterUpdateDisplay; });
  };
  host.requests.clear();
  const gfx::TPoint from = StepPoint(0, 20), to = StepPoint(12, 200);
  system.MouseDown(*window, from.X, from.Y);
  for (int x = from.X; x <= to.X; x += 7) {
    system.MouseMove(*window, x, from.Y + (x - from.X) / 2);
    plugin->Call(vst::effEditIdle);
  }
  EXPECT_EQ(updates(), 0) << "nothing while the stroke goes on";
  system.MouseUp(*window, to.X, to.Y);
  plugin->Call(vst::effEditIdle);
  plugin->Call(vst::effEditIdle);
  EXPECT_EQ(updates(), 1);

  // A pattern from the sequence menu is one more.
  ChooseFrom(*form->btnSeqMenu, form->ddmSeqMenu, "ddmSeqMenu_Ramp");
  plugin->Call(vst::effEditIdle);
  EXPECT_EQ(updates(), 2);
  // Nothing changed: nothing to tell.
  plugin->Call(vst::effEditIdle);
  EXPECT_EQ(updates(), 2);
  // A chunk the host loads is reported by the load itself, once.
  void* data = nullptr;
  const auto size = plugin->Call(vst::effGetChunk, 0, 0, &data);
  std::vector<unsigned char> chunk(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
  plugin->Call(vst::effSetChunk, 0, size, chunk.data());
  plugin->Call(vst::effEditIdle);
  EXPECT_EQ(updates(), 3);
}

TEST_F(StepGridPageTest, HoveringAStepShowsItsValueAndRandomRangeUnlessALearnModeIsOn) {
  plugin->Sequencer().Items(0).Steps()[4].SetValue(63);
  plugin->Sequencer().Items(0).Steps()[4].SetRandomRange(20);
  OpenEditor();
  const gfx::TPoint over = StepPoint(4, 100);
  system.MouseMove(*window, over.X, over.Y);
  EXPECT_EQ(Info(), "Step: 5  Value: 63 <=> 83");
  const gfx::TPoint plain = StepPoint(5, 100);
  system.MouseMove(*window, plain.X, plain.Y);
  EXPECT_EQ(Info(), "Step: 6  Value: 63");
  MoveTo(*form->inputCC);
  EXPECT_EQ(Info(), "") << "leaving the grid clears the line";

  ChooseFrom(*form->btnMenu, form->ddmMenu, "ddmMenu_MidiCCLearn");
  system.MouseMove(*window, over.X, over.Y);
  EXPECT_EQ(Info(), "MIDI Learn: Click control");
  MoveTo(*form->inputCC);
  EXPECT_EQ(Info(), "MIDI Learn: Click control");
}

TEST_F(StepGridPageTest, TheWheelOverAStepChangesItAndShowsIt) {
  OpenEditor();
  const gfx::TPoint p = StepPoint(2, 100);
  system.MouseWheel(*window, p.X, p.Y, -120);
  EXPECT_FLOAT_EQ(plugin->Sequencer().Items(0).Steps()[2].Value(), 62.8f);
  EXPECT_EQ(Info(), "Step: 3  Value: 63");
}

TEST_F(StepGridPageTest, SequenceMenuShapesAndArrowsChangeTheShownSequence) {
  plugin->SetParameterByName("Seq2 Steps", 16);
  OpenEditor();
  Click(Control("btnSeq2"));
  ChooseFrom(*form->btnSeqMenu, form->ddmSeqMenu, "ddmSeqMenu_Ramp");
  EXPECT_THAT(ModelValues(1, 16), ElementsAreArray({0, 8, 17, 25, 34, 42, 51, 59, 68, 76, 85, 93, 102, 110, 119, 127}));
  // Ctrl is read from the keyboard at the click: five at a time.
  Click(*form->btnDown, platform::ssCtrl);
  EXPECT_THAT(ModelValues(1, 4), ElementsAreArray({0, 3, 12, 20}));
  Click(*form->btnLeft);
  EXPECT_THAT(ModelValues(1, 3), ElementsAreArray({3, 12, 20}));

  dialogs->Answer(TDialogAnswer::Entered(16));
  ChooseFrom(*form->btnSeqMenu, form->ddmSeqMenu, "ddmSeqMenu_AddRandom");
  EXPECT_EQ(dialogs->Questions().back().Caption, "Add Random");
  EXPECT_EQ(plugin->Sequencer().Items(1).Steps()[0].RandomRange(), 16);
}

TEST_F(StepGridPageTest, PastedStepsTakeTheirStepCountIntoTheParameter) {
  plugin->SetParameterByName("Seq1 Steps", 8);
  for (int i = 0; i < 8; ++i) plugin->Sequencer().Items(0).Steps()[i].SetValue(static_cast<float>(10 * i));
  OpenEditor();
  ChooseFrom(*form->btnSeqMenu, form->ddmSeqMenu, "ddmSeqMenu_Copy");
  Click(Control("btnSeq2"));
  ASSERT_EQ(Parameter("Seq2 Steps"), 32);
  host.automated.clear();
  ChooseFrom(*form->btnSeqMenu, form->ddmSeqMenu, "ddmSeqMenu_Paste");
  EXPECT_EQ(Parameter("Seq2 Steps"), 8);
  EXPECT_EQ(form->inputSteps->Value(), 8);
  EXPECT_THAT(ModelValues(1, 8), ElementsAreArray({0, 10, 20, 30, 40, 50, 60, 70}));
  EXPECT_FALSE(host.automated.empty());
}

TEST_F(StepGridPageTest, StepsThatCannotBePastedAreReportedAndChangeNothing) {
  OpenEditor();
  system.SetClipboard("VornixStepData", {9, 0, 0, 0, 1, 2});
  const auto before = ModelValues(0, 32);
  dialogs->Answer(TDialogAnswer::Ok());
  ChooseFrom(*form->btnSeqMenu, form->ddmSeqMenu, "ddmSeqMenu_Paste");
  ASSERT_EQ(dialogs->Questions().size(), 1u);
  EXPECT_EQ(dialogs->Questions()[0].Caption, "Paste Steps");
  EXPECT_EQ(dialogs->Questions()[0].Text, "Invalid data in Clipboard!");
  EXPECT_EQ(ModelValues(0, 32), before);
}

}  // namespace
}  // namespace vornix::testing
