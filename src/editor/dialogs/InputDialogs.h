// The editor's two questions for a value, each in its own modal dialog over the owner form.
#pragma once

#include <string>

#include "editor/toolkit/Form.h"

namespace vornix::editor {

// A line of text, starting from `text`, at most maxLength characters typed (0: any length; a
// longer starting text is kept unless edited); OK is disabled while the text is blank unless
// allowEmpty. On OK the edited text (not trimmed) is put
// into `text` and the answer is true; otherwise `text` stays as it was.
bool InputText(TForm& owner, const std::string& caption, const std::string& prompt, bool allowEmpty, int maxLength,
               std::string& text);

// A number with `decimals` decimals (0..9), starting from `value`. When minimum != maximum an
// entry outside them brings the dialog back after 250 ms (the owner's window keeps being served
// meanwhile) until the entry is in range or the user cancels. On OK with a valid entry it is put
// into `value` and the answer is true; on Cancel `value` stays as it was.
bool InputNumber(TForm& owner, const std::string& caption, const std::string& prompt, double maximum, double minimum,
                 int decimals, double& value);

// Serves the form's window system for the given time, with the form's input blocked.
void PauseOver(TForm& owner, int milliseconds);

}  // namespace vornix::editor
