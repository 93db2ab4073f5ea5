// A form that takes no input while a modal dialog runs above it. The window systems keep a
// dialog above its owner but still deliver the owner's own input, so without this a click on the
// editor behind a question would start a second command inside the first.
#pragma once

#include <functional>
#include <memory>

#include "editor/toolkit/Form.h"

namespace vornix::editor {

// While it lives, the form's mouse and key input is dropped before the form sees it (leaving the
// window still reaches it, so no control stays hot). Blocks nest; each gives back the form's
// event filter it found, so they must end in the reverse order of their making (scopes do).
class TModalInputBlock {
 public:
  explicit TModalInputBlock(TForm& form);
  ~TModalInputBlock();
  TModalInputBlock(const TModalInputBlock&) = delete;
  TModalInputBlock& operator=(const TModalInputBlock&) = delete;

 private:
  using TFilter = std::function<bool(TForm&, const platform::TEvent&)>;
  TForm& form_;
  std::shared_ptr<TFilter> previous_;
};

}  // namespace vornix::editor
