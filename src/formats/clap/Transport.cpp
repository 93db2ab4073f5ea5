#include "formats/clap/Transport.h"

#include <cmath>

namespace vornix::formats::clapface {

using namespace clap;
using namespace vst;

// CLAP's beats are taken as quarter notes, the unit of a VST 2.x position and of a tempo in BPM.
bool TimeInfoAt(const clap_event_transport* transport, double sampleRate, std::int64_t frames, VstTimeInfo& time) {
  if (transport == nullptr) return false;
  const clap_event_transport& t = *transport;
  constexpr std::uint32_t kNeeded = CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_HAS_BEATS_TIMELINE;
  if ((t.flags & kNeeded) != kNeeded || !(sampleRate > 0.0)) return false;

  time = VstTimeInfo{};
  time.sampleRate = sampleRate;
  const bool playing = (t.flags & CLAP_TRANSPORT_IS_PLAYING) != 0;
  // A stopped transport stays where it is; a running one moves on, its tempo ramping by tempo_inc
  // per sample.
  const double moved = playing ? static_cast<double>(frames) : 0.0;
  const double tempo = t.tempo + t.tempo_inc * moved;
  time.tempo = tempo;
  time.ppqPos = FromFixedPoint(t.song_pos_beats) + moved / sampleRate * (t.tempo + tempo) / 2.0 / 60.0;
  if ((t.flags & CLAP_TRANSPORT_HAS_SECONDS_TIMELINE) != 0) {
    time.samplePos = FromFixedPoint(t.song_pos_seconds) * sampleRate + moved;
  } else if (tempo > 0.0) {
    time.samplePos = time.ppqPos * 60.0 / tempo * sampleRate;
  }
  time.flags = kVstTempoValid | kVstPpqPosValid | kVstBarsValid;
  if (playing) time.flags |= kVstTransportPlaying;
  if ((t.flags & CLAP_TRANSPORT_IS_RECORDING) != 0) time.flags |= kVstTransportRecording;

  time.barStartPos = FromFixedPoint(t.bar_start);
  if ((t.flags & CLAP_TRANSPORT_HAS_TIME_SIGNATURE) != 0) {
    // Passed on as they are: the module judges a signature as it judges a VST 2.x host's.
    time.timeSigNumerator = t.tsig_num;
    time.timeSigDenominator = t.tsig_denom;
    time.flags |= kVstTimeSigValid;
    if (t.tsig_num > 0 && t.tsig_denom > 0 && moved > 0.0) {
      const double bar = t.tsig_num * 4.0 / t.tsig_denom;
      const double bars = std::floor((time.ppqPos - time.barStartPos) / bar);
      if (bars > 0.0) time.barStartPos += bars * bar;
    }
  }
  if ((t.flags & CLAP_TRANSPORT_IS_LOOP_ACTIVE) != 0) {
    time.cycleStartPos = FromFixedPoint(t.loop_start_beats);
    time.cycleEndPos = FromFixedPoint(t.loop_end_beats);
    time.flags |= kVstTransportCycleActive | kVstCyclePosValid;
  }
  return true;
}

}  // namespace vornix::formats::clapface
