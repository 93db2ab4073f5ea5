// A text that two threads may read and write while neither is the processing thread (the host's
// main thread loads states, the editor's thread edits and shows them). Each access takes a short
// lock; reading gives a copy, so no thread ever holds a reference into a string another assigns.
#pragma once

#include <mutex>
#include <string>

namespace vornix::sequencer {

class TSharedText {
 public:
  TSharedText() = default;
  explicit TSharedText(std::string text) : text_(std::move(text)) {}
  TSharedText(const TSharedText&) = delete;
  TSharedText& operator=(const TSharedText&) = delete;

  std::string Get() const {
    const std::lock_guard lock(mutex_);
    return text_;
  }
  // True when the text changed.
  bool Set(std::string text) {
    const std::lock_guard lock(mutex_);
    if (text == text_) return false;
    text_ = std::move(text);
    return true;
  }

 private:
  mutable std::mutex mutex_;
  std::string text_;
};

}  // namespace vornix::sequencer
