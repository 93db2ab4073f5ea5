#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "HostSimulation.h"
#include "sequencer/OrvRandom.h"
#include "sequencer/Sequencer.h"

namespace vornix::sequencer {
namespace {

using testing::HostSimulation;
using testing::NumberSteps;
using testing::Prepare;
using testing::Sent;
using testing::Values;

constexpr int kRate1_128 = 1;
constexpr int kRate1_16 = 4;
constexpr int kRate1_8 = 5;
constexpr int kRate1_4 = 6;
constexpr int kTriplet = 0;
constexpr int kNormal = 1;

// 4/4, 120 BPM, 48 kHz, "1/16" (6000 samples), 16 steps, 512-sample blocks from position 0.
TEST(StepClock, TimelineAt48kHzSendsEachStepAtItsSample) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderForward, 16, false);
  NumberSteps(s);
  HostSimulation host(seq, 48000, 120, 512);
  const auto sent = host.Run(375);  // 192000 samples: two cycles
  ASSERT_EQ(sent.size(), 32u);
  for (int j = 0; j < 32; ++j) {
    SCOPED_TRACE(j);
    const Sent& m = sent[static_cast<std::size_t>(j)];
    EXPECT_EQ(m.block, 6000 * j / 512);
    EXPECT_EQ(m.offset, 6000 * j % 512);
    EXPECT_EQ(m.value, j % 16);
    EXPECT_EQ(m.playingStep, j % 16);
    EXPECT_EQ(m.channel, 1);
    EXPECT_EQ(m.cc, 0);
  }
  EXPECT_EQ(sent[1].block, 11);  // the twelfth block, starting at sample 5632
  EXPECT_EQ(sent[1].offset, 368);
}

// Step 32 is due at sample 192000, exactly where block 375 begins: it leaves at offset 0 of that
// block rather than at offset 512 of the one before.
TEST(StepClock, EventDueExactlyAtTheBlockEndLeavesAtOffsetZeroOfTheNextBlock) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderForward, 16, false);
  NumberSteps(s);
  HostSimulation host(seq, 48000, 120, 512);
  host.Run(375);
  const auto block375 = host.Step();
  ASSERT_EQ(block375.size(), 1u);
  EXPECT_EQ(block375[0].offset, 0);
  EXPECT_EQ(block375[0].value, 0);
}

TEST(StepClock, StartInsideASlotPlaysThatSlotsStepAtOffsetZero) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderForward, 16, false);
  NumberSteps(s);
  HostSimulation host(seq, 48000, 120, 512, 1.1);
  const auto sent = host.Run(40);
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent[0].block, 0);
  EXPECT_EQ(sent[0].offset, 0);
  EXPECT_EQ(sent[0].value, 4);  // slot 4 holds 1.0 .. 1.25
  // Step 5 at 1.25: 0.15 quarter = 3600 samples after the start.
  EXPECT_EQ(sent[1].value, 5);
  EXPECT_EQ(sent[1].Sample(), 3600);
}

struct OrderCase {
  const char* name;
  int order;
  int steps;
  double startPpq;  // synchronised cases only
  std::vector<int> expected;
};

