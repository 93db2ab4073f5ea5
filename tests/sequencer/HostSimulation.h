// A tiny host for the step clock: advances a transport block by block and records every message
// a sequence sends, with the absolute sample it lands on.
#pragma once

#include <cstdint>
#include <vector>

#include "sequencer/Sequencer.h"

namespace vornix::sequencer::testing {

struct Sent {
  std::int64_t block = 0;
  std::int32_t offset = 0;
  std::int32_t value = 0;
  std::int32_t channel = 0;
  std::int32_t cc = 0;
  std::int32_t playingStep = -1;  // PlayingStep after the block that sent it
  std::int64_t frames = 0;
  std::int64_t Sample() const { return block * frames + offset; }
};

class HostSimulation {
 public:
  HostSimulation(TSequencer& sequencer, double sampleRate, double tempo, std::int32_t frames, double startPpq = 0.0)
      : seq_(sequencer), sampleRate_(sampleRate), tempo_(tempo), frames_(frames), startPpq_(startPpq) {
    seq_.SetSampleRate(sampleRate);
    seq_.SetTempo(tempo);
    seq_.ClearChanged();
  }

  // Host position at the start of block k, as a host derives it from its sample counter.
  double PpqAt(std::int64_t block) const {
    return startPpq_ + static_cast<double>(block * frames_) * tempo_ / (60.0 * sampleRate_);
  }
  double SamplesPerQuarter() const { return sampleRate_ * 60.0 / tempo_; }
  std::int64_t Block() const { return block_; }

  // Processes one block of the given sequences and returns what they sent, in sequence order.
  std::vector<Sent> Step(std::initializer_list<int> sequences = {0}) {
    std::vector<Sent> out;
    seq_.SetPpqPos(PpqAt(block_));
    for (int i : sequences) {
      TStepMessageList list;
      seq_.ProcessSequence(i, frames_, list);
      for (const TStepMessage& m : list)
        out.push_back({block_, m.Offset, m.Value, m.Channel, m.CCNumber, seq_.Items(i).PlayingStep(), frames_});
    }
    ++block_;
    return out;
  }

  std::vector<Sent> Run(std::int64_t blocks, std::initializer_list<int> sequences = {0}) {
    std::vector<Sent> all;
    for (std::int64_t k = 0; k < blocks; ++k) {
      auto sent = Step(sequences);
      all.insert(all.end(), sent.begin(), sent.end());
    }
    return all;
  }

  // Moves the transport to another position; the next block starts there.
  void Locate(double ppq) { startPpq_ = ppq - static_cast<double>(block_ * frames_) * tempo_ / (60.0 * sampleRate_); }

 private:
  TSequencer& seq_;
  double sampleRate_;
  double tempo_;
  std::int32_t frames_;
  double startPpq_;
  std::int64_t block_ = 0;
};

// Step values that name their step, so a message tells which step was played.
inline void NumberSteps(TSequencerItem& item, float scale = 1.0f) {
  for (int i = 0; i < TCCStepList::kMaxSteps; ++i) item.Steps()[i].SetValue(static_cast<float>(i) * scale);
}

inline std::vector<int> Values(const std::vector<Sent>& sent) {
  std::vector<int> v;
  for (const Sent& s : sent) v.push_back(s.value);
  return v;
}

// One sequence set up for a test; the others are switched off.
inline TSequencerItem& Prepare(TSequencer& seq, int rate, int rateType, int order, int steps, bool smooth,
                               int trigger = kTriggerSyncToHost) {
  for (int i = 1; i < seq.Count(); ++i) seq.Items(i).SetActive(false);
  TSequencerItem& s = seq.Items(0);
  s.SetRate(rate);
  s.SetRateType(rateType);
  s.SetOrder(order);
  s.SetStepCount(steps);
  s.SetSmooth(smooth);
  s.SetTrigger(trigger);
  return s;
}

}  // namespace vornix::sequencer::testing
