// The plug-in hosted in-process for the other formats: the same messages as a VST 2.x host gets
// for the same transport, in one block or in parts; parameters and the program chunk as a VST 2.x
// host sees them; what the module tells its host reaches the listener.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "../platform/TempEnvironment.h"
#include "formats/common/EffectHost.h"
#include "formats/common/ParameterInfo.h"
#include "plugin/Plugin.h"

namespace vornix::testing {
namespace {

using formats::TEffectHost;
using namespace vst;

struct TRecorder : TEffectHost::TListener, TEffectHost::TMidiOut {
  void ParameterChanged(int index, float normalized) override { changed.emplace_back(index, normalized); }
  void StateChanged() override { ++stateChanges; }
  void Midi(const VstMidiEvent& e) override {
    midi.push_back({e.deltaFrames, static_cast<unsigned char>(e.midiData[0]), static_cast<unsigned char>(e.midiData[1]),
                    static_cast<unsigned char>(e.midiData[2])});
  }
  std::vector<std::pair<int, float>> changed;
  int stateChanges = 0;
  std::vector<std::array<int, 4>> midi;
};

class EffectHostTest : public ::testing::Test {
 protected:
  // Two bars at 120 BPM, 48 kHz, in blocks of `frames`; positions and offsets as one long run.
  static std::vector<std::array<int, 4>> TwoBars(TEffectHost& host, TRecorder& out, int frames) {
    VstTimeInfo time{};
    time.sampleRate = 48000.0;
    time.tempo = 120.0;
    time.timeSigNumerator = 4;
    time.timeSigDenominator = 4;
    time.flags = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
    out.midi.clear();
    std::vector<std::array<int, 4>> all;
    for (int start = 0; start < 4 * 48000; start += frames) {
      time.samplePos = start;
      time.ppqPos = start * 2.0 / 48000.0;
      out.midi.clear();
      host.Process(frames, &time, {}, out);
      for (auto m : out.midi) {
        m[0] += start;
        if (m[0] < 4 * 48000) all.push_back(m);  // a last long block runs past the two bars
      }
    }
    return all;
  }

