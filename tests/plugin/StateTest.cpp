// The saved state: exact bytes, round trips, older writers, and damaged input that must change
// nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>

#include "ModuleFixture.h"
#include "plugin/PluginStateStream.h"

namespace vornix::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Hex(std::initializer_list<int> values) { return Bytes(values.begin(), values.end()); }

class StateTest : public PluginUnitTest {
 protected:
  Bytes Section() {
    Bytes out;
    TaggedValueWriter w(out);
    plugin::WriteStateSection(w, plugin->CaptureState());
    return out;
  }
  Bytes ProgramChunk() {
    void* data = nullptr;
    const auto size = plugin->Call(vst::effGetChunk, 1, 0, &data);
    const auto* p = static_cast<const std::uint8_t*>(data);
    return Bytes(p, p + size);
  }
  // A whole program chunk around a body written by `body`.
  template <class F>
  Bytes Container(F body) {
    TMemoryStreamChunk chunk;
    TaggedValueWriter w(chunk.Body());
    body(w);
    Bytes out;
    chunk.SaveToStream(out);
    return out;
  }
  static void Header(TaggedValueWriter& w, const std::string& version, const std::string& preset = "") {
    w.WriteSignature();
    w.WriteListBegin();
    w.WriteString(version);
    w.WriteString(preset);
    w.WriteString("");
    w.WriteString("");
    w.WriteListEnd();
  }
  void Load(Bytes bytes) { plugin->Call(vst::effSetChunk, 1, static_cast<vst::VstIntPtr>(bytes.size()), bytes.data()); }
  std::size_t LoadErrors() const {
    std::size_t n = 0;
    for (const auto& q : dialogs->Questions()) {
      if (q.Caption == "Load Preset" && q.Text.rfind("Error loading preset.\r\n\r\n\"", 0) == 0) ++n;
    }
    return n;
  }
  void Change() {
    plugin->SetParameterByName("Seq2 Active", 1.0f);
    plugin->SetParameterByName("Seq2 Rate", 3.0f);
    plugin->Sequencer().Items(1).Steps()[5].SetValue(100.0f);
    plugin->Sequencer().Items(1).SetTitle("Bass");
    plugin->SetCurrentSequence(1);
    plugin->SetCC("Seq2 Rate", 74);
  }
};

TEST_F(StateTest, FreshStateSectionIsExact) {
  const Bytes section = Section();
  ASSERT_EQ(section.size(), 13734u);
  const Bytes begin = Hex({0x01, 0x01, 0x06, 0x0B, 0x53, 0x65, 0x71, 0x75, 0x65, 0x6E, 0x63, 0x65, 0x20,
                           0x23, 0x31, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xFF, 0x3F,
                           0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x04, 0x40});
  EXPECT_EQ(Bytes(section.begin(), section.begin() + static_cast<long>(begin.size())), begin);
  EXPECT_EQ(Bytes(section.end() - 6, section.end()), Hex({0x00, 0x00, 0x01, 0x02, 0x00, 0x00}));
  const Bytes defaultStep =
      Hex({0x01, 0x09, 0x05, 0, 0, 0, 0, 0, 0, 0, 0xFC, 0x04, 0x40, 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00});
  const auto stepsStart = section.begin() + 1 + 1 + 13 + 99 + 1 + 1;
  EXPECT_EQ(Bytes(stepsStart, stepsStart + 25), defaultStep);
}

TEST_F(StateTest, ContainerFramesTheSectionWithHeaderAndCCMap) {
  const Bytes chunk = ProgramChunk();
  ASSERT_EQ(chunk.size(), 8u + 27u + 1u + 13734u + 1u + 2u);
  const Bytes prefix =
      Hex({0x6D, 0x6D, 0x73, 0x74, 0xC5, 0x35, 0x00, 0x00, 0x54, 0x50, 0x46, 0x30, 0x01, 0x06, 0x04, 0x31, 0x2E, 0x31,
           0x32, 0x12, 0,    0,    0,    0,    0x12, 0,    0,    0,    0,    0x12, 0,    0,    0,    0,    0x00, 0x01});
  EXPECT_EQ(Bytes(chunk.begin(), chunk.begin() + static_cast<long>(prefix.size())), prefix);
  EXPECT_EQ(Bytes(chunk.end() - 3, chunk.end()), Hex({0x00, 0x01, 0x00}));
}

