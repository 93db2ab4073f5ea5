// The host time line of a render: lengths, time information per block, MIDI file ticks.
#include "render/Transport.h"

#include <gtest/gtest.h>

namespace vornix::render {
namespace {

using namespace vst;

TEST(Transport, TicksComeFromTheSamplePositionExactly) {
  const struct {
    std::int64_t sample;
    double tempo;
    int ppq;
    double sampleRate;
    std::int64_t tick;
  } cases[] = {
      {0, 120, 960, 44100, 0},
      {22050, 120, 960, 44100, 960},  // one quarter note
      {33075, 120, 960, 44100, 1440},
      {689, 120, 960, 44100, 30},  // a 1/128 note, to the nearest sample
      {11, 120, 960, 44100, 0},    // 0.479 ticks
      {12, 120, 960, 44100, 1},    // 0.522 ticks
      {1, 60, 1, 2, 1},            // exactly half a tick rounds up
      {3, 60, 1, 2, 2},            // and so does 1.5
      {48000, 140, 480, 48000, 1120},
      {2646000, 93.7, 960, 44100, 89952},  // one minute at a tempo with a fraction
      {441000000, 120, 960, 44100, 19200000},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TickAt(c.sample, c.tempo, c.ppq, c.sampleRate), c.tick)
        << c.sample << " @ " << c.tempo << " BPM, " << c.ppq << " PPQ, " << c.sampleRate << " Hz";
}

TEST(Transport, LengthInSamples) {
  const struct {
    double length;
    LengthUnit unit;
    double tempo;
    int numerator, denominator;
    double sampleRate;
    std::int64_t samples;
  } cases[] = {
      {2, LengthUnit::Bars, 120, 4, 4, 44100, 176400},
      {1, LengthUnit::Bars, 120, 6, 8, 44100, 66150},  // 3 quarter notes
      {0.5, LengthUnit::Bars, 90, 7, 4, 48000, 112000},
      {2, LengthUnit::Bars, 93, 4, 4, 48000, 247742},  // 247741.9… rounds
      {1.5, LengthUnit::Seconds, 120, 4, 4, 48000, 72000},
      {1e-9, LengthUnit::Seconds, 120, 4, 4, 44100, 1},  // never nothing at all
  };
  for (const auto& c : cases) {
    Options o;
    o.length = c.length;
    o.lengthUnit = c.unit;
    o.tempo = c.tempo;
    o.timeSigNumerator = c.numerator;
    o.timeSigDenominator = c.denominator;
    o.sampleRate = c.sampleRate;
    EXPECT_EQ(Transport(o).LengthInSamples(), c.samples) << c.length << (c.unit == LengthUnit::Bars ? " bars" : " s");
  }
}

TEST(Transport, TimeInfoOfEachBlock) {
  Options o;
  o.tempo = 90.0;
  o.sampleRate = 48000.0;
  o.timeSigNumerator = 3;
  o.timeSigDenominator = 8;
  o.start = -1.0;  // one quarter note of pre-roll: 32000 samples
  const Transport t(o);

  const VstTimeInfo first = t.TimeInfoAt(0);
  EXPECT_EQ(first.flags,
            kVstTransportChanged | kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid | kVstTimeSigValid);
  EXPECT_EQ(first.ppqPos, -1.0);
  EXPECT_EQ(first.samplePos, -32000.0);
  EXPECT_EQ(first.sampleRate, 48000.0);
  EXPECT_EQ(first.tempo, 90.0);
  EXPECT_EQ(first.timeSigNumerator, 3);
  EXPECT_EQ(first.timeSigDenominator, 8);

  const VstTimeInfo later = t.TimeInfoAt(56000);
  EXPECT_EQ(later.flags, kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid | kVstTimeSigValid);
  EXPECT_DOUBLE_EQ(later.ppqPos, 0.75);
  EXPECT_EQ(later.samplePos, 24000.0);
  EXPECT_EQ(later.tempo, 90.0);

  // Far into a render the position is still computed afresh, not summed up block by block.
  EXPECT_DOUBLE_EQ(t.TimeInfoAt(48000LL * 3600).ppqPos, -1.0 + 90.0 * 60);
  EXPECT_DOUBLE_EQ(t.QuarterNotesAt(16000), -0.5);
  EXPECT_DOUBLE_EQ(t.SampleAt(2.0), 96000.0);
}

}  // namespace
}  // namespace vornix::render
