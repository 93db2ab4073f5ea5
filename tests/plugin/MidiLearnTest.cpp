// Remote control by incoming controllers, learn, Set CC, Remove and teach commands.
#include <gtest/gtest.h>

#include "ModuleFixture.h"

namespace vornix::testing {
namespace {

using platform::TDialogAnswer;

class MidiLearnTest : public PluginUnitTest {};

TEST_F(MidiLearnTest, RemoteControlScalesTheControllerToTheRange) {
  plugin->SetCC("Seq1 Steps", 10);
  plugin->SetCC("Seq1 CC#", 11);
  plugin->Receive(0xB0, 10, 0);
  EXPECT_EQ(plugin->Sequencer().Items(0).StepCount(), 1);
  plugin->Receive(0xB5, 10, 127);  // any channel
  EXPECT_EQ(plugin->Sequencer().Items(0).StepCount(), 64);
  for (int v : {0, 33, 127}) {
    plugin->Receive(0xB0, 11, static_cast<unsigned char>(v));
    EXPECT_EQ(plugin->Sequencer().Items(0).CCNumber(), v);
  }
  plugin->Receive(0x90, 10, 5);  // notes are no controllers
  EXPECT_EQ(plugin->Sequencer().Items(0).StepCount(), 64);
}

TEST_F(MidiLearnTest, OneControllerDrivesSeveralParametersAndReportsThem) {
  plugin->SetCC("Seq1 CC#", 7);
  plugin->SetCC("Seq2 CC#", 7);
  host.automated.clear();
  plugin->Receive(0xB0, 7, 100);
  EXPECT_EQ(plugin->Sequencer().Items(0).CCNumber(), 100);
  EXPECT_EQ(plugin->Sequencer().Items(1).CCNumber(), 100);
  EXPECT_EQ(host.automated.size(), 2u);
}

TEST_F(MidiLearnTest, LearnLinksTheFirstControllerAfterAControlIsPressed) {
  EXPECT_EQ(plugin->ToggleMidiLearn(), "MIDI Learn: Click control");
  plugin->SetCC("Seq1 CC#", 7);
  plugin->Receive(0xB0, 7, 99);  // before a control is pressed: nothing at all
  EXPECT_EQ(plugin->Sequencer().Items(0).CCNumber(), 20);
  EXPECT_EQ(plugin->LearnControlPressed("Seq1 CC#"), "MIDI Learn: Move MIDI controller");
  EXPECT_EQ(plugin->LearnTarget(), "Seq1 CC#");
  FakeEditor* editor = plugin->OpenEditor();
  plugin->Receive(0xB3, 21, 50);
  EXPECT_EQ(plugin->LearnMode(), 0);
  EXPECT_EQ(plugin->LearnTarget(), "");
  EXPECT_EQ(plugin->Sequencer().Items(0).CCNumber(), 20);  // learning does not remote-control
  editor->calls.clear();
  plugin->Call(vst::effEditIdle);
  ASSERT_EQ(plugin->MidiCCList().Count(), 1);  // the new controller replaced the old link
  EXPECT_EQ(plugin->MidiCCList().Items(0).CC, 21);
  EXPECT_NE(std::find(editor->calls.begin(), editor->calls.end(), "Info Seq1 CC# = CC# 21"), editor->calls.end());
  plugin->Receive(0xB0, 21, 64);
  EXPECT_EQ(plugin->Sequencer().Items(0).CCNumber(), 64);
  EXPECT_EQ(plugin->ToggleMidiLearn(), "MIDI Learn: Click control");
  EXPECT_EQ(plugin->ToggleMidiLearn(), "");
}

TEST_F(MidiLearnTest, SetCCProposesTheLinkOrOneAndKeepsRemoteControl) {
  EXPECT_EQ(plugin->ToggleMidiSetCC(), "MIDI Set CC: Click control");
  plugin->SetCC("Seq2 CC#", 30);
  plugin->Receive(0xB0, 30, 77);
  EXPECT_EQ(plugin->Sequencer().Items(1).CCNumber(), 77);
  dialogs->Answer(TDialogAnswer::Entered(12.4));
  EXPECT_EQ(plugin->LearnControlPressed("Seq1 Steps"), "Seq1 Steps = CC# 12");
  const auto& q = dialogs->Questions().back();
  EXPECT_EQ(q.Caption, "MIDI Set CC: Seq1 Steps");
  EXPECT_EQ(q.Prompt, "CC# (0-127)");
  EXPECT_EQ(q.Value, 1.0);
  EXPECT_EQ(q.Minimum, 0.0);
  EXPECT_EQ(q.Maximum, 127.0);
  EXPECT_EQ(plugin->LearnMode(), 0);
  plugin->ToggleMidiSetCC();
  dialogs->Answer(TDialogAnswer::Cancel());
  EXPECT_EQ(plugin->LearnControlPressed("Seq2 CC#"), "");
  EXPECT_EQ(dialogs->Questions().back().Value, 30.0);
  EXPECT_EQ(plugin->MidiCCList().Items(plugin->MidiCCList().IndexOfName("Seq2 CC#")).CC, 30);
}

TEST_F(MidiLearnTest, RemoveListIsSortedAndRemovesTheNamedLink) {
  plugin->SetCC("Seq2 Steps", 100);
  plugin->SetCC("seq1 x", 7);  // unknown parameter: never linked
  plugin->SetCC("Seq1 Steps", 7);
  plugin->SetCC("Seq1 Active", 7);
  const auto entries = plugin->RemoveEntries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].Caption, "CC# 7 - Seq1 Active");
  EXPECT_EQ(entries[1].Caption, "CC# 7 - Seq1 Steps");
  EXPECT_EQ(entries[2].Caption, "CC# 100 - Seq2 Steps");
  host.automated.clear();
  plugin->RemoveLink(entries[1].Index);
  EXPECT_EQ(plugin->MidiCCList().IndexOfName("Seq1 Steps"), -1);
  EXPECT_EQ(host.automated.size(), 1u);
  plugin->Receive(0xB0, 7, 127);
  EXPECT_EQ(plugin->Sequencer().Items(0).StepCount(), 32);  // no longer linked
}

