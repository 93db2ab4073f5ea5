#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "sequencer/OrvMidiNoteList.h"
#include "sequencer/OrvRandom.h"
#include "sequencer/Sequencer.h"

namespace vornix::sequencer {
namespace {

TEST(SequenceModel, NewSequencerHasEightDefaultSequences) {
  TSequencer seq;
  ASSERT_EQ(seq.Count(), 8);
  for (int i = 0; i < 8; ++i) {
    const TSequencerItem& s = seq.Items(i);
    SCOPED_TRACE(i);
    EXPECT_EQ(s.Title(), "Sequence #" + std::to_string(i + 1));
    EXPECT_TRUE(s.Active());
    EXPECT_EQ(s.Channel(), 1);
    EXPECT_EQ(s.CCNumber(), 0);
    EXPECT_EQ(s.Rate(), 6);
    EXPECT_EQ(s.RateType(), 1);
    EXPECT_EQ(s.Order(), kOrderForward);
    EXPECT_TRUE(s.Smooth());
    EXPECT_EQ(s.StepCount(), 32);
    EXPECT_EQ(s.Trigger(), kTriggerSyncToHost);
    EXPECT_FALSE(s.Changed());
    EXPECT_EQ(s.TriggerState(), kTriggerNone);
    EXPECT_EQ(s.PlayingStep(), -1);
    EXPECT_EQ(s.NextTime(), -1.0);
    EXPECT_TRUE(s.LiveSteps().Empty());
    ASSERT_EQ(s.Steps().Count(), 64);
    for (int k = 0; k < 64; ++k) {
      EXPECT_EQ(s.Steps()[k].Value(), 63.0f);
      EXPECT_EQ(s.Steps()[k].RandomRange(), 0.0f);
      EXPECT_TRUE(s.Steps()[k].Enabled());
    }
  }
  EXPECT_EQ(seq.PpqPos(), 0.0);
  EXPECT_EQ(seq.PrevPpqPos(), -1.0);
  EXPECT_EQ(seq.SampleRate(), 44100.0);
  EXPECT_EQ(seq.Tempo(), 120.0);
  EXPECT_EQ(seq.TimeSigNumerator(), 4);
  EXPECT_EQ(seq.TimeSigDenominator(), 4);
  EXPECT_FALSE(seq.Playing());
  EXPECT_EQ(seq.CurrentStep().Value, -1);
  EXPECT_EQ(seq.CurrentStep().CCNumber, -1);
  EXPECT_TRUE(seq.HeldNotes().Empty());
}

TEST(SequenceModel, ScheduleSettingsSetChangedOnlyWhenTheyDiffer) {
  struct Setter {
    const char* name;
    std::function<void(TSequencerItem&)> same;
    std::function<void(TSequencerItem&)> other;
  };
  const Setter setters[] = {
      {"Active", [](auto& s) { s.SetActive(true); }, [](auto& s) { s.SetActive(false); }},
      {"Order", [](auto& s) { s.SetOrder(0); }, [](auto& s) { s.SetOrder(8); }},
      {"Rate", [](auto& s) { s.SetRate(6); }, [](auto& s) { s.SetRate(7); }},
      {"RateType", [](auto& s) { s.SetRateType(1); }, [](auto& s) { s.SetRateType(0); }},
      {"Smooth", [](auto& s) { s.SetSmooth(true); }, [](auto& s) { s.SetSmooth(false); }},
      {"StepCount", [](auto& s) { s.SetStepCount(32); }, [](auto& s) { s.SetStepCount(16); }},
      {"Trigger", [](auto& s) { s.SetTrigger(0); }, [](auto& s) { s.SetTrigger(3); }},
  };
  for (const Setter& setter : setters) {
    SCOPED_TRACE(setter.name);
    TSequencer seq;
    setter.same(seq.Items(2));
    EXPECT_FALSE(seq.Items(2).Changed());
    setter.other(seq.Items(2));
    EXPECT_TRUE(seq.Items(2).Changed());
    EXPECT_FALSE(seq.Items(1).Changed());
  }
}

TEST(SequenceModel, ChannelControllerAndTitleNeverSetChanged) {
  TSequencer seq;
  TSequencerItem& s = seq.Items(0);
  s.SetChannel(5);
  s.SetCCNumber(74);
  s.SetTitle("Filter");
  EXPECT_FALSE(s.Changed());
  EXPECT_EQ(s.Channel(), 5);
  EXPECT_EQ(s.CCNumber(), 74);
  EXPECT_EQ(s.Title(), "Filter");
}

TEST(SequenceModel, DamagedValuesAreLimitedToTheirRanges) {
  TSequencer seq;
  TSequencerItem& s = seq.Items(0);
  s.SetStepCount(0);
  EXPECT_EQ(s.StepCount(), 1);
  s.SetStepCount(1000);
  EXPECT_EQ(s.StepCount(), 64);
  s.SetChannel(0);
  EXPECT_EQ(s.Channel(), 1);
  s.SetChannel(17);
  EXPECT_EQ(s.Channel(), 16);
  s.SetCCNumber(-3);
  EXPECT_EQ(s.CCNumber(), 0);
  s.SetCCNumber(200);
  EXPECT_EQ(s.CCNumber(), 127);
  s.SetRate(0);
  EXPECT_EQ(s.Rate(), 1);
  s.SetRate(14);
  EXPECT_EQ(s.Rate(), 13);
  s.SetOrder(9);
  EXPECT_EQ(s.Order(), 8);
  s.SetRateType(-1);
  EXPECT_EQ(s.RateType(), 0);
  s.SetTrigger(5);
  EXPECT_EQ(s.Trigger(), 4);
}

TEST(SequenceModel, TempoAndTimeSignatureChangesMarkEverySequence) {
  struct Case {
    const char* name;
    std::function<void(TSequencer&)> change;
    bool marks;
  };
  const Case cases[] = {
      {"same tempo", [](auto& q) { q.SetTempo(120.0); }, false},
      {"tempo 120.5", [](auto& q) { q.SetTempo(120.5); }, true},
      {"same numerator", [](auto& q) { q.SetTimeSigNumerator(4); }, false},
      {"numerator 3", [](auto& q) { q.SetTimeSigNumerator(3); }, true},
      {"denominator 8", [](auto& q) { q.SetTimeSigDenominator(8); }, true},
      {"position and rate",
       [](auto& q) {
         q.SetPpqPos(12.0);
         q.SetSampleRate(48000);
         q.SetPlaying(true);
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSequencer seq;
    c.change(seq);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(seq.Items(i).Changed(), c.marks);
    seq.ClearChanged();
    for (int i = 0; i < 8; ++i) EXPECT_FALSE(seq.Items(i).Changed());
  }
}

TEST(SequenceModel, SetDefaultsResetsSettingsAndStepsInPlaceButKeepsTheLiveState) {
  TSequencer seq;
  TSequencerItem& s = seq.Items(3);
  const TCCStepItem* firstStep = &s.Steps()[0];
  s.SetRate(1);
  s.SetOrder(7);
  s.SetChannel(9);
  s.SetTitle("x");
  s.Steps()[0].SetValue(1.0f);
  s.Steps()[63].SetRandomRange(5.0f);
  s.Steps()[10].SetEnabled(false);
  s.SetChanged(false);
  s.BuildSchedule(-1, 0.0);
  s.SetTriggerState(kTriggerStop);
  const int scheduled = s.LiveSteps().Count();
  ASSERT_GT(scheduled, 0);

  s.SetDefaults();
  EXPECT_EQ(s.Rate(), 6);
  EXPECT_EQ(s.Order(), 0);
  EXPECT_EQ(s.Channel(), 1);
  EXPECT_EQ(s.Title(), "Sequence #4");
  EXPECT_EQ(&s.Steps()[0], firstStep);
  EXPECT_EQ(s.Steps().Count(), 64);
  EXPECT_EQ(s.Steps()[0].Value(), 63.0f);
  EXPECT_EQ(s.Steps()[63].RandomRange(), 0.0f);
  EXPECT_TRUE(s.Steps()[10].Enabled());
  EXPECT_EQ(s.LiveSteps().Count(), scheduled);
  EXPECT_EQ(s.TriggerState(), kTriggerStop);
  EXPECT_FALSE(s.Changed());

  s.ResetLive();
  EXPECT_TRUE(s.LiveSteps().Empty());
  EXPECT_EQ(s.NextTime(), -1.0);
  EXPECT_EQ(s.TriggerState(), kTriggerNone);
  EXPECT_EQ(s.PlayingStep(), -1);
}

TEST(SequenceModel, AssignStepsCopiesStepsAndSetsChanged) {
  TSequencer seq;
  TCCStepList edited(64);
  edited[0].SetValue(12.5f);
  edited[5].SetRandomRange(3.0f);
  edited[63].SetEnabled(false);
  seq.Items(1).AssignSteps(edited);
  EXPECT_TRUE(seq.Items(1).Changed());
  EXPECT_EQ(seq.Items(1).Steps()[0].Value(), 12.5f);
  EXPECT_EQ(seq.Items(1).Steps()[5].RandomRange(), 3.0f);
  EXPECT_FALSE(seq.Items(1).Steps()[63].Enabled());

  TCCStepList few;
  few.Add().SetValue(1.0f);
  seq.Items(2).AssignSteps(few);
  EXPECT_EQ(seq.Items(2).Steps()[0].Value(), 1.0f);
  EXPECT_EQ(seq.Items(2).Steps()[1].Value(), 63.0f);
}

TEST(SequenceModel, AssigningASequenceCopiesSettingsAndStepsNotTitleOrLiveState) {
  TSequencer seq;
  TSequencerItem& a = seq.Items(0);
  TSequencerItem& b = seq.Items(1);
  a.SetRate(3);
  a.SetChannel(7);
  a.SetTrigger(2);
  a.SetTitle("Source");
  a.Steps()[4].SetValue(99.0f);
  b.Assign(a);
  EXPECT_EQ(b.Rate(), 3);
  EXPECT_EQ(b.Channel(), 7);
  EXPECT_EQ(b.Trigger(), 2);
  EXPECT_EQ(b.Steps()[4].Value(), 99.0f);
  EXPECT_EQ(b.Title(), "Sequence #2");
  EXPECT_TRUE(b.Changed());
}

TEST(StepList, AddInsertAndBounds) {
  TCCStepList list;
  list.Add().SetValue(1.0f);
  list.Add().SetValue(3.0f);
  list.Insert(1).SetValue(2.0f);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Items(0).Value(), 1.0f);
  EXPECT_EQ(list.Items(1).Value(), 2.0f);
  EXPECT_EQ(list.Items(2).Value(), 3.0f);
  try {
    list.Items(3);
    ADD_FAILURE();
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (3)");
  }
  TCCStepList full(64);
  EXPECT_THROW(full.Add(), std::length_error);
  TCCStepList copy;
  copy = list;
  EXPECT_EQ(copy.Count(), 3);
  EXPECT_EQ(copy.Items(2).Value(), 3.0f);
}

TEST(HeldNotes, AddRemoveAndDuplicates) {
  TMidiNoteList notes;
  notes.AddNote(60);
  notes.AddNote(64);
  notes.AddNote(60);
  EXPECT_EQ(notes.Count(), 2);
  EXPECT_EQ(notes.IndexOfNote(64), 1);
  EXPECT_EQ(notes.IndexOfNote(61), -1);
  EXPECT_TRUE(notes.RemoveNote(60));
  EXPECT_FALSE(notes.RemoveNote(60));
  EXPECT_EQ(notes.Items(0).Note, 64);

  TMidiNoteList dup;
  dup.AllowDuplicates = true;
  dup.AddNote(1);
  dup.AddNote(1);
  EXPECT_EQ(dup.Count(), 2);
  EXPECT_TRUE(dup.RemoveNote(1));
  EXPECT_EQ(dup.Count(), 1);
  dup.Clear();
  EXPECT_TRUE(dup.Empty());
}

TEST(StepValue, RandomPartIsLimitedSoTheSumStaysBelow128) {
  TSequencer seq;
  TSequencerItem& s = seq.Items(0);
  s.Steps()[0].SetValue(120.0f);
  s.Steps()[0].SetRandomRange(20.0f);
  SetRandSeed(1);
  std::array<int, 128> seen{};
  for (int i = 0; i < 4000; ++i) {
    const float v = s.StepValue(0);
    ASSERT_GE(v, 120.0f);
    ASSERT_LE(v, 127.0f);
    ASSERT_EQ(v, std::floor(v));
    ++seen[static_cast<std::size_t>(v)];
  }
  for (int v = 120; v <= 127; ++v) EXPECT_GT(seen[static_cast<std::size_t>(v)], 0) << v;
}

TEST(StepValue, FractionsSurviveAndEveryValueIsLimited) {
  TSequencer seq;
  TSequencerItem& s = seq.Items(0);
  struct Case {
    float value, range, expected;
  };
  const Case cases[] = {
      {12.25f, 0.0f, 12.25f},
      {-5.0f, 0.0f, 0.0f},
      {300.0f, 0.0f, 127.0f},
      {300.0f, 10.0f, 127.0f},
      {std::numeric_limits<float>::infinity(), 3.0f, 127.0f},
      {-std::numeric_limits<float>::infinity(), 0.0f, 0.0f},
      {std::numeric_limits<float>::quiet_NaN(), 0.0f, 63.0f},
      {40.0f, -3.0f, 40.0f},
      {40.0f, std::numeric_limits<float>::quiet_NaN(), 40.0f},
  };
  for (const Case& c : cases) {
    s.Steps()[1].SetValue(c.value);
    s.Steps()[1].SetRandomRange(c.range);
    EXPECT_EQ(s.StepValue(1), c.expected) << c.value << " " << c.range;
  }
  s.Steps()[2].SetValue(127.0f);
  s.Steps()[2].SetRandomRange(1e30f);
  EXPECT_EQ(s.StepValue(2), 127.0f);
  s.Steps()[2].SetValue(0.4f);
  for (int i = 0; i < 200; ++i) EXPECT_LE(s.StepValue(2), 127.0f);
}

}  // namespace
}  // namespace vornix::sequencer
