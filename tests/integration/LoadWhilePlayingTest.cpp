// A state load while the transport plays, as a musician browsing presets or undoing in the host
// does it: no block may play defaults or half of a state, and what was loaded plays at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <set>
#include <thread>

#include "Transport.h"

namespace vornix::testing {
namespace {

using namespace vst;

class LoadWhilePlaying : public PlayingTest {
 protected:
  // The default state with every step value (63, an enabled step's first float, written as a
  // 10-byte extended number) replaced by 10: in the default state only sequence 1 (controller 20)
  // plays, so every message must carry 10.
  std::vector<unsigned char> StateWithStepsOfTen() {
    std::vector<unsigned char> chunk = host->GetChunk();
    const std::vector<unsigned char> sixtyThree = {0x09, 0x05, 0, 0, 0, 0, 0, 0, 0, 0xFC, 0x04, 0x40};
    const std::vector<unsigned char> ten = {0x09, 0x05, 0, 0, 0, 0, 0, 0, 0, 0xA0, 0x02, 0x40};
    int replaced = 0;
    for (auto it = std::search(chunk.begin(), chunk.end(), sixtyThree.begin(), sixtyThree.end()); it != chunk.end();
         it = std::search(it, chunk.end(), sixtyThree.begin(), sixtyThree.end())) {
      it = std::copy(ten.begin(), ten.end(), it);
      ++replaced;
    }
    EXPECT_EQ(replaced, 8 * 64);
    return chunk;
  }

  void ExpectOnlySequenceOneWith(unsigned char value) {
    ASSERT_FALSE(host->midi.empty());
    for (const auto& m : host->midi) {
      ASSERT_EQ(m.status, 0xB0);
      ASSERT_EQ(m.data1, 20) << "a sequence that is off in both states played";
      ASSERT_EQ(m.data2, value) << "a value that neither state has";
    }
  }

  double ppq = 0.0;
};

// Blocks processed whenever the plug-in calls back into the host during a load: the moments at
// which a host's processing thread could run in between.
TEST_F(LoadWhilePlaying, BlocksDuringALoadPlayNeitherDefaultsNorHalfAState) {
  const auto state = StateWithStepsOfTen();
  host->SetChunk(state);
  bool loading = false, inBlock = false;
  int blocksDuringLoads = 0;
  host->override = [&](const hostkit::HostRequest& r, void*) -> std::optional<VstIntPtr> {
    if (loading && !inBlock && r.opcode != audioMasterGetTime && r.opcode != audioMasterProcessEvents) {
      inBlock = true;
      ppq = Play(ppq, 1, 64);
      inBlock = false;
      ++blocksDuringLoads;
    }
    return std::nullopt;
  };
  for (int load = 0; load < 20; ++load) {
    ppq = Play(ppq, 3, 64);
    loading = true;
    host->SetChunk(state);
    loading = false;
  }
  EXPECT_GT(blocksDuringLoads, 0);
  ExpectOnlySequenceOneWith(10);
}

TEST_F(LoadWhilePlaying, LoadsOnTheMainThreadWhileAnotherThreadPlays) {
  const auto state = StateWithStepsOfTen();
  host->SetChunk(state);
  host->recordRequests = false;  // the request log is not shared between threads
  std::atomic<bool> done{false};
  std::atomic<int> blocks{0};
  std::thread processing([&] {
    while (!done.load()) {
      ppq = Play(ppq, 1, 64);
      ++blocks;
    }
  });
  // Each load lets two blocks finish before the next one begins: however the two threads are
  // scheduled, some blocks then lie between loads and must play, while the rest overlap one.
  for (int load = 0; load < 1500; ++load) {
    const int before = blocks.load();
    host->SetChunk(state);
    while (blocks.load() < before + 2) std::this_thread::yield();
  }
  done = true;
  processing.join();
  ExpectOnlySequenceOneWith(10);
}

// Settings that equal the model's defaults still replace what was playing.
TEST_F(LoadWhilePlaying, LoadedSettingsTakeEffectAtTheNextBlock) {
  const auto defaults = host->GetChunk();  // sequence 1 at "1/4", smoothed, 32 steps, synchronised
  SetParameterText("Seq1 Rate", "1/16");
  SetParameterText("Seq1 Smooth", "Off");
  SetParameterText("Seq1 Steps", "16");
  ppq = Play(0.0, 20, 512);
  host->SetChunk(defaults);
  host->midi.clear();
  ppq = Play(ppq, 94, 512);  // two quarter notes
  // Smoothed "1/4" sends one message every 1/128 note (750 samples), stepped "1/16" every 6000.
  EXPECT_GE(host->midi.size(), 60u);

  SetParameterText("Seq1 Trigger", "Note");
  SetParameterText("Seq1 Smooth", "Off");
  host->SendMidi({Midi(0x90, 60, 100)});
  ppq = Play(ppq + 0.3, 10, 512);  // started off the grid
  host->SetChunk(defaults);
  host->midi.clear();
  const double start = ppq;
  Play(start, 40, 512);
  ASSERT_FALSE(host->midi.empty());
  // Synchronised again: after the first message, every one lies on the 1/128 grid of the host.
  const double quantum = 1.0 / 32.0;
  for (std::size_t i = 1; i < host->midi.size(); ++i) {
    const auto& m = host->midi[i];
    const double at = start + ((m.block - host->midi[0].block) * 512 + m.deltaFrames) / 24000.0;
    EXPECT_NEAR(std::remainder(at, quantum), 0.0, 1.0 / 24000.0) << "message " << i;
  }
}

TEST_F(LoadWhilePlaying, ALoadTellsTheHostEveryParameterOnceWithItsFinalValue) {
  SetParameterText("Seq3 Active", "On");
  SetParameterText("Seq3 Rate", "1/16");
  const auto state = host->GetChunk();
  SetParameterText("Seq3 Active", "Off");
  SetParameterText("Seq5 Order", "Backward");
  for (const bool bank : {false, true}) {
    SCOPED_TRACE(bank ? "bank" : "program");
    host->requests.clear();
    host->SetChunk(bank ? host->GetChunk(true) : state, bank);
    std::vector<int> reported;
    std::size_t lastAutomate = 0, display = 0;
    for (std::size_t i = 0; i < host->requests.size(); ++i) {
      const auto& r = host->requests[i];
      if (r.opcode == audioMasterAutomate) {
        reported.push_back(r.index);
        EXPECT_FLOAT_EQ(r.opt, effect().getParameter(&effect(), r.index)) << "parameter " << r.index;
        lastAutomate = i;
      }
      if (r.opcode == audioMasterUpdateDisplay) display = i;
    }
    std::sort(reported.begin(), reported.end());
    std::vector<int> everyParameter(72);
    for (int i = 0; i < 72; ++i) everyParameter[static_cast<std::size_t>(i)] = i;
    EXPECT_EQ(reported, everyParameter);
    EXPECT_GT(display, lastAutomate) << "the display is refreshed after the values are known";
  }
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, 18), "On");  // Seq3 Active, from the program load

  // A chunk that cannot be read changes nothing, so there is nothing to tell.
  std::vector<unsigned char> damaged = state;
  damaged.resize(damaged.size() / 2);
  host->requests.clear();
  host->SetChunk(damaged);
  EXPECT_EQ(host->CountRequests(audioMasterAutomate), 0u);
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, 18), "On");
}

}  // namespace
}  // namespace vornix::testing
