// Standard MIDI File writer: one track (format 0) holding the tempo, the time signature and the events.
#pragma once

#include <cstdint>
#include <vector>

namespace vornix::render {

struct MidiFileEvent {
  std::int64_t tick;
  std::uint8_t status, data1, data2;
};

struct MidiFileContent {
  int ppq = 960;  // 1..32767
  double tempo = 120.0;
  int timeSigNumerator = 4;
  int timeSigDenominator = 4;         // a power of two
  std::vector<MidiFileEvent> events;  // any order; equal ticks keep their order
  std::int64_t endTick = 0;           // where the track ends, unless an event comes later
};

// The bytes of the file. Channel messages are written with their own length and no running status;
// anything else (system messages, data bytes above 127) goes into an escape event (F7) as all three
// bytes, so the file stays readable and still shows exactly what was sent.
std::vector<std::uint8_t> BuildMidiFile(const MidiFileContent& content);

// Bytes in a MIDI message with this status byte (1..3); 0 for a data byte.
int MessageLength(std::uint8_t status);

// Variable-length quantity, as delta times and meta lengths use it; value below 2^28.
void AppendVariableLength(std::vector<std::uint8_t>& out, std::uint32_t value);

}  // namespace vornix::render
