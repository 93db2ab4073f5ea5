#include <gtest/gtest.h>

#include <map>
#include <thread>
#include <vector>

#include "sequencer/OrvIntList.h"
#include "sequencer/OrvRandom.h"

namespace vornix::sequencer {
namespace {

TEST(Random, DrawsAreTheHighBitsOfTheUpdatedSeedTimesTheRange) {
  SetRandSeed(0);
  EXPECT_EQ(Random(100), 0);  // seed 1
  EXPECT_EQ(RandSeed(), 1u);
  EXPECT_EQ(Random(100), 3);  // seed 134775814
  EXPECT_EQ(Random(7), 6);    // seed 3698175007
  EXPECT_EQ(Random(1000), 202);
  EXPECT_EQ(Random(2147483647), 586093958);
  EXPECT_EQ(RandSeed(), 1172187917u);
}

TEST(Random, AnEmptyRangeDrawsNothing) {
  SetRandSeed(42);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-5), 0);
  EXPECT_EQ(RandSeed(), 42u);
}

TEST(Random, RandomizeReseeds) {
  SetRandSeed(7);
  Randomize();
  const std::uint32_t first = RandSeed();
  std::this_thread::sleep_for(std::chrono::microseconds(50));
  Randomize();
  EXPECT_NE(RandSeed(), first);
}

// Two threads drawing at once must advance the shared seed exactly as many times as one thread
// drawing all of it: no draw is lost or repeated.
TEST(Random, ConcurrentDrawsLoseNoUpdate) {
  constexpr int kDraws = 50000;
  SetRandSeed(12345);
  for (int i = 0; i < 2 * kDraws; ++i) Random(1000);
  const std::uint32_t sequential = RandSeed();

  SetRandSeed(12345);
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t)
    threads.emplace_back([] {
      for (int i = 0; i < kDraws; ++i) Random(1000);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(RandSeed(), sequential);
}

TEST(IntList, ShuffleKeepsAPermutation) {
  SetRandSeed(99);
  for (int n : {1, 2, 5, 64}) {
    TOrvIntList list;
    for (int i = 0; i < n; ++i) list.Add(i);
    list.Shuffle();
    std::vector<int> seen(static_cast<std::size_t>(n), 0);
    for (int i = 0; i < n; ++i) ++seen[static_cast<std::size_t>(list.Items(i))];
    for (int c : seen) EXPECT_EQ(c, 1);
  }
}

// Swapping every position with one drawn from the whole list is not uniform: of its 27 equally
// likely draw sequences for three items, 5 give each of three permutations and 4 the other three.
TEST(IntList, ShuffleSwapsWithPositionsOfTheWholeList) {
  SetRandSeed(2024);
  constexpr int kRuns = 54000;
  std::map<std::vector<int>, int> counts;
  for (int run = 0; run < kRuns; ++run) {
    TOrvIntList list;
    for (int i = 0; i < 3; ++i) list.Add(i);
    list.Shuffle();
    counts[{list.Items(0), list.Items(1), list.Items(2)}]++;
  }
  const std::map<std::vector<int>, int> expected27 = {{{0, 1, 2}, 4}, {{0, 2, 1}, 5}, {{1, 0, 2}, 5},
                                                      {{1, 2, 0}, 5}, {{2, 0, 1}, 4}, {{2, 1, 0}, 4}};
  for (const auto& [perm, n] : expected27) {
    const double share = static_cast<double>(counts[perm]) / kRuns;
    EXPECT_NEAR(share, n / 27.0, 0.008) << perm[0] << perm[1] << perm[2];
  }
}

TEST(IntList, ExchangeAndCapacity) {
  TOrvIntList list;
  for (int i = 0; i < 70; ++i) list.Add(i);
  EXPECT_EQ(list.Count(), TOrvIntList::kCapacity);
  list.Exchange(0, 63);
  EXPECT_EQ(list.Items(0), 63);
  EXPECT_EQ(list.Items(63), 0);
}

}  // namespace
}  // namespace vornix::sequencer
