#include "render/MidiFile.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <stdexcept>

namespace vornix::render {

namespace {

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

bool IsChannelMessage(std::uint8_t status) { return status >= 0x80 && status < 0xF0; }

}  // namespace

int MessageLength(std::uint8_t status) {
  if (status < 0x80) return 0;
  switch (status & 0xF0) {
    case 0xC0:
    case 0xD0: return 2;
    case 0xF0: return status == 0xF1 || status == 0xF3 ? 2 : status == 0xF2 ? 3 : 1;
    default: return 3;
  }
}

void AppendVariableLength(std::vector<std::uint8_t>& out, std::uint32_t value) {
  if (value > 0x0FFFFFFF) throw std::length_error("MIDI file: a delta time is too long for the format");
  std::uint8_t groups[4];
  int n = 0;
  do {
    groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (n > 1) out.push_back(static_cast<std::uint8_t>(groups[--n] | 0x80));
  out.push_back(groups[0]);
}

std::vector<std::uint8_t> BuildMidiFile(const MidiFileContent& content) {
  if (content.ppq < 1 || content.ppq > 0x7FFF)
    throw std::invalid_argument("MIDI file: ticks per quarter note out of range");
  if (content.timeSigDenominator < 1 || !std::has_single_bit(static_cast<unsigned>(content.timeSigDenominator)))
    throw std::invalid_argument("MIDI file: the time signature's denominator must be a power of two");
  const long long microsPerQuarter = std::llround(60e6 / content.tempo);
  if (microsPerQuarter < 1 || microsPerQuarter > 0xFFFFFF) throw std::invalid_argument("MIDI file: tempo out of range");

  std::vector<MidiFileEvent> events = content.events;
  std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) { return a.tick < b.tick; });

  std::vector<std::uint8_t> track;
  // Tempo and time signature at tick 0.
  track.insert(track.end(), {0x00, 0xFF, 0x51, 0x03});
  AppendBigEndian(track, static_cast<std::uint32_t>(microsPerQuarter), 3);
  const int den = content.timeSigDenominator;
  track.insert(track.end(), {0x00, 0xFF, 0x58, 0x04, static_cast<std::uint8_t>(content.timeSigNumerator),
                             static_cast<std::uint8_t>(std::countr_zero(static_cast<unsigned>(den))),
                             static_cast<std::uint8_t>(std::max(1, 96 / den)),  // MIDI clocks per beat
                             0x08});                                            // 32nd notes per quarter

  std::int64_t now = 0;
  auto advanceTo = [&](std::int64_t tick) {
    const std::int64_t delta = std::max<std::int64_t>(tick - now, 0);
    if (delta > 0x0FFFFFFF) throw std::length_error("MIDI file: a delta time is too long for the format");
    AppendVariableLength(track, static_cast<std::uint32_t>(delta));
    now += delta;
  };
  for (const auto& e : events) {
    advanceTo(e.tick);
    const std::uint8_t bytes[3] = {e.status, e.data1, e.data2};
    const int length = MessageLength(e.status);
    const bool clean =
        IsChannelMessage(e.status) && std::all_of(bytes + 1, bytes + length, [](std::uint8_t b) { return b < 0x80; });
    if (clean) {
      track.insert(track.end(), bytes, bytes + length);
    } else {
      track.insert(track.end(), {0xF7, 0x03});
      track.insert(track.end(), bytes, bytes + 3);
    }
  }
  advanceTo(std::max(content.endTick, now));
  track.insert(track.end(), {0xFF, 0x2F, 0x00});

  std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1};
  AppendBigEndian(file, static_cast<std::uint32_t>(content.ppq), 2);
  file.insert(file.end(), {'M', 'T', 'r', 'k'});
  AppendBigEndian(file, static_cast<std::uint32_t>(track.size()), 4);
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

}  // namespace vornix::render
