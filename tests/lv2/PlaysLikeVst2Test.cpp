// The same transport, state (a preset without random steps) and MIDI played through the LV2 build (time:Position
// reports at their frames, through lilv) and through the VST 2.x build (time information per block, split where the
// transport jumps, as a VST 2.x host plays it): the same MIDI at the same frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "../platform/TempEnvironment.h"
#include "LilvHost.h"
#include "hostkit/PluginHost.h"

namespace vornix::testing::lv2 {
namespace {

struct TMidi {
  std::int64_t frame;
  std::vector<std::uint8_t> bytes;
  bool operator==(const TMidi&) const = default;
};

void PrintTo(const TMidi& m, std::ostream* os) {
  *os << m.frame << ":";
  for (auto b : m.bytes) *os << " " << static_cast<int>(b);
}

// A host's transport over time: a report where it starts and wherever it jumps, and MIDI arriving.
// An LV2 host may repeat its report at every block as the transport rolls on.
struct TScript {
  const char* name;
  std::uint32_t block;  // the LV2 host's block
  std::int64_t frames;
  std::vector<std::pair<std::int64_t, TReport>> reports;
  std::vector<std::pair<std::int64_t, TReport>> repeats;  // the LV2 host's alone
  std::vector<TMidi> midi;
  std::vector<std::pair<int, float>> settings;  // parameter, value in parameter units
};

void PrintTo(const TScript& s, std::ostream* os) { *os << s.name; }

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The VST 2.x time information `elapsed` frames after report `r`, as a VST 2.x host reports the same
// transport: the tempo in quarter notes per minute, as Ardour reports it to both (hosts send the
// report's numbers as single floats).
vst::VstTimeInfo Vst2Time(const TReport& r, std::int64_t elapsed) {
  const double bpm = static_cast<float>(r.Bpm), speed = static_cast<float>(r.Speed);
  const double perBar = static_cast<float>(r.BeatsPerBar), quarters = 4.0 / r.BeatUnit;
  double ppq = (static_cast<double>(r.Bar) * perBar + static_cast<float>(r.BarBeat)) * quarters;
  if (speed > 0.0) ppq += static_cast<double>(elapsed) * speed * bpm / 60.0 / TInstance::kRate;
  vst::VstTimeInfo t{};
  t.sampleRate = TInstance::kRate;
  t.ppqPos = ppq;
  t.tempo = bpm * (speed > 0.0 ? speed : 1.0);
  t.barStartPos = std::floor(ppq / quarters / perBar) * perBar * quarters;
  t.timeSigNumerator = static_cast<int>(std::lround(perBar));
  t.timeSigDenominator = r.BeatUnit;
  t.flags = vst::kVstTempoValid | vst::kVstPpqPosValid | vst::kVstBarsValid | vst::kVstTimeSigValid;
  if (speed > 0.0) t.flags |= vst::kVstTransportPlaying;
  return t;
}

class Lv2PlaysLikeVst2 : public ::testing::TestWithParam<TScript> {
 protected:
  std::vector<TMidi> PlayLv2(const TScript& s) {
    TInstance lv2(world, map);
    EXPECT_EQ(lv2.RestoreChunk(preset), LV2_STATE_SUCCESS);
    for (const auto& [parameter, value] : s.settings) lv2.Control(parameter) = value;
    std::vector<TMidi> played;
    for (std::int64_t start = 0; start < s.frames; start += s.block) {
      const std::int64_t end = start + s.block;
      // Reports and MIDI of one frame: the report first, as hosts write it.
      for (const auto* list : {&s.reports, &s.repeats})
        for (const auto& [frame, report] : *list)
          if (frame >= start && frame < end) lv2.In().Position(frame - start, report);
      for (const auto& m : s.midi) {
        if (m.frame < start || m.frame >= end) continue;
        LV2_Atom_Forge& forge = lv2.In().Forge();
        lv2_atom_forge_frame_time(&forge, m.frame - start);
        lv2_atom_forge_atom(&forge, static_cast<std::uint32_t>(m.bytes.size()), map.Map(LV2_MIDI__MidiEvent));
        lv2_atom_forge_write(&forge, m.bytes.data(), static_cast<std::uint32_t>(m.bytes.size()));
      }
      for (const auto& e : lv2.Run(s.block))
        if (!e.Midi.empty()) played.push_back({start + e.Frame, e.Midi});
    }
    return played;
  }

