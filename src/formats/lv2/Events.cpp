#include "formats/lv2/Events.h"

#include <lv2/atom/util.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace vornix::formats::lv2 {

namespace {

// A number of any of the atom types hosts use for the transport's properties.
std::optional<double> Number(const LV2_Atom* atom, const TUrids& u) {
  if (atom == nullptr) return std::nullopt;
  double value = 0.0;
  if (atom->type == u.AtomInt && atom->size >= sizeof(int32_t))
    value = reinterpret_cast<const LV2_Atom_Int*>(atom)->body;
  else if (atom->type == u.AtomLong && atom->size >= sizeof(int64_t))
    value = static_cast<double>(reinterpret_cast<const LV2_Atom_Long*>(atom)->body);
  else if (atom->type == u.AtomFloat && atom->size >= sizeof(float))
    value = reinterpret_cast<const LV2_Atom_Float*>(atom)->body;
  else if (atom->type == u.AtomDouble && atom->size >= sizeof(double))
    value = reinterpret_cast<const LV2_Atom_Double*>(atom)->body;
  else
    return std::nullopt;
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

// A whole number within the type's range; nothing for a value no host means.
template <typename T>
std::optional<T> Whole(const LV2_Atom* atom, const TUrids& u) {
  const auto value = Number(atom, u);
  if (!value || *value < static_cast<double>(std::numeric_limits<T>::min()) ||
      *value >= -static_cast<double>(std::numeric_limits<T>::min()))
    return std::nullopt;
  return static_cast<T>(std::floor(*value));
}

}  // namespace

bool ReadMidi(const LV2_Atom& atom, const TUrids& urids, int frame, vst::VstMidiEvent& event) {
  if (atom.type != urids.MidiEvent || atom.size < 1 || atom.size > 3) return false;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&atom + 1);
  if (bytes[0] < 0x80 || bytes[0] >= 0xF0) return false;
  event = {};
  event.type = vst::kVstMidiType;
  event.byteSize = sizeof event;
  event.deltaFrames = frame;
  for (std::uint32_t i = 0; i < atom.size; ++i) event.midiData[i] = static_cast<char>(bytes[i]);
  return true;
}

bool ReadPosition(const LV2_Atom& atom, const TUrids& u, TPosition& position) {
  if ((atom.type != u.AtomObject && atom.type != u.AtomBlank) || atom.size < sizeof(LV2_Atom_Object_Body)) return false;
  const auto& object = reinterpret_cast<const LV2_Atom_Object&>(atom);
  if (object.body.otype != u.TimePosition) return false;
  const LV2_Atom *speed = nullptr, *bpm = nullptr, *perBar = nullptr, *unit = nullptr, *bar = nullptr,
                 *barBeat = nullptr, *beat = nullptr, *frame = nullptr;
  lv2_atom_object_get(&object, u.TimeSpeed, &speed, u.TimeBeatsPerMinute, &bpm, u.TimeBeatsPerBar, &perBar,
                      u.TimeBeatUnit, &unit, u.TimeBar, &bar, u.TimeBarBeat, &barBeat, u.TimeBeat, &beat, u.TimeFrame,
                      &frame, 0);
  position = {};
  position.Speed = Number(speed, u);
  position.BeatsPerMinute = Number(bpm, u);
  position.BeatsPerBar = Number(perBar, u);
  position.BeatUnit = Whole<int>(unit, u);
  position.Bar = Whole<std::int64_t>(bar, u);
  position.BarBeat = Number(barBeat, u);
  position.Beat = Number(beat, u);
  position.Frame = Whole<std::int64_t>(frame, u);
  return true;
}

}  // namespace vornix::formats::lv2
