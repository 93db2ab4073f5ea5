// The nine step orders; tag and code are equal.
#pragma once

#include "sequencer/OrvValueList.h"

namespace vornix::sequencer {

class TMidiSeqOrderItem : public TOrvCodedValueListItem {
 public:
  std::uint8_t SeqOrder() const { return Code(); }
};

class TMidiSeqOrderList : public TOrvCodedValueList<TMidiSeqOrderItem> {
 public:
  // The module always fills the list.
  explicit TMidiSeqOrderList(bool fill = true);
  void Fill();
};

}  // namespace vornix::sequencer
