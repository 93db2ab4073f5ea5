// Cost of the step clock on the processing thread, per host block.
#include <benchmark/benchmark.h>

#include "sequencer/OrvRandom.h"
#include "sequencer/Sequencer.h"

namespace {

using namespace vornix::sequencer;

constexpr double kSampleRate = 44100.0;
constexpr double kTempo = 120.0;

// Eight active sequences with smoothing on and short patterns, so that their schedules run out
// and are rebuilt all the time; mixed orders and rates.
void SetUpEight(TSequencer& seq, int rate) {
  for (int i = 0; i < 8; ++i) {
    TSequencerItem& s = seq.Items(i);
    s.SetActive(true);
    s.SetSmooth(true);
    s.SetRate(rate > 0 ? rate : 1 + i % 4);
    s.SetRateType(i % 3);
    s.SetOrder(i);
    s.SetStepCount(4 + i);
    s.SetTrigger(kTriggerSyncToHost);
    s.SetChannel(1 + i);
    s.SetCCNumber(20 + i);
    for (int k = 0; k < 64; ++k) {
      s.Steps()[k].SetValue(static_cast<float>((k * 29 + i * 7) % 128));
      s.Steps()[k].SetRandomRange(k % 4 == 0 ? 12.0f : 0.0f);
    }
  }
  seq.SetSampleRate(kSampleRate);
  seq.SetTempo(kTempo);
  seq.ClearChanged();
}

// One host block: all eight sequences, as the processing cycle calls them. Kept out of line so a
// profiler can count exactly this.
[[gnu::noinline]] int ProcessBlock(TSequencer& seq, double ppq, std::int32_t frames, TStepMessageList& out) {
  int sent = 0;
  seq.SetPpqPos(ppq);
  for (int i = 0; i < 8; ++i) {
    seq.ProcessSequence(i, frames, out);
    sent += out.Count();
  }
  return sent;
}

void RunBlocks(benchmark::State& state, int rate, std::int32_t frames) {
  SetRandSeed(1);
  TSequencer seq;
  SetUpEight(seq, rate);
  TStepMessageList out;
  const double blockBeats = frames * kTempo / (60.0 * kSampleRate);
  double ppq = 0.0;
  std::int64_t messages = 0;
  for (auto _ : state) {
    messages += ProcessBlock(seq, ppq, frames, out);
    ppq += blockBeats;
  }
  state.counters["messages/block"] =
      benchmark::Counter(static_cast<double>(messages) / static_cast<double>(state.iterations()));
  state.SetItemsProcessed(state.iterations());
}

// Eight sequences, smoothing on, rates "1/128" to "1/16", 512-sample blocks.
void BM_EightSequences512(benchmark::State& state) { RunBlocks(state, 0, 512); }
// Eight sequences at "1/128", smoothing on, 4096-sample blocks: several messages per sequence.
void BM_EightSequences1_128Block4096(benchmark::State& state) { RunBlocks(state, 1, 4096); }

BENCHMARK(BM_EightSequences512);
BENCHMARK(BM_EightSequences1_128Block4096);
// Fixed iteration counts for instruction counting under callgrind (--toggle-collect=*ProcessBlock*).
BENCHMARK(BM_EightSequences512)->Name("Callgrind/EightSequences512")->Iterations(100000);
BENCHMARK(BM_EightSequences1_128Block4096)->Name("Callgrind/EightSequences1_128Block4096")->Iterations(100000);

}  // namespace
