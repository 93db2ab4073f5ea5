// The sequence model and its step clock: eight sequences of up to 64 steps, clocked from the
// host's time line (or started by notes), producing controller messages with sample offsets.
//
// Threads: the settings, the step records, Changed, TriggerState and PlayingStep are single
// atomic values, so parameter handlers and the editor may write them from any thread. The
// schedules, the held notes and the block clock (PpqPos, PrevPpqPos) belong to the processing
// thread. ProcessSequence, NoteOn, NoteOff, StopAll and ResetAll allocate nothing and never block.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sequencer/CCStepList.h"
#include "sequencer/LiveStepList.h"
#include "sequencer/OrvMidiNoteList.h"
#include "sequencer/SharedText.h"
#include "sequencer/StepMessages.h"

namespace vornix::sequencer {

// The processing thread reads these while other threads write them; it must never wait for a lock.
static_assert(std::atomic<double>::is_always_lock_free && std::atomic<std::int32_t>::is_always_lock_free &&
              std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

class TSequencer;

// Step order codes.
enum : int {
  kOrderForward = 0,
  kOrderForwardBack = 1,
  kOrderBackward = 2,
  kOrderBackwardForth = 3,
  kOrderEach2nd = 4,
  kOrderEach3rd = 5,
  kOrderEach4th = 6,
  kOrderRandom = 7,
  kOrderRandomUnique = 8,
};

// Trigger mode codes.
enum : int {
  kTriggerSyncToHost = 0,
  kTriggerNote = 1,
  kTriggerNoteOneShot = 2,
  kTriggerNoteRetrigger = 3,
  kTriggerNoteRetriggerOneShot = 4,
};

// TriggerState values: requests from the note triggers, carried out by the next block.
enum : int {
  kTriggerNone = 0,
  kTriggerStart = 1,
  kTriggerStop = 2,
};

class TSequencerItem {
 public:
  static constexpr int kMaxSteps = TCCStepList::kMaxSteps;

  TSequencerItem(TSequencer& owner, int index);
  TSequencerItem(const TSequencerItem&) = delete;
  TSequencerItem& operator=(const TSequencerItem&) = delete;

  // The nine settings and the title back to their defaults, the 64 steps reset in place. The live
  // state is kept.
  void SetDefaults();
  // Copies the nine settings (through the setters) and the steps; not the title, not the live state.
  void Assign(const TSequencerItem& source);

  // Settings. The setters that affect the schedule set Changed when the value differs; every
  // setter limits its value to the setting's range first.
  bool Active() const { return active_.load(std::memory_order_relaxed); }
  void SetActive(bool value);
  int Order() const { return order_.load(std::memory_order_relaxed); }
  void SetOrder(int value);  // 0..8
  int Rate() const { return rate_.load(std::memory_order_relaxed); }
  void SetRate(int value);  // rate code 1..13
  int RateType() const { return rateType_.load(std::memory_order_relaxed); }
  void SetRateType(int value);  // 0 triplet, 1 normal, 2 dotted
  bool Smooth() const { return smooth_.load(std::memory_order_relaxed); }
  void SetSmooth(bool value);
  std::int32_t StepCount() const { return stepCount_.load(std::memory_order_relaxed); }
  void SetStepCount(std::int32_t value);  // 1..64
  int Trigger() const { return trigger_.load(std::memory_order_relaxed); }
  void SetTrigger(int value);  // 0..4
  // Controller number and channel take effect with the next message and leave the schedule alone.
  std::int32_t CCNumber() const { return ccNumber_.load(std::memory_order_relaxed); }
  void SetCCNumber(std::int32_t value);  // 0..127
  std::int32_t Channel() const { return channel_.load(std::memory_order_relaxed); }
  void SetChannel(std::int32_t value);  // 1..16

  // The editor's and the host's main thread; never the processing thread.
  std::string Title() const { return title_.Get(); }
  void SetTitle(std::string title) { title_.Set(std::move(title)); }

  TCCStepList& Steps() { return steps_; }
  const TCCStepList& Steps() const { return steps_; }
  // Copies the given steps over the first ones and sets Changed.
  void AssignSteps(const TCCStepList& steps);

  // Live state.
  bool Changed() const { return changed_.load(std::memory_order_relaxed); }
  void SetChanged(bool value) { changed_.store(value, std::memory_order_release); }
  int TriggerState() const { return triggerState_.load(std::memory_order_relaxed); }
  void SetTriggerState(int value) { triggerState_.store(value, std::memory_order_relaxed); }
  // The step whose value was sent last; -1 none.
  std::int32_t PlayingStep() const { return playingStep_.load(std::memory_order_relaxed); }
  // Due time of the next smoothing message (quarter notes); -1 when nothing is scheduled.
  double NextTime() const { return nextTime_; }
  const TLiveStepList& LiveSteps() const { return liveSteps_; }
  // Clears the schedule, NextTime, PlayingStep, TriggerState and Changed.
  void ResetLive();

  // Length of one step in quarter notes at the owner's time signature.
  double StepLength() const;
  // The value to send for a step: its value plus its random part, limited to 0..127.
  float StepValue(std::int32_t stepIndex) const;
  // Appends the next run of events. With startIndex -1 and an empty schedule it starts fresh at
  // position x (sequences synchronised to the host align to the slot that contains x,
  // note-triggered ones start at x), reading every setting once. Otherwise it continues after the
  // last scheduled slot with the settings of that fresh start; startIndex is the step that ended
  // the previous run.
  void BuildSchedule(std::int32_t startIndex, double x);

  TSequencer& Sequencer() { return owner_; }
  int Index() const { return index_; }

 private:
  friend class TSequencer;

  // The settings a schedule was built with; its continuations use them, so a change made while
  // it runs only takes effect through Changed, at the next block.
  struct TScheduleFrame {
    double StepLength = 0.0;
    double Quantum = 0.0;
    double Origin = 0.0;
    std::int32_t StepCount = 1;
    int Order = kOrderForward;
    int Trigger = kTriggerSyncToHost;
    bool Smooth = false;
    std::int64_t NextSlot = 0;
  };

  struct TBlockClock;

  void ResetLiveState();
  bool StartFrame(double x);
  void AppendRun(std::int32_t startIndex, bool fresh);
  void AppendStep(std::int32_t stepIndex, std::int64_t& slot);
  double QuantumPosition(const TLiveStepItem& event) const;
  bool OneShot() const;
  void Emit(double offset, double value, TStepMessageList& out) const;
  void RunBlock(const TBlockClock& clock, TStepMessageList& out);
  void RunStepped(const TBlockClock& clock, TStepMessageList& out);
  void RunSmooth(const TBlockClock& clock, TStepMessageList& out);

  TSequencer& owner_;
  const int index_;

  std::atomic<bool> active_{true};
  std::atomic<std::int32_t> ccNumber_{0};
  std::atomic<std::int32_t> channel_{1};
  std::atomic<int> order_{kOrderForward};
  std::atomic<int> rate_{6};
  std::atomic<int> rateType_{1};
  std::atomic<bool> smooth_{true};
  std::atomic<std::int32_t> stepCount_{32};
  std::atomic<int> trigger_{kTriggerSyncToHost};
  TSharedText title_;
  TCCStepList steps_{kMaxSteps};

  std::atomic<bool> changed_{false};
  std::atomic<int> triggerState_{kTriggerNone};
  std::atomic<std::int32_t> playingStep_{-1};

  // Processing thread only.
  TLiveStepList liveSteps_;
  TScheduleFrame frame_;
  double nextTime_ = -1.0;
  // Once the smoothing clock is on the quantum grid it counts quanta instead of adding times.
  bool nextOnGrid_ = false;
  std::int64_t nextQuantum_ = 0;
};

class TSequencer {
 public:
  static constexpr int kSequenceCount = 8;

  explicit TSequencer(int count = kSequenceCount);
  TSequencer(const TSequencer&) = delete;
  TSequencer& operator=(const TSequencer&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  TSequencerItem& Items(int index) { return *items_.at(static_cast<std::size_t>(index)); }
  const TSequencerItem& Items(int index) const { return *items_.at(static_cast<std::size_t>(index)); }

  // Every sequence back to its defaults (settings, title, steps in place).
  void SetDefaults();

  // Clock. Tempo and time signature changes mark every sequence Changed.
  double PpqPos() const { return ppqPos_.load(std::memory_order_relaxed); }
  void SetPpqPos(double value) { ppqPos_.store(value, std::memory_order_relaxed); }
  double PrevPpqPos() const { return prevPpqPos_.load(std::memory_order_relaxed); }
  double SampleRate() const { return sampleRate_.load(std::memory_order_relaxed); }
  void SetSampleRate(double value) { sampleRate_.store(value, std::memory_order_relaxed); }
  double Tempo() const { return tempo_.load(std::memory_order_relaxed); }
  void SetTempo(double value);
  std::int32_t TimeSigNumerator() const { return timeSigNumerator_.load(std::memory_order_relaxed); }
  void SetTimeSigNumerator(std::int32_t value);
  std::int32_t TimeSigDenominator() const { return timeSigDenominator_.load(std::memory_order_relaxed); }
  void SetTimeSigDenominator(std::int32_t value);
  bool Playing() const { return playing_.load(std::memory_order_relaxed); }
  void SetPlaying(bool value) { playing_.store(value, std::memory_order_relaxed); }
  void ClearChanged();

  // Positions farther out than this (quarter notes) leave too few bits for sample-exact offsets.
  static constexpr double kMaxPosition = 4294967296.0;  // 2^32
  // A block may span at most this many quarter notes: with the shortest step (a 1/128 triplet) that
  // bounds one block's work by a constant whatever tempo, sample rate and block size the host reports.
  static constexpr double kMaxBlockSpan = 16.0;
  // Whether a block can be clocked: finite, positive tempo and sample rate, frames, a position and
  // a span within the limits above.
  static bool ClockUsable(double ppqPos, double tempo, double sampleRate, std::int32_t sampleFrames);

  // One block of one sequence: the block starts at PpqPos and lasts sampleFrames samples at the
  // current Tempo and SampleRate. Writes the sequence's messages for this block, in time order, to
  // out; returns true when there is at least one. Every message is due inside the block; events
  // already overdue collapse into one message at offset 0. A block that cannot be clocked
  // (ClockUsable) sends nothing and leaves the schedule as it is.
  bool ProcessSequence(int index, std::int32_t sampleFrames, TStepMessageList& out);
  // The same into Messages(); CurrentStep() then holds the last message of the list.
  bool ProcessSequence(int index, std::int32_t sampleFrames);
  const TStepMessageList& Messages() const { return messages_; }
  const TCurrentStep& CurrentStep() const { return currentStep_; }
  // CurrentStep reset, PrevPpqPos -1, every schedule cleared.
  void ResetAll();

  // Note triggers (processing thread, before the block is processed).
  TMidiNoteList& HeldNotes() { return heldNotes_; }
  const TMidiNoteList& HeldNotes() const { return heldNotes_; }
  void NoteOn(std::int32_t note);
  void NoteOff(std::int32_t note);
  // ResetAll, held notes forgotten, every request cleared.
  void StopAll();

 private:
  std::vector<std::unique_ptr<TSequencerItem>> items_;
  TCurrentStep currentStep_;
  TStepMessageList messages_;
  TMidiNoteList heldNotes_;
  std::atomic<double> ppqPos_{0.0};
  std::atomic<double> prevPpqPos_{-1.0};
  std::atomic<double> sampleRate_{44100.0};
  std::atomic<double> tempo_{120.0};
  std::atomic<std::int32_t> timeSigDenominator_{4};
  std::atomic<std::int32_t> timeSigNumerator_{4};
  std::atomic<bool> playing_{false};
};

}  // namespace vornix::sequencer
