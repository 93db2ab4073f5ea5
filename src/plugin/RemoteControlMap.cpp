#include "plugin/RemoteControlMap.h"

namespace vornix::plugin {

TRemoteControlMap::TRemoteControlMap() {
  lists_.push_back(std::make_unique<const std::vector<TRemoteLink>>());
  current_.store(lists_.back().get());
}

TRemoteControlMap::~TRemoteControlMap() = default;

// A reader counts itself in before it loads the pointer. Once the new list is published, a count
// of zero means every later reader sees the new list, so all older ones can go; otherwise they go
// with a later publication.
void TRemoteControlMap::Publish(std::vector<TRemoteLink> links) {
  lists_.push_back(std::make_unique<const std::vector<TRemoteLink>>(std::move(links)));
  current_.store(lists_.back().get(), std::memory_order_seq_cst);
  if (readers_.load(std::memory_order_seq_cst) == 0) lists_.erase(lists_.begin(), lists_.end() - 1);
}

}  // namespace vornix::plugin
