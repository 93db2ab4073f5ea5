// The LV2 face's run() must not touch the heap either: every allocation is counted while it plays
// ten thousand blocks with all eight sequences on, transport reports now and then (seeks, stops,
// tempo changes), notes and mapped controllers arriving and the host moving ports.
#include <gtest/gtest.h>

#include <memory>

#include "../lv2/Atoms.h"
#include "../platform/TempEnvironment.h"
#include "CountingAllocator.h"
#include "formats/lv2/Plugin.h"
#include "formats/lv2/Ports.h"
#include "plugin/Plugin.h"

namespace vornix::testing {
namespace {

using namespace testing::lv2;

TEST(Lv2NoAllocation, TenThousandBlocksAfterWarmUp) {
  platform::test::TTempHome home;
  TUridMap map;
  LV2_Feature mapFeature{LV2_URID__map, map.MapFeature()};
  const LV2_Feature* features[] = {&mapFeature, nullptr};
  formats::lv2::TPlugin plugin(44100.0, features);
  TInput in(map);
  TOutput out;
  std::array<float, plugin::kParameterCount> ports{};
  plugin.Connect(formats::lv2::kEventsIn, in.Sequence());
  plugin.Connect(formats::lv2::kEventsOut, out.Sequence());
  for (int i = 0; i < plugin::kParameterCount; ++i) {
    ports[static_cast<std::size_t>(i)] = plugin.Value(i);
    plugin.Connect(formats::lv2::kFirstControl + static_cast<std::uint32_t>(i), &ports[static_cast<std::size_t>(i)]);
  }
  for (int s = 0; s < 8; ++s) {
    ports[static_cast<std::size_t>(9 * s)] = 1.0f;                       // Active
    ports[static_cast<std::size_t>(9 * s + 4)] = static_cast<float>(s);  // Rate
    ports[static_cast<std::size_t>(9 * s + 6)] = static_cast<float>(s);  // Order
  }
  ports[9 * 7 + 7] = 1.0f;  // sequence 8 started by notes
  plugin.Host().Module().SetCC("Seq2 Steps", 21);
  plugin.Activate();

  long allocations = 0, events = 0;
  const auto play = [&](int blocks, bool count) {
    for (int b = 0; b < blocks; ++b) {
      if (b % 64 == 0)
        in.Position(0, TReport{b % 128 == 0 ? 1.0 : 0.0, 128.0 + b % 3, 4.0, 4, b % 7, 0.0, std::nullopt});
      in.Midi(b % 512, {static_cast<std::uint8_t>(b % 32 == 0 ? 0x90 : 0xB0),
                        static_cast<std::uint8_t>(b % 32 == 0 ? 60 : 21), static_cast<std::uint8_t>(b % 128)});
      if (b % 10 == 0) ports[13] = static_cast<float>(b % 13);  // Seq2 Rate
      out.Prepare();
      if (count) StartCountingAllocations();
      plugin.Run(b % 5 == 4 ? 1200 : 512);
      if (count) allocations += StopCountingAllocations();
      LV2_ATOM_SEQUENCE_FOREACH(out.Sequence(), ev)++ events;
      in.Clear();
    }
  };
  play(200, false);
  events = 0;
  play(10000, true);
  EXPECT_EQ(allocations, 0);
  EXPECT_GT(events, 10000);
}

}  // namespace
}  // namespace vornix::testing
