// What a host sees through the dispatcher.
#include <gtest/gtest.h>

#include <string>

#include "PluginFixture.h"

namespace vornix::testing {
namespace {

using namespace vst;

TEST_F(PluginTest, NamesVendorAndProduct) {
  EXPECT_EQ(host->DispatchText(effGetEffectName), "Vornix");
  EXPECT_EQ(host->DispatchText(effGetVendorString), "Orvane");
  EXPECT_EQ(host->DispatchText(effGetProductString), "Vornix");
  char name[64];
  EXPECT_EQ(host->Dispatch(effGetEffectName, 0, 0, name), 1);
  for (VstInt32 op : {effGetEffectName, effGetVendorString, effGetProductString}) {
    EXPECT_EQ(host->Dispatch(op, 0, 0, nullptr), 0) << op;
  }
}

struct Answer {
  VstInt32 opcode;
  VstIntPtr value;
  VstIntPtr expected;
};

class FixedAnswers : public PluginTest, public ::testing::WithParamInterface<Answer> {};

TEST_P(FixedAnswers, AnswerAsAHostExpects) {
  const Answer& a = GetParam();
  EXPECT_EQ(host->Dispatch(a.opcode, 0, a.value), a.expected) << "opcode " << a.opcode;
}

INSTANTIATE_TEST_SUITE_P(
    Opcodes, FixedAnswers,
    ::testing::Values(Answer{effIdentify, 0, 0x4E764566}, Answer{effGetVstVersion, 0, 2400},
                      Answer{effGetVendorVersion, 0, 1000}, Answer{effGetPlugCategory, 0, 2},
                      Answer{effGetTailSize, 0, 0}, Answer{effKeysRequired, 0, 1}, Answer{effEditKeyDown, 0, 0},
                      Answer{effEditKeyUp, 0, 0}, Answer{effGetCurrentMidiProgram, 0, -1},
                      Answer{effSetTotalSampleToProcess, 1234, 1234}, Answer{effSetProcessPrecision, 1, 0},
                      Answer{effGetNumProgramCategories, 0, 1}, Answer{effGetProgram, 0, 0}, Answer{effGetVu, 0, 0},
                      Answer{effSetSampleRate, 0, 1}, Answer{effSetBlockSize, 512, 0},
                      Answer{effSetBlockSizeAndSampleRate, 512, 1}, Answer{effConnectInput, 1, 1},
                      Answer{effConnectOutput, 1, 1}, Answer{effStartProcess, 0, 0}, Answer{effStopProcess, 0, 0},
                      Answer{effSetBypass, 1, 0}, Answer{effOfflineNotify, 0, 0}, Answer{effOfflineRun, 0, 0},
                      Answer{effSetEditKnobMode, 2, 0}, Answer{effBeginSetProgram, 0, 0}, Answer{effSetPanLaw, 1, 0},
                      Answer{effGetSpeakerArrangement, 0, 0}, Answer{effShellGetNextPlugin, 0, 0},
                      Answer{effEditDraw, 0, 0}, Answer{effIdle, 0, 0}, Answer{effGetErrorText, 0, 0},
                      Answer{effGetNumMidiInputChannels, 0, 0}, Answer{effGetNumMidiOutputChannels, 0, 0},
                      Answer{effMainsChanged, 1, 0}, Answer{80, 0, 0}, Answer{1000, 0, 0}, Answer{-1, 0, 0}));

struct CanDo {
  const char* text;
  VstIntPtr expected;
};

class CanDoAnswers : public PluginTest, public ::testing::WithParamInterface<CanDo> {};

TEST_P(CanDoAnswers, CompareWholeAndCaseSensitive) {
  EXPECT_EQ(host->Dispatch(effCanDo, 0, 0, const_cast<char*>(GetParam().text)), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, CanDoAnswers,
                         ::testing::Values(CanDo{"receiveVstEvents", -1}, CanDo{"receiveVstMidiEvent", 1},
                                           CanDo{"ReceiveVstMidiEvent", 0}, CanDo{"receiveVstMidiEvents", 0},
                                           CanDo{"sendVstEvents", 1}, CanDo{"sendVstMidiEvent", 1},
                                           CanDo{"sendVstTimeInfo", -1}, CanDo{"receiveVstTimeInfo", -1},
                                           CanDo{"2in2out", 1}, CanDo{"1in2out", -1}, CanDo{"8in8out", -1},
                                           CanDo{"offline", -1}, CanDo{"plugAsChannelInsert", -1}, CanDo{"bypass", -1},
                                           CanDo{"midiProgramNames", -1}, CanDo{"hasCockosExtensions", 0},
                                           CanDo{"receiveVstSysexEvent", 0}, CanDo{"", 0}));

TEST_F(PluginTest, CanDoWithoutTextAnswersZero) { EXPECT_EQ(host->Dispatch(effCanDo, 0, 0, nullptr), 0); }

TEST_F(PluginTest, MainsOnAsksForMidi) {
  host->Dispatch(effMainsChanged, 0, 1);
  ASSERT_EQ(host->CountRequests(audioMasterWantMidi), 1u);
  EXPECT_EQ(host->requests.back().value, 1);
  host->Dispatch(effMainsChanged, 0, 0);
  EXPECT_EQ(host->CountRequests(audioMasterWantMidi), 1u);
}

TEST_F(PluginTest, TwoStereoOutputsAndNoInputs) {
  VstPinProperties pin{};
  ASSERT_EQ(host->Dispatch(effGetOutputProperties, 0, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Output #1");
  EXPECT_STREQ(pin.shortLabel, "Out1");
  EXPECT_EQ(pin.arrangementType, kSpeakerArrStereo);
  EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
  pin = {};
  ASSERT_EQ(host->Dispatch(effGetOutputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Output #2");
  EXPECT_STREQ(pin.shortLabel, "Out2");
  EXPECT_EQ(host->Dispatch(effGetOutputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(host->Dispatch(effGetInputProperties, 0, 0, &pin), 0);
  EXPECT_EQ(host->Dispatch(effGetOutputProperties, 0, 0, nullptr), 0);
}

// Hosts size the frame of the editor before they open it; a zero size has killed hosts.
TEST_F(PluginTest, EditorRectIsTheEditorsSizeBeforeItOpens) {
  ERect* rect = nullptr;
  EXPECT_EQ(host->Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 421);
  EXPECT_EQ(rect->right, 786);
  EXPECT_EQ(host->Dispatch(effEditGetRect, 0, 0, nullptr), 0);
  EXPECT_EQ(host->Dispatch(effEditOpen, 0, 0, nullptr), 0);
  EXPECT_EQ(host->Dispatch(effEditClose), 0);
  EXPECT_EQ(host->Dispatch(effEditIdle), 0);
}

TEST_F(PluginTest, LoadingAForeignProgramIsRefused) {
  VstPatchChunkInfo info{};
  info.version = 1;
  info.pluginUniqueID = FourCC('a', 'b', 'c', 'd');
  EXPECT_EQ(host->Dispatch(effBeginLoadProgram, 0, 0, &info), -1);
  EXPECT_EQ(host->Dispatch(effBeginLoadBank, 0, 0, &info), -1);
  info.pluginUniqueID = FourCC('o', 'v', '0', '3');
  EXPECT_EQ(host->Dispatch(effBeginLoadProgram, 0, 0, &info), 1);
  EXPECT_EQ(host->Dispatch(effBeginLoadProgram, 0, 0, nullptr), 0);
}

TEST_F(PluginTest, WheelNotificationWithoutEditorDoesNothing) {
  EXPECT_EQ(host->Dispatch(effVendorSpecific, FourCC('s', 't', 'C', 'A'), FourCC('W', 'h', 'e', 'e'), nullptr, 1.0f),
            0);
  EXPECT_EQ(host->Dispatch(effVendorSpecific, 0, 0, nullptr, 0.0f), 0);
}

TEST_F(PluginTest, OneProgramNamedDefault) {
  EXPECT_EQ(host->DispatchText(effGetProgramName), "Default");
  char name[64] = {};
  EXPECT_EQ(host->Dispatch(effGetProgramNameIndexed, 0, 0, name), 1);
  EXPECT_STREQ(name, "Default");
  EXPECT_EQ(host->Dispatch(effGetProgramNameIndexed, 1, 0, name), 0);
  EXPECT_EQ(host->Dispatch(effGetProgramNameIndexed, 0, 0, nullptr), 0);
}

TEST_F(PluginTest, SeventyTwoParametersNamedBySequenceAndSetting) {
  EXPECT_EQ(host->DispatchText(effGetParamName, 0), "Seq1 Active");
  EXPECT_EQ(host->DispatchText(effGetParamName, 1), "Seq1 Steps");
  EXPECT_EQ(host->DispatchText(effGetParamName, 5), "Seq1 Rate Type");
  EXPECT_EQ(host->DispatchText(effGetParamName, 40), "Seq5 Rate");
  EXPECT_EQ(host->DispatchText(effGetParamName, 71), "Seq8 Smooth");
  EXPECT_EQ(host->DispatchText(effGetParamName, 72), "undefined");
  EXPECT_EQ(host->Dispatch(effCanBeAutomated, 0), 1);
  EXPECT_EQ(host->Dispatch(effCanBeAutomated, 500), 1);
  VstParameterProperties props{};
  EXPECT_EQ(host->Dispatch(effGetParameterProperties, 3, 0, &props), 0);
}

}  // namespace
}  // namespace vornix::testing
