#include "host/ModuleRegistry.h"

#include <array>
#include <memory>

#include "host/BasicVSTModule.h"

namespace vornix::host::ModuleRegistry {
namespace {

// Slots live in blocks that are only ever appended, so a reader walking the chain never meets
// freed memory. Modules still registered when the library unloads (or the process ends) are
// destroyed then: the host never closed them. The registry is made on the first Add, after every
// namespace-scope object of the library, and statics die in the reverse order: what a module
// needs until its end lives in such an object (the drawing layer's shared data does).
struct Block {
  std::array<std::atomic<TBasicVSTModule*>, 64> slots{};
  std::atomic<Block*> next{nullptr};
};

struct Registry {
  Block first;
  ~Registry() {
    for (Block* b = &first; b != nullptr; b = b->next.load()) {
      for (auto& slot : b->slots) {
        if (TBasicVSTModule* m = slot.exchange(nullptr)) m->Destroy();
      }
    }
    std::unique_ptr<Block> chain(first.next.exchange(nullptr));
    while (chain) chain.reset(chain->next.exchange(nullptr));
  }
};

Registry& Instance() {
  static Registry registry;
  return registry;
}

}  // namespace

void Add(TBasicVSTModule* module) {
  Block* b = &Instance().first;
  for (;;) {
    for (auto& slot : b->slots) {
      TBasicVSTModule* expected = nullptr;
      if (slot.compare_exchange_strong(expected, module)) return;
    }
    Block* next = b->next.load();
    if (next == nullptr) {
      auto fresh = std::make_unique<Block>();
      if (b->next.compare_exchange_strong(next, fresh.get())) next = fresh.release();
    }
    b = next;
  }
}

void Remove(TBasicVSTModule* module) {
  for (Block* b = &Instance().first; b != nullptr; b = b->next.load()) {
    for (auto& slot : b->slots) {
      TBasicVSTModule* expected = module;
      if (slot.compare_exchange_strong(expected, nullptr)) return;
    }
  }
}

TBasicVSTModule* Find(const vst::AEffect* effect) {
  if (effect == nullptr) return nullptr;
  for (Block* b = &Instance().first; b != nullptr; b = b->next.load(std::memory_order_acquire)) {
    for (auto& slot : b->slots) {
      TBasicVSTModule* m = slot.load(std::memory_order_acquire);
      if (m != nullptr && &m->Effect() == effect) return m;
    }
  }
  return nullptr;
}

}  // namespace vornix::host::ModuleRegistry
