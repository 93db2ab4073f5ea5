// Note rates "32/1" .. "1/128". The tags run against the list order; the rate code is always tag + 1.
#pragma once

#include "sequencer/OrvValueList.h"

namespace vornix::sequencer {

class TMidiNoteRateItem : public TOrvCodedValueListItem {
 public:
  std::uint8_t RateIndex() const { return Code(); }
};

class TMidiNoteRateList : public TOrvCodedValueList<TMidiNoteRateItem> {
 public:
  // The module always fills the list.
  explicit TMidiNoteRateList(bool fill = true);
  void Fill();
};

}  // namespace vornix::sequencer
