#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sequencer/OrvMidiNoteRateList.h"
#include "sequencer/OrvMidiNoteTypeList.h"
#include "sequencer/OrvMidiSeqOrderList.h"
#include "sequencer/OrvSeqTriggers.h"

namespace vornix::sequencer {
namespace {

struct Row {
  std::string name;
  int tag;
  int code;
};

template <class List, class Code>
void ExpectRowsInOrder(const List& list, const std::vector<Row>& rows, Code code) {
  ASSERT_EQ(list.Count(), static_cast<int>(rows.size()));
  for (int i = 0; i < list.Count(); ++i) {
    SCOPED_TRACE(rows[static_cast<std::size_t>(i)].name);
    EXPECT_EQ(list.Items(i).Name, rows[static_cast<std::size_t>(i)].name);
    EXPECT_EQ(list.Items(i).Tag, rows[static_cast<std::size_t>(i)].tag);
    EXPECT_EQ(code(list.Items(i)), rows[static_cast<std::size_t>(i)].code);
  }
}

TEST(ValueLists, EveryRowInListOrder) {
  ExpectRowsInOrder(TMidiNoteRateList(),
                    {{"32/1", 12, 13},
                     {"16/1", 11, 12},
                     {"8/1", 10, 11},
                     {"4/1", 9, 10},
                     {"2/1", 8, 9},
                     {"1/1", 7, 8},
                     {"1/2", 6, 7},
                     {"1/4", 5, 6},
                     {"1/8", 4, 5},
                     {"1/16", 3, 4},
                     {"1/32", 2, 3},
                     {"1/64", 1, 2},
                     {"1/128", 0, 1}},
                    [](const TMidiNoteRateItem& i) { return int{i.RateIndex()}; });
  ExpectRowsInOrder(TMidiNoteTypeList(), {{"Dotted", 0, 2}, {"Normal", 1, 1}, {"Triplet", 2, 0}},
                    [](const TMidiNoteTypeItem& i) { return int{i.NoteType()}; });
  ExpectRowsInOrder(TMidiSeqOrderList(),
                    {{"Forward", 0, 0},
                     {"Forward <", 1, 1},
                     {"Backward", 2, 2},
                     {"Backward >", 3, 3},
                     {"Each 2nd", 4, 4},
                     {"Each 3rd", 5, 5},
                     {"Each 4th", 6, 6},
                     {"Random", 7, 7},
                     {"Random Unique", 8, 8}},
                    [](const TMidiSeqOrderItem& i) { return int{i.SeqOrder()}; });
  ExpectRowsInOrder(TSeqTriggers(),
                    {{"Sync to Host", 0, 0},
                     {"Note", 1, 1},
                     {"Note 1-Shot", 2, 2},
                     {"Note Retrigger", 3, 3},
                     {"Note Retrigger 1-Shot", 4, 4}},
                    [](const TSeqTriggerItem& i) { return int{i.TriggerMode()}; });
}

TEST(ValueLists, AnUnfilledListIsEmpty) {
  EXPECT_EQ(TMidiNoteRateList(false).Count(), 0);
  TSeqTriggers triggers(false);
  triggers.Fill();
  EXPECT_EQ(triggers.Count(), 5);
}

TEST(ValueLists, RateTagsRunAgainstTheListOrder) {
  TMidiNoteRateList rates;
  EXPECT_EQ(rates.FindByTag(0), 12);
  EXPECT_EQ(rates.Items(rates.FindByTag(0)).Name, "1/128");
  EXPECT_EQ(rates.Items(rates.FindByTag(0)).RateIndex(), 1);
  EXPECT_EQ(rates.FindByTag(12), 0);
  EXPECT_EQ(rates.Items(rates.FindByTag(12)).RateIndex(), 13);
  for (int tag = 0; tag <= 12; ++tag) EXPECT_EQ(rates.Items(rates.FindByTag(tag)).RateIndex(), tag + 1);
}

TEST(ValueLists, FailedLookupsCarryTheirMessages) {
  TMidiNoteRateList rates;
  struct Case {
    std::function<void()> lookup;
    std::string message;
  };
  const std::vector<Case> cases = {
      {[&] { rates.FindByTag(13); }, "TOrvValueList.FindByTag - No match: 13"},
      {[&] { rates.FindByTag(-1); }, "TOrvValueList.FindByTag - No match: -1"},
      {[&] { rates.FindByName("1/256"); }, "TOrvValueList.FindByName - No match: 1/256"},
      {[&] { rates.FindByName("1/4 "); }, "TOrvValueList.FindByName - No match: 1/4 "},
      {[&] { TMidiSeqOrderList().Items("forward"); }, "TOrvValueList.FindByName - No match: forward"},
  };
  for (const Case& c : cases) {
    try {
      c.lookup();
      ADD_FAILURE() << "no exception for " << c.message;
    } catch (const std::exception& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
}

TEST(ValueLists, NamesAreMatchedExactlyAndFirstMatchWins) {
  TMidiNoteTypeList types;
  EXPECT_EQ(types.FindByName("Triplet"), 2);
  EXPECT_EQ(types.Items("Dotted").NoteType(), 2);
  EXPECT_THROW(types.FindByName("triplet"), std::exception);

  TOrvValueList plain;
  plain.AddValue("a", 7);
  plain.AddValue("a", 8);
  plain.AddValue("b", 7);
  EXPECT_EQ(plain.FindByName("a"), 0);
  EXPECT_EQ(plain.FindByTag(7), 0);
  EXPECT_EQ(plain.FindByTag(8), 1);
}

TEST(ValueLists, AssigningAnItemCopiesNameTagAndCode) {
  TMidiNoteRateList rates;
  TMidiNoteRateList copy(false);
  TMidiNoteRateItem& item = copy.AddItem("x", 99, 0);
  item.Assign(rates.Items("1/16"));
  EXPECT_EQ(item.Name, "1/16");
  EXPECT_EQ(item.Tag, 3);
  EXPECT_EQ(item.RateIndex(), 4);
}

}  // namespace
}  // namespace vornix::sequencer
