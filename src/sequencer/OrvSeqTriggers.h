// The five trigger modes; tag and code are equal.
#pragma once

#include "sequencer/OrvValueList.h"

namespace vornix::sequencer {

class TSeqTriggerItem : public TOrvCodedValueListItem {
 public:
  std::uint8_t TriggerMode() const { return Code(); }
};

class TSeqTriggers : public TOrvCodedValueList<TSeqTriggerItem> {
 public:
  // The module always fills the list.
  explicit TSeqTriggers(bool fill = true);
  void Fill();
};

}  // namespace vornix::sequencer
