// Incoming event routing and the preallocated outgoing MIDI queue.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "host/CustomVSTModule.h"

namespace vornix::host {

class TVSTModuleWithMidi : public TCustomVSTModule {
 public:
  static constexpr int kMidiQueueRecords = 1024;
  // One record stays outside the block handed to the host: overflow lands there and is lost.
  static constexpr int kMaxMidiOut = kMidiQueueRecords - 1;

  TVSTModuleWithMidi();

  // Queue one event for the end of the current processing call. Channels are 0-based.
  void QueueControlChange(std::uint8_t channel, std::uint8_t controller, std::uint8_t value, vst::VstInt32 deltaFrames);
  void QueueNoteOn(std::uint8_t channel, std::uint8_t note, std::uint8_t velocity, vst::VstInt32 deltaFrames);
  void QueueNoteOff(std::uint8_t channel, std::uint8_t note, std::uint8_t velocity, vst::VstInt32 deltaFrames);
  void QueuePolyPressure(std::uint8_t channel, std::uint8_t note, std::uint8_t pressure, vst::VstInt32 deltaFrames);
  void QueueChannelPressure(std::uint8_t channel, std::uint8_t pressure, vst::VstInt32 deltaFrames);
  void QueuePitchBend(std::uint8_t channel, std::uint8_t data1, std::uint8_t data2, vst::VstInt32 deltaFrames);

  int MidiOutCount() const { return FMidiOutCount; }
  // Takes back the events queued after the first `count` of this processing call.
  void TruncateMidiOutput(int count) {
    if (count >= 0 && count < FMidiOutCount) FMidiOutCount = count;
  }

  std::function<void(TVSTModuleWithMidi&, const vst::VstEvents& events)> OnProcessEvents;
  std::function<void(TVSTModuleWithMidi&, const vst::VstMidiEvent& event)> OnProcessMidi;
  std::function<void(TVSTModuleWithMidi&, const vst::VstMidiSysexEvent& event)> OnProcessMidiSysEx;
  std::function<void(TVSTModuleWithMidi&, const vst::VstEvent& event)> OnProcessEvent;

 protected:
  virtual void ProcessEvents(const vst::VstEvents& events);
  virtual void ProcessMidiEvent(const vst::VstMidiEvent& event);
  virtual void ProcessSysExEvent(const vst::VstMidiSysexEvent& event);
  virtual void ProcessOtherEvent(const vst::VstEvent& event);
  // Hands the queued events to the host, ordered by sample offset and each on a sample inside
  // the block, and empties the queue.
  virtual void FlushMidiOutput(vst::VstInt32 sampleFrames);
  // Added to the offset of every event queued from now on (processing thread): the accumulating
  // entry renders a long block in parts.
  void SetMidiOutOffset(vst::VstInt32 offset) { FMidiOutOffset = offset; }

  vst::VstIntPtr HostCallProcessEvents(vst::VstInt32, vst::VstIntPtr, void*, float) override;

 private:
  void Queue(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, vst::VstInt32 deltaFrames);

  // The processing thread only (events arrive and leave there).
  std::array<vst::VstMidiEvent, kMidiQueueRecords> FMidiOutRecords{};
  std::unique_ptr<std::uint8_t[]> FMidiOutBlock;  // a VstEvents with room for every record
  vst::VstEvents* FMidiOutQueue = nullptr;
  int FMidiOutCount = 0;
  vst::VstInt32 FMidiOutOffset = 0;
};

}  // namespace vornix::host
