#include <gtest/gtest.h>

#include <vector>

#include "HostSimulation.h"
#include "sequencer/Sequencer.h"

namespace vornix::sequencer {
namespace {

using testing::HostSimulation;
using testing::NumberSteps;
using testing::Prepare;
using testing::Sent;
using testing::Values;

constexpr int kRate1_16 = 4;
constexpr int kNormal = 1;

// A note-triggered sequence of "1/16" steps at 48 kHz / 120 BPM: a step every 6000 samples, so
// with 1000-sample blocks a step starts in every sixth block.
struct TriggerRig {
  explicit TriggerRig(int trigger, int steps = 8, bool smooth = false) : host(seq, 48000, 120, 1000) {
    TSequencerItem& s = Prepare(seq, kRate1_16, kNormal, kOrderForward, steps, smooth, trigger);
    NumberSteps(s, 10.0f);
    // A synchronised neighbour shows that notes leave it alone.
    seq.Items(1).SetActive(true);
    seq.Items(1).SetSmooth(false);
    seq.Items(1).SetRate(kRate1_16);
    seq.ClearChanged();
  }
  std::vector<int> Play(int blocks) { return Values(host.Run(blocks)); }
  TSequencerItem& item() { return seq.Items(0); }

  TSequencer seq;
  HostSimulation host;
};

TEST(NoteTriggers, NoteModeStartsAtTheFirstNoteAndStopsAtTheLastRelease) {
  TriggerRig rig(kTriggerNote);
  EXPECT_TRUE(rig.Play(10).empty());
  rig.seq.NoteOn(60);
  EXPECT_EQ(rig.item().TriggerState(), kTriggerStart);
  EXPECT_EQ(rig.Play(14), (std::vector<int>{0, 10, 20}));
  rig.seq.NoteOn(64);  // a second key changes nothing
  EXPECT_EQ(rig.item().TriggerState(), kTriggerNone);
  EXPECT_EQ(rig.Play(6), (std::vector<int>{30}));
  rig.seq.NoteOff(60);  // one key still down
  EXPECT_EQ(rig.Play(6), (std::vector<int>{40}));
  rig.seq.NoteOff(64);
  EXPECT_EQ(rig.item().TriggerState(), kTriggerStop);
  EXPECT_TRUE(rig.Play(30).empty());
  EXPECT_TRUE(rig.item().LiveSteps().Empty());
  EXPECT_EQ(rig.item().TriggerState(), kTriggerNone);
}

TEST(NoteTriggers, RetriggerRestartsAtEveryNoteOn) {
  TriggerRig rig(kTriggerNoteRetrigger);
  rig.seq.NoteOn(60);
  EXPECT_EQ(rig.Play(14), (std::vector<int>{0, 10, 20}));
  rig.seq.NoteOn(64);  // legato: starts again from the first step, at the next block
  const auto restart = rig.host.Step({0});
  ASSERT_EQ(restart.size(), 1u);
  EXPECT_EQ(restart[0].value, 0);
  EXPECT_EQ(restart[0].offset, 0);
  rig.seq.NoteOff(60);
  EXPECT_EQ(rig.Play(6), (std::vector<int>{10}));
  rig.seq.NoteOff(64);
  EXPECT_TRUE(rig.Play(30).empty());
}

TEST(NoteTriggers, OneShotPlaysOnceAndIgnoresFurtherKeysUntilAllAreReleased) {
  TriggerRig rig(kTriggerNoteOneShot, 4);
  rig.seq.NoteOn(60);
  EXPECT_EQ(rig.Play(12), (std::vector<int>{0, 10}));
  rig.seq.NoteOn(62);  // a second key does not restart it
  EXPECT_EQ(rig.Play(60), (std::vector<int>{20, 30, 0}));
  EXPECT_EQ(rig.item().PlayingStep(), -1);
  rig.seq.NoteOff(60);
  rig.seq.NoteOff(62);
  EXPECT_TRUE(rig.Play(12).empty());
  rig.seq.NoteOn(65);
  EXPECT_EQ(rig.Play(12), (std::vector<int>{0, 10}));
}

TEST(NoteTriggers, OneShotStopsWhenTheKeyIsReleasedEarly) {
  TriggerRig rig(kTriggerNoteRetriggerOneShot, 4);
  rig.seq.NoteOn(60);
  EXPECT_EQ(rig.Play(7), (std::vector<int>{0, 10}));
  rig.seq.NoteOff(60);
  EXPECT_TRUE(rig.Play(60).empty());
}

TEST(NoteTriggers, RetriggerOneShotRestartsWhileKeysAreHeld) {
  TriggerRig rig(kTriggerNoteRetriggerOneShot, 4);
  rig.seq.NoteOn(60);
  EXPECT_EQ(rig.Play(7), (std::vector<int>{0, 10}));
  rig.seq.NoteOn(61);
  EXPECT_EQ(rig.Play(60), (std::vector<int>{0, 10, 20, 30, 0}));
}

TEST(NoteTriggers, SameNoteAgainCountsAsAStartAndItsReleaseStopsEverything) {
  TriggerRig rig(kTriggerNote);
  rig.seq.NoteOn(60);
  EXPECT_EQ(rig.Play(7), (std::vector<int>{0, 10}));
  rig.seq.NoteOn(60);  // from another channel: still the only held note
  EXPECT_EQ(rig.Play(1), (std::vector<int>{0}));
  rig.seq.NoteOff(60);  // the other key is "still down", but duplicates are not kept
  EXPECT_TRUE(rig.Play(30).empty());
}

TEST(NoteTriggers, SynchronisedSequencesIgnoreNotes) {
  TriggerRig rig(kTriggerNote);
  rig.seq.NoteOn(60);
  rig.seq.NoteOff(60);
  EXPECT_EQ(rig.seq.Items(1).TriggerState(), kTriggerNone);
  const auto sent = rig.host.Run(13, {1});
  EXPECT_EQ(Values(sent), (std::vector<int>{63, 63, 63}));
}

TEST(NoteTriggers, TempoChangeSilencesANoteSequenceUntilAFreshStart) {
  TriggerRig rig(kTriggerNote);
  rig.seq.NoteOn(60);
  EXPECT_EQ(rig.Play(7), (std::vector<int>{0, 10}));
  rig.seq.SetTempo(130);
  EXPECT_TRUE(rig.Play(30).empty());
  rig.seq.NoteOn(62);  // a key is still held: not a start
  EXPECT_TRUE(rig.Play(30).empty());
  rig.seq.NoteOff(60);
  rig.seq.NoteOff(62);
  rig.seq.NoteOn(64);
  EXPECT_EQ(rig.Play(1), (std::vector<int>{0}));
}

TEST(NoteTriggers, StopAllForgetsHeldNotesAndRequests) {
  TriggerRig rig(kTriggerNote);
  rig.seq.NoteOn(60);
  EXPECT_EQ(rig.Play(7), (std::vector<int>{0, 10}));
  rig.seq.NoteOn(61);
  rig.seq.StopAll();  // transport stops with keys held
  EXPECT_TRUE(rig.seq.HeldNotes().Empty());
  EXPECT_EQ(rig.item().TriggerState(), kTriggerNone);
  EXPECT_EQ(rig.seq.PrevPpqPos(), -1.0);
  EXPECT_TRUE(rig.Play(30).empty());  // transport running again: silent
  rig.seq.NoteOff(60);                // the late release finds nothing and stops nothing that runs
  EXPECT_TRUE(rig.Play(10).empty());
  rig.seq.NoteOn(60);
  EXPECT_EQ(rig.Play(1), (std::vector<int>{0}));
}

TEST(NoteTriggers, AStartRequestIsServedAtTheBlockStartNotAtTheNotesSample) {
  TriggerRig rig(kTriggerNote);
  rig.Play(3);
  rig.seq.NoteOn(60);
  const auto sent = rig.host.Run(13, {0});
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].Sample(), 3000);
  EXPECT_EQ(sent[1].Sample(), 9000);
  EXPECT_EQ(sent[2].Sample(), 15000);
}

TEST(NoteTriggers, ReleaseBeforeTheStartIsServedCancelsIt) {
  TriggerRig rig(kTriggerNote);
  rig.seq.NoteOn(60);
  rig.seq.NoteOff(60);
  EXPECT_EQ(rig.item().TriggerState(), kTriggerStop);
  EXPECT_TRUE(rig.Play(30).empty());
}

TEST(NoteTriggers, WithSmoothingTheNextMessageStillLeavesAfterARelease) {
  TriggerRig rig(kTriggerNote, 8, true);
  rig.seq.NoteOn(60);
  const auto running = rig.Play(3);  // 3000 samples: quanta at 0, 750, 1500, 2250
  EXPECT_EQ(running.size(), 4u);
  rig.seq.NoteOff(60);
  const auto last = rig.host.Run(10, {0});
  ASSERT_EQ(last.size(), 1u);
  EXPECT_EQ(last[0].Sample(), 3000);
  EXPECT_TRUE(rig.item().LiveSteps().Empty());
}

}  // namespace
}  // namespace vornix::sequencer
