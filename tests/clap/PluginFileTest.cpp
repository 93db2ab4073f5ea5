// The built Vornix.clap, loaded through clap_entry beside the VST 2.x build of the same sources:
// the same messages over the same transport script, the same texts for every parameter value, and
// one state that both builds save and load.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <tuple>

#include "../platform/TempEnvironment.h"
#include "ClapTestHost.h"
#include "hostkit/PluginHost.h"

namespace vornix::claptest {
namespace {

using namespace clap;
using namespace vst;

constexpr double kRate = 48000.0;
constexpr double kTempo = 120.0;
constexpr std::uint32_t kBlock = 512;
constexpr std::int64_t kLength = 4 * 48000;  // two bars of 4/4 at 120 BPM

struct TMessage {
  std::int64_t sample;
  int status, data1, data2;
  bool operator==(const TMessage& o) const {
    return std::tie(sample, status, data1, data2) == std::tie(o.sample, o.status, o.data1, o.data2);
  }
};

void PrintTo(const TMessage& m, std::ostream* os) {
  *os << m.sample << ": " << std::hex << m.status << " " << std::dec << m.data1 << " " << m.data2;
}

// A host's script: parameter changes (in parameter units) and incoming MIDI at their samples.
struct TChange {
  std::int64_t sample;
  int index;
  double value;
};
struct TScript {
  std::vector<TChange> changes;
  std::vector<TMessage> midi;
};

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class ClapFile : public ::testing::Test {
 protected:
  void SetUp() override {
    vst2 = std::make_unique<hostkit::PluginHost>(VORNIX_PLUGIN_PATH);
    ASSERT_NE(vst2->Create(), nullptr);
    vst2->Dispatch(effOpen);
    clap = std::make_unique<TClapHost>(VORNIX_CLAP_PATH);
    ASSERT_NE(clap->Create(), nullptr);
    params = clap->Extension<clap_plugin_params>(CLAP_EXT_PARAMS);
    ASSERT_NE(params, nullptr);
  }
  clap_param_info Info(int index) {
    clap_param_info info{};
    EXPECT_TRUE(params->get_info(clap->Plugin(), static_cast<std::uint32_t>(index), &info));
    return info;
  }
  float Normalized(int index, double value) {
    const clap_param_info info = Info(index);
    return static_cast<float>((value - info.min_value) / (info.max_value - info.min_value));
  }

  // The VST 2.x host plays each block in parts cut at the script's changes, as a host that
  // automates at exact samples must.
  std::vector<TMessage> PlayVst2(const TScript& script) {
    vst2->Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
    vst2->Dispatch(effSetBlockSize, 0, kBlock);
    vst2->Dispatch(effMainsChanged, 0, 1);
    VstTimeInfo t{};
    t.sampleRate = kRate;
    t.tempo = kTempo;
    t.timeSigNumerator = 4;
    t.timeSigDenominator = 4;
    t.flags = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid | kVstBarsValid | kVstTimeSigValid;
    std::vector<TMessage> heard;
    for (std::int64_t block = 0; block < kLength; block += kBlock) {
      std::vector<std::int64_t> cuts = {block, block + kBlock};
      for (const TChange& c : script.changes)
        if (c.sample > block && c.sample < block + kBlock) cuts.push_back(c.sample);
      std::sort(cuts.begin(), cuts.end());
      cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
      for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
        const std::int64_t a = cuts[k], b = cuts[k + 1];
        for (const TChange& c : script.changes)
          if (c.sample == a) vst2->Effect()->setParameter(vst2->Effect(), c.index, Normalized(c.index, c.value));
        std::vector<VstMidiEvent> in;
        for (const TMessage& m : script.midi) {
          if (m.sample < a || m.sample >= b) continue;
          VstMidiEvent e{};
          e.type = kVstMidiType;
          e.byteSize = sizeof e;
          e.deltaFrames = static_cast<VstInt32>(m.sample - a);
          e.midiData[0] = static_cast<char>(m.status);
          e.midiData[1] = static_cast<char>(m.data1);
          e.midiData[2] = static_cast<char>(m.data2);
          in.push_back(e);
        }
        if (!in.empty()) vst2->SendMidi(in);
        t.samplePos = static_cast<double>(a);
        t.ppqPos = static_cast<double>(a) * kTempo / 60.0 / kRate;
        t.barStartPos = std::floor(t.ppqPos / 4.0) * 4.0;
        vst2->timeInfo = t;
        vst2->midi.clear();
        vst2->ProcessBlock(static_cast<int>(b - a));
        for (const auto& m : vst2->midi) heard.push_back({a + m.deltaFrames, m.status, m.data1, m.data2});
      }
    }
    vst2->Dispatch(effMainsChanged, 0, 0);
    return heard;
  }

