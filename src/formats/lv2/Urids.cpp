#include "formats/lv2/Urids.h"

#include <lv2/atom/atom.h>
#include <lv2/midi/midi.h>
#include <lv2/state/state.h>
#include <lv2/time/time.h>

#include "formats/lv2/Ports.h"

namespace vornix::formats::lv2 {

namespace {

LV2_URID Map(const LV2_URID_Map& map, const char* uri) { return map.map(map.handle, uri); }

}  // namespace

TUrids::TUrids(const LV2_URID_Map& map)
    : AtomBlank(Map(map, LV2_ATOM__Blank)),
      AtomObject(Map(map, LV2_ATOM__Object)),
      AtomSequence(Map(map, LV2_ATOM__Sequence)),
      AtomChunk(Map(map, LV2_ATOM__Chunk)),
      AtomInt(Map(map, LV2_ATOM__Int)),
      AtomLong(Map(map, LV2_ATOM__Long)),
      AtomFloat(Map(map, LV2_ATOM__Float)),
      AtomDouble(Map(map, LV2_ATOM__Double)),
      MidiEvent(Map(map, LV2_MIDI__MidiEvent)),
      TimePosition(Map(map, LV2_TIME__Position)),
      TimeSpeed(Map(map, LV2_TIME__speed)),
      TimeBeatsPerMinute(Map(map, LV2_TIME__beatsPerMinute)),
      TimeBeatsPerBar(Map(map, LV2_TIME__beatsPerBar)),
      TimeBeatUnit(Map(map, LV2_TIME__beatUnit)),
      TimeBar(Map(map, LV2_TIME__bar)),
      TimeBarBeat(Map(map, LV2_TIME__barBeat)),
      TimeBeat(Map(map, LV2_TIME__beat)),
      TimeFrame(Map(map, LV2_TIME__frame)),
      StateChanged(Map(map, LV2_STATE__StateChanged)),
      StateKey(Map(map, kStateUri)) {}

}  // namespace vornix::formats::lv2
