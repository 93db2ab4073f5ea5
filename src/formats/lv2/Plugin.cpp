#include "formats/lv2/Plugin.h"

#include <lv2/atom/util.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/options/options.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "formats/common/ParameterInfo.h"
#include "formats/lv2/Events.h"
#include "formats/lv2/Ports.h"

namespace vornix::formats::lv2 {

static_assert(std::atomic<std::thread::id>::is_always_lock_free, "the audio thread asks which thread it is on");

namespace {

const void* Feature(const LV2_Feature* const* features, const char* uri) {
  for (auto f = features; f != nullptr && *f != nullptr; ++f)
    if (std::strcmp((*f)->URI, uri) == 0) return (*f)->data;
  return nullptr;
}

const LV2_URID_Map& UridMap(const LV2_Feature* const* features) {
  const auto* map = static_cast<const LV2_URID_Map*>(Feature(features, LV2_URID__map));
  if (map == nullptr) throw std::runtime_error("the host offers no urid:map");
  return *map;
}

// The longest block the host announces (options), or none.
int MaxBlockLength(const LV2_Feature* const* features, const LV2_URID_Map& map) {
  const auto* options = static_cast<const LV2_Options_Option*>(Feature(features, LV2_OPTIONS__options));
  if (options == nullptr) return 0;
  const LV2_URID maxLength = map.map(map.handle, LV2_BUF_SIZE__maxBlockLength);
  const LV2_URID nominal = map.map(map.handle, LV2_BUF_SIZE__nominalBlockLength);
  const LV2_URID atomInt = map.map(map.handle, LV2_ATOM__Int);
  int found = 0;
  for (auto o = options; o->key != 0 || o->value != nullptr; ++o) {
    if (o->type != atomInt || o->size != sizeof(std::int32_t) || o->value == nullptr) continue;
    const int length = *static_cast<const std::int32_t*>(o->value);
    if (o->key == maxLength && length > 0) return length;
    if (o->key == nominal && length > 0) found = length;
  }
  return found;
}

// Blocks are played in parts of this many frames when the host names no longest block.
constexpr int kDefaultMaxBlock = 4096;

}  // namespace

TPlugin::TPlugin(double sampleRate, const LV2_Feature* const* features)
    : urids_(UridMap(features)), host_(*this), controls_(DescribeParameters(host_.Module())), transport_(sampleRate) {
  const int maxBlock = MaxBlockLength(features, UridMap(features));
  host_.Configure(static_cast<float>(sampleRate), maxBlock > 0 ? maxBlock : kDefaultMaxBlock);
  // The host starts the ports at their defaults; the module may have started from the user's init
  // preset. The settings that differ reach the host once a UI is open.
  anyPending_ = false;
  for (int i = 0; i < plugin::kParameterCount; ++i) {
    const bool differs = Value(i) != controls_.Default(i);
    pending_[static_cast<std::size_t>(i)] = differs;
    if (differs) anyPending_ = true;
  }
  stateChanged_ = false;
}

TPlugin::~TPlugin() = default;

float TPlugin::Value(int parameter) const { return controls_.FromModule(parameter, host_.Parameter(parameter)); }

void TPlugin::Connect(std::uint32_t port, void* data) {
  if (port == kEventsIn)
    in_ = static_cast<const LV2_Atom_Sequence*>(data);
  else if (port == kEventsOut)
    out_ = static_cast<LV2_Atom_Sequence*>(data);
  else if (port >= kFirstControl && port < kPortCount)
    controls_.Connect(static_cast<int>(port - kFirstControl), static_cast<const float*>(data));
}

void TPlugin::Run(std::uint32_t frames) {
  const bool restored = restored_.exchange(false, std::memory_order_acquire);
  controls_.TakeChanges([this](int i, float value) {
    // The host's value is newer than anything still to be reported.
    pending_[static_cast<std::size_t>(i)].store(false, std::memory_order_relaxed);
    if (value != Value(i)) host_.SetParameter(i, controls_.Normalized(i, value));
  });
  // A restored state stands where the host left a port as it was; the host hears of the state's
  // value through the UI.
  if (restored)
    for (int i = 0; i < plugin::kParameterCount; ++i)
      if (controls_.Seen(i) != Value(i)) MarkPending(i);

  outCapacity_ = 0;
  if (out_ != nullptr) {
    // The host says how much room the buffer has; it holds an empty sequence afterwards.
    outCapacity_ = out_->atom.size;
    out_->atom.type = urids_.AtomSequence;
    out_->atom.size = sizeof(LV2_Atom_Sequence_Body);
    out_->body.unit = 0;
    out_->body.pad = 0;
  }
  if (stateChanged_.exchange(false, std::memory_order_relaxed)) {
    const LV2_Atom_Object_Body notice{0, urids_.StateChanged};
    Append(0, urids_.AtomObject, &notice, sizeof notice);
  }

  // MIDI is gathered up to the next transport report and played with the transport before it.
  blockFrames_ = frames;
  segmentStart_ = 0;
  eventCount_ = 0;
  if (in_ != nullptr) {
    LV2_ATOM_SEQUENCE_FOREACH(in_, ev) {
      const auto frame = static_cast<std::uint32_t>(std::clamp<std::int64_t>(ev->time.frames, segmentStart_, frames));
      TPosition position;
      if (ReadPosition(ev->body, urids_, position)) {
        PlayUntil(frame);
        transport_.Take(position);
      } else if (eventCount_ < static_cast<int>(events_.size()) &&
                 ReadMidi(ev->body, urids_, static_cast<int>(frame - segmentStart_),
                          events_[static_cast<std::size_t>(eventCount_)])) {
        ++eventCount_;
      }
    }
  }
  PlayUntil(frames);
}

void TPlugin::PlayUntil(std::uint32_t end) {
  if (end <= segmentStart_) return;
  host_.Process(static_cast<int>(end - segmentStart_), transport_.Time(),
                std::span(events_.data(), static_cast<std::size_t>(eventCount_)), *this);
  transport_.Advance(end - segmentStart_);
  segmentStart_ = end;
  eventCount_ = 0;
}

void TPlugin::Midi(const vst::VstMidiEvent& event) {
  const std::int64_t frame = std::clamp<std::int64_t>(segmentStart_ + static_cast<std::int64_t>(event.deltaFrames), 0,
                                                      blockFrames_ > 0 ? blockFrames_ - 1 : 0);
  // Program changes and channel pressure have one data byte.
  const auto kind = static_cast<std::uint8_t>(event.midiData[0]) & 0xE0;
  Append(frame, urids_.MidiEvent, event.midiData, kind == 0xC0 ? 2u : 3u);
}

void TPlugin::Append(std::int64_t frame, std::uint32_t type, const void* body, std::uint32_t size) {
  if (out_ == nullptr) return;
  const std::uint32_t used = sizeof(LV2_Atom) + out_->atom.size;
  const std::uint32_t needed = sizeof(LV2_Atom_Event) + lv2_atom_pad_size(size);
  if (outCapacity_ < used || outCapacity_ - used < needed) return;  // no room: dropped
  auto* ev = reinterpret_cast<LV2_Atom_Event*>(reinterpret_cast<std::uint8_t*>(out_) + used);
  ev->time.frames = frame;
  ev->body.type = type;
  ev->body.size = size;
  std::memcpy(ev + 1, body, size);
  out_->atom.size += needed;
}

LV2_State_Status TPlugin::Save(LV2_State_Store_Function store, LV2_State_Handle handle) {
  const auto chunk = host_.SaveState();
  if (chunk.empty()) return LV2_STATE_ERR_UNKNOWN;
  return store(handle, urids_.StateKey, chunk.data(), chunk.size(), urids_.AtomChunk,
               LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status TPlugin::Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle) {
  std::size_t size = 0;
  std::uint32_t type = 0, flags = 0;
  const void* data = retrieve(handle, urids_.StateKey, &size, &type, &flags);
  if (data == nullptr) return LV2_STATE_ERR_NO_PROPERTY;
  if (type != urids_.AtomChunk) return LV2_STATE_ERR_BAD_TYPE;
  // Hosts restore the ports with the state: what the load tells the host, it knows (the next block
  // finds out where it does not).
  loadingThread_.store(std::this_thread::get_id(), std::memory_order_release);
  const bool loaded = host_.LoadState(std::span(static_cast<const std::uint8_t*>(data), size));
  loadingThread_.store(std::thread::id(), std::memory_order_release);
  if (!loaded) return LV2_STATE_ERR_UNKNOWN;
  for (auto& p : pending_) p.store(false, std::memory_order_relaxed);
  restored_.store(true, std::memory_order_release);
  return LV2_STATE_SUCCESS;
}

bool TPlugin::AttachUi(TUi& ui) {
  if (ui_ != nullptr || uiThread_.load() != std::thread::id()) return false;
  ui_ = &ui;
  uiThread_.store(std::this_thread::get_id(), std::memory_order_release);
  return true;
}

void TPlugin::DetachUi() {
  if (!OnUiThread()) return;
  uiThread_.store(std::thread::id(), std::memory_order_release);
  ui_ = nullptr;
}

void TPlugin::ReportPending() {
  if (!OnUiThread() || ui_ == nullptr || !anyPending_.exchange(false, std::memory_order_acquire)) return;
  for (int i = 0; i < plugin::kParameterCount; ++i)
    if (pending_[static_cast<std::size_t>(i)].exchange(false, std::memory_order_relaxed)) ui_->Report(i, Value(i));
}

void TPlugin::MarkPending(int index) {
  pending_[static_cast<std::size_t>(index)].store(true, std::memory_order_relaxed);
  anyPending_.store(true, std::memory_order_release);
}

void TPlugin::ParameterChanged(int index, float normalized) {
  if (index < 0 || index >= plugin::kParameterCount || Loading()) return;
  // The UI writes the port at once, in order with the gestures around it; other threads leave it
  // to the UI's next idle call.
  if (OnUiThread() && ui_ != nullptr)
    ui_->Report(index, controls_.FromModule(index, normalized));
  else
    MarkPending(index);
}

void TPlugin::ParameterGesture(int index, bool begins) {
  if (index >= 0 && index < plugin::kParameterCount && OnUiThread() && ui_ != nullptr) ui_->Gesture(index, begins);
}

void TPlugin::StateChanged() {
  if (!Loading()) stateChanged_.store(true, std::memory_order_relaxed);
}

// The editor zooms on the UI's thread, where the UI may ask its host.
bool TPlugin::EditorResize(int width, int height) {
  return OnUiThread() && ui_ != nullptr && ui_->Resize(width, height);
}

}  // namespace vornix::formats::lv2