TEST_F(MidiLearnTest, TeachTogglesAndEndsLearn) {
  plugin->ToggleMidiLearn();
  EXPECT_EQ(plugin->ToggleMidiTeach(23), "MIDI Teach CC: Sending CC#23");
  EXPECT_EQ(plugin->LearnMode(), 0);
  EXPECT_EQ(plugin->TeachCC(), 23);
  EXPECT_EQ(plugin->ToggleMidiTeach(23), "");
  EXPECT_EQ(plugin->TeachCC(), -1);
  plugin->ToggleMidiTeach(23);
  plugin->ToggleMidiSetCC();
  EXPECT_EQ(plugin->TeachCC(), -1);
}

TEST_F(MidiLearnTest, TeachUsesTheShownSequencesChannelEvenWhenInactive) {
  plugin->SetParameterByName("Seq4 Channel", 9.0f);
  plugin->SetCurrentSequence(3);
  plugin->ToggleMidiTeach(26);
  Block(0.0, false);
  ASSERT_EQ(host.midi.size(), 1u);
  EXPECT_EQ(host.midi[0], (std::array<int, 4>{0, 0xB8, 26, 0}));
  plugin->OpenEditor();
  plugin->SetCurrentSequence(0);  // showing another sequence ends teach
  host.midi.clear();
  Block(0.0, false);
  EXPECT_TRUE(host.midi.empty());
}

TEST_F(MidiLearnTest, TouchTellsTheHostTheCurrentValue) {
  plugin->SetParameterByName("Seq1 Steps", 32.5f);
  host.automated.clear();
  plugin->TouchParameter("Seq1 Steps");
  plugin->TouchParameter("No such");
  ASSERT_EQ(host.automated.size(), 1u);
  EXPECT_EQ(host.automated[0].first, 1);
  EXPECT_EQ(host.automated[0].second, 0.5f);
}

TEST_F(MidiLearnTest, ClosingTheEditorEndsLearnAndTeach) {
  plugin->OpenEditor();
  plugin->ToggleMidiLearn();
  plugin->LearnControlPressed("Seq1 Steps");
  plugin->Receive(0xB0, 44, 1);
  plugin->ToggleMidiTeach(3);
  plugin->Call(vst::effEditClose);
  EXPECT_EQ(plugin->TeachCC(), -1);
  EXPECT_EQ(plugin->LearnMode(), 0);
  EXPECT_EQ(plugin->MidiCCList().Count(), 1);  // the learned link was completed, not lost
}

// A host may save on another thread than the editor's: the learned link goes into the chunk, but
// only the editor thread's idle call completes it.
TEST_F(MidiLearnTest, ALinkLearnedBeforeASaveIsSavedButCompletedOnlyAtIdle) {
  plugin->OpenEditor();
  plugin->ToggleMidiLearn();
  plugin->LearnControlPressed("Seq2 Steps");
  plugin->Receive(0xB0, 44, 1);
  void* data = nullptr;
  const auto size = plugin->Call(vst::effGetChunk, 1, 0, &data);
  const std::vector<unsigned char> saved(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
  EXPECT_EQ(plugin->MidiCCList().Count(), 0);
  plugin->Call(vst::effEditIdle);
  ASSERT_EQ(plugin->MidiCCList().Count(), 1);

  plugin->Call(vst::effSetChunk, 1, static_cast<vst::VstIntPtr>(saved.size()),
               const_cast<unsigned char*>(saved.data()));
  ASSERT_EQ(plugin->MidiCCList().Count(), 1);
  EXPECT_EQ(plugin->MidiCCList().Items(0), (plugin::TMidiCCItem{44, "Seq2 Steps"}));
}

TEST_F(MidiLearnTest, TeachNeedsAControllerNumber) {
  for (int cc : {-1, 128, 1000}) {
    EXPECT_EQ(plugin->ToggleMidiTeach(cc), "");
    EXPECT_EQ(plugin->TeachCC(), -1);
  }
  EXPECT_EQ(plugin->ToggleMidiTeach(127), "MIDI Teach CC: Sending CC#127");
}

}  // namespace
}  // namespace vornix::testing
