#include "editor/dialogs/ModalInputBlock.h"

#include <utility>

namespace vornix::editor {

namespace {

bool IsInput(platform::TEventKind kind) {
  using platform::TEventKind;
  switch (kind) {
    case TEventKind::MouseDown:
    case TEventKind::MouseUp:
    case TEventKind::MouseMove:
    case TEventKind::MouseWheel:
    case TEventKind::MouseEnter:
    case TEventKind::KeyDown:
    case TEventKind::KeyUp:
    case TEventKind::Char: return true;
    default: return false;
  }
}

}  // namespace

TModalInputBlock::TModalInputBlock(TForm& form)
    : form_(form), previous_(std::make_shared<TFilter>(std::move(form.OnWindowEvent))) {
  ++form_.ModalDialogsAbove;
  form_.OnWindowEvent = [previous = previous_](TForm& sender, const platform::TEvent& event) {
    if (IsInput(event.Kind)) return true;
    // The filter before this one may open a dialog that replaces this one while it runs.
    const std::shared_ptr<TFilter> keep = previous;
    return *keep && (*keep)(sender, event);
  };
}

TModalInputBlock::~TModalInputBlock() {
  --form_.ModalDialogsAbove;
  form_.OnWindowEvent = *previous_;
}

}  // namespace vornix::editor
