// Note triggers: held notes turn into start and stop requests that the next block carries out.
#include "sequencer/Sequencer.h"

namespace vornix::sequencer {

void TSequencer::NoteOn(std::int32_t note) {
  heldNotes_.AddNote(note);
  for (auto& item : items_) {
    const int trigger = item->Trigger();
    if ((trigger == kTriggerNote || trigger == kTriggerNoteOneShot) && heldNotes_.Count() == 1)
      item->SetTriggerState(kTriggerStart);
    else if (trigger == kTriggerNoteRetrigger || trigger == kTriggerNoteRetriggerOneShot)
      item->SetTriggerState(kTriggerStart);
  }
}

void TSequencer::NoteOff(std::int32_t note) {
  heldNotes_.RemoveNote(note);
  for (auto& item : items_) {
    const int trigger = item->Trigger();
    if (trigger >= kTriggerNote && trigger <= kTriggerNoteRetriggerOneShot && heldNotes_.Empty())
      item->SetTriggerState(kTriggerStop);
  }
}

void TSequencer::StopAll() {
  ResetAll();
  heldNotes_.Clear();
  for (auto& item : items_) item->SetTriggerState(kTriggerNone);
}

}  // namespace vornix::sequencer
