#include "sequencer/OrvMidiNoteTypeList.h"

namespace vornix::sequencer {

TMidiNoteTypeList::TMidiNoteTypeList(bool fill) {
  if (fill) Fill();
}

void TMidiNoteTypeList::Fill() {
  AddItem("Dotted", 0, 2);
  AddItem("Normal", 1, 1);
  AddItem("Triplet", 2, 0);
}

}  // namespace vornix::sequencer
