#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "plugin/cc/OrvMidiCC.h"

namespace vornix::plugin {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<TMidiCCItem> ItemsOf(const TMidiCCList& list) { return {list.begin(), list.end()}; }

TEST(MidiCCList, SetCCReplacesTheControllerOfANameAndAppendsNewNames) {
  TMidiCCList list;
  EXPECT_EQ(list.IndexOfName("Seq1 CC#"), -1);
  EXPECT_EQ(list.SetCC("Seq1 CC#", 20), (TMidiCCItem{20, "Seq1 CC#"}));
  list.SetCC("Seq1 Steps", 7);
  list.SetCC("Seq2 Steps", 7);
  // Learning a second controller for a parameter replaces its first, in place.
  EXPECT_EQ(list.SetCC("Seq1 CC#", 21), (TMidiCCItem{21, "Seq1 CC#"}));
  EXPECT_THAT(ItemsOf(list),
              ElementsAre(TMidiCCItem{21, "Seq1 CC#"}, TMidiCCItem{7, "Seq1 Steps"}, TMidiCCItem{7, "Seq2 Steps"}));
  EXPECT_EQ(list.IndexOfName("Seq1 Steps"), 1);
  EXPECT_EQ(list.IndexOfName("seq1 steps"), -1);  // names compare exactly
  list.SetCC("seq1 steps", 9);
  EXPECT_EQ(list.Count(), 4);
}

TEST(MidiCCList, EveryItemOfAControllerIsVisitedInListOrder) {
  TMidiCCList list;
  list.SetCC("Seq2 Steps", 7);
  list.SetCC("Seq1 CC#", 8);
  list.SetCC("Seq1 Steps", 7);
  std::vector<std::string> visited;
  list.ForEachWithCC(7, [&](const TMidiCCItem& item) { visited.push_back(item.ParameterName); });
  EXPECT_THAT(visited, ElementsAre("Seq2 Steps", "Seq1 Steps"));
  visited.clear();
  list.ForEachWithCC(9, [&](const TMidiCCItem& item) { visited.push_back(item.ParameterName); });
  EXPECT_THAT(visited, IsEmpty());
}

TEST(MidiCCList, DeleteRemovesOneItemAndClearEmpties) {
  TMidiCCList list;
  list.SetCC("A", 1);
  list.SetCC("B", 2);
  list.SetCC("C", 3);
  list.Delete(1);
  EXPECT_THAT(ItemsOf(list), ElementsAre(TMidiCCItem{1, "A"}, TMidiCCItem{3, "C"}));
  EXPECT_EQ(list.IndexOfName("C"), 1);
  EXPECT_THROW(list.Delete(2), std::out_of_range);
  EXPECT_THROW(list.Delete(-1), std::out_of_range);
  EXPECT_THROW(list.Items(2), std::out_of_range);
  list.Clear();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_THAT(list.RemoveEntries(), IsEmpty());
}

TEST(MidiCCList, RemoveEntriesSortByThreeDigitNumberThenNameIgnoringCase) {
  TMidiCCList list;
  list.SetCC("Seq2 Steps", 7);    // 0
  list.SetCC("Seq1 CC#", 100);    // 1
  list.SetCC("seq1 rate", 7);     // 2
  list.SetCC("Seq1 Active", 12);  // 3
  list.SetCC("SEQ1 Rate", 7);     // 4: equal key to 2 ignoring case, keeps list order
  list.SetCC("Seq8 Smooth", 0);   // 5
  EXPECT_THAT(list.RemoveEntries(),
              ElementsAre(TMidiCCRemoveEntry{"CC# 0 - Seq8 Smooth", 5}, TMidiCCRemoveEntry{"CC# 7 - seq1 rate", 2},
                          TMidiCCRemoveEntry{"CC# 7 - SEQ1 Rate", 4}, TMidiCCRemoveEntry{"CC# 7 - Seq2 Steps", 0},
                          TMidiCCRemoveEntry{"CC# 12 - Seq1 Active", 3}, TMidiCCRemoveEntry{"CC# 100 - Seq1 CC#", 1}));
}

TEST(MidiCCList, CopiesAreIndependentSnapshots) {
  TMidiCCList list;
  list.SetCC("Seq1 CC#", 20);
  auto published = std::make_shared<const TMidiCCList>(list);
  TMidiCCList next = *published;
  next.SetCC("Seq1 CC#", 30);
  next.SetCC("Seq1 Steps", 7);
  EXPECT_THAT(ItemsOf(*published), ElementsAre(TMidiCCItem{20, "Seq1 CC#"}));
  EXPECT_NE(next, *published);
  next.Delete(1);
  next.SetCC("Seq1 CC#", 20);
  EXPECT_EQ(next, *published);
}

TEST(RemoteControlValue, ScalesTheControllerValueOntoTheParameterRange) {
  struct Case {
    float min, max;
    int value;
    float expected;
  };
  const Case cases[] = {
      {1, 64, 0, 1},     // Steps: 0 gives one step
      {1, 64, 127, 64},  // 127 gives 64 steps
      {1, 64, 64, 1 + 63.0f * 64 / 127},
      {1, 16, 127, 16},  // Channel
      {0, 1, 127, 1},    // switches
      {0, 1, 0, 0},
  };
  for (const auto& c : cases) EXPECT_FLOAT_EQ(RemoteControlValue(c.min, c.max, c.value), c.expected) << c.value;
  // 0..127 follows the controller one to one, exactly.
  for (int v = 0; v <= 127; ++v) EXPECT_EQ(RemoteControlValue(0, 127, v), static_cast<float>(v)) << v;
}

}  // namespace
}  // namespace vornix::plugin