TEST_F(StateTest, ChangedStateRoundTripsByteForByte) {
  Change();
  plugin->Sequencer().Items(2).SetTitle("Fläche ünd Klang");  // non-ASCII: a UTF-8 or wide string
  plugin->Sequencer().Items(3).SetTitle("日本");
  plugin->SetCC("Seq1 Steps", 7);
  const Bytes saved = ProgramChunk();
  plugin->ResetState();
  ASSERT_NE(ProgramChunk(), saved);
  Load(saved);
  EXPECT_EQ(ProgramChunk(), saved);
  EXPECT_EQ(LoadErrors(), 0u);
  EXPECT_EQ(plugin->Sequencer().Items(2).Title(), "Fläche ünd Klang");
  EXPECT_EQ(plugin->Sequencer().Items(3).Title(), "日本");
  EXPECT_EQ(plugin->Sequencer().Items(1).Rate(), plugin->Sequencer().Items(0).Rate() - 2);
  EXPECT_EQ(plugin->CurrentSequence(), 1);
  ASSERT_EQ(plugin->MidiCCList().Count(), 2);
  EXPECT_EQ(plugin->MidiCCList().Items(0).ParameterName, "Seq2 Rate");
  EXPECT_EQ(plugin->MidiCCList().Items(1).CC, 7);
}

TEST_F(StateTest, OlderWritersLeaveOutTheSectionBrackets) {
  Change();
  const plugin::TStoredState changed = plugin->CaptureState();
  Bytes section = Section();
  section.erase(section.begin());  // no leading 01
  section.pop_back();              // no closing 00 of the footer
  plugin->ResetState();
  Load(Container([&](TaggedValueWriter& w) {
    Header(w, "1.0");
    w.WriteListBegin();
    for (auto b : section) w.WriteBoolean(false), (void)b;
  }));
  EXPECT_EQ(LoadErrors(), 1u);  // that body was nonsense on purpose: booleans are no section
  // The real thing: the raw old section bytes inside a proper body.
  TMemoryStreamChunk chunk;
  {
    TaggedValueWriter w(chunk.Body());
    Header(w, "1.0");
    w.WriteListBegin();
  }
  chunk.Body().insert(chunk.Body().end(), section.begin(), section.end());
  chunk.Body().push_back(0x00);  // the container closes the section (and the footer)
  chunk.Body().push_back(0x01);
  chunk.Body().push_back(0x00);
  Bytes bytes;
  chunk.SaveToStream(bytes);
  Load(bytes);
  EXPECT_EQ(LoadErrors(), 1u);
  EXPECT_EQ(plugin->Sequencer().Items(1).Steps()[5].Value(), 100.0f);
  EXPECT_EQ(plugin->CurrentSequence(), changed.CurrentSequence);
  EXPECT_EQ(plugin->Sequencer().Items(1).Title(), "Bass");
}

TEST_F(StateTest, VersionsFromOneTenOnAreCurrent) {
  for (const char* v : {"1.10", "1.12", "1.9", "2.0"}) EXPECT_TRUE(plugin::IsCurrentFormat(v)) << v;
  for (const char* v : {"1.0", "1.1", "", "0.9"}) EXPECT_FALSE(plugin::IsCurrentFormat(v)) << v;
}

TEST_F(StateTest, EmptySequenceListShowsTheResetState) {
  Change();
  Load(Container([&](TaggedValueWriter& w) {
    Header(w, "1.12");
    w.WriteListBegin();
    for (int b : {0x01, 0x00, 0x01}) b == 1 ? w.WriteListBegin() : w.WriteListEnd();
    w.WriteInteger(0);
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListBegin();
    w.WriteListEnd();
  }));
  EXPECT_EQ(LoadErrors(), 0u);
  EXPECT_FALSE(plugin->Sequencer().Items(1).Active());
  EXPECT_EQ(plugin->Sequencer().Items(1).Title(), "Sequence #2");
  EXPECT_EQ(plugin->CurrentSequence(), 0);
  EXPECT_TRUE(plugin->MidiCCList().IsEmpty());
}