// Step sequences of synchronised orders. Slots are "1/16" steps (0.25 quarter).
TEST(StepClock, SynchronisedOrdersFollowTheSlotGrid) {
  const OrderCase cases[] = {
      {"Forward", kOrderForward, 4, 0.0, {0, 1, 2, 3, 0, 1, 2, 3}},
      {"Forward <", kOrderForwardBack, 4, 0.0, {0, 1, 2, 3, 3, 2, 1, 0, 0, 1, 2, 3}},
      {"Backward", kOrderBackward, 4, 0.0, {3, 2, 1, 0, 3, 2, 1, 0}},
      {"Backward >", kOrderBackwardForth, 4, 0.0, {3, 2, 1, 0, 0, 1, 2, 3, 3, 2}},
      {"Each 2nd, 8 steps", kOrderEach2nd, 8, 0.0, {0, 2, 4, 6, 0, 2, 4, 6}},
      {"Each 2nd, 7 steps", kOrderEach2nd, 7, 0.0, {0, 2, 4, 6, 1, 3, 5, 0, 2, 4, 6, 1}},
      {"Each 3rd, 8 steps", kOrderEach3rd, 8, 0.0, {0, 3, 6, 1, 4, 7, 2, 5, 0, 3, 6}},
      {"Each 3rd, 3 steps plays forward", kOrderEach3rd, 3, 0.0, {0, 1, 2, 0, 1, 2}},
      {"Each 4th, 4 steps plays forward", kOrderEach4th, 4, 0.0, {0, 1, 2, 3, 0}},
      {"Each 4th, 5 steps", kOrderEach4th, 5, 0.0, {0, 4, 3, 2, 1, 0, 4}},
      {"Each 2nd, 2 steps plays forward", kOrderEach2nd, 2, 0.0, {0, 1, 0, 1}},
      {"Forward from slot 6", kOrderForward, 4, 1.5, {2, 3, 0, 1}},
      {"Backward from slot 5", kOrderBackward, 4, 1.25, {2, 1, 0, 3, 2}},
      {"Forward < from slot 5", kOrderForwardBack, 4, 1.3, {1, 2, 3, 3, 2, 1, 0, 0}},
      {"Each 2nd, 7 steps, from slot 10: stride start 20 mod 7", kOrderEach2nd, 7, 2.5, {6, 1, 3, 5, 0, 2, 4, 6, 1}},
      {"Forward before position 0: slot -5", kOrderForward, 16, -1.1, {11, 12, 13, 14, 15, 0, 1}},
      {"Each 2nd, 7 steps, slot -5", kOrderEach2nd, 7, -1.1, {4, 6, 1, 3, 5, 0, 2, 4}},
      {"Backward, slot -1", kOrderBackward, 4, -0.1, {0, 3, 2, 1, 0}},
  };
  for (const OrderCase& c : cases) {
    SCOPED_TRACE(c.name);
    TSequencer seq;
    TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, c.order, c.steps, false);
    NumberSteps(s);
    HostSimulation host(seq, 48000, 120, 512, c.startPpq);
    const auto sent = host.Run(static_cast<std::int64_t>(c.expected.size()) * 12);
    auto values = Values(sent);
    values.resize(c.expected.size());
    EXPECT_EQ(values, c.expected);
    EXPECT_EQ(sent[0].offset, 0);
    EXPECT_EQ(sent[0].block, 0);
  }
}

TEST(StepClock, NoteTriggeredOrdersPlayWholeCycles) {
  const OrderCase cases[] = {
      {"Forward", kOrderForward, 4, 0, {0, 1, 2, 3, 0, 1, 2, 3}},
      {"Forward <", kOrderForwardBack, 4, 0, {0, 1, 2, 3, 3, 2, 1, 0, 0, 1}},
      {"Backward", kOrderBackward, 4, 0, {3, 2, 1, 0, 3}},
      {"Backward >", kOrderBackwardForth, 4, 0, {3, 2, 1, 0, 0, 1, 2, 3, 3}},
      {"Each 2nd, 8 steps", kOrderEach2nd, 8, 0, {0, 2, 4, 6, 1, 3, 5, 7, 0, 2}},
      {"Each 3rd, 8 steps", kOrderEach3rd, 8, 0, {0, 3, 6, 1, 4, 7, 2, 5, 0}},
      {"Each 4th, 6 steps", kOrderEach4th, 6, 0, {0, 4, 1, 5, 2, 3, 0, 4}},
      {"Each 2nd, 2 steps plays forward", kOrderEach2nd, 2, 0, {0, 1, 0, 1}},
  };
  for (const OrderCase& c : cases) {
    SCOPED_TRACE(c.name);
    TSequencer seq;
    TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, c.order, c.steps, false, kTriggerNote);
    NumberSteps(s);
    HostSimulation host(seq, 48000, 120, 512, 3.3);
    seq.NoteOn(60);
    const auto sent = host.Run(static_cast<std::int64_t>(c.expected.size()) * 12);
    auto values = Values(sent);
    values.resize(c.expected.size());
    EXPECT_EQ(values, c.expected);
    // Started at the block's position, whatever the slot grid says: steps follow every 6000 samples.
    for (std::size_t j = 0; j < c.expected.size(); ++j)
      EXPECT_EQ(sent[j].Sample(), static_cast<std::int64_t>(j) * 6000);
  }
}

