// The processing path must not touch the heap: every allocation in this binary is counted while
// the plug-in runs ten thousand blocks with all eight sequences playing and notes arriving, and
// again with the editor open, MIDI learn waiting for a controller and mapped controllers arriving.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "CountingAllocator.h"
#include "editor/forms/EmbeddedEditor.h"
#include "host/VSTModule.h"
#include "platform/MemoryWindowSystem.h"
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

// The plug-in as a host makes it, all eight sequences playing, and the host's blocks: now and then
// an older host's accumulating call, longer than the announced block size. Each block brings one
// event: a note now and then, controllers otherwise (on controller `cc`).
class PlayingPlugin {
 public:
  PlayingPlugin() {
    e = host::CreateEffect([] { return std::make_unique<plugin::TVSTPlugin>(); }, &Callback);
    e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
    module = static_cast<plugin::TVSTPlugin*>(host::TBasicVSTModule::FromEffect(e));
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
    note.type = kVstMidiType;
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<VstEvent*>(&note);
  }
  ~PlayingPlugin() { e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f); }

  void Run(int blocks, int cc = 60) {
    for (int i = 0; i < blocks; ++i) {
      const int block = count++;
      note.midiData[0] = static_cast<char>(block % 64 == 0 ? 0x90 : 0xB0);
      note.midiData[1] = static_cast<char>(block % 64 == 0 ? 60 : cc);
      note.midiData[2] = static_cast<char>(block % 128);
      e->dispatcher(e, effProcessEvents, 0, 0, &events, 0.0f);
      timeInfo.ppqPos = ppq;
      const int frames = block % 5 == 4 ? 1200 : 512;
      if (frames == 512)
        e->processReplacing(e, nullptr, out, frames);
      else
        e->process(e, nullptr, out, frames);
      ppq += frames * 128.0 / 60.0 / 44100.0;
    }
  }

  AEffect* e = nullptr;
  plugin::TVSTPlugin* module = nullptr;

 private:
  std::vector<float> a = std::vector<float>(1200), b = std::vector<float>(1200);
  float* out[2] = {a.data(), b.data()};
  VstMidiEvent note{};
  VstEvents events{};  // room for one event and more
  double ppq = 0.0;
  int count = 0;  // blocks so far
};

TEST(NoAllocation, TenThousandBlocksAfterWarmUp) {
  PlayingPlugin p;
  p.Run(200);
  eventsReceived = 0;
  StartCountingAllocations();
  p.Run(10000);
  EXPECT_EQ(StopCountingAllocations(), 0);
  EXPECT_GT(eventsReceived, 10000);
}

// The editor open marks what changed for it; a learned controller is parked for the editor's
// thread; mapped controllers set their parameters and tell the host. None of it allocates.
TEST(NoAllocation, WithTheEditorOpenLearnArmedAndMappedControllersArriving) {
  PlayingPlugin p;
  platform::TMemoryWindowSystem windows;
  editor::InstallEmbeddedEditor(*p.module, &windows);
  int parent = 0;
  ASSERT_EQ(p.e->dispatcher(p.e, effEditOpen, 0, 0, &parent, 0.0f), 1);
  p.module->SetCC("Seq1 CC#", 21);
  p.module->SetCC("Seq2 Channel", 21);
  p.Run(201, 21);

  // Learn: the first controller completes it on the processing thread.
  p.module->SetLearnMode(1);
  p.module->LearnControlPressed("Seq3 Steps");
  StartCountingAllocations();
  p.Run(1, 33);
  EXPECT_EQ(StopCountingAllocations(), 0);
  EXPECT_EQ(p.module->LearnMode(), 0);

  StartCountingAllocations();
  p.Run(10000, 21);
  EXPECT_EQ(StopCountingAllocations(), 0);
  EXPECT_EQ(p.module->Sequencer().Items(0).CCNumber(), 10201 % 128);  // the last controller's value
  p.e->dispatcher(p.e, effEditIdle, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(p.module->MidiCCList().Count(), 3);  // the learned link, completed on the editor's thread
  p.e->dispatcher(p.e, effEditClose, 0, 0, nullptr, 0.0f);
}

}  // namespace
}  // namespace vornix::testing
