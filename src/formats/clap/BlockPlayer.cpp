#include "formats/clap/BlockPlayer.h"

#include <algorithm>
#include <cmath>

#include "formats/clap/Transport.h"

namespace vornix::formats::clapface {

using namespace clap;
using namespace vst;

void TBlockPlayer::Configure(double sampleRate, std::uint32_t maxFrames) {
  sampleRate_ = sampleRate;
  maxPart_ = std::clamp<std::uint32_t>(maxFrames, 1, kMaxPart);
  effect_.Configure(static_cast<float>(sampleRate), static_cast<int>(maxPart_));
}

namespace {

bool Is(const clap_event_header& e, std::uint16_t type, std::size_t size) {
  return e.space_id == CLAP_CORE_EVENT_SPACE_ID && e.type == type && e.size >= size;
}

std::uint8_t Velocity(double velocity, int lowest) {
  const double v = std::isfinite(velocity) ? std::round(velocity * 127.0) : 0.0;
  return static_cast<std::uint8_t>(std::clamp(v, static_cast<double>(lowest), 127.0));
}

}  // namespace

bool TBlockPlayer::ToMidi(const clap_event_header& event, VstMidiEvent& midi) {
  midi = VstMidiEvent{};
  midi.type = kVstMidiType;
  midi.byteSize = sizeof midi;
  if (Is(event, CLAP_EVENT_MIDI, sizeof(clap_event_midi))) {
    const auto& e = reinterpret_cast<const clap_event_midi&>(event);
    for (int i = 0; i < 3; ++i) midi.midiData[i] = static_cast<char>(e.data[i]);
    return true;
  }
  const bool on = Is(event, CLAP_EVENT_NOTE_ON, sizeof(clap_event_note));
  if (!on && !Is(event, CLAP_EVENT_NOTE_OFF, sizeof(clap_event_note))) return false;
  const auto& e = reinterpret_cast<const clap_event_note&>(event);
  // A note for "any" key or channel names no MIDI message.
  if (e.key < 0 || e.key > 127 || e.channel < 0 || e.channel > 15) return false;
  midi.midiData[0] = static_cast<char>((on ? 0x90 : 0x80) | e.channel);
  midi.midiData[1] = static_cast<char>(e.key);
  // Velocity 0 is a real note-on in CLAP; in MIDI it would end the note.
  midi.midiData[2] = static_cast<char>(Velocity(e.velocity, on ? 1 : 0));
  return true;
}

void TBlockPlayer::Play(const clap_process& process) {
  out_ = process.out_events;
  frames_ = process.frames_count;
  transport_ = process.transport;
  transportTime_ = 0;
  midiCount_ = 0;
  for (std::uint32_t i = 0; i < process.audio_outputs_count && process.audio_outputs != nullptr; ++i) {
    const clap_audio_buffer& b = process.audio_outputs[i];
    for (std::uint32_t c = 0; c < b.channel_count; ++c) {
      if (b.data32 != nullptr && b.data32[c] != nullptr) std::fill_n(b.data32[c], frames_, 0.0f);
      if (b.data64 != nullptr && b.data64[c] != nullptr) std::fill_n(b.data64[c], frames_, 0.0);
    }
  }
  if (out_ != nullptr) parameters_.SendWaiting(*out_, 0);

  std::uint32_t start = 0;
  const clap_input_events* in = process.in_events;
  const std::uint32_t count = in != nullptr ? in->size(in) : 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const clap_event_header* e = in->get(in, i);
    if (e == nullptr) continue;
    const std::uint32_t time = std::min(e->time, frames_ > 0 ? frames_ - 1 : 0);
    const bool transport = Is(*e, CLAP_EVENT_TRANSPORT, sizeof(clap_event_transport));
    const bool parameter = Is(*e, CLAP_EVENT_PARAM_VALUE, sizeof(clap_event_param_value));
    if ((transport || parameter) && time > start) {
      PlayUntil(start, time);
      start = time;
    }
    if (parameter) {
      parameters_.Apply(*e);
    } else if (transport) {
      transport_ = reinterpret_cast<const clap_event_transport*>(e);
      transportTime_ = time;
    } else if (midiCount_ < midi_.size() && ToMidi(*e, midi_[midiCount_])) {
      // A host that sends its events out of order has the late ones played at once.
      midi_[midiCount_++].deltaFrames = static_cast<VstInt32>(std::max(time, start));
    }
  }
  PlayUntil(start, frames_);
  out_ = nullptr;
}

void TBlockPlayer::PlayUntil(std::uint32_t start, std::uint32_t end) {
  std::size_t taken = 0;
  for (std::uint32_t part = start; part < end;) {
    const std::uint32_t length = std::min(maxPart_, end - part);
    std::size_t n = 0;
    while (taken < midiCount_ && static_cast<std::uint32_t>(midi_[taken].deltaFrames) < part + length) {
      partMidi_[n] = midi_[taken++];
      partMidi_[n++].deltaFrames -= static_cast<VstInt32>(part);
    }
    VstTimeInfo time;
    const bool timed = TimeInfoAt(transport_, sampleRate_, static_cast<std::int64_t>(part) - transportTime_, time);
    partStart_ = part;
    parameters_.PlayInto(out_, part);
    effect_.Process(static_cast<int>(length), timed ? &time : nullptr, std::span(partMidi_.data(), n), *this);
    parameters_.PlayInto(nullptr, 0);
    part += length;
  }
  // What comes at `end` or later waits for the next part.
  std::copy(midi_.begin() + static_cast<std::ptrdiff_t>(taken), midi_.begin() + static_cast<std::ptrdiff_t>(midiCount_),
            midi_.begin());
  midiCount_ -= taken;
}

void TBlockPlayer::Midi(const VstMidiEvent& event) {
  if (out_ == nullptr) return;
  clap_event_midi e{};
  const auto offset = static_cast<std::uint32_t>(std::max<VstInt32>(0, event.deltaFrames)) + partStart_;
  e.header = {sizeof e, std::min(offset, frames_ > 0 ? frames_ - 1 : 0), CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_MIDI, 0};
  e.port_index = 0;
  for (int i = 0; i < 3; ++i) e.data[i] = static_cast<std::uint8_t>(event.midiData[i]);
  out_->try_push(out_, &e.header);
}

void TBlockPlayer::Flush(const clap_input_events* in, const clap_output_events* out) {
  if (out != nullptr) parameters_.SendWaiting(*out, 0);
  parameters_.PlayInto(out, 0);
  const std::uint32_t count = in != nullptr ? in->size(in) : 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (const clap_event_header* e = in->get(in, i)) parameters_.Apply(*e);
  }
  parameters_.PlayInto(nullptr, 0);
}

}  // namespace vornix::formats::clapface
