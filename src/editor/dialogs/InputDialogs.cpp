#include "editor/dialogs/InputDialogs.h"

#include <algorithm>

#include "editor/dialogs/InputDlg.h"
#include "editor/dialogs/InputDlgNumeric.h"
#include "editor/dialogs/ModalInputBlock.h"
#include "platform/NumberFormat.h"

namespace vornix::editor {

namespace {

// How long an entry out of range is left alone before the dialog asks again.
constexpr int kReaskDelayMs = 250;

}  // namespace

bool InputText(TForm& owner, const std::string& caption, const std::string& prompt, bool allowEmpty, int maxLength,
               std::string& text) {
  TfrmInputDlg dialog(owner);
  dialog.PlaceOverOwner();
  dialog.lblPrompt.SetCaption(prompt);
  // A starting text longer than the limit (a title from a foreign state) is kept unless edited.
  dialog.txtValue.SetText(text);
  dialog.txtValue.MaxLength = std::max(maxLength, 0);
  dialog.FAllowEmpty = allowEmpty;
  if (dialog.Execute(caption) != TModalResult::mrOk) return false;
  text = dialog.txtValue.Text();
  return true;
}

bool InputNumber(TForm& owner, const std::string& caption, const std::string& prompt, double maximum, double minimum,
                 int decimals, double& value) {
  TfrmInputDlgNumeric dialog(owner, platform::UserDecimalSeparator());
  dialog.PlaceOverOwner();
  dialog.lblPrompt.SetCaption(prompt);
  TOrvNumericEdit& number = dialog.txtNumeric;
  number.SetDecimals(decimals);
  number.SetMinValue(minimum);
  number.SetMaxValue(maximum);
  number.SetValue(value);
  const bool ranged = minimum != maximum;
  const double low = std::min(minimum, maximum);
  const double high = std::max(minimum, maximum);
  for (;;) {
    if (dialog.Execute(caption) != TModalResult::mrOk) return false;
    const double entered = number.Value();
    if (!ranged || (entered >= low && entered <= high)) {
      value = entered;
      return true;
    }
    PauseOver(owner, kReaskDelayMs);
  }
}

void PauseOver(TForm& owner, int milliseconds) {
  if (owner.Window() == nullptr) return;  // no window, no timer to wait for
  const TModalInputBlock block(owner);
  TTimer timer(owner, milliseconds);
  bool elapsed = false;
  timer.OnTimer = [&](TTimer& sender) {
    elapsed = true;
    sender.SetEnabled(false);
  };
  timer.SetEnabled(true);
  owner.WindowSystem().RunModal([&] { return elapsed || owner.Window() == nullptr; });
}

}  // namespace vornix::editor
