// The processing path must not touch the heap: every allocation in this binary is counted while
// the plug-in runs ten thousand blocks with all eight sequences playing and notes arriving.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "host/VSTModule.h"
#include "plugin/Plugin.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

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
  std::vector<float> a(512), b(512);
  float* out[2] = {a.data(), b.data()};
  VstMidiEvent note{};
  note.type = kVstMidiType;
  unsigned char storage[VstEventsSize(1)] = {};
  auto* list = reinterpret_cast<VstEvents*>(storage);
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
      e->processReplacing(e, nullptr, out, 512);
      ppq += 512 * 128.0 / 60.0 / 44100.0;
    }
  };
  run(200);
  counting = true;
  run(10000);
  counting = false;
  EXPECT_EQ(allocations.load(), 0);
  EXPECT_GT(eventsReceived, 10000);
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
}

}  // namespace
}  // namespace vornix::testing