// A state written by hand: one sequence with the given settings and steps, then footer and map.
struct Written {
  std::array<double, 9> settings{1, 32, 1, 20, 5, 1, 0, 0, 1};
  std::vector<std::array<double, 2>> steps;  // value, random range
  int extraSequences = 0;
  int footer = 0;
  bool ccSection = true;
};

class DamagedStateTest : public StateTest {
 protected:
  Bytes Write(const Written& in) {
    return Container([&](TaggedValueWriter& w) {
      Header(w, "1.12", "Damaged");
      w.WriteListBegin();
      w.WriteListBegin();
      for (int s = 0; s < 1 + in.extraSequences; ++s) {
        w.WriteListBegin();
        w.WriteString("Loaded");
        for (double v : in.settings) w.WriteFloat(v);
        w.WriteListEnd();
        w.WriteListBegin();
        for (auto [value, random] : in.steps) {
          w.WriteListBegin();
          w.WriteBoolean(false);
          w.WriteFloat(value);
          w.WriteFloat(random);
          w.WriteListEnd();
        }
        w.WriteListEnd();
      }
      w.WriteListEnd();
      w.WriteListBegin();
      w.WriteInteger(in.footer);
      w.WriteListEnd();
      w.WriteListEnd();
      if (in.ccSection) {
        w.WriteListBegin();
        w.WriteListBegin();
        w.WriteString("No Such Parameter");
        w.WriteInteger(5);
        w.WriteListEnd();
        w.WriteListBegin();
        w.WriteString("Seq1 CC#");
        w.WriteInteger(9);
        w.WriteListEnd();
        w.WriteListEnd();
      }
    });
  }
};

TEST_F(DamagedStateTest, SixteenStepsLeaveTheRestAtTheirDefaults) {
  Written in;
  for (int i = 0; i < 16; ++i) in.steps.push_back({static_cast<double>(i), 0.0});
  Load(Write(in));
  ASSERT_EQ(LoadErrors(), 0u);
  const auto& steps = plugin->Sequencer().Items(0).Steps();
  EXPECT_EQ(steps[15].Value(), 15.0f);
  EXPECT_FALSE(steps[15].Enabled());
  EXPECT_EQ(steps[16].Value(), 63.0f);
  EXPECT_TRUE(steps[16].Enabled());
  EXPECT_EQ(plugin->Sequencer().Items(0).Title(), "Loaded");
  EXPECT_EQ(plugin->Sequencer().Items(1).Title(), "Sequence #2");
  // Only the known parameter's link is kept; without a preset file the name is dropped.
  ASSERT_EQ(plugin->MidiCCList().Count(), 1);
  EXPECT_EQ(plugin->MidiCCList().Items(0).ParameterName, "Seq1 CC#");
  EXPECT_EQ(plugin->PresetName(), "");
}

TEST_F(DamagedStateTest, ValuesOutsideTheirRangesAreLimited) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  Written in;
  in.settings = {7, 200, 0, 300, 40, -1, nan, 99, 0.4};
  in.steps = {{500, -5}, {-3, 1000}, {nan, std::numeric_limits<double>::infinity()}};
  in.footer = 9;
  Load(Write(in));
  ASSERT_EQ(LoadErrors(), 0u);
  const auto& seq = plugin->Sequencer().Items(0);
  EXPECT_TRUE(seq.Active());
  EXPECT_EQ(seq.StepCount(), 64);
  EXPECT_EQ(seq.Channel(), 1);
  EXPECT_EQ(seq.CCNumber(), 127);
  EXPECT_EQ(plugin->GetParameterDisplay(4), "32/1");
  std::string lowestType;
  plugin->GetValueText("Rate Type", 0, lowestType);
  EXPECT_EQ(plugin->GetParameterDisplay(5), lowestType);
  EXPECT_EQ(plugin->GetParameterDisplay(6), "Forward");  // not a number: the default
  EXPECT_EQ(plugin->GetParameterDisplay(7), "Note Retrigger 1-Shot");
  EXPECT_FALSE(seq.Smooth());
  EXPECT_EQ(seq.Steps()[0].Value(), 127.0f);
  EXPECT_EQ(seq.Steps()[0].RandomRange(), 0.0f);
  EXPECT_EQ(seq.Steps()[1].Value(), 0.0f);
  EXPECT_EQ(seq.Steps()[1].RandomRange(), 127.0f);
  EXPECT_EQ(seq.Steps()[2].Value(), 63.0f);
  EXPECT_EQ(seq.Steps()[2].RandomRange(), 0.0f);
  EXPECT_EQ(plugin->CurrentSequence(), 7);
}

