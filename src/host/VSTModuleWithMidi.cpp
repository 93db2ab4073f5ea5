#include "host/VSTModuleWithMidi.h"

#include <algorithm>
#include <new>

namespace vornix::host {

using namespace vst;

TVSTModuleWithMidi::TVSTModuleWithMidi()
    : FMidiOutBlock(std::make_unique<std::uint8_t[]>(VstEventsSize(kMidiQueueRecords))) {
  FMidiOutQueue = new (FMidiOutBlock.get()) VstEvents{};
  for (int k = 0; k < kMidiQueueRecords; ++k) {
    FMidiOutRecords[k].type = kVstMidiType;
    FMidiOutRecords[k].byteSize = 24;
    FMidiOutQueue->events[k] = reinterpret_cast<VstEvent*>(&FMidiOutRecords[k]);
  }
}

void TVSTModuleWithMidi::Queue(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, VstInt32 deltaFrames) {
  VstMidiEvent& r = FMidiOutRecords[static_cast<std::size_t>(FMidiOutCount)];
  r.type = kVstMidiType;
  r.midiData[0] = static_cast<char>(status);
  r.midiData[1] = static_cast<char>(data1);
  r.midiData[2] = static_cast<char>(data2);
  r.deltaFrames = deltaFrames + FMidiOutOffset;
  if (FMidiOutCount < kMaxMidiOut) ++FMidiOutCount;
}

// The status byte is the plain 8-bit sum: callers pass 0-based channels.
void TVSTModuleWithMidi::QueueControlChange(std::uint8_t ch, std::uint8_t cc, std::uint8_t value, VstInt32 delta) {
  Queue(static_cast<std::uint8_t>(0xB0 + ch), cc, value, delta);
}
void TVSTModuleWithMidi::QueueNoteOn(std::uint8_t ch, std::uint8_t note, std::uint8_t velocity, VstInt32 delta) {
  Queue(static_cast<std::uint8_t>(0x90 + ch), note, velocity, delta);
}
void TVSTModuleWithMidi::QueueNoteOff(std::uint8_t ch, std::uint8_t note, std::uint8_t velocity, VstInt32 delta) {
  Queue(static_cast<std::uint8_t>(0x80 + ch), note, velocity, delta);
}
void TVSTModuleWithMidi::QueuePolyPressure(std::uint8_t ch, std::uint8_t note, std::uint8_t pressure, VstInt32 delta) {
  Queue(static_cast<std::uint8_t>(0xA0 + ch), note, pressure, delta);
}
void TVSTModuleWithMidi::QueueChannelPressure(std::uint8_t ch, std::uint8_t pressure, VstInt32 delta) {
  Queue(static_cast<std::uint8_t>(0xD0 + ch), pressure, 0, delta);
}
void TVSTModuleWithMidi::QueuePitchBend(std::uint8_t ch, std::uint8_t data1, std::uint8_t data2, VstInt32 delta) {
  Queue(static_cast<std::uint8_t>(0xE0 + ch), data1, data2, delta);
}

void TVSTModuleWithMidi::FlushMidiOutput(VstInt32 sampleFrames) {
  if (FMidiOutCount == 0) return;
  // Events passed through keep the host's offsets, which need not lie inside this block.
  const VstInt32 last = std::max<VstInt32>(sampleFrames - 1, 0);
  // Hosts expect events in time order. A stable insertion sort keeps the queue order of equal
  // offsets and costs next to nothing on an almost ordered queue; it allocates nothing.
  VstEvent** list = FMidiOutQueue->events;
  for (int k = 0; k < FMidiOutCount; ++k) {
    VstMidiEvent& record = FMidiOutRecords[static_cast<std::size_t>(k)];
    record.deltaFrames = std::clamp(record.deltaFrames, 0, last);
    list[k] = reinterpret_cast<VstEvent*>(&record);
  }
  for (int i = 1; i < FMidiOutCount; ++i) {
    VstEvent* e = list[i];
    int j = i;
    for (; j > 0 && list[j - 1]->deltaFrames > e->deltaFrames; --j) list[j] = list[j - 1];
    list[j] = e;
  }
  FMidiOutQueue->numEvents = FMidiOutCount;
  FMidiOutQueue->reserved = 0;
  CallAudioMaster(audioMasterProcessEvents, 0, 0, FMidiOutQueue);
  FMidiOutCount = 0;
}

VstIntPtr TVSTModuleWithMidi::HostCallProcessEvents(VstInt32, VstIntPtr, void* ptr, float) {
  if (ptr != nullptr) ProcessEvents(*static_cast<const VstEvents*>(ptr));
  return 1;
}

void TVSTModuleWithMidi::ProcessEvents(const VstEvents& events) {
  if (OnProcessEvents) OnProcessEvents(*this, events);
  for (VstInt32 k = 0; k < events.numEvents; ++k) {
    const VstEvent* e = events.events[k];
    if (e == nullptr) continue;
    switch (e->type) {
      case kVstMidiType: ProcessMidiEvent(*reinterpret_cast<const VstMidiEvent*>(e)); break;
      case kVstSysExType: ProcessSysExEvent(*reinterpret_cast<const VstMidiSysexEvent*>(e)); break;
      default: ProcessOtherEvent(*e); break;
    }
  }
}

void TVSTModuleWithMidi::ProcessMidiEvent(const VstMidiEvent& event) {
  if (OnProcessMidi) OnProcessMidi(*this, event);
}

void TVSTModuleWithMidi::ProcessSysExEvent(const VstMidiSysexEvent& event) {
  if (OnProcessMidiSysEx) OnProcessMidiSysEx(*this, event);
}

void TVSTModuleWithMidi::ProcessOtherEvent(const VstEvent& event) {
  if (OnProcessEvent) OnProcessEvent(*this, event);
}

}  // namespace vornix::host
