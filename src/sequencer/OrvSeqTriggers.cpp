#include "sequencer/OrvSeqTriggers.h"

namespace vornix::sequencer {

TSeqTriggers::TSeqTriggers(bool fill) {
  if (fill) Fill();
}

void TSeqTriggers::Fill() {
  AddItem("Sync to Host", 0, 0);
  AddItem("Note", 1, 1);
  AddItem("Note 1-Shot", 2, 2);
  AddItem("Note Retrigger", 3, 3);
  AddItem("Note Retrigger 1-Shot", 4, 4);
}

}  // namespace vornix::sequencer