TEST(StepClock, RandomOrdersDrawFromTheStepsInUse) {
  SetRandSeed(777);
  for (int trigger : {kTriggerSyncToHost, kTriggerNote}) {
    TSequencer seq;
    TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderRandomUnique, 6, false, trigger);
    NumberSteps(s);
    HostSimulation host(seq, 48000, 120, 512);
    seq.NoteOn(60);
    const auto unique = Values(host.Run(12 * 60));
    ASSERT_GE(unique.size(), 60u);
    // Slot 0 starts a cycle in both modes: every run of six is a permutation.
    for (std::size_t c = 0; c + 6 <= 60; c += 6) {
      std::vector<int> cycle(unique.begin() + static_cast<long>(c), unique.begin() + static_cast<long>(c + 6));
      std::sort(cycle.begin(), cycle.end());
      EXPECT_EQ(cycle, (std::vector<int>{0, 1, 2, 3, 4, 5})) << "trigger " << trigger << " cycle " << c / 6;
    }
  }
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderRandom, 5, false);
  NumberSteps(s);
  HostSimulation host(seq, 48000, 120, 512);
  const auto random = Values(host.Run(12 * 200));
  std::array<int, 5> counts{};
  for (int v : random) {
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 5);
    ++counts[static_cast<std::size_t>(v)];
  }
  for (int c : counts) EXPECT_GT(c, 10);
}

TEST(StepClock, SynchronisedRandomUniqueStartsInsideItsPermutation) {
  SetRandSeed(31);
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderRandomUnique, 8, false);
  NumberSteps(s);
  HostSimulation host(seq, 48000, 120, 512, 5 * 0.25);  // slot 5: r = 5
  const auto values = Values(host.Run(12 * 11));
  ASSERT_GE(values.size(), 11u);
  // Three steps finish the first permutation, then whole permutations follow.
  std::vector<int> head(values.begin(), values.begin() + 3);
  std::sort(head.begin(), head.end());
  EXPECT_EQ(std::adjacent_find(head.begin(), head.end()), head.end());
  std::vector<int> next(values.begin() + 3, values.begin() + 11);
  std::sort(next.begin(), next.end());
  EXPECT_EQ(next, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
}

// "1/4" triplet lasts 2/3 of a quarter, which no double holds: the slot arithmetic must still put
// every step in its own slot, for as long as the transport runs.
TEST(StepClock, LongTripletRunKeepsOneStepPerSlot) {
  for (bool smooth : {false, true}) {
    SCOPED_TRACE(smooth ? "smooth" : "stepped");
    TSequencer seq;
    TSequencerItem& s = Prepare(seq, kRate1_4, kTriplet, kOrderForward, 5, smooth);
    NumberSteps(s, 10.0f);
    HostSimulation host(seq, 44100, 120, 512);
    constexpr int kSlots = 3000;  // 2000 quarter notes; a slot is 14700 samples
    const auto sent = host.Run(kSlots * 14700 / 512);
    std::vector<int> atSlotStarts;
    std::size_t i = 0;
    for (std::int64_t slot = 0; slot < kSlots - 1; ++slot) {
      while (i < sent.size() && sent[i].Sample() < slot * 14700) ++i;
      ASSERT_LT(i, sent.size());
      ASSERT_EQ(sent[i].Sample(), slot * 14700) << "slot " << slot;
      ASSERT_EQ(sent[i].value, static_cast<int>(slot % 5) * 10) << "slot " << slot;
      if (!smooth) {
        ASSERT_EQ(sent[i].playingStep, static_cast<int>(slot % 5));
      }
    }
    if (!smooth) {
      EXPECT_EQ(sent.size(), static_cast<std::size_t>(kSlots));
    }
  }
}

