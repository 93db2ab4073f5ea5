// Long runs against the host's time line: every message must leave in the block that holds its
// due time, at the right offset, with data bytes 0..127, and no sequence may fall behind.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <random>
#include <vector>

#include "HostSimulation.h"
#include "sequencer/OrvMidi.h"
#include "sequencer/OrvRandom.h"
#include "sequencer/Sequencer.h"

namespace vornix::sequencer {
namespace {

using testing::HostSimulation;
using testing::Prepare;
using testing::Sent;

constexpr double kSampleRate = 44100.0;
constexpr double kTempo = 120.0;
constexpr std::int32_t kFrames = 2048;
constexpr std::int64_t kTenMinutes = 600 * 44100;
constexpr std::int64_t kBlocks = (kTenMinutes + kFrames - 1) / kFrames;

struct Expected {
  long double sample;  // exact due sample
  int value;
};

// A message matches when it lands on its due sample rounded to the nearest (either neighbour for
// an exact half), in the block that holds that sample, at that offset.
void ExpectTimeline(const std::vector<Sent>& sent, const std::vector<Expected>& expected) {
  ASSERT_EQ(sent.size(), expected.size());
  for (std::size_t i = 0; i < sent.size(); ++i) {
    const Sent& m = sent[i];
    const Expected& e = expected[i];
    const long double floorSample = std::floor(e.sample);
    const bool half = e.sample - floorSample == 0.5L;
    const std::int64_t rounded = static_cast<std::int64_t>(std::llround(static_cast<double>(e.sample)));
    const std::int64_t sample = m.Sample();
    if (half)
      ASSERT_TRUE(sample == static_cast<std::int64_t>(floorSample) ||
                  sample == static_cast<std::int64_t>(floorSample) + 1)
          << "message " << i;
    else
      ASSERT_EQ(sample, rounded) << "message " << i;
    ASSERT_EQ(m.block, sample / kFrames) << "message " << i;
    ASSERT_GE(m.offset, 0);
    ASSERT_LT(m.offset, kFrames);
    ASSERT_EQ(m.value, e.value) << "message " << i << " at sample " << sample;
  }
}

// Due events up to the end of the run: grid point j at j * step samples.
template <class ValueOf>
std::vector<Expected> Grid(long double stepSamples, ValueOf valueOf) {
  std::vector<Expected> out;
  for (std::int64_t j = 0;; ++j) {
    const long double s = static_cast<long double>(j) * stepSamples;
    if (s >= static_cast<long double>(kBlocks * kFrames) - 0.5L) break;
    out.push_back({s, valueOf(j)});
  }
  return out;
}

int StepValueOf(std::int64_t step) { return static_cast<int>((step * 37 + 5) % 128); }

TSequencerItem& TenMinuteSequence(TSequencer& seq, int rate, int type, bool smooth) {
  TSequencerItem& s = Prepare(seq, rate, type, kOrderForward, 16, smooth);
  for (int i = 0; i < 16; ++i) s.Steps()[i].SetValue(static_cast<float>(StepValueOf(i)));
  return s;
}

TEST(HostTime, TenMinutesOf1_128Stepped) {
  TSequencer seq;
  TenMinuteSequence(seq, 1, 1, false);
  HostSimulation host(seq, kSampleRate, kTempo, kFrames);
  // 1/32 quarter = 689.0625 samples; step 32768 is due exactly at a block boundary.
  ExpectTimeline(host.Run(kBlocks), Grid(689.0625L, [](std::int64_t j) { return StepValueOf(j % 16); }));
}

TEST(HostTime, TenMinutesOf1_128Smoothed) {
  TSequencer seq;
  TenMinuteSequence(seq, 1, 1, true);
  HostSimulation host(seq, kSampleRate, kTempo, kFrames);
  // Step and quantum coincide: one message per quantum, carrying its step's value.
  ExpectTimeline(host.Run(kBlocks), Grid(689.0625L, [](std::int64_t j) { return StepValueOf(j % 16); }));
}

TEST(HostTime, TenMinutesOf1_16TripletStepped) {
  TSequencer seq;
  TenMinuteSequence(seq, 4, 0, false);
  HostSimulation host(seq, kSampleRate, kTempo, kFrames);
  ExpectTimeline(host.Run(kBlocks), Grid(3675.0L, [](std::int64_t j) { return StepValueOf(j % 16); }));
}

TEST(HostTime, TenMinutesOf1_16TripletSmoothed) {
  TSequencer seq;
  TenMinuteSequence(seq, 4, 0, true);
  HostSimulation host(seq, kSampleRate, kTempo, kFrames);
  // Eight triplet quanta (459.375 samples) per step, on the line between neighbouring steps.
  ExpectTimeline(host.Run(kBlocks), Grid(459.375L, [](std::int64_t m) {
                   const std::int64_t j = m / 8;
                   const int v0 = StepValueOf(j % 16);
                   const int v1 = StepValueOf((j + 1) % 16);
                   const std::int64_t scaled = 8 * v0 + (m % 8) * (v1 - v0);  // never negative
                   return static_cast<int>(scaled / 8);
                 }));
}

// Random configurations: tempo, sample rate, block size, rate, type, order, step count, trigger,
// smoothing. Whatever they are, the data bytes stay valid, the messages stay in order and inside
// their blocks, and after every block nothing that was due is left unsent.
TEST(HostTime, RandomConfigurationsNeverLagOrLeaveTheirBlock) {
  std::mt19937 rng(20240611);
  SetRandSeed(5);
  const double rates[] = {22050, 44100, 48000, 96000};
  for (int run = 0; run < 120; ++run) {
    const double tempo = std::uniform_real_distribution<double>(30.0, 300.0)(rng);
    const double sampleRate = rates[rng() % 4];
    const std::int32_t frames = static_cast<std::int32_t>(std::uniform_int_distribution<int>(1, 4096)(rng));
    const int rate = std::uniform_int_distribution<int>(1, 7)(rng);
    const int type = static_cast<int>(rng() % 3);
    const int order = static_cast<int>(rng() % 9);
    const int steps = std::uniform_int_distribution<int>(1, 64)(rng);
    const bool smooth = rng() % 2 == 0;
    const int trigger = rng() % 3 == 0 ? static_cast<int>(rng() % 5) : kTriggerSyncToHost;
    const double start = std::uniform_real_distribution<double>(-8.0, 64.0)(rng);
    SCOPED_TRACE(::testing::Message() << "run " << run << ": tempo " << tempo << " rate " << sampleRate << " frames "
                                      << frames << " code " << rate << " type " << type << " order " << order
                                      << " steps " << steps << " smooth " << smooth << " trigger " << trigger
                                      << " start " << start);
    TSequencer seq;
    TSequencerItem& s = Prepare(seq, rate, type, order, steps, smooth, trigger);
    for (int i = 0; i < 64; ++i) {
      s.Steps()[i].SetValue(static_cast<float>(rng() % 128) + (rng() % 2 ? 0.5f : 0.0f));
      s.Steps()[i].SetRandomRange(static_cast<float>(rng() % 4 == 0 ? rng() % 40 : 0));
    }
    HostSimulation host(seq, sampleRate, tempo, frames, start);
    seq.NoteOn(60);
    const double spq = sampleRate * 60.0 / tempo;
    const double step = NoteLengthInBeats(rate, type, 4, 4);
    const double quantum = NoteLengthInBeats(1, type, 4, 4);
    const double grid = smooth ? quantum : step;
    const std::int64_t blocks = std::max<std::int64_t>(4, static_cast<std::int64_t>(20.0 * spq * 4 / frames));
    std::int64_t lastSample = -1;
    int messages = 0;
    for (std::int64_t k = 0; k < std::min<std::int64_t>(blocks, 3000); ++k) {
      const double blockStart = host.PpqAt(host.Block());
      for (const Sent& m : host.Step()) {
        ASSERT_GE(m.value, 0);
        ASSERT_LE(m.value, 127);
        ASSERT_GE(m.offset, 0);
        ASSERT_LT(m.offset, frames);
        ASSERT_GT(m.Sample(), lastSample);  // time order, one message per sample
        // A synchronised stepped sequence sends every slot: a dropped step would leave a gap of two
        // steps. The first message may start in the middle of its slot.
        if (trigger == kTriggerSyncToHost && !smooth && step * spq >= 2.0 && messages > 1) {
          ASSERT_NEAR(static_cast<double>(m.Sample() - lastSample), step * spq, 1.0) << "block " << k;
        }
        lastSample = m.Sample();
        ++messages;
        if (trigger == kTriggerSyncToHost && m.offset > 0) {
          // On the sequence's grid: a slot start, or with smoothing a quantum.
          const double due = blockStart + m.offset / spq;
          const double onGrid = std::round(due / grid) * grid;
          ASSERT_LE(std::fabs((onGrid - blockStart) * spq - m.offset), 0.5 + 1e-6) << "block " << k;
        }
      }
      // Nothing due before the end of this block is still waiting.
      if (!s.LiveSteps().Empty()) {
        const double blockEnd = host.PpqAt(host.Block());
        const double pending = smooth ? s.NextTime() : s.LiveSteps().First().Time;
        ASSERT_GE((pending - blockEnd) * spq, -0.5 - 1e-6) << "block " << k;
      }
    }
  }
}

}  // namespace
}  // namespace vornix::sequencer

