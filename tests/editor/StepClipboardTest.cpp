#include "editor/logic/StepClipboard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/logic/BinClipboard.h"
#include "editor/logic/ClipboardBlock.h"
#include "platform/MemoryWindowSystem.h"
#include "plugin/stream/TaggedValues.h"

namespace vornix::editor {
namespace {

using sequencer::TCCStepList;
using Bytes = std::vector<std::uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

const Bytes kOneStepStream = {0x54, 0x50, 0x46, 0x30, 0x01, 0x01, 0x02, 0x01, 0x00, 0x01, 0x02, 0x00,
                              0x0F, 0x00, 0x00, 0x7C, 0x42, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

// The message of whatever reading the block raised, or "" when it was read.
std::string ReadError(const Bytes& block) {
  try {
    ReadStepBlock(block);
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

TCCStepList Steps(int count, const std::function<float(int)>& value) {
  TCCStepList steps(TCCStepList::kMaxSteps);
  for (int i = 0; i < count; ++i) steps[i].SetValue(value(i));
  return steps;
}

TEST(StepClipboard, OneStepIsTheDocumentedTwentyFourBytes) {
  const TCCStepList steps(TCCStepList::kMaxSteps);  // value 63, no random range
  const Bytes stream = WriteStepStream(steps, 1);
  EXPECT_EQ(stream, kOneStepStream);
  EXPECT_EQ(MakeClipboardBlock(stream), Concat({{0x18, 0x00, 0x00, 0x00}, kOneStepStream}));

  const TClipboardSteps data = ReadStepBlock(MakeClipboardBlock(stream));
  EXPECT_EQ(data.StepCount, 1);
  ASSERT_EQ(data.Steps.size(), 1u);
  EXPECT_EQ(data.Steps[0].Index, 0);
  EXPECT_EQ(data.Steps[0].Value, 63.0f);
  EXPECT_EQ(data.Steps[0].RandomRange, 0.0f);
}

TEST(StepClipboard, EveryIntegerOfACopyTakesOneByte) {
  for (const int n : {1, 2, 16, 32, 63, 64}) {
    const TCCStepList steps = Steps(n, [](int i) { return 127.0f - i; });
    const Bytes stream = WriteStepStream(steps, n);
    EXPECT_EQ(stream.size(), 10u + 14u * n) << n << " steps";
    EXPECT_EQ(MakeClipboardBlock(stream).size(), 14u + 14u * n);
  }
  EXPECT_EQ(WriteStepStream(TCCStepList(64), 32).size(), 458u);
  // The last record (01 02 3F, two singles, 00) and the end of the pattern.
  const Bytes stream = WriteStepStream(TCCStepList(64), 64);
  const Bytes tail(stream.end() - 15, stream.end());
  EXPECT_EQ(Bytes(tail.begin(), tail.begin() + 4), (Bytes{0x01, 0x02, 0x3F, 0x0F}));
  EXPECT_EQ(Bytes(tail.end() - 2, tail.end()), (Bytes{0x00, 0x00}));
}

TEST(StepClipboard, CopyRefusesStepCountsOutsideTheList) {
  const TCCStepList steps(TCCStepList::kMaxSteps);
  EXPECT_THROW(WriteStepStream(steps, 0), std::invalid_argument);
  EXPECT_THROW(WriteStepStream(steps, 65), std::invalid_argument);
  EXPECT_THROW(WriteStepStream(TCCStepList(8), 9), std::invalid_argument);
}

TEST(StepClipboard, ValuesAndRandomRangesTravelExactly) {
  TCCStepList steps = Steps(5, [](int i) { return 126.8f - 0.2f * i; });
  steps[2].SetRandomRange(0.2f);
  steps[4].SetRandomRange(-3.0f);  // an Alt press below the bar
  const TClipboardSteps data = ReadStepBlock(MakeClipboardBlock(WriteStepStream(steps, 5)));
  ASSERT_EQ(data.Steps.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(data.Steps[static_cast<std::size_t>(i)].Index, i);
    EXPECT_EQ(data.Steps[static_cast<std::size_t>(i)].Value, steps[i].Value());
    EXPECT_EQ(data.Steps[static_cast<std::size_t>(i)].RandomRange, steps[i].RandomRange());
  }
}

TEST(StepClipboard, PastingEightCopiedStepsIntoThirtyTwoKeepsTheRestInactive) {
  platform::TMemoryWindowSystem system;
  TBinClipboard clipboard(system, {});
  const TCCStepList source = Steps(32, [](int i) { return static_cast<float>(i * 4); });
  CopySteps(clipboard, source, 8);

  TCCStepList grid = Steps(32, [](int i) { return 100.0f + static_cast<float>(i % 20); });
  const TCCStepList before = grid;
  const int count = ApplyClipboardSteps(PasteSteps(clipboard), grid);
  EXPECT_EQ(count, 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(grid[i].Value(), source[i].Value()) << i;
  for (int i = 8; i < 64; ++i) EXPECT_EQ(grid[i].Value(), before[i].Value()) << i;
}

TEST(StepClipboard, PastingWithoutStepDataSaysTheClipboardIsEmpty) {
  platform::TMemoryWindowSystem system;
  system.SetClipboardText("12");
  TBinClipboard clipboard(system, {});
  try {
    PasteSteps(clipboard);
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Empty clipboard");
  }
}

// A stream with the given header count and records, each record's bytes given whole.
Bytes Stream(const Bytes& count, std::initializer_list<Bytes> records, const Bytes& end = {0x00}) {
  Bytes s = Concat({{0x54, 0x50, 0x46, 0x30, 0x01, 0x01}, count, {0x00}});
  for (const Bytes& r : records) s = Concat({s, r});
  return Concat({s, end});
}

Bytes Record(const Bytes& index, const Bytes& value, const Bytes& range) {
  return Concat({{0x01}, index, value, range, {0x00}});
}

TEST(StepClipboard, ValuesMayComeInAnyIntegerForm) {
  const Bytes stream = Stream(
      {0x02, 0x04}, {
                        Record({0x02, 0x00}, {0x02, 0x7F}, {0x02, 0xFB}),
                        Record({0x03, 0x01, 0x00}, {0x03, 0x40, 0x00}, {0x04, 5, 0, 0, 0}),
                        Record({0x04, 2, 0, 0, 0}, {0x13, 100, 0, 0, 0, 0, 0, 0, 0}, {0x0F, 0x00, 0x00, 0x20, 0x41}),
                    });
  const TClipboardSteps data = ReadStepBlock(MakeClipboardBlock(stream));
  EXPECT_EQ(data.StepCount, 4);
  ASSERT_EQ(data.Steps.size(), 3u);
  const float expected[3][3] = {{0, 127, -5}, {1, 64, 5}, {2, 100, 10}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(data.Steps[i].Index, expected[i][0]);
    EXPECT_EQ(data.Steps[i].Value, expected[i][1]);
    EXPECT_EQ(data.Steps[i].RandomRange, expected[i][2]);
  }
}

TEST(StepClipboard, TheStepCountIsLimitedAndRecordsMayNameAnyOfTheSixtyFourSteps) {
  struct TCase {
    Bytes Count;
    int Expected;
  };
  const TCase cases[] = {{{0x02, 0x00}, 1},          {{0x02, 0xFB}, 1},        {{0x02, 0x40}, 64},
                         {{0x02, 0x41}, 64},         {{0x03, 0x2C, 0x01}, 64}, {{0x04, 0, 0, 0, 0x80}, 1},
                         {{0x04, 0x10, 0, 0, 0}, 16}};
  for (const TCase& c : cases) {
    const Bytes stream = Stream(c.Count, {Record({0x02, 0x3F}, {0x02, 0x01}, {0x02, 0x00})});
    const TClipboardSteps data = ReadStepBlock(MakeClipboardBlock(stream));
    EXPECT_EQ(data.StepCount, c.Expected);
    ASSERT_EQ(data.Steps.size(), 1u);
    EXPECT_EQ(data.Steps[0].Index, 63);
  }
  // No records at all, and a block longer than its length field says.
  const Bytes empty = Stream({0x02, 0x08}, {});
  Bytes block = Concat({MakeClipboardBlock(empty), {0xDE, 0xAD}});
  const TClipboardSteps data = ReadStepBlock(block);
  EXPECT_EQ(data.StepCount, 8);
  EXPECT_TRUE(data.Steps.empty());
}

TEST(StepClipboard, DamagedAndForeignBlocksAreRefusedWithTheirMessages) {
  const Bytes good = MakeClipboardBlock(kOneStepStream);
  const std::string invalidData = "Invalid data in Clipboard!";
  const std::string invalidFormat = "Invalid stream format";
  const std::string invalidValue = "Invalid property value";
  const std::string readError = "Stream read error";
  const Bytes record = Record({0x02, 0x00}, {0x02, 0x01}, {0x02, 0x00});
  struct TCase {
    std::string Name;
    Bytes Block;
    std::string Message;
  };
  const TCase cases[] = {
      {"empty block", {}, invalidData},
      {"three bytes", {0x18, 0x00, 0x00}, invalidData},
      {"length beyond the block", Concat({{0x19, 0x00, 0x00, 0x00}, kOneStepStream}), invalidData},
      {"negative length", Concat({{0xFF, 0xFF, 0xFF, 0xFF}, kOneStepStream}), invalidData},
      {"largest length", Concat({{0xFF, 0xFF, 0xFF, 0x7F}, kOneStepStream}), invalidData},
      {"length only", {0x00, 0x00, 0x00, 0x00}, readError},
      {"stream cut short", Concat({{0x17, 0x00, 0x00, 0x00}, kOneStepStream}), readError},
      {"other signature", MakeClipboardBlock(Concat({{0x54, 0x50, 0x46, 0x31}, Bytes(20, 0)})), invalidFormat},
      {"a state chunk", MakeClipboardBlock(Bytes{0x6D, 0x6D, 0x73, 0x74, 0x04, 0, 0, 0, 0x54, 0x50, 0x46, 0x30}),
       invalidFormat},
      {"text", MakeClipboardBlock(Bytes{'h', 'e', 'l', 'l', 'o'}), invalidFormat},
      {"no list", MakeClipboardBlock(Bytes{0x54, 0x50, 0x46, 0x30, 0x02, 0x01}), invalidValue},
      {"no header", MakeClipboardBlock(Bytes{0x54, 0x50, 0x46, 0x30, 0x01, 0x02, 0x01}), invalidValue},
      {"count as single", MakeClipboardBlock(Stream({0x0F, 0, 0, 0x80, 0x3F}, {})), invalidValue},
      {"count as 64-bit", MakeClipboardBlock(Stream({0x13, 1, 0, 0, 0, 0, 0, 0, 0}, {})), invalidValue},
      {"header not closed", MakeClipboardBlock(Bytes{0x54, 0x50, 0x46, 0x30, 0x01, 0x01, 0x02, 0x01, 0x01}),
       invalidValue},
      {"record not a list", MakeClipboardBlock(Stream({0x02, 0x01}, {{0x02, 0x00}})), invalidValue},
      {"value as text", MakeClipboardBlock(Stream({0x02, 0x01}, {Record({0x02, 0x00}, {0x06, 0x01, '5'}, {0x02, 0})})),
       invalidValue},
      {"value as extended",
       MakeClipboardBlock(Stream({0x02, 0x01}, {Record({0x02, 0x00}, Bytes(11, 0x05), {0x02, 0})})), invalidValue},
      {"record not closed",
       MakeClipboardBlock(Stream({0x02, 0x01}, {{0x01, 0x02, 0x00, 0x02, 0x01, 0x02, 0x00, 0x02}})), invalidValue},
      {"index 64", MakeClipboardBlock(Stream({0x02, 0x01}, {Record({0x02, 0x40}, {0x02, 1}, {0x02, 0})})),
       "List index out of bounds (64)"},
      {"index -1", MakeClipboardBlock(Stream({0x02, 0x01}, {Record({0x02, 0xFF}, {0x02, 1}, {0x02, 0})})),
       "List index out of bounds (-1)"},
      {"index 300", MakeClipboardBlock(Stream({0x02, 0x01}, {Record({0x03, 0x2C, 0x01}, {0x02, 1}, {0x02, 0})})),
       "List index out of bounds (300)"},
      {"bad index after good records",
       MakeClipboardBlock(Stream({0x02, 0x02}, {record, Record({0x02, 0x50}, {0x02, 1}, {0x02, 0})})),
       "List index out of bounds (80)"},
      {"no end of pattern", MakeClipboardBlock(Stream({0x02, 0x01}, {record}, {})), readError},
      {"record cut short", MakeClipboardBlock(Bytes(kOneStepStream.begin(), kOneStepStream.end() - 4)), readError},
  };
  for (const TCase& c : cases) EXPECT_EQ(ReadError(c.Block), c.Message) << c.Name;
  EXPECT_EQ(ReadError(good), "");
}

TEST(StepClipboard, ApplyingLimitsForeignValuesToTheModel) {
  constexpr float nan = std::numeric_limits<float>::quiet_NaN();
  constexpr float inf = std::numeric_limits<float>::infinity();
  struct TCase {
    float Value, Range;
    float ExpectedValue, ExpectedRange;
  };
  const TCase cases[] = {
      {63, 0, 63, 0},      {126.8f, 0.2f, 126.8f, 127.0f - 126.8f},
      {200, 5, 127, 0},    {-5, 5, 0, 5},
      {nan, nan, 63, 0},   {inf, 3, 127, 0},
      {-inf, inf, 0, 127}, {100, 40, 100, 27},
      {10, -3, 10, 0},     {0, 127, 0, 127},
  };
  for (const TCase& c : cases) {
    TClipboardSteps data;
    data.StepCount = 3;
    data.Steps.push_back({5, c.Value, c.Range});
    TCCStepList grid(TCCStepList::kMaxSteps);
    EXPECT_EQ(ApplyClipboardSteps(data, grid), 3);
    EXPECT_EQ(grid[5].Value(), c.ExpectedValue) << c.Value << ", " << c.Range;
    EXPECT_EQ(grid[5].RandomRange(), c.ExpectedRange) << c.Value << ", " << c.Range;
  }
}

TEST(StepClipboard, ALaterRecordForTheSameStepWins) {
  const Bytes stream =
      Stream({0x02, 0x02}, {Record({0x02, 0x01}, {0x02, 10}, {0x02, 1}), Record({0x02, 0x01}, {0x02, 20}, {0x02, 2})});
  TCCStepList grid(TCCStepList::kMaxSteps);
  ApplyClipboardSteps(ReadStepBlock(MakeClipboardBlock(stream)), grid);
  EXPECT_EQ(grid[1].Value(), 20.0f);
  EXPECT_EQ(grid[1].RandomRange(), 2.0f);
  EXPECT_EQ(grid[0].Value(), 63.0f);
}

TEST(StepClipboard, DataMadeByHandWithABadIndexChangesNothing) {
  TClipboardSteps data;
  data.StepCount = 4;
  data.Steps = {{0, 1, 0}, {64, 2, 0}};
  TCCStepList grid(TCCStepList::kMaxSteps);
  EXPECT_THROW(ApplyClipboardSteps(data, grid), std::out_of_range);
  EXPECT_EQ(grid[0].Value(), 63.0f);
  EXPECT_THROW(ApplyClipboardSteps({}, grid, 10, 10), std::invalid_argument);
  TCCStepList few(8);
  EXPECT_THROW(ApplyClipboardSteps({}, few), std::invalid_argument);
}

}  // namespace
}  // namespace vornix::editor