// A step of 0 followed by a step of 127, one quarter long: one value per 1/128 note on a
// straight line, truncated: 0, 3, 7, 11, ... up to 127, then down again.
TEST(StepClock, SmoothingSendsOneTruncatedValuePerQuantum) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_4, kNormal, kOrderForward, 2, true);
  s.Steps()[0].SetValue(0.0f);
  s.Steps()[1].SetValue(127.0f);
  HostSimulation host(seq, 44100, 120, 256);        // a quantum is 689.0625 samples
  const auto sent = host.Run(44100 * 2 / 256 + 1);  // two quarters
  ASSERT_GE(sent.size(), 64u);
  for (int m = 0; m < 64; ++m) {
    SCOPED_TRACE(m);
    const int expected = m < 32 ? 127 * m / 32 : (127 * 32 - 127 * (m - 32)) / 32;
    EXPECT_EQ(sent[static_cast<std::size_t>(m)].value, expected);
    EXPECT_LE(std::fabs(static_cast<double>(sent[static_cast<std::size_t>(m)].Sample()) - m * 689.0625), 0.5);
    // The quantum that reaches step 1 still shows step 0 as playing; the next one moves on.
    EXPECT_EQ(sent[static_cast<std::size_t>(m)].playingStep, m <= 32 ? 0 : 1);
  }
  EXPECT_EQ((std::vector<int>{sent[0].value, sent[1].value, sent[2].value, sent[3].value}),
            (std::vector<int>{0, 3, 7, 11}));
}

TEST(StepClock, SmoothingBetweenEqualStepsRepeatsTheValueEveryQuantum) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_8, kNormal, kOrderForward, 4, true);
  for (int i = 0; i < 4; ++i) s.Steps()[i].SetValue(50.0f);
  HostSimulation host(seq, 44100, 120, 512);
  const auto sent = host.Run(44100 / 512);  // about 2 quarters: 64 quanta
  ASSERT_EQ(sent.size(), 64u);
  for (const Sent& m : sent) EXPECT_EQ(m.value, 50);
}

// Steps far shorter than the block ("1/128" at 200 BPM, 1024-sample blocks): every step leaves in
// the block that holds it, at its own offset; nothing falls behind.
TEST(StepClock, StepsShorterThanTheBlockAllLeaveOnTime) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_128, kNormal, kOrderForward, 16, false);
  NumberSteps(s, 8.0f);
  HostSimulation host(seq, 44100, 200, 1024);  // a step is 413.4375 samples
  const auto sent = host.Run(1000);
  const std::int64_t total = 1000 * 1024;
  std::size_t expectedCount = 0;
  for (std::int64_t j = 0;; ++j) {
    const double exact = static_cast<double>(j) * 413.4375;
    if (exact >= static_cast<double>(total) - 0.5) break;
    ASSERT_LT(expectedCount, sent.size());
    const Sent& m = sent[expectedCount++];
    EXPECT_LE(std::fabs(static_cast<double>(m.Sample()) - exact), 0.5) << j;
    EXPECT_EQ(m.value, static_cast<int>(j % 16) * 8) << j;
  }
  EXPECT_EQ(sent.size(), expectedCount);
}

TEST(StepClock, OverdueEventsCollapseIntoTheLatestAtOffsetZero) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderForward, 8, false, kTriggerNote);
  NumberSteps(s);
  HostSimulation host(seq, 48000, 120, 512);
  seq.NoteOn(60);
  ASSERT_EQ(Values(host.Step()), (std::vector<int>{0}));
  host.Locate(1.1);  // slots 1 to 4 (0.25 .. 1.0) are now behind the block start
  const auto jump = host.Step();
  ASSERT_EQ(jump.size(), 1u);
  EXPECT_EQ(jump[0].value, 4);
  EXPECT_EQ(jump[0].offset, 0);
  EXPECT_EQ(s.PlayingStep(), 4);
  const auto after = host.Run(10);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].value, 5);
  EXPECT_EQ(after[0].block, 1 + 7);  // 1.25 is 3600 samples after 1.1
  EXPECT_EQ(after[0].offset, 16);
}

// Starting in the middle of a long smoothed step: one message at offset 0 with the value of the
// last quantum at or before the start, then the quanta on time.
TEST(StepClock, SmoothingStartedMidStepCatchesUpAtOnce) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_4, kNormal, kOrderForward, 2, true);
  s.Steps()[0].SetValue(0.0f);
  s.Steps()[1].SetValue(127.0f);
  HostSimulation host(seq, 44100, 120, 1024, 0.5);  // quantum 16 of step 0
  const auto first = host.Step();
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].offset, 0);
  EXPECT_EQ(first[0].value, 127 * 16 / 32);
  EXPECT_EQ(first[1].offset, 689);  // quantum 17, 689.0625 samples later
  EXPECT_EQ(first[1].value, 127 * 17 / 32);
  const auto second = host.Step();
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].value, 127 * 18 / 32);
  EXPECT_EQ(second[0].Sample(), 1378);
}

