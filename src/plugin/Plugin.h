// The concrete plug-in module: eight controller sequences clocked by the host.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "plugin/EditHistory.h"
#include "plugin/PluginStateStream.h"
#include "plugin/VSTPluginBaseDM.h"
#include "sequencer/OrvMidiNoteRateList.h"
#include "sequencer/OrvMidiNoteTypeList.h"
#include "sequencer/OrvMidiSeqOrderList.h"
#include "sequencer/OrvSeqTriggers.h"
#include "sequencer/Sequencer.h"

namespace vornix::plugin {

class TVSTPlugin : public TVSTPluginBase {
 public:
  // The time information every block asks for: signature, tempo, position and transport.
  static constexpr vst::VstInt32 kTimeInfoFilter = 0x2602;

  TVSTPlugin();
  ~TVSTPlugin() override;

  sequencer::TSequencer& Sequencer() { return *FSequencer; }
  int CurrentSequence() const { return FCurrentSequence.load(std::memory_order_relaxed); }
  // Shows another sequence in the editor; its channel is the one teach uses, and teach ends.
  void SetCurrentSequence(int index);
  // The step the editor should highlight next: -2 nothing new, -1 none.
  int ShowStep() const { return FShowStep.load(std::memory_order_relaxed); }
  // The editor's thread: the step to highlight, once.
  int TakeShowStep() { return FShowStep.exchange(-2, std::memory_order_acquire); }

  // The choices of the list-valued settings, as the editor's menus offer them.
  const sequencer::TOrvValueList& RateList() const { return *FRateList; }
  const sequencer::TOrvValueList& TypeList() const { return *FTypeList; }
  const sequencer::TOrvValueList& OrderList() const { return *FOrderList; }
  const sequencer::TOrvValueList& TriggerList() const { return *FTriggerList; }

  // The state section as it would be saved now.
  TStoredState CaptureState() const;
  // Everything the editor can change, as it is now, and put back as one step for the processing
  // thread (like a load: the host hears of every parameter once, and of the change).
  TEditableState CaptureEditableState() const;
  void RestoreEditableState(const TEditableState& state);
  // The editor's undo and redo; it lives as long as the module. The editor's thread only.
  TEditHistory& EditHistory() { return FEditHistory; }
  void GetValueText(const std::string& kind, int value, std::string& text) override;
  // The text parameter `index` shows for `value` (in parameter units), as it shows its own.
  std::string ValueDisplay(int index, float value);

  void VSTModuleCreate() override;
  void VSTModuleDestroy() override;
  void VSTModuleProcess32Replacing(float* const* inputs, float* const* outputs, unsigned sampleFrames) override;
  void VSTModuleProcessMidi(const vst::VstMidiEvent& event) override;
  void VSTModuleSampleRateChange(float sampleRate);

 protected:
  void CreateParameterValues() override;
  void ApplyInitialState() override;
  void StateLoaded() override;
  void SavePluginState(TaggedValueWriter& writer) override;
  std::unique_ptr<TPluginStateSection> ReadPluginState(TaggedValueReader& reader, const std::string& version) override;
  void ApplyPluginState(const TPluginStateSection& section) override;
  void ApplyStoredState(const TStoredState& state);

 private:
  void DeclareParameters();
  void ParameterChange(int index, float value);
  void ParameterDisplay(int index, std::string& text);
  // None: no usable time at all, treated as a stopped transport. Unusable: values the clock
  // cannot place; the block is skipped and nothing is taken. Usable: taken into the sequencer.
  enum class THostTime { None, Unusable, Usable };
  THostTime TakeHostTime(const vst::VstTimeInfo* time, unsigned sampleFrames);
  void PlaySequences(std::int32_t sampleFrames);
  void QueueTeachMessage();

  // Written by the editor's thread, read by the processing thread.
  std::atomic<int> FCurrentSequence{0};
  // Built at creation and read-only afterwards.
  std::unique_ptr<sequencer::TMidiNoteRateList> FRateList;
  std::unique_ptr<sequencer::TMidiNoteTypeList> FTypeList;
  std::unique_ptr<sequencer::TMidiSeqOrderList> FOrderList;
  std::unique_ptr<sequencer::TSeqTriggers> FTriggerList;
  // Shared by both threads as its own header describes.
  std::unique_ptr<sequencer::TSequencer> FSequencer;
  // Set by the processing thread (or a change of the shown sequence), taken by the editor's.
  std::atomic<int> FShowStep{-2};
  TEditHistory FEditHistory;  // the editor's thread only
};

}  // namespace vornix::plugin
