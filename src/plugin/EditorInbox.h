// The one way from the module to its editor. Any thread (the host's main thread loading a state,
// the processing thread, the editor's own) marks what changed and posts texts for the info line;
// only the editor's thread takes them, when the host idles the editor and around every window
// event, and then pulls what it shows from the module. The module never calls the editor.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vornix::plugin {

static_assert(std::atomic<unsigned>::is_always_lock_free && std::atomic<std::uint64_t>::is_always_lock_free,
              "the processing thread marks changes without waiting");

// A bounded queue of short texts: any thread posts, one thread takes. When more texts arrive than
// it holds, the oldest are dropped. Texts are cut to kMaxBytes on a character boundary. Nothing is
// allocated and no lock is taken on either side; a writer only waits (yielding) for another writer
// that is still copying into the very slot it needs, which takes more than kSlots texts at once.
class TTextQueue {
 public:
  static constexpr std::size_t kSlots = 8;
  static constexpr std::size_t kMaxBytes = 255;

  void Post(std::string_view text);
  // The oldest text still held; nothing when none is complete yet.
  std::optional<std::string> Take();

 private:
  static constexpr std::size_t kWords = (kMaxBytes + 1 + 7) / 8;
  struct TSlot {
    // 2 × (ticket + 1) once ticket's text is complete, one less while it is being written.
    std::atomic<std::uint64_t> state{0};
    std::atomic<std::uint32_t> length{0};
    std::array<std::atomic<std::uint64_t>, kWords> words{};
  };

  std::array<TSlot, kSlots> slots_{};
  std::atomic<std::uint64_t> next_{0};  // the next writer's ticket
  std::uint64_t read_ = 0;              // the taking thread only
};

class TEditorInbox {
 public:
  // What the editor shows that may have changed.
  enum TChange : unsigned {
    kControls = 1u << 0,         // the shown sequence's settings
    kSequenceButtons = 1u << 1,  // which sequences are active, the shown one and its title
    kGridSteps = 1u << 2,        // the shown sequence's steps
    kPresetName = 1u << 3,
    kPointerFocus = 1u << 4,  // the host saw the mouse wheel: the control under the pointer takes it
    kZoom = 1u << 5,          // the host told its scale: without the user's choice the zoom follows
    kShownSequence = kControls | kSequenceButtons | kGridSteps,
    kEverything = kShownSequence | kPresetName,
  };

  // Any thread.
  void Mark(unsigned changes) { changes_.fetch_or(changes, std::memory_order_release); }
  void PostInfo(std::string_view text) { info_.Post(text); }

  // The editor's thread only: what changed since the last call, and the texts waiting.
  unsigned TakeChanges() { return changes_.exchange(0, std::memory_order_acquire); }
  std::optional<std::string> TakeInfo() { return info_.Take(); }

 private:
  std::atomic<unsigned> changes_{0};
  TTextQueue info_;
};

}  // namespace vornix::plugin
