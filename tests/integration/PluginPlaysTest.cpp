// The plug-in loaded as a host loads it, playing against a host transport.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "Transport.h"

namespace vornix::testing {
namespace {

using namespace vst;

TEST_F(PlayingTest, StoppedTransportSendsNothing) {
  for (int b = 0; b < 20; ++b) Block(b * 0.5, 512, /*playing=*/false);
  EXPECT_TRUE(host->midi.empty());
  EXPECT_EQ(host->processEventsCalls, 0);
}

TEST_F(PlayingTest, StartAtZeroSendsEverySynchronisedFirstStepAtOffsetZero) {
  SetParameterText("Seq2 Active", "On");
  SetParameterText("Seq3 Active", "On");
  SetParameterText("Seq3 Smooth", "Off");
  SetParameterText("Seq4 Active", "On");
  SetParameterText("Seq4 Trigger", "Note");  // waits for a note
  Block(0.0, 512);
  std::set<int> controllers;
  for (const auto& m : host->midi) {
    EXPECT_EQ(m.deltaFrames, 0);
    EXPECT_EQ(m.status, 0xB0);
    EXPECT_EQ(m.data2, 63);
    controllers.insert(m.data1);
  }
  EXPECT_EQ(controllers, (std::set<int>{20, 21, 22}));
}

// The default state: sequence 1 on CC 20 at "1/4" with smoothing, one message per 1/128 note.
TEST_F(PlayingTest, DefaultStateStaysOnTheQuantumGridAtAnyBlockSize) {
  for (int frames : {64, 512, 1000, 4096}) {
    host->midi.clear();
    Block(0.0, frames, false);                                // stop, so the next block starts afresh
    const double quantum = sampleRate * 60.0 / 120.0 / 32.0;  // 750 samples
    const int blocks = static_cast<int>(8 * sampleRate / frames);
    Play(0.0, blocks, frames);
    ASSERT_FALSE(host->midi.empty());
    long expected = 0;
    for (const auto& m : host->midi) {
      const long sample = static_cast<long>(m.block - host->blocksProcessed + blocks) * frames + m.deltaFrames;
      ASSERT_LT(m.deltaFrames, frames);
      EXPECT_EQ(sample, expected) << "block size " << frames;
      EXPECT_EQ(m.status, 0xB0);
      EXPECT_EQ(m.data1, 20);
      EXPECT_LE(m.data2, 127);
      expected += static_cast<long>(quantum);
    }
  }
}

TEST_F(PlayingTest, HalfwayStepsPlayThirtyTwoSteps) {
  // Host value 0.5 on a 1..64 range is 32.5, shown and played as 32 (halves to even).
  const VstInt32 steps = 1;
  effect().setParameter(&effect(), steps, 0.5f);
  EXPECT_EQ(effect().getParameter(&effect(), steps), 0.5f);
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, steps), "32");
}

TEST_F(PlayingTest, ParameterTextsAndDefaults) {
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, 40), "1/4");  // Seq5 Rate
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, 5), "Normal");
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, 7), "Sync to Host");
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, 0), "On");
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, 9), "Off");
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, 12), "21");
  effect().setParameter(&effect(), 4, 0.5f);  // Seq1 Rate: 6.0
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, 4), "1/2");
  // Active rounds: 0.4 is off, 0.6 on.
  effect().setParameter(&effect(), 18, 0.4f);
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, 18), "Off");
  effect().setParameter(&effect(), 18, 0.6f);
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, 18), "On");
}

TEST_F(PlayingTest, ActiveRoundingDecidesWhetherASequencePlays) {
  effect().setParameter(&effect(), 18, 0.4f);  // Seq3 Active
  Block(0.0, 512);
  for (const auto& m : host->midi) EXPECT_NE(m.data1, 22);
  Block(0.0, 512, false);
  effect().setParameter(&effect(), 18, 0.6f);
  host->midi.clear();
  Block(0.0, 512);
  EXPECT_TRUE(std::any_of(host->midi.begin(), host->midi.end(), [](auto& m) { return m.data1 == 22; }));
}

TEST_F(PlayingTest, JumpingBackRestartsTheSchedules) {
  SetParameterText("Seq1 Smooth", "Off");
  Play(0.0, 400, 512);  // past 16 quarter notes
  host->midi.clear();
  Block(0.0, 512);
  ASSERT_FALSE(host->midi.empty());
  EXPECT_EQ(host->midi.front().deltaFrames, 0);
  EXPECT_EQ(host->midi.front().data1, 20);
}

TEST_F(PlayingTest, NoTimeInformationMeansNoSequencerWork) {
  host->timeInfo.reset();
  host->ProcessBlock(512);
  EXPECT_TRUE(host->midi.empty());
  EXPECT_EQ(host->CountRequests(audioMasterGetTime), 1u);
  EXPECT_EQ(host->requests.back().value, 0x2602);
  // Nonsense from the host is treated the same way.
  PlayingTest::SetUp();
  host->timeInfo->tempo = 0.0;
  Block(0.0, 512);
  host->timeInfo->tempo = 120.0;
  host->timeInfo->timeSigDenominator = 0;
  Block(0.0, 512);
  EXPECT_TRUE(host->midi.empty());
}

TEST_F(PlayingTest, OutputsAreSilent) {
  Block(0.0, 256);
  EXPECT_TRUE(std::all_of(host->outputs[0].begin(), host->outputs[0].end(), [](float v) { return v == 0.0f; }));
  EXPECT_TRUE(std::all_of(host->outputs[1].begin(), host->outputs[1].end(), [](float v) { return v == 0.0f; }));
}

TEST_F(PlayingTest, MidiThruPassesNotesControllersPressureAndBend) {
  SetParameterText("Seq1 Active", "Off");
  host->SendMidi({Midi(0x91, 60, 100, 5), Midi(0x91, 61, 0, 6), Midi(0x82, 62, 30, 7), Midi(0xB3, 7, 99, 8),
                  Midi(0xA4, 64, 20, 9), Midi(0xD5, 33, 0, 10), Midi(0xE6, 1, 2, 11), Midi(0xC7, 5, 0, 12),
                  Midi(0xF8, 0, 0, 13), Midi(0x90, 0xFF, 0xFF, 14)});
  Block(0.0, 512, false);
  std::vector<std::array<int, 4>> got;
  for (const auto& m : host->midi) got.push_back({m.deltaFrames, m.status, m.data1, m.data2});
  EXPECT_EQ(got, (std::vector<std::array<int, 4>>{{5, 0x91, 60, 100},
                                                  {6, 0x81, 61, 0},  // velocity 0 is a note-off
                                                  {7, 0x82, 62, 30},
                                                  {8, 0xB3, 7, 99},
                                                  {9, 0xA4, 64, 20},
                                                  {10, 0xD5, 33, 0},
                                                  {11, 0xE6, 1, 2},
                                                  {14, 0x90, 127, 127}}));
}

TEST_F(PlayingTest, NoteTriggeredSequenceStartsWithTheNote) {
  SetParameterText("Seq1 Trigger", "Note");
  SetParameterText("Seq1 Smooth", "Off");
  Play(0.0, 10, 512);
  EXPECT_TRUE(host->midi.empty());
  host->SendMidi({Midi(0x90, 60, 100, 0)});
  Play(10 * 512 / 24000.0, 1, 512);
  ASSERT_EQ(host->midi.size(), 2u);  // the note passed through, then the first step
  EXPECT_EQ(host->midi[0].status, 0x90);
  EXPECT_EQ(host->midi[1].status, 0xB0);
}

}  // namespace
}  // namespace vornix::testing
