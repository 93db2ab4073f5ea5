// The host's time line during a render: where each block starts, what the plug-in is told about it,
// and how sample positions map to quarter notes and MIDI file ticks.
#pragma once

#include <cstdint>

#include "host/VstAbi.h"
#include "render/Options.h"

namespace vornix::render {

class Transport {
 public:
  explicit Transport(const Options& options);

  // Samples in the whole render (at least 1 for any valid command line).
  std::int64_t LengthInSamples() const { return length_; }
  // Host position in quarter notes of a sample counted from the first rendered one.
  double QuarterNotesAt(double sample) const;
  // The sample (counted as above, not rounded) at a host position.
  double SampleAt(double quarterNotes) const;
  // What the plug-in gets from audioMasterGetTime for the block starting at that sample.
  vst::VstTimeInfo TimeInfoAt(std::int64_t blockStart) const;

 private:
  double tempo_, sampleRate_, start_;
  int numerator_, denominator_;
  std::int64_t length_;
};

// A sample position as a MIDI file tick: round(sample × tempo / 60 × ppq / sample rate), halves
// away from zero. Computed in one division so that positions that fall on a tick come out exact.
std::int64_t TickAt(std::int64_t sample, double tempo, int ppq, double sampleRate);

}  // namespace vornix::render
