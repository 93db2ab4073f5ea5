#include "plugin/EditorInbox.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace vornix::plugin {

namespace {

// The longest prefix of at most `limit` bytes that does not end inside a UTF-8 character.
std::size_t FittingLength(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t n = limit;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return n;
}

}  // namespace

void TTextQueue::Post(std::string_view text) {
  const std::uint64_t ticket = next_.fetch_add(1, std::memory_order_relaxed);
  TSlot& slot = slots_[ticket % kSlots];
  const std::uint64_t writing = 2 * ticket + 1;
  // Claim the slot from the text it holds, unless a newer one already took it (ours is then the
  // older and dropped anyway). An older writer still copying is waited for.
  std::uint64_t state = slot.state.load(std::memory_order_relaxed);
  for (;;) {
    if (state > writing) return;
    if ((state & 1u) != 0) {
      std::this_thread::yield();
      state = slot.state.load(std::memory_order_relaxed);
      continue;
    }
    if (slot.state.compare_exchange_weak(state, writing, std::memory_order_relaxed)) break;
  }
  // A reader that sees any of the words below also sees the slot taken.
  std::atomic_thread_fence(std::memory_order_release);
  const std::size_t length = FittingLength(text, kMaxBytes);
  std::array<char, kWords * 8> bytes{};
  std::memcpy(bytes.data(), text.data(), length);
  for (std::size_t w = 0; w < kWords; ++w) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + 8 * w, 8);
    slot.words[w].store(word, std::memory_order_relaxed);
  }
  slot.length.store(static_cast<std::uint32_t>(length), std::memory_order_relaxed);
  slot.state.store(writing + 1, std::memory_order_release);
}

std::optional<std::string> TTextQueue::Take() {
  const std::uint64_t end = next_.load(std::memory_order_acquire);
  // Texts whose slots newer ones have taken are gone.
  read_ = std::max(read_, end > kSlots ? end - kSlots : 0);
  while (read_ < end) {
    TSlot& slot = slots_[read_ % kSlots];
    const std::uint64_t complete = 2 * read_ + 2;
    const std::uint64_t before = slot.state.load(std::memory_order_acquire);
    if (before < complete) return std::nullopt;  // still being written: the next call sees it
    ++read_;
    if (before > complete) continue;  // overwritten by a newer text
    std::array<char, kWords * 8> bytes{};
    for (std::size_t w = 0; w < kWords; ++w) {
      const std::uint64_t word = slot.words[w].load(std::memory_order_relaxed);
      std::memcpy(bytes.data() + 8 * w, &word, 8);
    }
    const std::size_t length = std::min<std::size_t>(slot.length.load(std::memory_order_relaxed), kMaxBytes);
    std::atomic_thread_fence(std::memory_order_acquire);
    // A writer that took the slot meanwhile makes the copy worthless.
    if (slot.state.load(std::memory_order_relaxed) != complete) continue;
    return std::string(bytes.data(), length);
  }
  return std::nullopt;
}

}  // namespace vornix::plugin
