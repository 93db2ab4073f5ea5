#include "sequencer/OrvIntList.h"

#include <utility>

#include "sequencer/OrvRandom.h"

namespace vornix::sequencer {

void TOrvIntList::Exchange(int i, int j) {
  std::swap(items_[static_cast<std::size_t>(i)], items_[static_cast<std::size_t>(j)]);
}

void TOrvIntList::Shuffle() {
  for (int p = 0; p < count_; ++p) Exchange(p, Random(count_));
}

}  // namespace vornix::sequencer
