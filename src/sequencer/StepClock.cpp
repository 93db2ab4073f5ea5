// The step clock: per block and sequence, every event or smoothing quantum due inside the block
// goes out at its own sample offset, so a sequence never falls behind the host.
#include <algorithm>
#include <cmath>
#include <limits>

#include "sequencer/OrvMidi.h"
#include "sequencer/Rounding.h"
#include "sequencer/Sequencer.h"

namespace vornix::sequencer {

struct TSequencerItem::TBlockClock {
  double PpqPos;
  double SampleRate;
  double Tempo;
  std::int32_t Frames;

  // Sample offset of a time, rounded; an event belongs to this block when it is below Frames, so
  // one due exactly at the block end leaves at offset 0 of the next block.
  double Offset(double time) const { return RoundHalfEven(BeatsToSamples(SampleRate, Tempo, time - PpqPos)); }
};

namespace {

constexpr double kGridTolerance = 1e-7;

std::int32_t LimitDataByte(double v) {
  if (!(v > 0.0)) return 0;
  if (v > 127.0) return 127;
  return static_cast<std::int32_t>(v);
}

}  // namespace

bool TSequencer::ClockUsable(double ppqPos, double tempo, double sampleRate, std::int32_t sampleFrames) {
  if (sampleFrames <= 0 || !(std::fabs(ppqPos) <= kMaxPosition)) return false;
  // The span frames * tempo / (60 * rate) within its limit, without a division; the comparisons
  // also refuse NaN, infinite and non-positive values.
  return tempo > 0.0 && sampleRate > 0.0 && sampleRate <= std::numeric_limits<double>::max() &&
         static_cast<double>(sampleFrames) * tempo <= kMaxBlockSpan * 60.0 * sampleRate;
}

bool TSequencer::ProcessSequence(int index, std::int32_t sampleFrames, TStepMessageList& out) {
  out.Clear();
  currentStep_.Reset();
  if (index < 0 || index >= Count()) return false;
  TSequencerItem& s = *items_[static_cast<std::size_t>(index)];
  const TSequencerItem::TBlockClock clock{PpqPos(), SampleRate(), Tempo(), sampleFrames};

  if (s.changed_.exchange(false, std::memory_order_acq_rel)) s.ResetLiveState();
  if (ClockUsable(clock.PpqPos, clock.Tempo, clock.SampleRate, sampleFrames) && s.Active()) s.RunBlock(clock, out);

  if (!out.Empty()) {
    const TStepMessage& last = out.Last();
    currentStep_.CCNumber = last.CCNumber;
    currentStep_.Channel = last.Channel;
    currentStep_.Offset = last.Offset;
    currentStep_.Value = last.Value;
  }
  prevPpqPos_.store(clock.PpqPos, std::memory_order_relaxed);
  return !out.Empty();
}

bool TSequencer::ProcessSequence(int index, std::int32_t sampleFrames) {
  return ProcessSequence(index, sampleFrames, messages_);
}

void TSequencerItem::RunBlock(const TBlockClock& clock, TStepMessageList& out) {
  if (Trigger() == kTriggerSyncToHost) {
    if (!liveSteps_.Empty()) {
      // A synchronised sequence whose next event lies more than a step away from the block start
      // has seen the host position jump (forward or back): it restarts at the slot of the new
      // position instead of working through every slot in between.
      const double pending = frame_.Smooth ? nextTime_ : liveSteps_.First().Time;
      const double reach = frame_.StepLength * (1.0 + 1e-9);
      if (pending < clock.PpqPos - reach || pending > clock.PpqPos + reach) ResetLiveState();
    }
    if (liveSteps_.Empty()) BuildSchedule(-1, clock.PpqPos);
  } else if (TriggerState() == kTriggerStart) {
    // Also clears the request; a stop request or none leaves a running schedule to its path.
    ResetLive();
    BuildSchedule(-1, clock.PpqPos);
  }
  if (liveSteps_.Empty()) return;
  if (frame_.Smooth)
    RunSmooth(clock, out);
  else
    RunStepped(clock, out);
}

void TSequencerItem::Emit(double offset, double value, TStepMessageList& out) const {
  TStepMessage m;
  m.Offset = offset > 0.0 ? static_cast<std::int32_t>(offset) : 0;
  m.Channel = std::clamp<std::int32_t>(Channel(), 1, 16);
  m.CCNumber = std::clamp<std::int32_t>(CCNumber(), 0, 127);
  m.Value = LimitDataByte(value);
  out.Add(m);
}

void TSequencerItem::RunStepped(const TBlockClock& clock, TStepMessageList& out) {
  if (TriggerState() == kTriggerStop) {
    ResetLive();
    return;
  }
  while (!liveSteps_.Empty()) {
    const TLiveStepItem e = liveSteps_.First();
    const double offset = clock.Offset(e.Time);
    if (!(offset < clock.Frames)) break;
    Emit(offset, RoundHalfEven(e.Value), out);
    playingStep_.store(e.StepIndex, std::memory_order_relaxed);
    liveSteps_.RemoveFirst();
    if (liveSteps_.Empty()) {
      if (OneShot()) {
        ResetLive();
        return;
      }
      AppendRun(e.StepIndex, false);
    }
  }
}

// Position of an event on the quantum grid; events of a synchronised schedule sit exactly on it.
double TSequencerItem::QuantumPosition(const TLiveStepItem& event) const {
  const double u = event.Time / frame_.Quantum;
  const double r = RoundHalfEven(u);
  return std::fabs(u - r) <= kGridTolerance ? r : u;
}

void TSequencerItem::RunSmooth(const TBlockClock& clock, TStepMessageList& out) {
  const double q = frame_.Quantum;
  while (liveSteps_.Count() >= 2) {
    double t = nextTime_;
    const double offset = clock.Offset(t);
    if (!(offset < clock.Frames)) break;

    // The quantum boundary at or before the due time; once on the grid, counted exactly.
    bool onGrid = nextOnGrid_;
    std::int64_t m = onGrid ? nextQuantum_ : GridIndex(t / q);
    if (t < clock.PpqPos) {
      // Overdue: only the latest quantum at or before the block start goes out.
      const std::int64_t latest = GridIndex(clock.PpqPos / q);
      if (latest > m) {
        m = latest;
        t = static_cast<double>(m) * q;
        onGrid = true;
      }
    }
    const double mq = static_cast<double>(m);

    // Move to the segment that holds the quantum. A one-shot keeps its closing segment: past its
    // end the value is the closing copy's, sent once.
    while (liveSteps_.Count() >= 2 && QuantumPosition(liveSteps_.Items(1)) < mq - kGridTolerance) {
      if (liveSteps_.Count() == 2 && OneShot()) break;
      liveSteps_.RemoveFirst();
      if (liveSteps_.Count() == 1) AppendRun(liveSteps_.First().StepIndex, false);
    }
    if (liveSteps_.Count() < 2) return;

    const TLiveStepItem& e0 = liveSteps_.Items(0);
    const TLiveStepItem& e1 = liveSteps_.Items(1);
    const double q0 = QuantumPosition(e0);
    const double q1 = QuantumPosition(e1);
    const double v0 = e0.Value;
    const double v1 = e1.Value;
    // Interpolated only between the two events around the quantum, so the value stays between theirs.
    double v;
    if (mq <= q0)
      v = v0;
    else if (mq >= q1 || q1 <= q0)
      v = v1;
    else
      v = v0 + (mq - q0) * (v1 - v0) / (q1 - q0);
    Emit(offset, std::trunc(v), out);
    playingStep_.store(e0.StepIndex, std::memory_order_relaxed);

    nextQuantum_ = onGrid ? m + 1 : static_cast<std::int64_t>(RoundHalfEven(t / q)) + 1;
    nextOnGrid_ = true;
    nextTime_ = static_cast<double>(nextQuantum_) * q;

    if (q1 <= mq + kGridTolerance) {
      liveSteps_.RemoveFirst();
      if (liveSteps_.Count() == 1) {
        if (OneShot()) {
          ResetLive();
          return;
        }
        AppendRun(liveSteps_.First().StepIndex, false);
      }
    }
    if (TriggerState() == kTriggerStop) {
      ResetLive();
      return;
    }
  }
}

}  // namespace vornix::sequencer
