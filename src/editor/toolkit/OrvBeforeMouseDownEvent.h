// The hook through which the editor frame sees a press on a value control before the control
// reacts (MIDI learn, reset to the default value, telling the host the parameter is touched).
// Continue is true on entry; a handler that sets it to false stops the control from reacting.
#pragma once

#include <functional>

#include "editor/toolkit/Control.h"

namespace vornix::editor {

using TOrvBeforeMouseDownEvent =
    std::function<void(TControl& sender, TMouseButton button, TShiftState shift, int x, int y, bool& Continue)>;

// Asks the hook (when there is one) whether the press goes on.
inline bool AskBeforeMouseDown(const TOrvBeforeMouseDownEvent& hook, TControl& sender, TMouseButton button,
                               TShiftState shift, int x, int y) {
  bool go = true;
  if (hook) hook(sender, button, shift, x, y, go);
  return go;
}

}  // namespace vornix::editor