  // The CLAP host plays whole blocks with the changes inside them; notes come as CLAP notes, the
  // rest as MIDI.
  std::vector<TMessage> PlayClap(const TScript& script) {
    EXPECT_TRUE(clap->Activate(kRate, kBlock));
    std::vector<TMessage> heard;
    for (std::int64_t block = 0; block < kLength; block += kBlock) {
      struct TAt {
        std::int64_t sample;
        const TChange* change;
        const TMessage* midi;
      };
      std::vector<TAt> due;
      for (const TChange& c : script.changes)
        if (c.sample >= block && c.sample < block + kBlock) due.push_back({c.sample, &c, nullptr});
      for (const TMessage& m : script.midi)
        if (m.sample >= block && m.sample < block + kBlock) due.push_back({m.sample, nullptr, &m});
      std::stable_sort(due.begin(), due.end(), [](const TAt& x, const TAt& y) { return x.sample < y.sample; });
      TEventList in;
      for (const TAt& at : due) {
        const auto time = static_cast<std::uint32_t>(at.sample - block);
        if (at.change != nullptr) {
          clap_event_param_value e{};
          e.header = {sizeof e, time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
          e.param_id = static_cast<clap_id>(at.change->index);
          e.note_id = -1;
          e.port_index = e.channel = e.key = -1;
          e.value = at.change->value;
          in.Add(e);
        } else if ((at.midi->status & 0xE0) == 0x80) {
          clap_event_note e{};
          const bool on = (at.midi->status & 0xF0) == 0x90;
          e.header = {sizeof e, time, CLAP_CORE_EVENT_SPACE_ID, on ? CLAP_EVENT_NOTE_ON : CLAP_EVENT_NOTE_OFF, 0};
          e.note_id = -1;
          e.port_index = 0;
          e.channel = static_cast<std::int16_t>(at.midi->status & 0x0F);
          e.key = static_cast<std::int16_t>(at.midi->data1);
          e.velocity = at.midi->data2 / 127.0;
          in.Add(e);
        } else {
          clap_event_midi e{};
          e.header = {sizeof e, time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_MIDI, 0};
          e.data[0] = static_cast<std::uint8_t>(at.midi->status);
          e.data[1] = static_cast<std::uint8_t>(at.midi->data1);
          e.data[2] = static_cast<std::uint8_t>(at.midi->data2);
          in.Add(e);
        }
      }
      const clap_event_transport transport =
          Transport(static_cast<double>(block) * kTempo / 60.0 / kRate, kTempo, 4, 4, true);
      TOutput out;
      EXPECT_EQ(clap->Process(kBlock, &transport, in, out), CLAP_PROCESS_CONTINUE);
      for (std::size_t i = 0; i < out.Size(); ++i) {
        EXPECT_EQ(out.Header(i).type, CLAP_EVENT_MIDI);
        if (out.Header(i).type != CLAP_EVENT_MIDI) continue;
        const auto m = out.As<clap_event_midi>(i);
        EXPECT_EQ(m.port_index, 0);
        heard.push_back({block + out.Header(i).time, m.data[0], m.data[1], m.data[2]});
      }
    }
    clap->Deactivate();
    return heard;
  }

  platform::test::TTempFolder home;
  platform::test::TScopedUserFolders user{home.Path(), home.Path() / "config"};
  std::unique_ptr<hostkit::PluginHost> vst2;
  std::unique_ptr<TClapHost> clap;
  const clap_plugin_params* params = nullptr;
};

// Sequence 2 started by notes at 1/16, sequence 3 switched on and sequence 1's controller changed
// in the middle of blocks, notes, a controller and a pitch bend passed through.
TScript Script() {
  TScript s;
  s.changes = {{0, 9, 1}, {0, 12, 3}, {0, 16, 1}, {70001, 3, 99}, {100000, 18, 1}, {100000, 22, 2}, {150123, 21, 5}};
  s.midi = {{12345, 0xB0, 1, 64}, {30000, 0x90, 60, 100}, {90000, 0x80, 60, 0}, {120001, 0x91, 62, 1},
            {150000, 0xE0, 0, 80}, {170000, 0x81, 62, 64}};
  return s;
}

TEST_F(ClapFile, PlaysTheMessagesOfTheVst2BuildOverTheSameScript) {
  // Without random bands: the two builds draw from random generators of their own.
  const auto preset = ReadFile(std::string(VORNIX_PRESETS_DIR) + "/Demo Ramp.orvanep");
  ASSERT_GT(preset.size(), 8u);
  ASSERT_NE(vst2->SetChunk(std::vector<unsigned char>(preset.begin(), preset.end())), 0);
  ASSERT_TRUE(clap->Load(preset)) << "a preset file is a state of either build";
  const TScript script = Script();
  const auto expected = PlayVst2(script);
  ASSERT_GT(expected.size(), 100u);
  // The script's changes show: sequence 1's new controller from its sample on.
  const auto first99 = std::find_if(expected.begin(), expected.end(), [](const TMessage& m) { return m.data1 == 99; });
  ASSERT_NE(first99, expected.end());
  EXPECT_GE(first99->sample, 70001);
  EXPECT_EQ(PlayClap(script), expected);
}

// A state the VST 2.x build saved loads in the CLAP build and plays the same messages; the CLAP
// build saves the very same bytes, and a state it saved loads in the VST 2.x build.
TEST_F(ClapFile, OneStateServesBothBuilds) {
  const auto preset = ReadFile(std::string(VORNIX_PRESETS_DIR) + "/Demo Ramp.orvanep");
  ASSERT_NE(vst2->SetChunk(std::vector<unsigned char>(preset.begin(), preset.end())), 0);
  vst2->Effect()->setParameter(vst2->Effect(), 10, Normalized(10, 12));  // Seq2 Steps 12
  vst2->Effect()->setParameter(vst2->Effect(), 13, Normalized(13, 4));   // Seq2 Rate 1/8
  const auto saved = vst2->GetChunk();
  ASSERT_TRUE(clap->Load({saved.begin(), saved.end()}, 100));
  EXPECT_EQ(clap->Save(7), std::vector<std::uint8_t>(saved.begin(), saved.end()));
  double steps = 0;
  ASSERT_TRUE(params->get_value(clap->Plugin(), 10, &steps));
  EXPECT_EQ(steps, 12);
  const TScript script = Script();
  EXPECT_EQ(PlayClap(script), PlayVst2(script));

  // And back: a change made in the CLAP build travels in its state to the VST 2.x build.
  TEventList in;
  clap_event_param_value e{};
  e.header = {sizeof e, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
  e.param_id = 30;  // Seq4 CC#
  e.value = 77;
  in.Add(e);
  TOutput out;
  clap->Flush(in, out);
  const auto state = clap->Save();
  hostkit::PluginHost other(VORNIX_PLUGIN_PATH);
  ASSERT_NE(other.Create(), nullptr);
  other.Dispatch(effOpen);
  ASSERT_NE(other.SetChunk({state.begin(), state.end()}), 0);
  EXPECT_EQ(other.DispatchText(effGetParamDisplay, 30), "77");
  EXPECT_EQ(other.GetChunk(), std::vector<unsigned char>(state.begin(), state.end()));
}

// Every value of every parameter reads as the VST 2.x build shows it, and the text reads back.
TEST_F(ClapFile, EveryValueShowsTheTextOfTheVst2Build) {
  ASSERT_EQ(params->count(clap->Plugin()), static_cast<std::uint32_t>(vst2->Effect()->numParams));
  for (int i = 0; i < vst2->Effect()->numParams; ++i) {
    const clap_param_info info = Info(i);
    EXPECT_EQ(info.name, vst2->DispatchText(effGetParamName, i));
    for (double v = info.min_value; v <= info.max_value; v += 1.0) {
      vst2->Effect()->setParameter(vst2->Effect(), i, Normalized(i, v));
      char text[256] = {};
      ASSERT_TRUE(params->value_to_text(clap->Plugin(), info.id, v, text, sizeof text));
      ASSERT_EQ(std::string(text), vst2->DispatchText(effGetParamDisplay, i)) << info.name << " = " << v;
      double back = -1;
      ASSERT_TRUE(params->text_to_value(clap->Plugin(), info.id, text, &back)) << text;
      EXPECT_EQ(back, v) << info.name;
    }
  }
}

}  // namespace
}  // namespace vornix::claptest
