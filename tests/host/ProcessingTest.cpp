// The processing path through the record: guards, the MIDI queue and its flush, incoming events,
// the accumulating entry, processing modes, sample rate and the host's time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "TestModule.h"

namespace vornix::testing {
namespace {

using namespace vst;

struct Received {
  VstInt32 delta;
  unsigned char status, data1, data2;
  VstInt32 type, byteSize;
  bool operator==(const Received&) const = default;
};

// A host that keeps every event block it receives.
struct EventHost {
  std::vector<std::vector<Received>> blocks;
  std::vector<VstInt32> opcodes;
  const VstTimeInfo* time = nullptr;
  VstIntPtr product = 1;
  static EventHost* current;
  static VstIntPtr VSTCALLBACK Callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    EventHost& h = *current;
    h.opcodes.push_back(opcode);
    switch (opcode) {
      case audioMasterVersion: return 2400;
      case audioMasterGetTime: return reinterpret_cast<VstIntPtr>(h.time);
      case audioMasterGetProductString:
        if (h.product != 0) std::strcpy(static_cast<char*>(ptr), "Host");
        return h.product;
      case audioMasterProcessEvents: {
        const auto* list = static_cast<const VstEvents*>(ptr);
        std::vector<Received> block;
        for (VstInt32 i = 0; i < list->numEvents; ++i) {
          const auto* e = reinterpret_cast<const VstMidiEvent*>(list->events[i]);
          block.push_back({e->deltaFrames, static_cast<unsigned char>(e->midiData[0]),
                           static_cast<unsigned char>(e->midiData[1]), static_cast<unsigned char>(e->midiData[2]),
                           e->type, e->byteSize});
        }
        h.blocks.push_back(block);
        return 1;
      }
      default: return 0;
    }
  }
};
EventHost* EventHost::current = nullptr;

class ProcessingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EventHost::current = &eventHost;
    effect = host::CreateEffect(
        [this] {
          auto m = std::make_unique<TestModule>();
          module = m.get();
          return m;
        },
        &EventHost::Callback);
    ASSERT_NE(effect, nullptr);
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    module->OnProcess32Replacing = [this](float* const*, float* const* outputs, unsigned frames) {
      ++processed;
      for (unsigned i = 0; i < frames; ++i) outputs[0][i] = 0.25f;
      if (onBlock) onBlock();
    };
  }
  void TearDown() override { effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f); }

  void Block(int frames) {
    out[0].assign(static_cast<std::size_t>(std::max(frames, 1)), 1.0f);
    out[1].assign(static_cast<std::size_t>(std::max(frames, 1)), 1.0f);
    float* buffers[2] = {out[0].data(), out[1].data()};
    effect->processReplacing(effect, nullptr, buffers, frames);
  }

  EventHost eventHost;
  AEffect* effect = nullptr;
  TestModule* module = nullptr;
  int processed = 0;
  std::function<void()> onBlock;
  std::vector<float> out[2];
};

TEST_F(ProcessingTest, QueuedEventsLeaveTogetherAfterTheBlock) {
  onBlock = [this] {
    module->QueueControlChange(2, 20, 64, 0);
    module->QueueControlChange(2, 21, 65, 10);
    module->QueueControlChange(2, 22, 66, 10);
  };
  Block(64);
  ASSERT_EQ(eventHost.blocks.size(), 1u);
  EXPECT_EQ(eventHost.blocks[0],
            (std::vector<Received>{{0, 0xB2, 20, 64, 1, 24}, {10, 0xB2, 21, 65, 1, 24}, {10, 0xB2, 22, 66, 1, 24}}));
}

TEST_F(ProcessingTest, EventsAreHandedOverInTimeOrder) {
  onBlock = [this] {
    module->QueueNoteOn(0, 60, 100, 50);
    module->QueueNoteOff(0, 61, 0, 10);
    module->QueuePolyPressure(0, 62, 5, 10);
    module->QueueChannelPressure(1, 77, 0);
    module->QueuePitchBend(15, 0x11, 0x22, 30);
  };
  Block(64);
  ASSERT_EQ(eventHost.blocks.size(), 1u);
  EXPECT_EQ(eventHost.blocks[0], (std::vector<Received>{{0, 0xD1, 77, 0, 1, 24},
                                                        {10, 0x80, 61, 0, 1, 24},
                                                        {10, 0xA0, 62, 5, 1, 24},
                                                        {30, 0xEF, 0x11, 0x22, 1, 24},
                                                        {50, 0x90, 60, 100, 1, 24}}));
}

