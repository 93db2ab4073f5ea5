#include "editor/dialogs/EditorDialogHost.h"

#include "editor/dialogs/DialogForm.h"
#include "editor/dialogs/InputDialogs.h"
#include "editor/dialogs/MessageDialog.h"
#include "editor/dialogs/PresetBrowser.h"

namespace vornix::editor {

TEditorDialogHost::TEditorDialogHost(TForm& editor, std::shared_ptr<platform::TDialogHost> elsewhere,
                                     platform::TWindowSystem::TEntryGuard entered)
    : editor_(editor),
      elsewhere_(elsewhere ? std::move(elsewhere) : std::make_shared<platform::THeadlessDialogHost>(kApplicationTitle)),
      entered_(std::move(entered)),
      thread_(std::this_thread::get_id()) {}

bool TEditorDialogHost::Answers(std::shared_ptr<void>& held) const {
  if (std::this_thread::get_id() != thread_) return false;
  if (!entered_) return true;
  held = entered_();
  return held != nullptr;
}

platform::TModalResult TEditorDialogHost::ShowMessageDialog(const std::string& text, const std::string& caption,
                                                            platform::TMsgDlgType type,
                                                            platform::TMsgDlgButtons buttons) {
  std::shared_ptr<void> held;
  if (!Answers(held)) return elsewhere_->ShowMessageDialog(text, caption, type, buttons);
  return editor::ShowMessageDialog(&editor_, text, caption, type, buttons);
}

std::optional<std::string> TEditorDialogHost::InputText(const std::string& caption, const std::string& prompt,
                                                        const std::string& text, bool allowEmpty, int maxLength) {
  std::shared_ptr<void> held;
  if (!Answers(held)) return elsewhere_->InputText(caption, prompt, text, allowEmpty, maxLength);
  std::string edited = text;
  if (!editor::InputText(editor_, caption, prompt, allowEmpty, maxLength, edited)) return std::nullopt;
  return edited;
}

std::optional<double> TEditorDialogHost::InputNumber(const std::string& caption, const std::string& prompt,
                                                     double value, double minimum, double maximum, int decimals) {
  std::shared_ptr<void> held;
  if (!Answers(held)) return elsewhere_->InputNumber(caption, prompt, value, minimum, maximum, decimals);
  double entered = value;
  if (!editor::InputNumber(editor_, caption, prompt, maximum, minimum, decimals, entered)) return std::nullopt;
  return entered;
}

std::optional<std::string> TEditorDialogHost::ChoosePreset(const std::string& presetsFolder,
                                                           const std::string& currentPreset) {
  std::shared_ptr<void> held;
  if (!Answers(held)) return elsewhere_->ChoosePreset(presetsFolder, currentPreset);
  return BrowsePresets(editor_, presetsFolder, currentPreset);
}

}  // namespace vornix::editor
