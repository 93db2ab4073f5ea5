// What a host sees of parameters, chunks and the MIDI queue through the plug-in's entry points.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "Transport.h"

namespace vornix::testing {
namespace {

using namespace vst;

std::vector<unsigned char> Bytes(const void* data, VstIntPtr size) {
  const auto* p = static_cast<const unsigned char*>(data);
  return {p, p + size};
}

TEST_F(PlayingTest, HostValuesAreClampedToTheRange) {
  const VstInt32 steps = 1;  // 1..64
  struct Case {
    float host;
    float normalised;
    const char* shown;
  };
  for (Case c : {Case{1.3f, 1.0f, "64"}, Case{-0.2f, 0.0f, "1"},
                 Case{std::numeric_limits<float>::quiet_NaN(), 0.0f, "1"}, Case{0.25f, 0.25f, "17"}}) {
    effect().setParameter(&effect(), steps, c.host);
    EXPECT_EQ(effect().getParameter(&effect(), steps), c.normalised) << c.host;
    EXPECT_EQ(host->DispatchText(effGetParamDisplay, steps), c.shown) << c.host;
  }
  EXPECT_EQ(effect().getParameter(&effect(), 72), 0.0f);
  effect().setParameter(&effect(), 72, 0.5f);  // ignored
  EXPECT_EQ(host->DispatchText(effGetParamLabel, 72), "undefined");
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, 72), "undefined");
  EXPECT_EQ(host->DispatchText(effGetParamLabel, 3), "");
}

TEST_F(PlayingTest, OnlyThePluginsOwnChangesAreAutomated) {
  host->requests.clear();
  effect().setParameter(&effect(), 3, 0.5f);
  EXPECT_EQ(host->CountRequests(audioMasterAutomate), 0u);
  // Text from the host goes through the plug-in's own path: the value is applied again and reported.
  char text[] = "99";
  EXPECT_EQ(host->Dispatch(effString2Parameter, 3, 0, text), 0);
  ASSERT_EQ(host->CountRequests(audioMasterAutomate), 1u);
  EXPECT_EQ(host->requests.back().index, 3);
  EXPECT_EQ(host->requests.back().opt, 0.5f);
  EXPECT_EQ(host->Dispatch(effString2Parameter, 3, 0, nullptr), 0);
  EXPECT_EQ(host->Dispatch(effString2Parameter, 99, 0, text), 0);
  EXPECT_EQ(host->CountRequests(audioMasterAutomate), 1u);
}

TEST_F(PlayingTest, BankChunkIsTheProgramChunkBehindItsLength) {
  void* program = nullptr;
  const VstIntPtr programSize = host->Dispatch(effGetChunk, 1, 0, &program);
  ASSERT_GE(programSize, 0);
  const auto programBytes = Bytes(program, programSize);
  void* bank = nullptr;
  const VstIntPtr bankSize = host->Dispatch(effGetChunk, 0, 0, &bank);
  ASSERT_EQ(bankSize, programSize + 4);
  const auto bankBytes = Bytes(bank, bankSize);
  std::uint32_t prefix = 0;
  for (int i = 3; i >= 0; --i) prefix = prefix << 8 | bankBytes[static_cast<std::size_t>(i)];
  EXPECT_EQ(prefix, static_cast<std::uint32_t>(programSize));
  EXPECT_EQ(std::vector<unsigned char>(bankBytes.begin() + 4, bankBytes.end()), programBytes);
  // The bank bytes stay valid until the next bank request.
  void* again = nullptr;
  host->Dispatch(effGetChunk, 1, 0, &again);
  EXPECT_EQ(Bytes(bank, bankSize), bankBytes);
  EXPECT_EQ(host->Dispatch(effGetChunk, 0, 0, nullptr), 0);
}

TEST_F(PlayingTest, RefusedChunksAnswerZero) {
  EXPECT_EQ(host->Dispatch(effSetChunk, 1, 10, nullptr), 0);
  unsigned char bank[] = {200, 0, 0, 0, 1, 2, 3};  // claims 200 bytes, has 3
  EXPECT_EQ(host->Dispatch(effSetChunk, 0, sizeof bank, bank), 0);
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, 0), "On");
}

TEST_F(PlayingTest, AtMost1023EventsLeavePerBlock) {
  SetParameterText("Seq1 Active", "Off");
  std::vector<VstMidiEvent> many;
  for (int i = 0; i < 1100; ++i) many.push_back(Midi(0xB0, 7, static_cast<unsigned char>(i & 127), i % 512));
  host->SendMidi(many);
  Block(0.0, 512, false);
  EXPECT_EQ(host->midi.size(), 1023u);
  for (std::size_t i = 1; i < host->midi.size(); ++i)
    ASSERT_LE(host->midi[i - 1].deltaFrames, host->midi[i].deltaFrames);  // handed over in time order
  Block(0.0, 512, false);
  EXPECT_EQ(host->processEventsCalls, 1);  // an empty queue is not sent
}

TEST_F(PlayingTest, ZeroFramesAndNoBuffersAreIgnored) {
  host->requests.clear();
  Block(0.0, 0);
  effect().processReplacing(&effect(), nullptr, nullptr, 512);
  EXPECT_TRUE(host->requests.empty());
}

TEST_F(PlayingTest, PassThroughAndSequencerShareOneTimeOrderedBlock) {
  host->SendMidi({Midi(0xB5, 1, 2, 300)});
  Block(0.0, 512);
  ASSERT_EQ(host->midi.size(), 2u);
  EXPECT_EQ(host->midi[0].deltaFrames, 0);
  EXPECT_EQ(host->midi[0].data1, 20);
  EXPECT_EQ(host->midi[1].deltaFrames, 300);
}

TEST_F(PlayingTest, AccumulatingHostsGetTheSameMidi) {
  host->timeInfo->ppqPos = 0.0;
  host->timeInfo->flags |= kVstTransportPlaying;
  std::vector<float> a(512, 0.5f), b(512, 0.5f);
  float* out[2] = {a.data(), b.data()};
  effect().process(&effect(), nullptr, out, 512);
  EXPECT_EQ(a[100], 0.5f);  // silence added to what was there
  ASSERT_EQ(host->midi.size(), 1u);
  EXPECT_EQ(host->midi[0].data1, 20);
}

}  // namespace
}  // namespace vornix::testing
