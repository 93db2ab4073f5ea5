// The processing path must never touch the heap, and settings written from another thread must
// never disturb it. This program counts every allocation made while counting is on.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "../alloc/CountingAllocator.h"
#include "sequencer/OrvRandom.h"
#include "sequencer/Sequencer.h"

namespace vornix::sequencer {
namespace {

// Eight sequences covering every order, both paths and the note modes.
void SetUpAll(TSequencer& seq) {
  for (int i = 0; i < 8; ++i) {
    TSequencerItem& s = seq.Items(i);
    s.SetActive(true);
    s.SetOrder(i == 7 ? kOrderRandomUnique : i);
    s.SetRate(1 + i % 4);
    s.SetRateType(i % 3);
    s.SetSmooth(i % 2 == 0);
    s.SetStepCount(64 - i * 5);
    s.SetTrigger(i >= 5 ? i - 4 : kTriggerSyncToHost);
    for (int k = 0; k < 64; ++k) {
      s.Steps()[k].SetValue(static_cast<float>((k * 13) % 128));
      s.Steps()[k].SetRandomRange(k % 3 == 0 ? 10.0f : 0.0f);
    }
  }
}

TEST(Realtime, ProcessingNotesAndResetsNeverAllocate) {
  TSequencer seq;
  SetUpAll(seq);
  seq.SetSampleRate(44100);
  TStepMessageList list;
  vornix::testing::StartCountingAllocations();
  double ppq = 0.0;
  for (int block = 0; block < 20000; ++block) {
    if (block % 500 == 0) seq.NoteOn(60 + block % 7);
    if (block % 500 == 250) seq.NoteOff(60 + (block - 250) % 7);
    if (block % 1000 == 999) seq.Items(block / 1000 % 8).SetStepCount(1 + block % 64);  // rebuilds
    if (block % 3000 == 2999) seq.ResetAll();
    if (block == 7000) ppq += 1e6;  // far jump
    if (block == 15000) seq.StopAll();
    seq.SetPpqPos(ppq);
    for (int i = 0; i < 8; ++i) seq.ProcessSequence(i, 1024, list);
    seq.ProcessSequence(block % 8, 1024);
    ppq += 1024.0 / 22050.0;
  }
  EXPECT_EQ(vornix::testing::StopCountingAllocations(), 0);
}

// Another thread changes settings and steps while the processing thread plays. Every message must
// stay valid; under ThreadSanitizer this also checks that the sharing is race-free.
TEST(Realtime, SettingsWrittenFromAnotherThreadWhilePlaying) {
  TSequencer seq;
  SetUpAll(seq);
  std::atomic<bool> done{false};
  std::thread editor([&] {
    unsigned n = 0;
    while (!done.load(std::memory_order_relaxed)) {
      TSequencerItem& s = seq.Items(static_cast<int>(n % 8));
      s.SetRate(1 + static_cast<int>(n % 7));
      s.SetStepCount(1 + static_cast<std::int32_t>(n % 64));
      s.SetOrder(static_cast<int>(n % 9));
      s.SetSmooth(n % 3 != 0);
      s.SetChannel(1 + static_cast<std::int32_t>(n % 16));
      s.SetCCNumber(static_cast<std::int32_t>(n % 128));
      s.Steps()[static_cast<int>(n % 64)].SetValue(static_cast<float>(n % 200) - 30.0f);
      if (n % 50 == 0) seq.SetDefaults();
      if (n % 7 == 0) s.SetActive(n % 2 == 0);
      ++n;
    }
  });
  // Failures are counted, not asserted, so the editor thread is always joined.
  long invalid = 0;
  TStepMessageList list;
  double ppq = 0.0;
  for (int block = 0; block < 20000; ++block) {
    seq.SetPpqPos(ppq);
    for (int i = 0; i < 8; ++i) {
      seq.ProcessSequence(i, 512, list);
      for (const TStepMessage& m : list) {
        const bool valid = m.Value >= 0 && m.Value <= 127 && m.Channel >= 1 && m.Channel <= 16 && m.CCNumber >= 0 &&
                           m.CCNumber <= 127 && m.Offset >= 0 && m.Offset < 512;
        if (!valid) ++invalid;
      }
    }
    ppq += 512.0 / 22050.0;
  }
  done = true;
  editor.join();
  EXPECT_EQ(invalid, 0);
}

}  // namespace
}  // namespace vornix::sequencer
