// The processing path must not touch the heap: every allocation in this binary is counted while
// the plug-in runs ten thousand blocks with all eight sequences playing and notes arriving.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "CountingAllocator.h"
#include "host/VSTModule.h"
#include "plugin/Plugin.h"

namespace vornix::testing {
namespace {

using namespace vst;

VstTimeInfo timeInfo{};
long eventsReceived = 0;

VstIntPtr VSTCALLBACK Callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
  switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterGetTime: return reinterpret_cast<VstIntPtr>(&timeInfo);
    case audioMasterProcessEvents: eventsReceived += static_cast<const VstEvents*>(ptr)->numEvents; return 1;
    default: return 0;
  }
}

TEST(NoAllocation, TenThousandBlocksAfterWarmUp) {
  AEffect* e = host::CreateEffect([] { return std::make_unique<plugin::TVSTPlugin>(); }, &Callback);
  ASSERT_NE(e, nullptr);
  e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
  auto* module = static_cast<plugin::TVSTPlugin*>(host::TBasicVSTModule::FromEffect(e));
  for (int s = 1; s <= 8; ++s) {
    module->SetParameterByName("Seq" + std::to_string(s) + " Active", 1.0f);
    module->SetParameterByName("Seq" + std::to_string(s) + " Rate", static_cast<float>(s));
    module->SetParameterByName("Seq" + std::to_string(s) + " Order", static_cast<float>(s));
  }
  module->SetParameterByName("Seq8 Trigger", 3.0f);

  timeInfo.sampleRate = 44100.0;
  timeInfo.tempo = 128.0;
  timeInfo.timeSigNumerator = 4;
  timeInfo.timeSigDenominator = 4;
  timeInfo.flags = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
  e->dispatcher(e, effSetBlockSize, 0, 512, nullptr, 0.0f);
  std::vector<float> a(1200), b(1200);
  float* out[2] = {a.data(), b.data()};
  VstMidiEvent note{};
  note.type = kVstMidiType;
  VstEvents events{};  // room for one event and more
  VstEvents* list = &events;
  list->numEvents = 1;
  list->events[0] = reinterpret_cast<VstEvent*>(&note);

  double ppq = 0.0;
  auto run = [&](int blocks) {
    for (int block = 0; block < blocks; ++block) {
      note.midiData[0] = static_cast<char>(block % 64 == 0 ? 0x90 : 0xB0);
      note.midiData[1] = 60;
      note.midiData[2] = 90;
      e->dispatcher(e, effProcessEvents, 0, 0, list, 0.0f);
      timeInfo.ppqPos = ppq;
      // Now and then an older host's accumulating call, longer than the announced block size.
      const int frames = block % 5 == 4 ? 1200 : 512;
      if (frames == 512)
        e->processReplacing(e, nullptr, out, frames);
      else
        e->process(e, nullptr, out, frames);
      ppq += frames * 128.0 / 60.0 / 44100.0;
    }
  };
  run(200);
  StartCountingAllocations();
  run(10000);
  EXPECT_EQ(StopCountingAllocations(), 0);
  EXPECT_GT(eventsReceived, 10000);
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
}

}  // namespace
}  // namespace vornix::testing
