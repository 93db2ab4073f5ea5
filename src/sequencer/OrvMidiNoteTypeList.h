// Rate types. Tag 0 is dotted while note type code 0 is triplet.
#pragma once

#include "sequencer/OrvValueList.h"

namespace vornix::sequencer {

class TMidiNoteTypeItem : public TOrvCodedValueListItem {
 public:
  std::uint8_t NoteType() const { return Code(); }
};

class TMidiNoteTypeList : public TOrvCodedValueList<TMidiNoteTypeItem> {
 public:
  // The module always fills the list.
  explicit TMidiNoteTypeList(bool fill = true);
  void Fill();
};

}  // namespace vornix::sequencer
