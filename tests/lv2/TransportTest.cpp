// The host's transport reports as the module's time information: the position moves on with the
// frames from the last report, in quarter notes whatever the beat unit (the tempo too, as Ardour
// reports it), and stands when stopped.
#include <gtest/gtest.h>

#include "Atoms.h"
#include "formats/lv2/Events.h"
#include "formats/lv2/Transport.h"

namespace vornix::testing::lv2 {
namespace {

using formats::lv2::TPosition;
using formats::lv2::TTransport;

TPosition Report(double speed, double bpm, double perBar, int unit, std::int64_t bar, double barBeat) {
  TPosition p;
  p.Speed = speed;
  p.BeatsPerMinute = bpm;
  p.BeatsPerBar = perBar;
  p.BeatUnit = unit;
  p.Bar = bar;
  p.BarBeat = barBeat;
  return p;
}

TEST(Lv2Transport, NoTimeUntilTheHostNamesATempo) {
  TTransport t(48000.0);
  EXPECT_EQ(t.Time(), nullptr);
  TPosition frameOnly;
  frameOnly.Frame = 1000;
  frameOnly.Speed = 1.0;
  t.Take(frameOnly);
  EXPECT_EQ(t.Time(), nullptr);
}

TEST(Lv2Transport, ReportsBecomeTimeInformationInQuarterNotes) {
  struct TCase {
    const char* what;
    TPosition report;
    std::uint32_t framesLater;
    double ppq, tempo, barStart;
    int numerator, denominator;
    bool playing;
  };
  const TCase cases[] = {
      {"4/4 at 120, bar 3 beat 2", Report(1, 120, 4, 4, 2, 1.0), 0, 9.0, 120, 8.0, 4, 4, true},
      {"a second later", Report(1, 120, 4, 4, 2, 1.0), 48000, 11.0, 120, 8.0, 4, 4, true},
      {"into the next bar", Report(1, 120, 4, 4, 2, 1.0), 4 * 48000, 17.0, 120, 16.0, 4, 4, true},
      {"stopped: the position stands", Report(0, 120, 4, 4, 2, 1.0), 48000, 9.0, 120, 8.0, 4, 4, false},
      {"6/8: eighths are half quarters", Report(1, 120, 6, 8, 1, 3.0), 0, 4.5, 120, 3.0, 6, 8, true},
      {"6/8 half a second later", Report(1, 120, 6, 8, 1, 3.0), 24000, 5.5, 120, 3.0, 6, 8, true},
      {"6/8 into the next bar", Report(1, 120, 6, 8, 1, 3.0), 48000, 6.5, 120, 6.0, 6, 8, true},
      {"3/4 at 90", Report(1, 90, 3, 4, 0, 0.0), 32000, 1.0, 90, 0.0, 3, 4, true},
      {"half speed moves at half the tempo", Report(0.5, 120, 4, 4, 0, 0.0), 48000, 1.0, 60, 0.0, 4, 4, true},
      {"before the start (a count-in)", Report(1, 120, 4, 4, -1, 2.0), 0, -2.0, 120, -4.0, 4, 4, true},
  };
  for (const TCase& c : cases) {
    TTransport t(48000.0);
    t.Take(c.report);
    t.Advance(c.framesLater);
    const vst::VstTimeInfo* time = t.Time();
    ASSERT_NE(time, nullptr) << c.what;
    EXPECT_DOUBLE_EQ(time->ppqPos, c.ppq) << c.what;
    EXPECT_DOUBLE_EQ(time->tempo, c.tempo) << c.what;
    EXPECT_DOUBLE_EQ(time->barStartPos, c.barStart) << c.what;
    EXPECT_EQ(time->timeSigNumerator, c.numerator) << c.what;
    EXPECT_EQ(time->timeSigDenominator, c.denominator) << c.what;
    EXPECT_EQ((time->flags & vst::kVstTransportPlaying) != 0, c.playing) << c.what;
    EXPECT_NE(time->flags & vst::kVstTimeSigValid, 0) << c.what;
    EXPECT_EQ(time->sampleRate, 48000.0) << c.what;
  }
}

// A report with only some properties changes those from where the transport is: a tempo change
// keeps the position reached, a stop keeps it, a report of a bar's beat keeps the bar.
TEST(Lv2Transport, PartialReportsChangeWhatTheyNameFromWhereTheTransportIs) {
  TTransport t(48000.0);
  t.Take(Report(1, 120, 4, 4, 0, 0.0));
  t.Advance(48000);  // 2 quarters
  TPosition faster;
  faster.BeatsPerMinute = 240.0;
  t.Take(faster);
  t.Advance(48000);  // 4 more
  EXPECT_DOUBLE_EQ(t.Time()->ppqPos, 6.0);
  EXPECT_DOUBLE_EQ(t.Time()->tempo, 240.0);

  TPosition stop;
  stop.Speed = 0.0;
  t.Take(stop);
  t.Advance(96000);
  EXPECT_DOUBLE_EQ(t.Time()->ppqPos, 6.0);
  EXPECT_EQ(t.Time()->flags & vst::kVstTransportPlaying, 0);

  TPosition beatOnly;
  beatOnly.BarBeat = 3.0;
  t.Take(beatOnly);  // bar 1 (ppq 4..8) stays
  EXPECT_DOUBLE_EQ(t.Time()->ppqPos, 7.0);

  TPosition beats;
  beats.Beat = 10.0;  // a host that counts no bars
  t.Take(beats);
  EXPECT_DOUBLE_EQ(t.Time()->ppqPos, 10.0);

  TPosition nonsense;
  nonsense.BeatUnit = 0;
  nonsense.BeatsPerBar = -3.0;
  t.Take(nonsense);
  EXPECT_EQ(t.Time()->timeSigNumerator, 4);
  EXPECT_EQ(t.Time()->timeSigDenominator, 4);
}

// A host that reports at every block while rolling on (Ardour) says nothing new: the count stands,
// however the report rounds the beat. A jump of the frame, or another tempo, speed or meter, counts.
TEST(Lv2Transport, ReportsOfAHostRollingOnChangeNothing) {
  TTransport t(48000.0);
  TPosition first = Report(1, 90, 6, 8, 0, 0.0);
  first.Frame = 0;
  t.Take(first);
  t.Advance(32000);                               // 1 quarter note at 90
  TPosition again = Report(1, 90, 6, 8, 0, 1.5);  // Ardour 7 says 1.5 for the second eighth's end
  again.Frame = 32000;
  t.Take(again);
  EXPECT_DOUBLE_EQ(t.Time()->ppqPos, 1.0);
  t.Advance(32000);
  EXPECT_DOUBLE_EQ(t.Time()->ppqPos, 2.0);

  TPosition loop = Report(1, 90, 6, 8, 0, 0.0);
  loop.Frame = 0;  // back to the start
  t.Take(loop);
  EXPECT_DOUBLE_EQ(t.Time()->ppqPos, 0.0);
  t.Advance(32000);
  TPosition faster = Report(1, 120, 6, 8, 0, 2.0);
  faster.Frame = 32000;  // rolling on, at another tempo: the report's position counts
  t.Take(faster);
  EXPECT_DOUBLE_EQ(t.Time()->ppqPos, 1.0);
  EXPECT_DOUBLE_EQ(t.Time()->tempo, 120.0);

  TPosition stopped = Report(0, 120, 6, 8, 0, 2.0);
  stopped.Frame = 32000;
  t.Take(stopped);
  EXPECT_EQ(t.Time()->flags & vst::kVstTransportPlaying, 0);
}

// The input's atoms: channel messages of one to three bytes are MIDI the module takes; system
// messages are not. A position's properties come in whatever number type the host writes.
TEST(Lv2Events, MidiAndPositionsAreReadFromTheirAtoms) {
  TUridMap map;
  const formats::lv2::TUrids urids(*map.MapFeature());
  TInput in(map);
  in.Midi(5, {0x91, 60, 100});
  in.Midi(6, {0xC2, 7});
  in.Midi(7, {0xF8});
  in.Midi(8, {0xF0, 0x7E, 0xF7});
  LV2_Atom_Forge& forge = in.Forge();
  lv2_atom_forge_frame_time(&forge, 9);
  LV2_Atom_Forge_Frame object;
  lv2_atom_forge_object(&forge, &object, 0, map.Map(LV2_TIME__Position));
  lv2_atom_forge_key(&forge, map.Map(LV2_TIME__bar));
  lv2_atom_forge_int(&forge, 3);
  lv2_atom_forge_key(&forge, map.Map(LV2_TIME__barBeat));
  lv2_atom_forge_double(&forge, 1.25);
  lv2_atom_forge_key(&forge, map.Map(LV2_TIME__beatsPerMinute));
  lv2_atom_forge_long(&forge, 100);
  lv2_atom_forge_key(&forge, map.Map(LV2_TIME__beatUnit));
  lv2_atom_forge_float(&forge, 8.0f);
  lv2_atom_forge_pop(&forge, &object);

  std::vector<std::array<int, 4>> midi;
  std::vector<TPosition> positions;
  LV2_ATOM_SEQUENCE_FOREACH(in.Sequence(), ev) {
    vst::VstMidiEvent e{};
    TPosition p;
    if (formats::lv2::ReadMidi(ev->body, urids, static_cast<int>(ev->time.frames), e))
      midi.push_back({e.deltaFrames, static_cast<std::uint8_t>(e.midiData[0]), e.midiData[1], e.midiData[2]});
    else if (formats::lv2::ReadPosition(ev->body, urids, p))
      positions.push_back(p);
  }
  EXPECT_EQ(midi, (std::vector<std::array<int, 4>>{{5, 0x91, 60, 100}, {6, 0xC2, 7, 0}}));
  ASSERT_EQ(positions.size(), 1u);
  EXPECT_EQ(positions[0].Bar, 3);
  EXPECT_EQ(positions[0].BarBeat, 1.25);
  EXPECT_EQ(positions[0].BeatsPerMinute, 100.0);
  EXPECT_EQ(positions[0].BeatUnit, 8);
  EXPECT_FALSE(positions[0].Speed.has_value());
}

}  // namespace
}  // namespace vornix::testing::lv2
