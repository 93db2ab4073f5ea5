// The MIDI file writer, byte for byte.
#include "render/MidiFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vornix::render {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAreArray;

Bytes Track(const Bytes& file) { return Bytes(file.begin() + 22, file.end()); }

TEST(MidiFile, TinyFileHasExactBytes) {
  MidiFileContent c;
  c.ppq = 96;
  c.tempo = 120.0;
  c.timeSigNumerator = 3;
  c.timeSigDenominator = 4;
  // Out of order on purpose; the two events at tick 200 must keep their order.
  c.events = {{200, 0x90, 0x3C, 0x64}, {200, 0xC0, 0x05, 0x00}, {0, 0xB0, 0x14, 0x3F}};
  c.endTick = 200 + 0x4000;
  const Bytes expected = {
      'M',  'T',  'h',  'd',  0,    0,    0,    6,    0,
      0,    0,    1,    0x00, 0x60,  // format 0, one track, 96 ticks per quarter
      'M',  'T',  'r',  'k',  0,    0,    0,    33,   0x00,
      0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,                    // 500000 µs per quarter
      0x00, 0xFF, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08,        // 3/4, 24 clocks per beat, 8 32nds per quarter
      0x00, 0xB0, 0x14, 0x3F, 0x81, 0x48, 0x90, 0x3C, 0x64,  // delta 200
      0x00, 0xC0, 0x05,                                      // two-byte message, no running status
      0x81, 0x80, 0x00, 0xFF, 0x2F, 0x00,                    // end of track 0x4000 ticks later
  };
  EXPECT_THAT(BuildMidiFile(c), ElementsAreArray(expected));
}

TEST(MidiFile, VariableLengthQuantities) {
  const struct {
    std::uint32_t value;
    Bytes bytes;
  } cases[] = {
      {0, {0x00}},
      {0x40, {0x40}},
      {0x7F, {0x7F}},
      {0x80, {0x81, 0x00}},
      {0x2000, {0xC0, 0x00}},
      {0x3FFF, {0xFF, 0x7F}},
      {0x4000, {0x81, 0x80, 0x00}},
      {0x1FFFFF, {0xFF, 0xFF, 0x7F}},
      {0x200000, {0x81, 0x80, 0x80, 0x00}},
      {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
  };
  for (const auto& c : cases) {
    Bytes out;
    AppendVariableLength(out, c.value);
    EXPECT_THAT(out, ElementsAreArray(c.bytes)) << c.value;
  }
  Bytes out;
  EXPECT_THROW(AppendVariableLength(out, 0x10000000), std::length_error);
}

TEST(MidiFile, TimeSignatureAndTempoMetaEvents) {
  const struct {
    double tempo;
    int numerator, denominator;
    Bytes meta;  // tempo data, then time-signature data
  } cases[] = {
      {120.0, 4, 4, {0x07, 0xA1, 0x20, 0x04, 0x02, 0x18, 0x08}},
      {93.0, 6, 8, {0x09, 0xD8, 0x29, 0x06, 0x03, 0x0C, 0x08}},  // 645161.29 µs rounds down
      {250.0, 7, 16, {0x03, 0xA9, 0x80, 0x07, 0x04, 0x06, 0x08}},
      {60.0, 2, 1, {0x0F, 0x42, 0x40, 0x02, 0x00, 0x60, 0x08}},
  };
  for (const auto& c : cases) {
    MidiFileContent content;
    content.tempo = c.tempo;
    content.timeSigNumerator = c.numerator;
    content.timeSigDenominator = c.denominator;
    const Bytes track = Track(BuildMidiFile(content));
    const Bytes meta = {track[4], track[5], track[6], track[11], track[12], track[13], track[14]};
    EXPECT_THAT(meta, ElementsAreArray(c.meta)) << c.tempo << " " << c.numerator << "/" << c.denominator;
  }
}

TEST(MidiFile, EverythingButCleanChannelMessagesIsEscaped) {
  MidiFileContent c;
  c.events = {{0, 0xF8, 0x00, 0x00},   // clock: a system message
              {0, 0xB0, 0x14, 0x80},   // data byte above 127
              {0, 0x3F, 0x00, 0x00},   // no status byte
              {0, 0xD3, 0x40, 0x99}};  // the unused third byte of a two-byte message does not matter
  const Bytes track = Track(BuildMidiFile(c));
  const Bytes events(track.begin() + 15, track.end());
  EXPECT_THAT(events, ElementsAreArray(Bytes{0x00, 0xF7, 0x03, 0xF8, 0x00, 0x00,  //
                                             0x00, 0xF7, 0x03, 0xB0, 0x14, 0x80,  //
                                             0x00, 0xF7, 0x03, 0x3F, 0x00, 0x00,  //
                                             0x00, 0xD3, 0x40,                    //
                                             0x00, 0xFF, 0x2F, 0x00}));
}

TEST(MidiFile, TrackEndsAtTheLastEventWhenThatIsLater) {
  MidiFileContent c;
  c.events = {{10, 0x90, 0x3C, 0x64}};
  c.endTick = 5;
  const Bytes track = Track(BuildMidiFile(c));
  EXPECT_THAT(Bytes(track.end() - 8, track.end()),
              ElementsAreArray(Bytes{0x0A, 0x90, 0x3C, 0x64, 0x00, 0xFF, 0x2F, 0x00}));
}

TEST(MidiFile, RefusesWhatTheFormatCannotSay) {
  const auto with = [](auto change) {
    MidiFileContent c;
    change(c);
    return c;
  };
  EXPECT_THROW(BuildMidiFile(with([](auto& c) { c.timeSigDenominator = 3; })), std::invalid_argument);
  EXPECT_THROW(BuildMidiFile(with([](auto& c) { c.ppq = 0x8000; })), std::invalid_argument);
  EXPECT_THROW(BuildMidiFile(with([](auto& c) { c.tempo = 3.0; })), std::invalid_argument);
  EXPECT_THROW(BuildMidiFile(with([](auto& c) { c.events = {{0x10000000, 0x90, 1, 1}}; })), std::length_error);
}

TEST(MidiFile, MessageLengths) {
  const std::pair<std::uint8_t, int> cases[] = {{0x00, 0}, {0x7F, 0}, {0x80, 3}, {0x9F, 3}, {0xA0, 3},
                                                {0xB5, 3}, {0xC0, 2}, {0xDF, 2}, {0xE0, 3}, {0xF1, 2},
                                                {0xF2, 3}, {0xF3, 2}, {0xF6, 1}, {0xF8, 1}, {0xFF, 1}};
  for (const auto& [status, length] : cases) EXPECT_EQ(MessageLength(status), length) << int(status);
}

}  // namespace
}  // namespace vornix::render
