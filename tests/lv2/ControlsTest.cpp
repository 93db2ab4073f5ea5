// The settings' ports: a host's value as the module takes it, and only a port that changed counts.
#include <gtest/gtest.h>

#include <cmath>

#include "../platform/TempEnvironment.h"
#include "formats/common/EffectHost.h"
#include "formats/lv2/Controls.h"

namespace vornix::testing::lv2 {
namespace {

using formats::lv2::TControls;

struct TQuiet : formats::TEffectHost::TListener {};

class Lv2Controls : public ::testing::Test {
 protected:
  platform::test::TTempHome home;
  TQuiet quiet;
  formats::TEffectHost host{quiet};
  TControls controls{formats::DescribeParameters(host.Module())};
};

TEST_F(Lv2Controls, AHostsValueIsTakenAsTheModuleTakesIt) {
  struct TCase {
    int index;
    float value, taken;
  };
  for (const TCase& c : {TCase{0, 0.3f, 1}, TCase{0, 0.0f, 0}, TCase{0, -2.0f, 0}, TCase{8, 1.0f, 1},       // toggles
                         TCase{1, 31.6f, 32}, TCase{1, 100.0f, 64}, TCase{1, -5.0f, 1}, TCase{1, 2.5f, 2},  // steps
                         TCase{4, 12.4f, 12}, TCase{4, 3.5f, 4}, TCase{5, 9.0f, 2}}) {                      // lists
    EXPECT_EQ(controls.FromHost(c.index, c.value), c.taken) << c.index << " " << c.value;
    // The module shows the same value for it.
    host.SetParameter(c.index, controls.Normalized(c.index, c.taken));
    EXPECT_EQ(controls.FromModule(c.index, host.Parameter(c.index)), c.taken);
  }
  EXPECT_TRUE(std::isnan(controls.FromHost(3, NAN)));
}

TEST_F(Lv2Controls, OnlyAPortThatChangedCounts) {
  std::array<float, plugin::kParameterCount> ports{};
  for (int i = 0; i < plugin::kParameterCount; ++i) {
    ports[static_cast<std::size_t>(i)] = controls.Default(i);
    controls.Connect(i, &ports[static_cast<std::size_t>(i)]);
  }
  std::vector<std::pair<int, float>> taken;
  const auto take = [&](int i, float v) { taken.emplace_back(i, v); };
  controls.TakeChanges(take);
  EXPECT_TRUE(taken.empty()) << "ports at their defaults are what the module started from";

  ports[4] = 9.2f;
  ports[10] = NAN;
  controls.TakeChanges(take);
  EXPECT_EQ(taken, (std::vector<std::pair<int, float>>{{4, 9.0f}}));
  taken.clear();
  ports[4] = 8.9f;  // the same whole number
  controls.TakeChanges(take);
  EXPECT_TRUE(taken.empty());

  EXPECT_EQ(controls.Seen(4), 9.0f);
  EXPECT_EQ(controls.Seen(10), 32.0f) << "a port holding no number keeps what was seen";
}

}  // namespace
}  // namespace vornix::testing::lv2