TEST_F(ProcessingTest, AtMost1023EventsLeavePerBlock) {
  onBlock = [this] {
    for (int i = 0; i < 1100; ++i) module->QueueControlChange(0, 1, static_cast<std::uint8_t>(i & 127), 0);
  };
  Block(64);
  ASSERT_EQ(eventHost.blocks.size(), 1u);
  EXPECT_EQ(eventHost.blocks[0].size(), 1023u);
  onBlock = nullptr;
  Block(64);
  EXPECT_EQ(eventHost.blocks.size(), 1u);  // the next call starts empty and sends nothing
}

TEST_F(ProcessingTest, GuardsIgnoreEmptyCalls) {
  onBlock = [this] { module->QueueControlChange(0, 1, 1, 0); };
  Block(0);
  Block(-5);
  float* none[2] = {nullptr, nullptr};
  effect->processReplacing(effect, nullptr, nullptr, 64);
  effect->processReplacing(nullptr, nullptr, none, 64);
  effect->process(effect, nullptr, nullptr, 64);
  effect->processDoubleReplacing(effect, nullptr, nullptr, 64);
  EXPECT_EQ(processed, 0);
  EXPECT_TRUE(eventHost.blocks.empty());
}

TEST_F(ProcessingTest, AccumulatingEntryAddsTheReplacingOutput) {
  std::vector<float> a(8, 1.0f), b(8, 1.0f);
  float* buffers[2] = {a.data(), b.data()};
  effect->process(effect, nullptr, buffers, 8);
  EXPECT_EQ(processed, 1);
  EXPECT_EQ(a[3], 1.25f);
  EXPECT_EQ(b[3], 1.0f);
}

// A block longer than the announced block size is rendered in parts, each with its own time and
// its events placed in the whole block.
TEST_F(ProcessingTest, AccumulatingEntryWorksThroughALongBlockInParts) {
  effect->dispatcher(effect, effSetBlockSize, 0, 64, nullptr, 0.0f);
  VstTimeInfo info{};
  info.sampleRate = 48000.0;
  info.tempo = 120.0;
  info.ppqPos = 1.0;
  info.flags = kVstTempoValid | kVstPpqPosValid;
  eventHost.time = &info;
  std::vector<unsigned> parts;
  std::vector<double> positions;
  module->OnProcess32Replacing = [&](float* const*, float* const* outputs, unsigned frames) {
    parts.push_back(frames);
    positions.push_back(module->RequestTimeInfo(0x2602)->ppqPos);
    for (unsigned i = 0; i < frames; ++i) outputs[0][i] = 0.25f;
    module->QueueControlChange(0, 7, static_cast<std::uint8_t>(parts.size()), 5);
  };
  std::vector<float> a(200, 1.0f), b(200, 1.0f);
  float* buffers[2] = {a.data(), b.data()};
  effect->process(effect, nullptr, buffers, 200);
  EXPECT_EQ(parts, (std::vector<unsigned>{64, 64, 64, 8}));
  ASSERT_EQ(positions.size(), 4u);
  EXPECT_DOUBLE_EQ(positions[0], 1.0);
  EXPECT_DOUBLE_EQ(positions[3], 1.0 + 192.0 / 24000.0);
  EXPECT_EQ(std::count(a.begin(), a.end(), 1.25f), 200);
  ASSERT_EQ(eventHost.blocks.size(), 1u);
  EXPECT_EQ(eventHost.blocks[0],
            (std::vector<Received>{
                {5, 0xB0, 7, 1, 1, 24}, {69, 0xB0, 7, 2, 1, 24}, {133, 0xB0, 7, 3, 1, 24}, {197, 0xB0, 7, 4, 1, 24}}));
  // The next replacing block starts from offset 0 and the host's own time again.
  module->OnProcess32Replacing = [&](float* const*, float* const*, unsigned) {
    EXPECT_EQ(module->RequestTimeInfo(0x2602), &info);
    module->QueueControlChange(0, 7, 9, 1);
  };
  Block(16);
  EXPECT_EQ(eventHost.blocks.back(), (std::vector<Received>{{1, 0xB0, 7, 9, 1, 24}}));
}

// Events passed through may carry offsets a host gave them outside this block.
TEST_F(ProcessingTest, EveryEventLeavesOnASampleInsideTheBlock) {
  onBlock = [this] {
    module->QueueControlChange(0, 1, 1, 300);
    module->QueueControlChange(0, 2, 2, -4);
  };
  Block(1);
  Block(64);
  ASSERT_EQ(eventHost.blocks.size(), 2u);
  EXPECT_EQ(eventHost.blocks[0], (std::vector<Received>{{0, 0xB0, 1, 1, 1, 24}, {0, 0xB0, 2, 2, 1, 24}}));
  EXPECT_EQ(eventHost.blocks[1], (std::vector<Received>{{0, 0xB0, 2, 2, 1, 24}, {63, 0xB0, 1, 1, 1, 24}}));
}