  std::vector<TMidi> PlayVst2(const TScript& s) {
    hostkit::PluginHost vst2(VORNIX_PLUGIN_PATH);
    EXPECT_NE(vst2.Create(), nullptr);
    vst2.Dispatch(vst::effOpen);
    vst2.Dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(TInstance::kRate));
    vst2.Dispatch(vst::effSetBlockSize, 0, static_cast<vst::VstIntPtr>(s.block));
    vst2.Dispatch(vst::effMainsChanged, 0, 1);
    EXPECT_NE(vst2.SetChunk(preset), 0);
    vst::AEffect& e = *vst2.Effect();
    for (const auto& [parameter, value] : s.settings) {
      const auto properties = ParameterRange(parameter);
      e.setParameter(&e, parameter, (value - properties.first) / (properties.second - properties.first));
    }
    vst2.recordRequests = false;
    std::vector<std::int64_t> blockStarts;
    for (std::int64_t start = 0; start < s.frames; start += s.block) {
      // A jump of the transport inside the block splits it.
      std::vector<std::int64_t> cuts = {start, start + s.block};
      for (const auto& r : s.reports)
        if (r.first > start && r.first < start + s.block) cuts.push_back(r.first);
      std::sort(cuts.begin(), cuts.end());
      for (std::size_t c = 0; c + 1 < cuts.size(); ++c) {
        const std::int64_t from = cuts[c], to = cuts[c + 1];
        const auto* report = &s.reports.front();
        for (const auto& r : s.reports)
          if (r.first <= from) report = &r;
        vst2.timeInfo = Vst2Time(report->second, from - report->first);
        std::vector<vst::VstMidiEvent> events;
        for (const auto& m : s.midi) {
          if (m.frame < from || m.frame >= to) continue;
          vst::VstMidiEvent ev{};
          ev.type = vst::kVstMidiType;
          ev.byteSize = sizeof ev;
          ev.deltaFrames = static_cast<vst::VstInt32>(m.frame - from);
          for (std::size_t b = 0; b < m.bytes.size(); ++b) ev.midiData[b] = static_cast<char>(m.bytes[b]);
          events.push_back(ev);
        }
        if (!events.empty()) vst2.SendMidi(events);
        blockStarts.push_back(from);
        vst2.ProcessBlock(static_cast<int>(to - from));
      }
    }
    std::vector<TMidi> played;
    for (const auto& m : vst2.midi) {
      std::vector<std::uint8_t> bytes = {m.status, m.data1, m.data2};
      if ((m.status & 0xF0) == 0xC0 || (m.status & 0xF0) == 0xD0) bytes.pop_back();
      played.push_back({blockStarts[static_cast<std::size_t>(m.block)] + m.deltaFrames, bytes});
    }
    return played;
  }

  static std::pair<float, float> ParameterRange(int parameter) {
    const auto& setting = plugin::kSettings[static_cast<std::size_t>(plugin::SettingOf(parameter))];
    return {setting.min, setting.max};
  }

