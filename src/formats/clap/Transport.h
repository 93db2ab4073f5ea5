// The host's CLAP transport as the time information a VST 2.x host hands the module: tempo,
// position in quarter notes, bar start, time signature, the playing, recording and loop flags.
#pragma once

#include <cstdint>

#include "formats/clap/ClapAbi.h"
#include "host/VstAbi.h"

namespace vornix::formats::clapface {

// Where the transport stands `frames` samples after the moment `transport` describes. False when
// it gives no musical time the module can clock from (none at all, or no tempo or no beat
// position): the module then plays as under a VST 2.x host that answers no time.
bool TimeInfoAt(const clap::clap_event_transport* transport, double sampleRate, std::int64_t frames,
                vst::VstTimeInfo& time);

// CLAP's fixed point (value × 2^31) as a number of beats or seconds.
constexpr double FromFixedPoint(std::int64_t value) {
  return static_cast<double>(value) / static_cast<double>(clap::CLAP_BEATTIME_FACTOR);
}

}  // namespace vornix::formats::clapface