TEST(StepClock, OneShotPlaysOneCycleThenTheFirstValueOnceMore) {
  for (bool smooth : {false, true}) {
    SCOPED_TRACE(smooth ? "smooth" : "stepped");
    TSequencer seq;
    TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderForward, 4, smooth, kTriggerNoteOneShot);
    for (int i = 0; i < 4; ++i) s.Steps()[i].SetValue(static_cast<float>(10 * (i + 1)));
    HostSimulation host(seq, 48000, 120, 512);
    seq.NoteOn(60);
    const auto sent = host.Run(200);
    if (!smooth) {
      EXPECT_EQ(Values(sent), (std::vector<int>{10, 20, 30, 40, 10}));
      EXPECT_EQ(sent.back().Sample(), 4 * 6000);
    } else {
      // 8 quanta per step; the closing copy's value is the last one sent.
      ASSERT_EQ(sent.size(), 33u);
      EXPECT_EQ(sent[0].value, 10);
      EXPECT_EQ(sent[8].value, 20);
      EXPECT_EQ(sent[24].value, 40);
      EXPECT_EQ(sent[28].value, 25);
      EXPECT_EQ(sent.back().value, 10);
      EXPECT_EQ(sent.back().Sample(), 4 * 6000);
    }
    EXPECT_EQ(s.PlayingStep(), -1);
    EXPECT_TRUE(s.LiveSteps().Empty());
  }
}

// A note start off the quantum grid: the first value is the first step's own, not a point on the
// line before it; later quanta lie on the line between the two steps.
TEST(StepClock, NoteStartOffTheQuantumGridSmoothsWithinTheSegment) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_4, kNormal, kOrderForward, 2, true, kTriggerNote);
  s.Steps()[0].SetValue(63.0f);
  s.Steps()[1].SetValue(127.0f);
  HostSimulation host(seq, 48000, 120, 512, 0.3);  // 9.6 quanta
  seq.NoteOn(60);
  const auto sent = host.Run(4);
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent[0].offset, 0);
  EXPECT_EQ(sent[0].value, 63);
  // Next message at quantum 11 (nearest(9.6) + 1): 63 + 1.4 * 64 / 32 = 65.8.
  EXPECT_EQ(sent[1].Sample(), 1050);  // (11/32 - 0.3) * 24000
  EXPECT_EQ(sent[1].value, 65);
}

TEST(StepClock, SmoothedOneShotOffTheGridEndsOnTheFirstValue) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderForward, 4, true, kTriggerNoteOneShot);
  for (int i = 0; i < 4; ++i) s.Steps()[i].SetValue(static_cast<float>(10 * (i + 1)));
  HostSimulation host(seq, 48000, 120, 512, 0.3);  // events at 9.6, 17.6, ... 41.6 quanta
  seq.NoteOn(60);
  const auto sent = host.Run(200);
  ASSERT_GE(sent.size(), 2u);
  // Quantum 41 lies between step 3 (40) and the closing copy (10); quantum 42 is past the copy.
  EXPECT_EQ(sent[sent.size() - 2].value, 12);
  EXPECT_EQ(sent.back().value, 10);
  EXPECT_EQ(sent.back().Sample(), 24300);  // (42/32 - 0.3) * 24000
  EXPECT_TRUE(s.LiveSteps().Empty());
}

TEST(StepClock, SteppedValuesAreRoundedHalfToEven) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderForward, 5, false);
  const float values[] = {10.5f, 11.5f, 12.7f, 0.4f, 126.5f};
  for (int i = 0; i < 5; ++i) s.Steps()[i].SetValue(values[i]);
  HostSimulation host(seq, 48000, 120, 512);
  auto sent = Values(host.Run(5 * 12));
  sent.resize(5);
  EXPECT_EQ(sent, (std::vector<int>{10, 12, 13, 0, 126}));
}

