// One CLAP process call played through the module, as a VST 2.x host would play it: the block is
// cut where the host changes a parameter or the transport, so that each change takes effect on its
// own sample; notes and MIDI go in at their offsets, and the module's MIDI comes back at its
// offsets on the one output port.
//
// Threads: Play and an active flush on the audio thread; Configure on the main thread while the
// plug-in is not active. Play allocates nothing and takes no lock.
#pragma once

#include <array>
#include <cstdint>

#include "formats/clap/ClapAbi.h"
#include "formats/clap/Parameters.h"
#include "formats/common/EffectHost.h"

namespace vornix::formats::clapface {

class TBlockPlayer final : public TEffectHost::TMidiOut {
 public:
  // The longest part the module plays in one call; longer blocks are played in parts.
  static constexpr std::uint32_t kMaxPart = 4096;

  TBlockPlayer(TEffectHost& effect, TParameters& parameters) : effect_(effect), parameters_(parameters) {}

  void Configure(double sampleRate, std::uint32_t maxFrames);
  void Play(const clap::clap_process& process);
  // The host's parameter values from `in`, and what waits for the host into `out`.
  void Flush(const clap::clap_input_events* in, const clap::clap_output_events* out);

  // The MIDI message an incoming note or MIDI event stands for; false for other events.
  static bool ToMidi(const clap::clap_event_header& event, vst::VstMidiEvent& midi);

 private:
  void Midi(const vst::VstMidiEvent& event) override;
  // Plays [start, end) of the block with the MIDI collected before `end`.
  void PlayUntil(std::uint32_t start, std::uint32_t end);

  TEffectHost& effect_;
  TParameters& parameters_;
  double sampleRate_ = 44100.0;
  std::uint32_t maxPart_ = 1024;
  // The audio thread's, during Play.
  const clap::clap_output_events* out_ = nullptr;
  std::uint32_t frames_ = 0;
  std::uint32_t partStart_ = 0;
  const clap::clap_event_transport* transport_ = nullptr;
  std::uint32_t transportTime_ = 0;
  std::array<vst::VstMidiEvent, TEffectHost::kMaxEventsIn> midi_{};  // block offsets
  std::size_t midiCount_ = 0;
  std::array<vst::VstMidiEvent, TEffectHost::kMaxEventsIn> partMidi_{};  // part offsets
};

}  // namespace vornix::formats::clapface
