// The host's transport as LV2 hosts report it, turned into the VST 2.x time information the module
// reads. Hosts send a time:Position object only where the transport does not move on by itself
// (start, stop, a seek, a loop, a tempo or meter change), so between two the position advances
// with the frames played, from the last report (never summed block by block). Some hosts (Ardour)
// report at every block while the transport rolls on: such a report, at the frame the transport
// has reached with the same speed, tempo and meter, says nothing new, and the count since the last
// one stands (its bar and beat are single floats, and Ardour 7 writes the beat within the bar
// wrongly whenever the beat unit is not a quarter note).
//
// The tempo is taken in quarter notes per minute, as Ardour sends it and as VST 2.x hosts report
// it, whatever the meter's beat unit: in 6/8 at 90, Ardour reports 90 and the VST 2.x build plays
// 90 quarter notes a minute. (LV2's own words count it in beat units; the two agree whenever the
// beat is a quarter note.) Bars and beats are the meter's.
#pragma once

#include <cstdint>
#include <optional>

#include "host/VstAbi.h"

namespace vornix::formats::lv2 {

// What one time:Position object says; a host sends only the properties it knows.
struct TPosition {
  std::optional<double> Speed;           // 0 stopped, 1 rolling
  std::optional<double> BeatsPerMinute;  // quarter notes per minute
  std::optional<double> BeatsPerBar;
  std::optional<int> BeatUnit;      // 4: a quarter note
  std::optional<std::int64_t> Bar;  // from 0
  std::optional<double> BarBeat;    // beats into the bar
  std::optional<double> Beat;       // beats from the start, when the host counts no bars
  std::optional<std::int64_t> Frame;
};

class TTransport {
 public:
  explicit TTransport(double sampleRate) : sampleRate_(sampleRate) {}

  // The report applies from the current frame on.
  void Take(const TPosition& position);
  // The time information at the current frame; null until the host has named a tempo.
  const vst::VstTimeInfo* Time();
  // The transport moves on by `frames` (it stands still when stopped).
  void Advance(std::uint32_t frames) { elapsed_ += frames; }

 private:
  // Quarter notes from the start, now.
  double Quarters() const;
  std::int64_t Frame() const;
  // The report says what the transport has come to by itself.
  bool Continues(const TPosition& position) const;
  bool Rolling() const { return speed_ > 0.0; }

  double sampleRate_;
  bool reported_ = false;
  double speed_ = 0.0;
  double bpm_ = 0.0;
  double beatsPerBar_ = 4.0;
  int numerator_ = 4;  // beats per bar, whole
  int beatUnit_ = 4;
  // The last report's position and frame, and the frames played since.
  double anchorQuarters_ = 0.0;
  std::int64_t anchorFrame_ = 0;
  std::int64_t elapsed_ = 0;
  vst::VstTimeInfo time_{};
};

}  // namespace vornix::formats::lv2
