#include "sequencer/OrvMidiNoteRateList.h"

namespace vornix::sequencer {

TMidiNoteRateList::TMidiNoteRateList(bool fill) {
  if (fill) Fill();
}

void TMidiNoteRateList::Fill() {
  AddItem("32/1", 12, 13);
  AddItem("16/1", 11, 12);
  AddItem("8/1", 10, 11);
  AddItem("4/1", 9, 10);
  AddItem("2/1", 8, 9);
  AddItem("1/1", 7, 8);
  AddItem("1/2", 6, 7);
  AddItem("1/4", 5, 6);
  AddItem("1/8", 4, 5);
  AddItem("1/16", 3, 4);
  AddItem("1/32", 2, 3);
  AddItem("1/64", 1, 2);
  AddItem("1/128", 0, 1);
}

}  // namespace vornix::sequencer
