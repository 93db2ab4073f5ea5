// The CC map as the processing thread sees it: an immutable list of (controller, parameter index)
// links, replaced whole. The processing thread never blocks, never allocates and never frees: a
// replaced list is freed by the thread that publishes, once no reader can still hold it.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

namespace vornix::plugin {

static_assert(std::atomic<const void*>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "the processing thread reads the CC map without waiting");

struct TRemoteLink {
  int CC = 0;
  int ParameterIndex = 0;
};

class TRemoteControlMap {
 public:
  TRemoteControlMap();
  ~TRemoteControlMap();
  TRemoteControlMap(const TRemoteControlMap&) = delete;
  TRemoteControlMap& operator=(const TRemoteControlMap&) = delete;

  // Replaces the links and frees older lists no reader can hold any more. Publishers (any thread
  // but the processing one) take turns: the caller holds the lock that guards the map.
  void Publish(std::vector<TRemoteLink> links);

  // Any thread but the processing one: a copy of the current links, in list order.
  std::vector<TRemoteLink> Snapshot() const {
    std::vector<TRemoteLink> copy;
    ForEach([&](const std::vector<TRemoteLink>& links) { copy = links; });
    return copy;
  }

  // Processing thread: calls f(link) for every link of controller cc, in list order.
  template <class F>
  void ForEachWithCC(int cc, F&& f) const {
    ForEach([&](const std::vector<TRemoteLink>& links) {
      for (const TRemoteLink& link : links)
        if (link.CC == cc) f(link);
    });
  }

 private:
  template <class F>
  void ForEach(F&& f) const {
    readers_.fetch_add(1, std::memory_order_seq_cst);
    f(*current_.load(std::memory_order_seq_cst));
    readers_.fetch_sub(1, std::memory_order_seq_cst);
  }

  std::atomic<const std::vector<TRemoteLink>*> current_;
  mutable std::atomic<int> readers_{0};
  // The publishers' only; the last is current. Older ones wait here while a reader may hold them.
  std::vector<std::unique_ptr<const std::vector<TRemoteLink>>> lists_;
};

}  // namespace vornix::plugin