  platform::test::TTempHome home;
  TWorld world;
  TUridMap map;
  std::vector<std::uint8_t> preset = ReadFile(std::filesystem::path(VORNIX_PRESETS_DIR) / "Demo Ramp.orvanep");
};

TEST_P(Lv2PlaysLikeVst2, TheSameMidiAtTheSameFrames) {
  const TScript& s = GetParam();
  ASSERT_NE(world.Plugin(), nullptr);
  ASSERT_FALSE(preset.empty());
  const auto vst2 = PlayVst2(s);
  ASSERT_GT(vst2.size(), 40u) << "the script plays too little to compare";
  EXPECT_EQ(PlayLv2(s), vst2);
}

TReport At(std::int64_t bar, double beat, double bpm = 120.0, double perBar = 4.0, int unit = 4, double speed = 1.0) {
  return TReport{speed, bpm, perBar, unit, bar, beat, std::nullopt};
}

// Two bars of 4/4 at 120 BPM and 48 kHz are 192 000 frames.
const TScript kScripts[] = {
    {"RollingFromTheStart", 512, 4 * 96000, {{0, At(0, 0)}}, {}, {}, {}},
    {"AReportEveryBlockOfAnOddSize", 300, 2 * 96000, {{0, At(0, 0)}}, {}, {}, {}},
    {"ArdoursReportsEveryBlockInSixEight", 1024, 4 * 96000, {{0, At(0, 0, 90, 6, 8)}}, {}, {}, {}},
    {"ALoopBackInsideABlock", 512, 4 * 96000, {{0, At(0, 0)}, {100000, At(0, 0)}, {250003, At(1, 2)}}, {}, {}, {}},
    {"StoppedSeekedAndStartedAgain",
     512,
     4 * 96000,
     {{0, At(0, 0)}, {60000, At(1, 1, 120, 4, 4, 0.0)}, {90000, At(3, 0)}, {200000, At(0, 3, 120, 4, 4, 0.0)}},
     {},
     {},
     {}},
    {"ThreeFourAt90ThenSixEightAt120",
     256,
     4 * 96000,
     {{0, At(0, 0, 90, 3)}, {150000, At(10, 0, 120, 6, 8)}},
     {},
     {},
     {}},
    {"ATempoChangeInsideABlock", 512, 4 * 96000, {{0, At(0, 0)}, {72000, At(0, 3, 150)}}, {}, {}, {}},
    {"NotesStartASequenceAndMidiPassesThrough",
     480,
     4 * 96000,
     {{0, At(0, 0)}},
     {},
     {{1000, {0x90, 60, 100}},
      {2000, {0xB1, 7, 99}},
      {3000, {0xE2, 0, 64}},
      {4000, {0xC0, 5}},
      {4001, {0xD3, 80}},
      {50000, {0x80, 60, 0}},
      {80000, {0x90, 62, 90}},
      {80000, {0xA0, 62, 30}}},
     {{9 + 0, 1.0f}, {9 + 7, 1.0f}, {9 + 4, 2.0f}}},  // Seq2 on, started by notes, "1/32"
};

// The repeated reports of a host rolling on: at every block, with the frame, as Ardour 7 writes them.
// Its beat within the bar is a beat's index plus the quarter notes into the beat, which is right in
// 4/4 and wrong in 6/8; the transport has come there by itself all the same.
std::vector<TScript> Scripts() {
  std::vector<TScript> scripts(std::begin(kScripts), std::end(kScripts));
  for (TScript& s : scripts) {
    if (std::string(s.name).find("EveryBlock") == std::string::npos) continue;
    TReport r = s.reports.front().second;
    s.reports.front().second.Frame = 0;
    const double quarters = 4.0 / r.BeatUnit;
    for (std::int64_t f = s.block; f < s.frames; f += s.block) {
      const double beats = static_cast<double>(f) * r.Bpm / 60.0 / 48000.0 / quarters;
      const double whole = std::floor(beats);
      r.Bar = static_cast<std::int64_t>(whole / r.BeatsPerBar);
      r.BarBeat = whole - static_cast<double>(r.Bar) * r.BeatsPerBar + (beats - whole) * quarters;
      r.Frame = f;
      s.repeats.emplace_back(f, r);
    }
  }
  return scripts;
}

INSTANTIATE_TEST_SUITE_P(Scripts, Lv2PlaysLikeVst2, ::testing::ValuesIn(Scripts()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vornix::testing::lv2
