// The step grid's whole-pattern operations as the sequence menu and the arrow buttons call them:
// they reach the active steps of the grid's range only, repaint the whole grid and report once;
// "Add Random" asks first; copy and paste go through the step clipboard.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "GridFixture.h"
#include "editor/logic/BinClipboard.h"
#include "editor/logic/ClipboardBlock.h"

namespace vornix::editor::test {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr float kMarker = 11.0f;  // the inactive steps' value, which no operation may touch

struct TPatternCase {
  const char* name;
  std::function<void(TOrvCCSequencer&)> operation;
  std::vector<float> firstValues;  // of the 16 active steps, from step 1
};

class GridPattern : public ::testing::TestWithParam<TPatternCase> {};

TEST_P(GridPattern, ChangesTheActiveStepsRepaintsTheGridAndReportsOnce) {
  TGridFixture f(nullptr, 16);
  std::vector<TStepSetting> steps;
  for (int i = 0; i < 64; ++i) steps.push_back({i, i < 16 ? static_cast<float>(i * 8) : kMarker, i < 16 ? 4.0f : 2.0f});
  f.SetSteps(steps);
  f.Show();
  f.ForgetPaint();
  GetParam().operation(f.grid);
  EXPECT_THAT(f.log, ElementsAre("modified -1"));
  const std::vector<float>& expected = GetParam().firstValues;
  EXPECT_THAT(f.Values(0, static_cast<int>(expected.size())), ElementsAreArray(expected));
  EXPECT_THAT(f.Values(16, 64), Each(kMarker));
  for (int i = 16; i < 64; ++i) ASSERT_EQ(f.Random(i), 2.0f) << i;
  f.form.Update();
  const auto check = f.PaintedOnly({TGridFixture::OnForm({0, 0, kGridWidth, kGridHeight})});
  EXPECT_EQ(check.Missed, 0);
  EXPECT_EQ(check.Outside, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, GridPattern,
    ::testing::Values(
        TPatternCase{"Default", [](TOrvCCSequencer& g) { g.DefaultValues(); }, {64, 64, 64}},
        TPatternCase{"Ramp",
                     [](TOrvCCSequencer& g) { g.Ramp(); },
                     {0, 8, 17, 25, 34, 42, 51, 59, 68, 76, 85, 93, 102, 110, 119, 127}},
        TPatternCase{"RampHalf", [](TOrvCCSequencer& g) { g.RampHalf(); }, {0, 4, 8, 13}},
        TPatternCase{"Sine",
                     [](TOrvCCSequencer& g) { g.Sine(); },
                     {64, 40, 19, 6, 1, 6, 19, 40, 64, 88, 109, 122, 127, 122, 109, 88}},
        TPatternCase{"SineHalf", [](TOrvCCSequencer& g) { g.SineHalf(); }, {32, 20, 10, 3, 1}},
        TPatternCase{"Triangle", [](TOrvCCSequencer& g) { g.Triangle(); }, {0, 18, 36, 54, 73, 91, 109, 127, 127, 109}},
        TPatternCase{"TriangleHalf", [](TOrvCCSequencer& g) { g.TriangleHalf(); }, {0, 9, 18, 27}},
        TPatternCase{"RemoveRandom", [](TOrvCCSequencer& g) { g.RemoveRandom(); }, {0, 8, 16}},
        TPatternCase{"Invert", [](TOrvCCSequencer& g) { g.InvertValues(); }, {127, 119, 111}},
        TPatternCase{"Reverse", [](TOrvCCSequencer& g) { g.ReverseSteps(); }, {120, 112, 104}},
        TPatternCase{"ShiftValuesUp", [](TOrvCCSequencer& g) { g.ShiftValues(5); }, {0, 13, 21}},
        TPatternCase{"ShiftRandomDown", [](TOrvCCSequencer& g) { g.ShiftRandom(-1); }, {0, 8, 16}},
        TPatternCase{"RotateLeft", [](TOrvCCSequencer& g) { g.RotateLeft(); }, {8, 16, 24}},
        TPatternCase{"RotateRight", [](TOrvCCSequencer& g) { g.RotateRight(); }, {120, 0, 8}},
        TPatternCase{"ArrowUpWithCtrl",
                     [](TOrvCCSequencer& g) { g.ArrowButtonClick(TArrowButton::Up, true, false); },
                     {0, 13, 21}},
        TPatternCase{"ArrowLeftWithCtrl",
                     [](TOrvCCSequencer& g) { g.ArrowButtonClick(TArrowButton::Left, true, false); },
                     {40, 48, 56}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GridPatterns, RandomRangesAreClearedOrKeptAsEachOperationSays) {
  TGridFixture f(nullptr, 16);
  std::vector<TStepSetting> steps;
  for (int i = 0; i < 16; ++i) steps.push_back({i, 100, 20});
  f.SetSteps(steps);
  f.grid.InvertValues();  // 27 + 20 fits
  EXPECT_EQ(f.Random(3), 20);
  f.grid.Ramp();
  EXPECT_EQ(f.Random(3), 0);
}

TEST(GridPatterns, WorkWithinTheGridsRange) {
  TGridFixture f(nullptr, 4);
  f.grid.SetMaxValue(100);
  f.grid.DefaultValues();
  EXPECT_THAT(f.Values(0, 5), ElementsAre(50, 50, 50, 50, 63));
  f.grid.Ramp();
  EXPECT_THAT(f.Values(0, 5), ElementsAre(0, 33, 67, 100, 63));
}

TEST(GridPatterns, RandomizeDrawsWholeValuesForTheActiveStepsOnly) {
  TGridFixture f(nullptr, 16);
  std::vector<TStepSetting> steps;
  for (int i = 0; i < 64; ++i) steps.push_back({i, 0.5f, 3});
  f.SetSteps(steps);
  f.grid.RandomizeValues();
  EXPECT_THAT(f.log, ElementsAre("modified -1"));
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(f.Value(i), std::floor(f.Value(i))) << i;
    EXPECT_GE(f.Value(i), 0);
    EXPECT_LE(f.Value(i), 127);
    EXPECT_EQ(f.Random(i), 0) << i;
  }
  EXPECT_THAT(f.Values(16, 64), Each(0.5f));
}

TEST(GridPatterns, ARotationOfASingleStepDoesNothingAtAll) {
  TGridFixture f(nullptr, 1);
  f.SetSteps({{0, 10}, {1, 20}});
  f.Show();
  f.ForgetPaint();
  f.grid.RotateLeft();
  f.grid.RotateRight();
  f.grid.ArrowButtonClick(TArrowButton::Right, true, false);
  f.form.Update();
  EXPECT_THAT(f.log, IsEmpty());
  EXPECT_THAT(f.Values(0, 2), ElementsAre(10, 20));
  EXPECT_EQ(f.PaintedOnly({}).Outside, 0);
}

// ---- Add Random ----

TEST(GridAddRandom, AsksForTheAmountAndAddsItWithinTheRange) {
  TGridFixture f(nullptr, 4);
  f.SetSteps({{0, 100, 10}, {1, 50, 0}, {2, 0, -3}, {3, 127, 0}, {4, 10, 0}});
  platform::TScriptedDialogHost host;
  host.Answer(platform::TDialogAnswer::Entered(20));
  f.grid.DialogHost = &host;
  f.grid.AddRandom();
  ASSERT_EQ(host.Questions().size(), 1u);
  const platform::TDialogQuestion& q = host.Questions()[0];
  EXPECT_EQ(q.Kind, platform::TDialogKind::Number);
  EXPECT_EQ(q.Caption, "Add Random");
  EXPECT_EQ(q.Prompt, "Random value");
  EXPECT_EQ(q.Value, 16);
  EXPECT_EQ(q.Minimum, 0);
  EXPECT_EQ(q.Maximum, 127);
  EXPECT_EQ(q.Decimals, 0);
  EXPECT_THAT(host.Problems(), IsEmpty());
  std::vector<float> ranges;
  for (int i = 0; i < 5; ++i) ranges.push_back(f.Random(i));
  EXPECT_THAT(ranges, ElementsAre(27, 20, 17, 0, 0));
  EXPECT_THAT(f.log, ElementsAre("modified -1"));
}

TEST(GridAddRandom, CancelledOrWithoutADialogHostChangesNothing) {
  TGridFixture f(nullptr, 4);
  f.Show();
  f.ForgetPaint();
  f.grid.AddRandom();  // nobody to ask
  platform::TScriptedDialogHost host;
  host.Answer(platform::TDialogAnswer::Cancel());
  f.grid.DialogHost = &host;
  f.grid.AddRandom();
  f.form.Update();
  EXPECT_EQ(host.Questions().size(), 1u);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(f.Random(i), 0) << i;
  EXPECT_THAT(f.log, IsEmpty());
  EXPECT_EQ(f.PaintedOnly({}).Outside, 0);
}

// ---- copy and paste ----

struct TClipboardFixture {
  std::shared_ptr<platform::TMemoryClipboard> shared = std::make_shared<platform::TMemoryClipboard>();
  platform::TMemoryWindowSystem otherSystem{shared};
  TBinClipboard clipboard{otherSystem, {}};
};

TEST(GridClipboard, PastingCopiedStepsSetsTheStepCountAndKeepsTheOtherSteps) {
  TClipboardFixture c;
  TGridFixture source(nullptr, 8);
  std::vector<TStepSetting> steps;
  for (int i = 0; i < 64; ++i) steps.push_back({i, static_cast<float>(i), i * 0.5f});
  source.SetSteps(steps);
  source.grid.CopySteps(c.clipboard);
  EXPECT_THAT(source.log, IsEmpty());

  TGridFixture target(nullptr, 32);
  target.Show();
  target.ForgetPaint();
  target.grid.PasteSteps(c.clipboard);
  EXPECT_EQ(target.grid.StepCount(), 8);
  EXPECT_THAT(target.Values(0, 9), ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 63));
  EXPECT_EQ(target.Random(7), 3.5f);
  EXPECT_THAT(target.Values(8, 64), Each(63.0f));
  EXPECT_THAT(target.log, IsEmpty());  // the page takes the steps itself
  target.form.Update();
  EXPECT_EQ(target.PaintedOnly({TGridFixture::OnForm({0, 0, kGridWidth, kGridHeight})}).Missed, 0);
  EXPECT_EQ(target.grid.Layout().VisibleSlots, 16);
}

TEST(GridClipboard, DataThatCannotBeReadToTheEndChangesNothing) {
  // Two good steps, then a step index out of range.
  const std::vector<std::uint8_t> stream = {
      0x54, 0x50, 0x46, 0x30, 0x01, 0x01, 0x02, 0x02, 0x00,                                // header: 2 steps
      0x01, 0x02, 0x00, 0x0F, 0x00, 0x00, 0x20, 0x41, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00,  // step 0: 10
      0x01, 0x02, 0x50, 0x0F, 0x00, 0x00, 0x20, 0x41, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00,  // step 80
      0x00};
  struct TCase {
    const char* name;
    std::vector<std::uint8_t> block;
    const char* message;
  };
  for (const TCase& c :
       {TCase{"index out of range", MakeClipboardBlock(stream), "List index out of bounds (80)"},
        TCase{"length past the block", {0x40, 0x00, 0x00, 0x00, 0x54}, "Invalid data in Clipboard!"}}) {
    SCOPED_TRACE(c.name);
    TClipboardFixture clip;
    clip.otherSystem.SetClipboard("VornixStepData", c.block);
    TGridFixture f(nullptr, 32);
    f.Show();
    f.ForgetPaint();
    try {
      f.grid.PasteSteps(clip.clipboard);
      ADD_FAILURE() << "pasted";
    } catch (const std::exception& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    f.form.Update();
    EXPECT_EQ(f.grid.StepCount(), 32);
    EXPECT_THAT(f.Values(0, 64), Each(63.0f));
    EXPECT_EQ(f.PaintedOnly({}).Outside, 0);
  }
}

TEST(GridClipboard, AnEmptyClipboardSaysSo) {
  TClipboardFixture c;
  TGridFixture f;
  try {
    f.grid.PasteSteps(c.clipboard);
    ADD_FAILURE() << "pasted";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Empty clipboard");
  }
}

}  // namespace
}  // namespace vornix::editor::test
