// What an LV2 host hands the plug-in and reads back: URIDs, an input sequence of MIDI and transport
// reports, the MIDI and notifications of the output sequence.
#pragma once

#include <lv2/atom/forge.h>
#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>
#include <lv2/state/state.h>
#include <lv2/time/time.h>
#include <lv2/urid/urid.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vornix::testing::lv2 {

class TUridMap {
 public:
  TUridMap() {
    map_.handle = this;
    map_.map = [](LV2_URID_Map_Handle self, const char* uri) { return static_cast<TUridMap*>(self)->Map(uri); };
    unmap_.handle = this;
    unmap_.unmap = [](LV2_URID_Unmap_Handle self, LV2_URID urid) { return static_cast<TUridMap*>(self)->Unmap(urid); };
  }
  TUridMap(const TUridMap&) = delete;
  TUridMap& operator=(const TUridMap&) = delete;

  LV2_URID Map(const std::string& uri) {
    const auto [at, added] = ids_.emplace(uri, static_cast<LV2_URID>(ids_.size() + 1));
    if (added) uris_.push_back(&at->first);
    return at->second;
  }
  const char* Unmap(LV2_URID urid) const {
    return urid >= 1 && urid <= uris_.size() ? uris_[urid - 1]->c_str() : nullptr;
  }
  LV2_URID_Map* MapFeature() { return &map_; }
  LV2_URID_Unmap* UnmapFeature() { return &unmap_; }

 private:
  std::map<std::string, LV2_URID> ids_;
  std::vector<const std::string*> uris_;
  LV2_URID_Map map_{};
  LV2_URID_Unmap unmap_{};
};

// A transport report as hosts send it (every property).
struct TReport {
  double Speed = 1.0;
  double Bpm = 120.0;
  double BeatsPerBar = 4.0;
  int BeatUnit = 4;
  std::int64_t Bar = 0;
  double BarBeat = 0.0;
  std::optional<std::int64_t> Frame;  // the transport's sample position, as Ardour and jalv send it
};

// The input port's buffer: MIDI and reports at their frames, in time order.
class TInput {
 public:
  explicit TInput(TUridMap& map, std::size_t bytes = 1 << 16) : map_(map), buffer_(bytes / 8 + 1) {
    lv2_atom_forge_init(&forge_, map.MapFeature());
    Clear();
  }
  void Clear() {
    lv2_atom_forge_set_buffer(&forge_, reinterpret_cast<std::uint8_t*>(buffer_.data()), buffer_.size() * 8);
    lv2_atom_forge_sequence_head(&forge_, &frame_, 0);
  }
  void Midi(std::int64_t frame, std::initializer_list<std::uint8_t> bytes) {
    const std::vector<std::uint8_t> data(bytes);
    lv2_atom_forge_frame_time(&forge_, frame);
    lv2_atom_forge_atom(&forge_, static_cast<std::uint32_t>(data.size()), map_.Map(LV2_MIDI__MidiEvent));
    lv2_atom_forge_write(&forge_, data.data(), static_cast<std::uint32_t>(data.size()));
  }
  void Position(std::int64_t frame, const TReport& r) {
    lv2_atom_forge_frame_time(&forge_, frame);
    LV2_Atom_Forge_Frame object;
    lv2_atom_forge_object(&forge_, &object, 0, map_.Map(LV2_TIME__Position));
    lv2_atom_forge_key(&forge_, map_.Map(LV2_TIME__speed));
    lv2_atom_forge_float(&forge_, static_cast<float>(r.Speed));
    lv2_atom_forge_key(&forge_, map_.Map(LV2_TIME__bar));
    lv2_atom_forge_long(&forge_, r.Bar);
    lv2_atom_forge_key(&forge_, map_.Map(LV2_TIME__barBeat));
    lv2_atom_forge_float(&forge_, static_cast<float>(r.BarBeat));
    lv2_atom_forge_key(&forge_, map_.Map(LV2_TIME__beatUnit));
    lv2_atom_forge_int(&forge_, r.BeatUnit);
    lv2_atom_forge_key(&forge_, map_.Map(LV2_TIME__beatsPerBar));
    lv2_atom_forge_float(&forge_, static_cast<float>(r.BeatsPerBar));
    lv2_atom_forge_key(&forge_, map_.Map(LV2_TIME__beatsPerMinute));
    lv2_atom_forge_float(&forge_, static_cast<float>(r.Bpm));
    if (r.Frame) {
      lv2_atom_forge_key(&forge_, map_.Map(LV2_TIME__frame));
      lv2_atom_forge_long(&forge_, *r.Frame);
    }
    lv2_atom_forge_pop(&forge_, &object);
  }
  LV2_Atom_Sequence* Sequence() { return reinterpret_cast<LV2_Atom_Sequence*>(buffer_.data()); }
  LV2_Atom_Forge& Forge() { return forge_; }

 private:
  TUridMap& map_;
  std::vector<std::uint64_t> buffer_;  // 8-byte aligned
  LV2_Atom_Forge forge_{};
  LV2_Atom_Forge_Frame frame_{};
};

// One event of the output: its frame and bytes (a notification: its object type's URI as text).
struct TOut {
  std::int64_t Frame;
  std::vector<std::uint8_t> Midi;
  std::string Object;
  bool operator==(const TOut&) const = default;
};

// The output port's buffer.
class TOutput {
 public:
  explicit TOutput(std::size_t bytes = 1 << 16) : buffer_(bytes / 8) {}
  // Before each run: the whole buffer is the plug-in's room.
  void Prepare() {
    auto* seq = Sequence();
    seq->atom.type = 0;
    seq->atom.size = static_cast<std::uint32_t>(buffer_.size() * 8 - sizeof(LV2_Atom));
  }
  LV2_Atom_Sequence* Sequence() { return reinterpret_cast<LV2_Atom_Sequence*>(buffer_.data()); }
  std::vector<TOut> Events(const TUridMap& map) {
    std::vector<TOut> events;
    LV2_ATOM_SEQUENCE_FOREACH(Sequence(), ev) {
      TOut out{ev->time.frames, {}, {}};
      const char* type = map.Unmap(ev->body.type);
      if (type != nullptr && std::string(type) == LV2_MIDI__MidiEvent) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&ev->body + 1);
        out.Midi.assign(bytes, bytes + ev->body.size);
      } else if (type != nullptr && std::string(type) == LV2_ATOM__Object) {
        const char* otype = map.Unmap(reinterpret_cast<const LV2_Atom_Object*>(&ev->body)->body.otype);
        out.Object = otype != nullptr ? otype : "?";
      }
      events.push_back(std::move(out));
    }
    return events;
  }

 private:
  std::vector<std::uint64_t> buffer_;
};

}  // namespace vornix::testing::lv2