TEST(StepClock, InactiveSequenceSendsNothingAndRestartsFromTheHostPosition) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderForward, 16, false);
  NumberSteps(s);
  HostSimulation host(seq, 48000, 120, 512);
  host.Run(30);
  s.SetActive(false);
  EXPECT_TRUE(host.Run(100).empty());
  EXPECT_TRUE(s.LiveSteps().Empty());
  s.SetActive(true);
  const auto resumed = host.Step();  // block 130 starts at 66560 samples: slot 11
  ASSERT_EQ(resumed.size(), 1u);
  EXPECT_EQ(resumed[0].value, 11);
  EXPECT_EQ(resumed[0].offset, 0);
}

TEST(StepClock, ScheduleChangesTakeEffectAtTheNextBlock) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderForward, 16, false);
  NumberSteps(s);
  HostSimulation host(seq, 48000, 120, 500, 2.6);
  host.Run(3);
  s.SetRate(kRate1_8);  // slot of 2.6 + 3 blocks at "1/8" is 5
  const auto changed = host.Step();
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].value, 5);
  EXPECT_EQ(changed[0].offset, 0);
  EXPECT_FALSE(s.Changed());

  // A tempo change rebuilds as well: the slot's step again at offset 0.
  seq.SetTempo(121);
  seq.SetPpqPos(host.PpqAt(host.Block()));
  TStepMessageList list;
  ASSERT_TRUE(seq.ProcessSequence(0, 500, list));
  EXPECT_EQ(list[0].Value, 5);
  EXPECT_EQ(list[0].Offset, 0);
}

TEST(StepClock, ChannelAndControllerChangesReachTheNextMessageWithoutARestart) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderForward, 16, false);
  NumberSteps(s);
  HostSimulation host(seq, 48000, 120, 512);
  host.Run(5);
  s.SetChannel(10);
  s.SetCCNumber(74);
  const auto sent = host.Run(10);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].value, 1);
  EXPECT_EQ(sent[0].Sample(), 6000);
  EXPECT_EQ(sent[0].channel, 10);
  EXPECT_EQ(sent[0].cc, 74);
}

TEST(StepClock, CurrentStepHoldsTheLastMessageOfTheBlock) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_128, kNormal, kOrderForward, 8, false);
  NumberSteps(s);
  s.SetChannel(3);
  s.SetCCNumber(20);
  seq.SetSampleRate(44100);
  seq.ClearChanged();
  seq.SetPpqPos(0.0);
  ASSERT_TRUE(seq.ProcessSequence(0, 2048));
  ASSERT_EQ(seq.Messages().Count(), 3);  // 0, 689, 1378
  EXPECT_EQ(seq.CurrentStep().Value, 2);
  EXPECT_EQ(seq.CurrentStep().Offset, 1378);
  EXPECT_EQ(seq.CurrentStep().Channel, 3);
  EXPECT_EQ(seq.CurrentStep().CCNumber, 20);
  EXPECT_EQ(seq.PrevPpqPos(), 0.0);
  EXPECT_EQ(s.PlayingStep(), 2);
  s.SetActive(false);
  EXPECT_FALSE(seq.ProcessSequence(0, 2048));
  EXPECT_EQ(seq.CurrentStep().Value, -1);
}

TEST(StepClock, BlocksWithoutUsableTimeSendNothingAndKeepTheSchedule) {
  struct Case {
    const char* name;
    double tempo, sampleRate, ppq;
    std::int32_t frames;
  };
  const Case cases[] = {
      {"tempo 0", 0.0, 44100, 0.0, 512},
      {"negative tempo", -120.0, 44100, 0.0, 512},
      {"sample rate 0", 120.0, 0.0, 0.0, 512},
      {"no frames", 120.0, 44100, 0.0, 0},
      {"position not a number", 120.0, 44100, std::nan(""), 512},
      {"position infinite", 120.0, 44100, INFINITY, 512},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSequencer seq;
    Prepare(seq, kRate1_16, kNormal, kOrderForward, 16, false);
    seq.SetTempo(c.tempo);
    seq.SetSampleRate(c.sampleRate);
    seq.SetPpqPos(c.ppq);
    TStepMessageList list;
    EXPECT_FALSE(seq.ProcessSequence(0, c.frames, list));
    EXPECT_TRUE(list.Empty());
  }
  TSequencer seq;
  Prepare(seq, kRate1_16, kNormal, kOrderForward, 16, false);
  seq.SetTimeSigDenominator(0);  // a "1/1" rate would divide by it
  seq.Items(0).SetRate(8);
  seq.SetPpqPos(0.0);
  EXPECT_FALSE(seq.ProcessSequence(0, 512));
  EXPECT_FALSE(seq.ProcessSequence(9, 512));
}

