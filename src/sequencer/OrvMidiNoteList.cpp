#include "sequencer/OrvMidiNoteList.h"

namespace vornix::sequencer {

void TMidiNoteList::AddNote(std::int32_t note) {
  if (!AllowDuplicates && IndexOfNote(note) >= 0) return;
  if (count_ == kCapacity) return;
  items_[static_cast<std::size_t>(count_++)].Note = note;
}

int TMidiNoteList::IndexOfNote(std::int32_t note) const {
  for (int i = 0; i < count_; ++i)
    if (items_[static_cast<std::size_t>(i)].Note == note) return i;
  return -1;
}

bool TMidiNoteList::RemoveNote(std::int32_t note) {
  const int i = IndexOfNote(note);
  if (i < 0) return false;
  for (int k = i + 1; k < count_; ++k) items_[static_cast<std::size_t>(k - 1)] = items_[static_cast<std::size_t>(k)];
  --count_;
  return true;
}

}  // namespace vornix::sequencer
