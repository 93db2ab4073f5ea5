// The processing thread's side of the plug-in: one block of host time into controller messages,
// incoming MIDI into note triggers and MIDI thru, and the highlight hand-over to the editor.
#include <algorithm>
#include <cstdint>

#include "plugin/ParameterTable.h"
#include "plugin/Plugin.h"

namespace vornix::plugin {

using vst::VstTimeInfo;

TVSTPlugin::THostTime TVSTPlugin::TakeHostTime(const VstTimeInfo* time, unsigned sampleFrames) {
  // A block the clock cannot be derived from is treated as a stopped one.
  if (time == nullptr || !(time->tempo > 0.0) || !(FSequencer->SampleRate() > 0.0)) return THostTime::None;
  const bool signatureValid = (time->flags & vst::kVstTimeSigValid) != 0;
  if (signatureValid && (time->timeSigDenominator <= 0 || time->timeSigNumerator <= 0)) return THostTime::None;
  // Values beyond what the clock can place exactly are not taken at all: the sequences go on
  // undisturbed once the host reports sane ones again.
  if (!sequencer::TSequencer::ClockUsable(time->ppqPos, time->tempo, FSequencer->SampleRate(),
                                          static_cast<std::int32_t>(std::min<unsigned>(sampleFrames, 0x7FFFFFFF))))
    return THostTime::Unusable;
  FSequencer->SetTempo(time->tempo);
  FSequencer->SetPpqPos(time->ppqPos);
  if (signatureValid) {
    FSequencer->SetTimeSigNumerator(time->timeSigNumerator);
    FSequencer->SetTimeSigDenominator(time->timeSigDenominator);
  }
  return THostTime::Usable;
}

void TVSTPlugin::QueueTeachMessage() {
  const int cc = FTeachCC.load(std::memory_order_relaxed);
  if (cc < 0) return;
  const int channel = FSequencer->Items(CurrentSequence()).Channel();
  QueueControlChange(static_cast<std::uint8_t>(channel - 1), static_cast<std::uint8_t>(cc),
                     static_cast<std::uint8_t>(NextTeachValue()), 0);
}

void TVSTPlugin::VSTModuleProcess32Replacing(float* const* inputs, float* const* outputs, unsigned sampleFrames) {
  TVSTPluginBase::VSTModuleProcess32Replacing(inputs, outputs, sampleFrames);
  const VstTimeInfo* time = RequestTimeInfo(kTimeInfoFilter);
  const THostTime hostTime = TakeHostTime(time, sampleFrames);
  FSequencer->SetPlaying(hostTime != THostTime::None && (time->flags & vst::kVstTransportPlaying) != 0);

  if (!FSequencer->Playing()) {
    QueueTeachMessage();
    if (FWasPlaying) {
      FSequencer->StopAll();
      // The editor clears its highlight on its own thread at the next idle call.
      FShowStep = -1;
      EditorNeedsUpdate = true;
    }
    FWasPlaying = false;
    return;
  }

  if (!FWasPlaying) {
    SetLearnMode(0);
    SetTeachCC(-1);
    FSequencer->ClearChanged();
  }
  FWasPlaying = true;
  if (hostTime == THostTime::Unusable) {
    QueueTeachMessage();
    return;
  }
  if (FSequencer->PpqPos() < FSequencer->PrevPpqPos() && FSequencer->PpqPos() >= 0.0) {
    FSequencer->ResetAll();
    if (!FSequencer->HeldNotes().Empty()) {
      for (int i = 0; i < FSequencer->Count(); ++i) FSequencer->Items(i).SetTriggerState(sequencer::kTriggerStart);
      FShowStep = -1;
    }
  }
  QueueTeachMessage();
  PlaySequences(static_cast<std::int32_t>(sampleFrames));
}

// A load on another thread may be under way: what the sequencer plays meanwhile is thrown away,
// and every sequence starts again from the loaded state at the next block.
void TVSTPlugin::PlaySequences(std::int32_t sampleFrames) {
  const unsigned generation = LoadGeneration();
  if ((generation & 1u) != 0) return;
  const int queued = MidiOutCount();
  const bool teaching = FTeachCC.load(std::memory_order_relaxed) >= 0;
  const int shown = CurrentSequence();
  int showStep = -2;
  for (int i = 0; i < FSequencer->Count(); ++i) {
    if (FSequencer->ProcessSequence(i, sampleFrames) && !teaching) {
      for (const sequencer::TStepMessage& m : FSequencer->Messages()) {
        QueueControlChange(static_cast<std::uint8_t>(m.Channel - 1), static_cast<std::uint8_t>(m.CCNumber),
                           static_cast<std::uint8_t>(m.Value), m.Offset);
      }
    }
    if (i == shown) showStep = FSequencer->Items(i).PlayingStep();
  }
  if (LoadSince(generation)) {
    TruncateMidiOutput(queued);
    for (int i = 0; i < FSequencer->Count(); ++i) FSequencer->Items(i).SetChanged(true);
    return;
  }
  // Every block: a release store is enough for the editor's exchange to see the step.
  FShowStep.store(showStep, std::memory_order_release);
  EditorNeedsUpdate.store(true, std::memory_order_release);
}

void TVSTPlugin::VSTModuleProcessMidi(const vst::VstMidiEvent& event) {
  TVSTPluginBase::VSTModuleProcessMidi(event);
  const auto status = static_cast<std::uint8_t>(event.midiData[0]);
  const auto channel = static_cast<std::uint8_t>(status & 0x0F);
  const auto kind = static_cast<std::uint8_t>(status & 0xF0);
  const auto data1 = static_cast<std::uint8_t>(event.midiData[1] & 0x7F);
  const auto data2 = static_cast<std::uint8_t>(event.midiData[2] & 0x7F);
  const vst::VstInt32 delta = event.deltaFrames;
  if (kind == 0x90 && data2 > 0) {
    FSequencer->NoteOn(data1);
    QueueNoteOn(channel, data1, data2, delta);
  } else if (kind == 0x90 || kind == 0x80) {
    FSequencer->NoteOff(data1);
    QueueNoteOff(channel, data1, data2, delta);
  } else if (kind == 0xB0) {
    QueueControlChange(channel, data1, data2, delta);
  } else if (kind == 0xA0) {
    QueuePolyPressure(channel, data1, data2, delta);
  } else if (kind == 0xD0) {
    QueueChannelPressure(channel, data1, delta);
  } else if (kind == 0xE0) {
    QueuePitchBend(channel, data1, data2, delta);
  }
  // Program changes and system messages are not passed on.
}

}  // namespace vornix::plugin