TEST_F(ProcessingTest, MuteAndCopyModes) {
  module->ProcessingMode = host::TProcessingMode::pmMute;
  Block(16);
  EXPECT_EQ(processed, 0);
  EXPECT_EQ(out[0][5], 0.0f);
  EXPECT_EQ(out[1][5], 0.0f);
}

TEST_F(ProcessingTest, IncomingEventsAreRoutedByType) {
  int midi = 0, sysex = 0, other = 0, whole = 0;
  module->OnProcessMidi = [&](host::TVSTModuleWithMidi&, const VstMidiEvent& e) {
    ++midi;
    EXPECT_EQ(e.deltaFrames, 7);
  };
  VstMidiEvent m{};
  m.type = kVstMidiType;
  m.deltaFrames = 7;
  VstMidiSysexEvent s{};
  s.type = kVstSysExType;
  VstEvent a{};
  a.type = kVstAudioType;
  std::vector<unsigned char> storage(VstEventsSize(3));
  auto* list = reinterpret_cast<VstEvents*>(storage.data());
  list->numEvents = 3;
  list->events[0] = reinterpret_cast<VstEvent*>(&m);
  list->events[1] = reinterpret_cast<VstEvent*>(&s);
  list->events[2] = &a;
  EXPECT_EQ(effect->dispatcher(effect, effProcessEvents, 0, 0, list, 0.0f), 1);
  EXPECT_EQ(midi, 1);
  module->OnProcessMidiSysEx = [&](host::TVSTModuleWithMidi&, const VstMidiSysexEvent&) { ++sysex; };
  module->OnProcessEvent = [&](host::TVSTModuleWithMidi&, const VstEvent&) { ++other; };
  module->OnProcessEvents = [&](host::TVSTModuleWithMidi&, const VstEvents& e) { whole += e.numEvents; };
  effect->dispatcher(effect, effProcessEvents, 0, 0, list, 0.0f);
  EXPECT_EQ(midi, 2);
  EXPECT_EQ(sysex, 1);
  EXPECT_EQ(other, 1);
  EXPECT_EQ(whole, 3);
  EXPECT_EQ(effect->dispatcher(effect, effProcessEvents, 0, 0, nullptr, 0.0f), 1);
}

TEST_F(ProcessingTest, SampleRateChangesAreAnnouncedOnce) {
  std::vector<float> rates;
  std::vector<int> sizes;
  module->OnSampleRateChange = [&](host::TCustomVSTModule&, float r) { rates.push_back(r); };
  module->OnBlockSizeChange = [&](host::TCustomVSTModule&, int s) { sizes.push_back(s); };
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  effect->dispatcher(effect, effSetBlockSize, 0, 1024, nullptr, 0.0f);
  effect->dispatcher(effect, effSetBlockSizeAndSampleRate, 0, 256, nullptr, 48000.0f);
  EXPECT_EQ(rates, std::vector<float>{48000.0f});
  EXPECT_EQ(sizes, std::vector<int>{256});
  EXPECT_EQ(module->SampleRate(), 48000.0f);
}

TEST_F(ProcessingTest, TimeInfoIsTheHostsOrNone) {
  EXPECT_EQ(module->RequestTimeInfo(0x2602), nullptr);
  VstTimeInfo info{};
  info.tempo = 120.0;
  eventHost.time = &info;
  EXPECT_EQ(module->RequestTimeInfo(0x2602), &info);
  TestModule unbound;
  EXPECT_EQ(unbound.RequestTimeInfo(0x2602), nullptr);
}

TEST_F(ProcessingTest, HostProductIsCachedOnceKnown) {
  eventHost.product = 0;
  EXPECT_EQ(module->GetHostProduct(), "Unknown");
  eventHost.product = 1;
  EXPECT_EQ(module->GetHostProduct(), "Host");
  eventHost.opcodes.clear();
  EXPECT_EQ(module->GetHostProduct(), "Host");
  EXPECT_TRUE(eventHost.opcodes.empty());
}

TEST_F(ProcessingTest, ClosedEntriesDoNothing) {
  host::TBasicVSTModule* before = host::TBasicVSTModule::FromEffect(effect);
  EXPECT_EQ(before, module);
  AEffect* e = effect;
  EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(host::TBasicVSTModule::FromEffect(e), nullptr);
  // Re-create so TearDown has something to close.
  SetUp();
}

}  // namespace
}  // namespace vornix::testing
