// The URIs the plug-in reads and writes, mapped once per instance.
#pragma once

#include <lv2/urid/urid.h>

namespace vornix::formats::lv2 {

struct TUrids {
  explicit TUrids(const LV2_URID_Map& map);

  LV2_URID AtomBlank, AtomObject, AtomSequence, AtomChunk;
  LV2_URID AtomInt, AtomLong, AtomFloat, AtomDouble;
  LV2_URID MidiEvent;
  LV2_URID TimePosition, TimeSpeed, TimeBeatsPerMinute, TimeBeatsPerBar, TimeBeatUnit, TimeBar, TimeBarBeat, TimeBeat,
      TimeFrame;
  LV2_URID StateChanged;
  LV2_URID StateKey;
};

}  // namespace vornix::formats::lv2
