// The CLAP face's processing path must not touch the heap either: ten thousand blocks with the
// host's parameter changes, notes, transport changes and a mapped controller inside them, blocks
// longer than the longest part, and the editor's edits waiting for the next block.
#include <gtest/gtest.h>

#include "../clap/ClapFixture.h"
#include "CountingAllocator.h"

namespace vornix::claptest {
namespace {

using namespace clap;

// The host's list, counting what it takes without keeping it.
struct TCountingOutput {
  long events = 0;
  clap_output_events list{this, [](const clap_output_events* l, const clap_event_header*) {
                            ++static_cast<TCountingOutput*>(l->ctx)->events;
                            return true;
                          }};
};

TEST_F(ClapFace, TenThousandBlocksAfterWarmUpAllocateNothing) {
  for (int s = 1; s <= 8; ++s) {
    Module().SetParameterByName("Seq" + std::to_string(s) + " Active", 1.0f);
    Module().SetParameterByName("Seq" + std::to_string(s) + " Rate", static_cast<float>(s));
  }
  Module().SetCC("Seq2 Steps", 7);
  ASSERT_TRUE(host->Activate(48000.0, 8192));
  // Made before counting: the host's lists of a few kinds of blocks.
  std::vector<TEventList> kinds(4);
  kinds[0].Add(ParamEvent(100, 4, 3));
  kinds[0].Add(MidiEvent(200, 0x90, 60, 100));
  kinds[0].Add(ParamEvent(300, 9, 1));
  kinds[1].Add(MidiEvent(10, 0xB0, 7, 90));
  kinds[1].Add(MidiEvent(400, 0x80, 60, 0));
  clap_event_transport jump = Transport(2.0, 140.0, 3, 4, true);
  jump.header.time = 256;
  kinds[2].Add(jump);
  TCountingOutput out;
  auto run = [&](int blocks) {
    for (int b = 0; b < blocks; ++b) {
      const std::uint32_t frames = b % 7 == 6 ? 6000 : 512;
      const clap_event_transport transport = Transport(b * 512 / 24000.0, 120.0, 4, 4, true);
      host->Process(frames, &transport, kinds[static_cast<std::size_t>(b % 4)], out.list);
      if (b % 50 == 0) Module().EditParameter("Seq1 CC#", static_cast<float>(b % 128));
    }
  };
  run(200);
  out.events = 0;
  testing::StartCountingAllocations();
  run(10000);
  EXPECT_EQ(testing::StopCountingAllocations(), 0);
  EXPECT_GT(out.events, 10000);
}

}  // namespace
}  // namespace vornix::claptest
