#include <gtest/gtest.h>

#include <cmath>

#include "sequencer/OrvMidi.h"

namespace vornix::sequencer {
namespace {

TEST(OrvMidi, NoteRateTableIsPowersOfTwoOfAQuarter) {
  for (int r = 0; r <= 13; ++r) EXPECT_DOUBLE_EQ(NoteRateToBeats(r, 4, 4), std::ldexp(1.0, r - 6)) << r;
}

TEST(OrvMidi, NoteLengths) {
  struct Case {
    int rate, type, num, den;
    double beats;
  };
  const Case cases[] = {
      {6, 1, 4, 4, 1.0},                            // "1/4"
      {8, 1, 3, 4, 3.0},                            // "1/1" lasts a bar of 3/4
      {8, 1, 6, 8, 3.0},                            // and of 6/8
      {8, 1, 7, 8, 3.5},                            // and of 7/8
      {9, 1, 3, 4, 6.0},                            // "2/1" two bars
      {7, 1, 3, 4, 2.0},                            // "1/2" is not scaled
      {4, 1, 7, 8, 0.25},                           // nor "1/16"
      {6, 0, 4, 4, 2.0 / 3.0},                      // "1/4" triplet
      {5, 2, 4, 4, 0.75},                           // "1/8" dotted
      {13, 1, 4, 4, 128.0},                         // "32/1"
      {1, 1, 4, 4, 1.0 / 32.0},                     // "1/128"
      {1, 0, 4, 4, 1.0 / 48.0}, {6, 3, 4, 4, 0.0},  // unknown type
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(NoteLengthInBeats(c.rate, c.type, c.num, c.den), c.beats)
        << c.rate << " " << c.type << " " << c.num << "/" << c.den;
}

TEST(OrvMidi, ConversionsBetweenBeatsAndSamples) {
  EXPECT_DOUBLE_EQ(BeatsToSamples(44100, 120, 1), 22050);
  EXPECT_NEAR(SamplesToBeats(44100, 120, 512), 0.023220, 1e-6);
  EXPECT_DOUBLE_EQ(SamplesToBeats(48000, 120, 512), 512.0 / 24000.0);
  EXPECT_DOUBLE_EQ(BeatsToSamples(48000, 90, SamplesToBeats(48000, 90, 777)), 777);
}

}  // namespace
}  // namespace vornix::sequencer
