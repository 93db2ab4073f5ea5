#include "sequencer/OrvMidiSeqOrderList.h"

namespace vornix::sequencer {

TMidiSeqOrderList::TMidiSeqOrderList(bool fill) {
  if (fill) Fill();
}

void TMidiSeqOrderList::Fill() {
  AddItem("Forward", 0, 0);
  AddItem("Forward <", 1, 1);
  AddItem("Backward", 2, 2);
  AddItem("Backward >", 3, 3);
  AddItem("Each 2nd", 4, 4);
  AddItem("Each 3rd", 5, 5);
  AddItem("Each 4th", 6, 6);
  AddItem("Random", 7, 7);
  AddItem("Random Unique", 8, 8);
}

}  // namespace vornix::sequencer