namespace vornix::sequencer {
namespace {

// What a broken or hostile host may report. Every block must return promptly (a hang ends the test
// at its time limit), every message must be valid MIDI inside its block, and the sequences must
// play normally again once the host's values are sane.
TEST(HostTime, AbsurdTimeInformationIsSurvivedByEveryTriggerMode) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double positions[] = {nan, inf, -inf, 1e300, -1e300, 1e21, 1e17, -1e17, 4.5e15, 1e9 + 0.5, -3.25, 0.0};
  const double tempos[] = {nan, inf, -120.0, 0.0, 1e-300, 1e-3, 1e6, 8e5, 1e300, 120.0};
  const double sampleRates[] = {nan, inf, 0.0, 1e-300, 1.0, 44100.0, 1e12};
  const std::int32_t frameCounts[] = {0, -5, 1, 64, 4096, 1 << 20, 2147483647};
  std::mt19937 rng(77);
  for (int trigger = kTriggerSyncToHost; trigger <= kTriggerNoteRetriggerOneShot; ++trigger) {
    for (const bool smooth : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "trigger " << trigger << " smooth " << smooth);
      TSequencer seq;
      TSequencerItem& s =
          Prepare(seq, 1, static_cast<int>(rng() % 3), static_cast<int>(rng() % 9), 64, smooth, trigger);
      for (int i = 0; i < 64; ++i) s.Steps()[i].SetValue(static_cast<float>(i * 2));
      seq.NoteOn(60);
      for (int block = 0; block < 600; ++block) {
        const double ppq = block % 7 == 6 ? static_cast<double>(block) : positions[rng() % std::size(positions)];
        const double tempo = tempos[rng() % std::size(tempos)];
        const double sampleRate = sampleRates[rng() % std::size(sampleRates)];
        const std::int32_t frames = frameCounts[rng() % std::size(frameCounts)];
        seq.SetPpqPos(ppq);
        seq.SetTempo(tempo);
        seq.SetSampleRate(sampleRate);
        if (block % 50 == 0) seq.NoteOn(60);  // restarts the note-triggered modes now and then
        TStepMessageList out;
        seq.ProcessSequence(0, frames, out);
        for (const TStepMessage& m : out) {
          ASSERT_GE(m.Offset, 0) << "block " << block;
          ASSERT_LT(m.Offset, frames) << "block " << block;
          ASSERT_GE(m.Value, 0);
          ASSERT_LE(m.Value, 127);
        }
      }
      // Sane again: a jump of 1e17 quarter notes, then an ordinary transport. Synchronised
      // sequences play at once, note-triggered ones after the next note.
      seq.SetPpqPos(1e17);
      seq.SetTempo(120.0);
      seq.SetSampleRate(48000.0);
      TStepMessageList out;
      seq.ProcessSequence(0, 512, out);
      EXPECT_TRUE(out.Empty());
      seq.StopAll();
      seq.NoteOn(61);
      int sent = 0;
      for (int block = 0; block < 200; ++block) {
        seq.SetPpqPos(8.0 + block * 512 * 2.0 / 48000.0);
        seq.ProcessSequence(0, 512, out);
        sent += out.Count();
      }
      EXPECT_GT(sent, 0);
    }
  }
}

}  // namespace
}  // namespace vornix::sequencer