  platform::test::TTempFolder home;
  platform::test::TScopedUserFolders user{home.Path(), home.Path() / ".config"};
};

TEST_F(EffectHostTest, PlaysTheSameMessagesInWholeBlocksAndInParts) {
  TRecorder a, b;
  TEffectHost whole(a), parts(b);
  for (TEffectHost* h : {&whole, &parts}) {
    h->Module().SetParameterByName("Seq2 Active", 1.0f);
    h->Module().SetParameterByName("Seq2 Rate", 2.0f);
    h->Module().Sequencer().Items(1).Steps()[1].SetValue(100.0f);
    h->SetActive(true);
  }
  whole.Configure(48000.0f, 4096);
  parts.Configure(48000.0f, 300);  // every 4096-sample block is played in parts
  const auto expected = TwoBars(whole, a, 512);
  ASSERT_GT(expected.size(), 40u);
  EXPECT_EQ(TwoBars(whole, a, 4096), expected);
  EXPECT_EQ(TwoBars(parts, b, 4096), expected);
}

TEST_F(EffectHostTest, IncomingMidiIsPlayedAndPassedOnAtItsOffset) {
  TRecorder r;
  TEffectHost host(r);
  host.Configure(48000.0f, 256);
  VstMidiEvent note{};
  note.deltaFrames = 700;  // in the third part of the block
  note.midiData[0] = static_cast<char>(0x91);
  note.midiData[1] = 64;
  note.midiData[2] = 100;
  host.Process(1024, nullptr, std::span(&note, 1), r);
  ASSERT_EQ(r.midi.size(), 1u);
  EXPECT_EQ(r.midi[0], (std::array<int, 4>{700, 0x91, 64, 100}));
}

TEST_F(EffectHostTest, ParametersStateAndWhatTheModuleTellsItsHost) {
  TRecorder r;
  TEffectHost host(r);
  ASSERT_EQ(host.ParameterCount(), 72);
  EXPECT_EQ(host.ParameterName(4), "Seq1 Rate");
  host.SetParameter(4, 1.0f);
  EXPECT_EQ(host.ParameterDisplay(4), "32/1");

  const auto saved = host.SaveState();
  ASSERT_GT(saved.size(), 8u);
  EXPECT_EQ(std::string(saved.begin(), saved.begin() + 4), "mmst");
  TRecorder other;
  TEffectHost second(other);
  EXPECT_TRUE(second.LoadState(saved));
  EXPECT_EQ(second.ParameterDisplay(4), "32/1");
  EXPECT_EQ(second.SaveState(), saved);
  EXPECT_GT(other.stateChanges, 0) << "a load asks the host to read every parameter again";
  const std::vector<std::uint8_t> garbage = {'m', 'm', 's', 't', 3, 0, 0, 0, 1, 2, 3};
  EXPECT_FALSE(second.LoadState(garbage));
  EXPECT_EQ(second.SaveState(), saved);

  // A parameter the module changes itself (a mapped controller) reaches the listener.
  host.Module().SetCC("Seq1 CC#", 7);
  r.changed.clear();
  VstMidiEvent cc{};
  cc.midiData[0] = static_cast<char>(0xB0);
  cc.midiData[1] = 7;
  cc.midiData[2] = 50;
  host.Process(64, nullptr, std::span(&cc, 1), r);
  ASSERT_FALSE(r.changed.empty());
  EXPECT_EQ(r.changed.back().first, 3);
}

// Other formats describe the same 72 parameters in parameter units, with the VST 2.x build's names
// and texts.
TEST_F(EffectHostTest, ParametersAreDescribedAsTheVst2BuildShowsThem) {
  TRecorder r;
  TEffectHost host(r);
  const auto parameters = formats::DescribeParameters(host.Module());
  ASSERT_EQ(parameters.size(), 72u);
  struct TExpected {
    int index;
    const char* name;
    const char* symbol;
    float min, max, def;
    formats::TParameterKind kind;
  };
  using K = formats::TParameterKind;
  for (const TExpected& e : {TExpected{0, "Seq1 Active", "seq1_active", 0, 1, 1, K::Toggle},
                             TExpected{10, "Seq2 Steps", "seq2_steps", 1, 64, 32, K::Integer},
                             TExpected{21, "Seq3 CC#", "seq3_cc", 0, 127, 22, K::Integer},
                             TExpected{32, "Seq4 Rate Type", "seq4_rate_type", 0, 2, 1, K::Choice},
                             TExpected{71, "Seq8 Smooth", "seq8_smooth", 0, 1, 1, K::Toggle}}) {
    const auto& p = parameters[static_cast<std::size_t>(e.index)];
    EXPECT_EQ(p.Name, e.name);
    EXPECT_EQ(p.Name, host.ParameterName(e.index));
    EXPECT_EQ(p.Symbol, e.symbol);
    EXPECT_EQ(p.Min, e.min) << e.name;
    EXPECT_EQ(p.Max, e.max) << e.name;
    EXPECT_EQ(p.Default, e.def) << e.name;
    EXPECT_EQ(p.Kind, e.kind) << e.name;
  }
  EXPECT_EQ(parameters[4].Choices.size(), 13u);
  EXPECT_EQ(parameters[4].Choices.front(), "1/128");
  EXPECT_EQ(parameters[4].Choices.back(), "32/1");
  // A text for every value, and the value of every text, as the VST 2.x build shows them.
  for (int v = 0; v <= 12; ++v) {
    host.SetParameter(4, parameters[4].Normalized(static_cast<float>(v)));
    EXPECT_EQ(formats::ValueText(host.Module(), parameters[4], static_cast<float>(v)), host.ParameterDisplay(4));
    float back = -1;
    EXPECT_TRUE(formats::ValueOfText(host.Module(), parameters[4], host.ParameterDisplay(4), back));
    EXPECT_EQ(back, static_cast<float>(v));
  }
  float value = 0;
  EXPECT_FALSE(formats::ValueOfText(host.Module(), parameters[4], "1/3", value));
}

}  // namespace
}  // namespace vornix::testing
