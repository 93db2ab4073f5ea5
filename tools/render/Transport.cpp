#include "render/Transport.h"

#include <algorithm>
#include <cmath>

namespace vornix::render {

using namespace vst;

Transport::Transport(const Options& o)
    : tempo_(o.tempo),
      sampleRate_(o.sampleRate),
      start_(o.start),
      numerator_(o.timeSigNumerator),
      denominator_(o.timeSigDenominator) {
  const double seconds =
      o.lengthUnit == LengthUnit::Seconds ? o.length : o.length * numerator_ * 4.0 / denominator_ * 60.0 / tempo_;
  length_ = std::max<std::int64_t>(1, std::llround(seconds * sampleRate_));
}

double Transport::QuarterNotesAt(double sample) const { return start_ + sample * tempo_ / (60.0 * sampleRate_); }

double Transport::SampleAt(double quarterNotes) const { return (quarterNotes - start_) * 60.0 * sampleRate_ / tempo_; }

VstTimeInfo Transport::TimeInfoAt(std::int64_t blockStart) const {
  VstTimeInfo t{};
  t.samplePos = start_ * 60.0 * sampleRate_ / tempo_ + static_cast<double>(blockStart);
  t.sampleRate = sampleRate_;
  // From the block's own sample count rather than summed block lengths, so nothing drifts.
  t.ppqPos = QuarterNotesAt(static_cast<double>(blockStart));
  t.tempo = tempo_;
  t.timeSigNumerator = numerator_;
  t.timeSigDenominator = denominator_;
  t.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid | kVstTimeSigValid;
  if (blockStart == 0) t.flags |= kVstTransportChanged;
  return t;
}

std::int64_t TickAt(std::int64_t sample, double tempo, int ppq, double sampleRate) {
  return std::llround(static_cast<double>(sample) * tempo * ppq / (60.0 * sampleRate));
}

}  // namespace vornix::render