// A jump of the host position far ahead: the sequence resumes, in that block, at the step of the
// new position, without working through the slots in between.
TEST(StepClock, FarForwardJumpResumesAtTheStepOfTheNewPosition) {
  {
    TSequencer seq;
    TSequencerItem& s = Prepare(seq, kRate1_128, kNormal, kOrderForward, 7, true);
    NumberSteps(s, 10.0f);
    HostSimulation host(seq, 44100, 120, 512);
    host.Run(10);
    host.Locate(1e9 + 0.1);  // slot 32000000003
    const auto sent = host.Step();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0].offset, 0);
    EXPECT_EQ(sent[0].value, static_cast<int>(32000000003LL % 7) * 10);
  }
  {
    TSequencer seq;
    TSequencerItem& s = Prepare(seq, kRate1_128, kNormal, kOrderEach3rd, 7, false);
    NumberSteps(s);
    HostSimulation host(seq, 44100, 120, 512, 5e8);  // fresh at slot 16e9: stride start 3 * b mod 7
    const auto sent = host.Step();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0].value, static_cast<int>(3 * (16000000000LL % 7) % 7));
  }
  for (bool smooth : {false, true}) {
    SCOPED_TRACE(smooth ? "note, smooth" : "note, stepped");
    TSequencer seq;
    TSequencerItem& s = Prepare(seq, kRate1_128, kNormal, kOrderForward, 5, smooth, kTriggerNote);
    NumberSteps(s, 10.0f);
    HostSimulation host(seq, 44100, 120, 512);
    seq.NoteOn(60);
    host.Run(3);
    host.Locate(1e9 + 0.1);  // 32000000003 slots after the start
    const auto sent = host.Step();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0].offset, 0);
    EXPECT_EQ(sent[0].value, static_cast<int>(32000000003LL % 5) * 10);
  }
}

// A jump back that the processing cycle does not reset (into the pre-roll) still lands the
// synchronised sequence on the slot of the new position.
TEST(StepClock, JumpBackIntoThePreRollResynchronises) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderForward, 16, false);
  NumberSteps(s);
  HostSimulation host(seq, 48000, 120, 512, 16.0);
  host.Run(4);
  host.Locate(-2.0);  // slot -8: step 8
  const auto sent = host.Step();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].value, 8);
  EXPECT_EQ(sent[0].offset, 0);
}

TEST(StepClock, ResetAllClearsEveryScheduleAndThePreviousPosition) {
  TSequencer seq;
  HostSimulation host(seq, 44100, 120, 512);
  host.Run(3, {0, 1, 2, 3, 4, 5, 6, 7});
  EXPECT_FALSE(seq.Items(5).LiveSteps().Empty());
  seq.ResetAll();
  EXPECT_EQ(seq.PrevPpqPos(), -1.0);
  EXPECT_EQ(seq.CurrentStep().Value, -1);
  for (int i = 0; i < 8; ++i) {
    EXPECT_TRUE(seq.Items(i).LiveSteps().Empty());
    EXPECT_EQ(seq.Items(i).PlayingStep(), -1);
    EXPECT_EQ(seq.Items(i).NextTime(), -1.0);
  }
}

TEST(StepClock, DamagedStepsAndSettingsStillSendValidDataBytes) {
  TSequencer seq;
  TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderForward, 4, true);
  s.Steps()[0].SetValue(-40.0f);
  s.Steps()[1].SetValue(500.0f);
  s.Steps()[2].SetValue(std::nanf(""));
  s.Steps()[3].SetValue(127.0f);
  s.Steps()[3].SetRandomRange(1e9f);
  HostSimulation host(seq, 44100, 120, 333);
  for (const Sent& m : host.Run(2000)) {
    ASSERT_GE(m.value, 0);
    ASSERT_LE(m.value, 127);
    ASSERT_GE(m.offset, 0);
    ASSERT_LT(m.offset, 333);
  }
}

}  // namespace
}  // namespace vornix::sequencer
