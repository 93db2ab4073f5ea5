#include "formats/lv2/Transport.h"

#include <algorithm>
#include <cmath>

namespace vornix::formats::lv2 {

namespace {

// Meters beyond these are no music a host plays; such a report keeps the meter as it was.
constexpr int kMaxBeatUnit = 256;
constexpr double kMaxBeatsPerBar = 1024.0;

}  // namespace

double TTransport::Quarters() const {
  if (!Rolling() || !(bpm_ > 0.0)) return anchorQuarters_;
  return anchorQuarters_ + static_cast<double>(elapsed_) * speed_ * bpm_ / 60.0 / sampleRate_;
}

std::int64_t TTransport::Frame() const {
  return anchorFrame_ + (Rolling() ? std::llround(static_cast<double>(elapsed_) * speed_) : 0);
}

bool TTransport::Continues(const TPosition& p) const {
  const auto same = [](const auto& reported, const auto& value) { return !reported || *reported == value; };
  return reported_ && Rolling() && p.Frame && *p.Frame == Frame() && same(p.Speed, speed_) &&
         same(p.BeatsPerMinute, bpm_) && same(p.BeatsPerBar, beatsPerBar_) && same(p.BeatUnit, beatUnit_);
}

void TTransport::Take(const TPosition& p) {
  if (Continues(p)) return;
  reported_ = true;
  // Whatever changes, it changes from here: the position so far is kept as the new anchor.
  anchorQuarters_ = Quarters();
  anchorFrame_ = Frame();
  elapsed_ = 0;
  if (p.BeatUnit && *p.BeatUnit > 0 && *p.BeatUnit <= kMaxBeatUnit) beatUnit_ = *p.BeatUnit;
  if (p.BeatsPerBar && *p.BeatsPerBar > 0.0 && *p.BeatsPerBar <= kMaxBeatsPerBar) {
    beatsPerBar_ = *p.BeatsPerBar;
    numerator_ = std::max(1, static_cast<int>(std::lround(beatsPerBar_)));
  }
  if (p.BeatsPerMinute && std::isfinite(*p.BeatsPerMinute)) bpm_ = *p.BeatsPerMinute;
  if (p.Speed && std::isfinite(*p.Speed)) speed_ = *p.Speed;
  const double quarters = 4.0 / beatUnit_;  // quarter notes per beat
  if (p.Bar || p.BarBeat) {
    const double bar = p.Bar ? static_cast<double>(*p.Bar) : std::floor(anchorQuarters_ / quarters / beatsPerBar_);
    anchorQuarters_ = (bar * beatsPerBar_ + (p.BarBeat ? *p.BarBeat : 0.0)) * quarters;
  } else if (p.Beat) {
    anchorQuarters_ = *p.Beat * quarters;
  }
  if (p.Frame) anchorFrame_ = *p.Frame;
}

const vst::VstTimeInfo* TTransport::Time() {
  if (!(bpm_ > 0.0) || !(sampleRate_ > 0.0)) return nullptr;
  const double ppq = Quarters();
  const double quarters = 4.0 / beatUnit_;  // quarter notes per beat
  time_ = {};
  time_.samplePos = static_cast<double>(anchorFrame_) + (Rolling() ? static_cast<double>(elapsed_) * speed_ : 0.0);
  time_.sampleRate = sampleRate_;
  time_.ppqPos = ppq;
  // The tempo the position moves at, so that steps inside a block fall where the position will be.
  time_.tempo = bpm_ * (Rolling() ? speed_ : 1.0);
  time_.barStartPos = std::floor(ppq / quarters / beatsPerBar_) * beatsPerBar_ * quarters;
  time_.timeSigNumerator = numerator_;
  time_.timeSigDenominator = beatUnit_;
  time_.flags = vst::kVstTempoValid | vst::kVstPpqPosValid | vst::kVstBarsValid | vst::kVstTimeSigValid;
  if (Rolling()) time_.flags |= vst::kVstTransportPlaying;
  return &time_;
}

}  // namespace vornix::formats::lv2
