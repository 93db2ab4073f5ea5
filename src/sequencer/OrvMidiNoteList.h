// The notes held at the MIDI input. Fixed capacity: it is changed on the processing thread.
#pragma once

#include <array>
#include <cstdint>

namespace vornix::sequencer {

struct TMidiNoteItem {
  std::int32_t Note = 0;
};

class TMidiNoteList {
 public:
  // Enough for every note number twice over; notes beyond it are not kept.
  static constexpr int kCapacity = 256;

  bool AllowDuplicates = false;

  void AddNote(std::int32_t note);
  int IndexOfNote(std::int32_t note) const;
  bool RemoveNote(std::int32_t note);
  void Clear() { count_ = 0; }
  int Count() const { return count_; }
  bool Empty() const { return count_ == 0; }
  const TMidiNoteItem& Items(int position) const { return items_[static_cast<std::size_t>(position)]; }

 private:
  std::array<TMidiNoteItem, kCapacity> items_{};
  int count_ = 0;
};

}  // namespace vornix::sequencer