TEST_F(DamagedStateTest, UnreadableStatesChangeNothing) {
  Change();
  const Bytes before = ProgramChunk();
  Written tooManySequences;
  tooManySequences.extraSequences = 8;
  Written tooManySteps;
  tooManySteps.steps.assign(65, {1.0, 0.0});
  Written noMap;
  noMap.ccSection = false;
  std::vector<Bytes> bad = {Write(tooManySequences), Write(tooManySteps)};
  Bytes truncatedMap = Write(noMap);
  bad.push_back(truncatedMap);
  // Cut, flipped and foreign versions of a good chunk.
  for (std::size_t cut : {std::size_t{9}, std::size_t{20}, std::size_t{100}, std::size_t{5000}, before.size() - 1}) {
    Bytes b(before.begin(), before.begin() + static_cast<long>(cut));
    b[4] = static_cast<std::uint8_t>(cut - 8);  // a consistent header, so the body itself is short
    b[5] = static_cast<std::uint8_t>((cut - 8) >> 8);
    b[6] = b[7] = 0;
    bad.push_back(b);
  }
  Bytes wrongName = before;
  wrongName[0] = 'X';
  bad.push_back(wrongName);
  Bytes lying = before;
  lying[5] = 0x7F;  // claims more body than there is
  bad.push_back(lying);
  Bytes flippedTag = before;
  flippedTag[8 + 4] = 0x07;  // the header list's start
  bad.push_back(flippedTag);
  Bytes foreign(200, 0xAB);
  bad.push_back(foreign);
  for (const Bytes& b : bad) {
    Load(b);
    ASSERT_EQ(ProgramChunk(), before) << "a damaged chunk of " << b.size() << " bytes changed the state";
  }
  EXPECT_EQ(LoadErrors(), bad.size());
}

TEST_F(StateTest, TinyChunksAreIgnored) {
  Change();
  const Bytes before = ProgramChunk();
  for (std::size_t n = 0; n <= 8; ++n) {
    Bytes tiny(n, 0x6D);
    Load(tiny);
  }
  EXPECT_EQ(ProgramChunk(), before);
  EXPECT_TRUE(dialogs->Questions().empty());
}

TEST_F(StateTest, PresetNameSurvivesOnlyWithItsFile) {
  plugin->SetPresetName("Pulse");
  const Bytes saved = ProgramChunk();
  Load(saved);
  EXPECT_EQ(plugin->PresetName(), "");  // no such file in the presets folder
  std::filesystem::create_directories(plugin->PresetsFolder());
  std::ofstream(plugin->PresetsFolder() + "Pulse.orvanep") << "x";
  Load(saved);
  EXPECT_EQ(plugin->PresetName(), "Pulse");
}

TEST_F(StateTest, BankRoundTripThroughTheDispatcher) {
  Change();
  void* data = nullptr;
  const auto size = plugin->Call(vst::effGetChunk, 0, 0, &data);
  const Bytes bank(static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
  const Bytes program = ProgramChunk();
  plugin->ResetState();
  EXPECT_EQ(plugin->Call(vst::effSetChunk, 0, size, const_cast<std::uint8_t*>(bank.data())), size);
  EXPECT_EQ(ProgramChunk(), program);
}

}  // namespace
}  // namespace vornix::testing
