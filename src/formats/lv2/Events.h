// The atoms of the plug-in's input as the module takes them: MIDI messages as VST 2.x MIDI events,
// time:Position objects as transport reports.
#pragma once

#include <lv2/atom/atom.h>

#include "formats/lv2/Transport.h"
#include "formats/lv2/Urids.h"
#include "host/VstAbi.h"

namespace vornix::formats::lv2 {

// A channel message (the only kind the module takes) at `frame`; false for anything else.
bool ReadMidi(const LV2_Atom& atom, const TUrids& urids, int frame, vst::VstMidiEvent& event);
// The properties of a time:Position object; false when the atom is no such object.
bool ReadPosition(const LV2_Atom& atom, const TUrids& urids, TPosition& position);

}  // namespace vornix::formats::lv2
