// The plug-in module's own operations: teach, highlight hand-over, editor hooks and the store.
#include <gtest/gtest.h>

#include <thread>

#include "ModuleFixture.h"
#include "plugin/ParameterTable.h"

namespace vornix::testing {

Host* Host::current = nullptr;

namespace {

using namespace vst;

TEST_F(PluginUnitTest, TeachRampClimbsSlowlyAndWraps) {
  plugin->SetTeachCC(7);
  std::vector<int> first;
  for (int i = 0; i < 8; ++i) first.push_back(plugin->NextTeachValue());
  EXPECT_EQ(first, (std::vector<int>{0, 0, 1, 1, 1, 1, 1, 2}));
  int call = 8, value = 0;
  while (value != 127) {
    value = plugin->NextTeachValue();
    ++call;
  }
  EXPECT_EQ(call, 633);
  EXPECT_EQ(plugin->NextTeachValue(), 127);
  EXPECT_EQ(plugin->NextTeachValue(), 0);  // 635th: past 127, starts again
}

TEST_F(PluginUnitTest, TeachSendsOneMessagePerBlockAndSilencesTheSequences) {
  plugin->SetParameterByName("Seq1 Channel", 3.0f);
  plugin->SetTeachCC(74);
  Block(0.0, false);
  Block(0.0, false);
  ASSERT_EQ(host.midi.size(), 2u);
  EXPECT_EQ(host.midi[0], (std::array<int, 4>{0, 0xB2, 74, 0}));
  // Starting the transport switches teach off; the sequences play again.
  host.midi.clear();
  Block(0.0, true);
  EXPECT_EQ(plugin->TeachCC(), -1);
  ASSERT_EQ(host.midi.size(), 1u);
  EXPECT_EQ(host.midi[0][2], 20);
}

TEST_F(PluginUnitTest, StartingTheTransportEndsLearn) {
  plugin->SetLearnMode(1);
  Block(0.0, true);
  EXPECT_EQ(plugin->LearnMode(), 0);
}

TEST_F(PluginUnitTest, HighlightFollowsTheShownSequenceAndIsClearedOnceAtStop) {
  FakeEditor* editor = plugin->OpenEditor();
  ASSERT_NE(editor, nullptr);
  Block(0.0, true);
  EXPECT_EQ(plugin->ShowStep(), 0);
  editor->calls.clear();
  plugin->Call(effEditIdle);
  EXPECT_EQ(editor->calls, (std::vector<std::string>{"UpdateControls", "StepNo 0"}));
  EXPECT_EQ(plugin->ShowStep(), -2);

  Block(0.1, false);
  editor->calls.clear();
  plugin->Call(effEditIdle);
  EXPECT_EQ(editor->calls, (std::vector<std::string>{"UpdateControls", "StepNo -1"}));
  Block(0.1, false);
  editor->calls.clear();
  plugin->Call(effEditIdle);
  EXPECT_TRUE(editor->calls.empty());  // nothing changed, nothing to refresh
}

TEST_F(PluginUnitTest, ShownSequenceDecidesTheReportedStep) {
  plugin->SetParameterByName("Seq2 Active", 1.0f);
  plugin->SetParameterByName("Seq2 Rate", 0.0f);  // 1/128: steps move fast
  plugin->SetParameterByName("Seq2 Smooth", 0.0f);
  double ppq = 0.0;
  for (int b = 0; b < 3; ++b, ppq += 512 / 24000.0) Block(ppq, true);
  EXPECT_EQ(plugin->ShowStep(), 0);  // sequence 1 at 1/4 is still on its first step
  plugin->SetCurrentSequence(1);
  Block(ppq, true);
  EXPECT_GT(plugin->ShowStep(), 0);
}

// The module only marks what the editor shows; the editor refreshes at its next idle call, on its
// own thread, whichever thread changed the sequence.
TEST_F(PluginUnitTest, CurrentSequenceRefreshesTheEditorAtItsNextIdleAndEndsTeach) {
  plugin->SetCurrentSequence(3);
  EXPECT_EQ(plugin->CurrentSequence(), 3);
  FakeEditor* editor = plugin->OpenEditor();
  plugin->SetTeachCC(5);
  editor->calls.clear();
  std::thread([&] { plugin->SetCurrentSequence(9); }).join();
  EXPECT_EQ(plugin->CurrentSequence(), 7);
  EXPECT_EQ(plugin->TeachCC(), -1);
  EXPECT_TRUE(editor->calls.empty());
  plugin->Call(effEditIdle);
  EXPECT_EQ(editor->calls,
            (std::vector<std::string>{"UpdateControls", "UpdateSequenceButtons", "LoadGridSteps", "StepNo -1"}));
}

// What changed before the editor opened is no news to it: it shows everything as it opens.
TEST_F(PluginUnitTest, ANewEditorStartsWithAnEmptyInboxButKeepsWaitingTexts) {
  plugin->SetCurrentSequence(2);
  plugin->SetPresetName("Old");
  plugin->EditorInbox().PostInfo("waiting");
  plugin->EditorNeedsUpdate = false;
  plugin->EditorFormClass = [&](host::TCustomVSTModule&) { return std::make_unique<FakeEditor>(*plugin); };
  int parent = 0;
  plugin->Call(effEditOpen, 0, 0, &parent);
  plugin->Call(effEditIdle);
  EXPECT_EQ(static_cast<FakeEditor*>(plugin->EditorForm())->calls,
            (std::vector<std::string>{"Info waiting", "StepNo -1"}));
}

TEST_F(PluginUnitTest, WheelReachesAnOpenEditorOnly) {
  EXPECT_EQ(plugin->Call(effVendorSpecific, 0, 0x57686565), 0);
  FakeEditor* editor = plugin->OpenEditor();
  editor->calls.clear();
  EXPECT_EQ(plugin->Call(effVendorSpecific, 0, 0x57686565), 0);
  EXPECT_EQ(plugin->Call(effVendorSpecific, 0, 1234), 0);
  plugin->Call(effEditIdle);
  EXPECT_EQ(editor->calls, std::vector<std::string>{"FocusControlUnderCursor"});
  ERect* rect = nullptr;
  EXPECT_EQ(plugin->Call(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right, 640);
  EXPECT_EQ(rect->bottom, 480);
}

TEST_F(PluginUnitTest, PresetNameReachesTheEditor) {
  FakeEditor* editor = plugin->OpenEditor();
  editor->calls.clear();
  plugin->SetPresetName("Pulse");
  plugin->Call(effEditIdle);
  plugin->SetPresetName("Pulse");
  plugin->Call(effEditIdle);
  EXPECT_EQ(plugin->PresetName(), "Pulse");
  EXPECT_EQ(editor->calls, std::vector<std::string>{"UpdatePresetName"});
}

TEST_F(PluginUnitTest, ResetToDefaultOnlyActsWhenNeeded) {
  host.automated.clear();
  plugin->ParameterValues().ResetToDefault(3, false);
  EXPECT_TRUE(host.automated.empty());
  plugin->SetParameterByName("Seq1 CC#", 50.0f);
  host.automated.clear();
  plugin->ParameterValues().ResetToDefault(3, false);
  ASSERT_EQ(host.automated.size(), 1u);
  EXPECT_EQ(plugin->Sequencer().Items(0).CCNumber(), 20);
  EXPECT_EQ(plugin->ParameterValues().Items(3).Value(), 20.0f);
}

TEST_F(PluginUnitTest, ResetStateRestoresDefaultsAndShowsSequenceOne) {
  plugin->SetParameterByName("Seq4 Active", 1.0f);
  plugin->SetCurrentSequence(4);
  plugin->SetPresetName("x");
  plugin->ResetState();
  EXPECT_EQ(plugin->PresetName(), "");
  EXPECT_EQ(plugin->CurrentSequence(), 0);
  for (int s = 0; s < 8; ++s) {
    const auto& seq = plugin->Sequencer().Items(s);
    EXPECT_EQ(seq.Active(), s == 0);
    EXPECT_EQ(seq.CCNumber(), 20 + s);
    EXPECT_EQ(seq.StepCount(), 32);
    EXPECT_EQ(seq.Channel(), 1);
    EXPECT_TRUE(seq.Smooth());
  }
}

TEST_F(PluginUnitTest, ShortLabelsCarryTheirSequenceNumber) {
  const auto& p = plugin->ParameterProperties();
  EXPECT_EQ(p[40]->ShortLabel(), "Seq5 Ra");
  EXPECT_EQ(p[43]->ShortLabel(), "Seq5 Tr");
  EXPECT_EQ(p[9]->ShortLabel(), "Active_");
  EXPECT_EQ(p[11]->ShortLabel(), "Seq 2 C");
  EXPECT_EQ(p[71]->ShortLabel(), "Seq8 Sm");
  EXPECT_EQ(p[40]->MaxInteger, 12);
  EXPECT_EQ(p[40]->LargeStepFloat, 1.0f);
}

TEST_F(PluginUnitTest, ListValuesOutsideTheirListAreLimited) {
  plugin->ApplyParameter(plugin::ParameterIndex(0, plugin::kRate), 40.0f);
  EXPECT_EQ(plugin->GetParameterDisplay(plugin::ParameterIndex(0, plugin::kRate)), "32/1");
  plugin->ApplyParameter(plugin::ParameterIndex(0, plugin::kTrigger), -3.0f);
  EXPECT_EQ(plugin->GetParameterDisplay(plugin::ParameterIndex(0, plugin::kTrigger)), "Sync to Host");
  std::string text = "unchanged";
  plugin->GetValueText("Colour", 1, text);
  EXPECT_EQ(text, "unchanged");
  plugin->GetValueText("Order", 8, text);
  EXPECT_EQ(text, "Random Unique");
}

TEST_F(PluginUnitTest, ChunkParameterReadsTheStore) {
  EXPECT_EQ(plugin->VSTModuleGetChunkParameter(1), 32.0f);
  EXPECT_EQ(plugin->VSTModuleGetChunkParameter(72), 0.0f);
  EXPECT_EQ(plugin->VSTModuleGetChunkParameter(-1), 0.0f);
}

TEST_F(PluginUnitTest, NotifyHostOfChangeReportsParameterZero) {
  host.automated.clear();
  plugin->NotifyHostOfChange();
  ASSERT_EQ(host.automated.size(), 1u);
  EXPECT_EQ(host.automated[0], (std::pair<VstInt32, float>{0, 1.0f}));
}

// The processing thread may ask for a refresh (a transport stop clears the highlight) while the
// editor is refreshing: that request is kept for the next idle call.
TEST_F(PluginUnitTest, ARefreshRequestedDuringARefreshIsNotLost) {
  FakeEditor* editor = plugin->OpenEditor();
  plugin->EditorNeedsUpdate = true;
  bool once = true;
  editor->duringUpdate = [&] {
    if (once) plugin->EditorNeedsUpdate = true;
    once = false;
  };
  plugin->Call(vst::effEditIdle);
  editor->calls.clear();
  plugin->Call(vst::effEditIdle);
  EXPECT_EQ(std::count(editor->calls.begin(), editor->calls.end(), "UpdateControls"), 1);
}

}  // namespace
}  // namespace vornix::testing
