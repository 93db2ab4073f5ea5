#include "editor/dialogs/EditorDialogHost.h"

#include "editor/dialogs/DialogForm.h"
#include "editor/dialogs/InputDialogs.h"
#include "editor/dialogs/MessageDialog.h"
#include "editor/dialogs/PresetBrowser.h"

namespace vornix::editor {

TEditorDialogHost::TEditorDialogHost(TForm& editor, std::shared_ptr<platform::TDialogHost> elsewhere)
    : editor_(editor),
      elsewhere_(elsewhere ? std::move(elsewhere) : std::make_shared<platform::THeadlessDialogHost>(kApplicationTitle)),
      thread_(std::this_thread::get_id()) {}

platform::TModalResult TEditorDialogHost::ShowMessageDialog(const std::string& text, const std::string& caption,
                                                            platform::TMsgDlgType type,
                                                            platform::TMsgDlgButtons buttons) {
  if (!OnEditorThread()) return elsewhere_->ShowMessageDialog(text, caption, type, buttons);
  return editor::ShowMessageDialog(&editor_, text, caption, type, buttons);
}

std::optional<std::string> TEditorDialogHost::InputText(const std::string& caption, const std::string& prompt,
                                                        const std::string& text, bool allowEmpty, int maxLength) {
  if (!OnEditorThread()) return elsewhere_->InputText(caption, prompt, text, allowEmpty, maxLength);
  std::string edited = text;
  if (!editor::InputText(editor_, caption, prompt, allowEmpty, maxLength, edited)) return std::nullopt;
  return edited;
}

std::optional<double> TEditorDialogHost::InputNumber(const std::string& caption, const std::string& prompt,
                                                     double value, double minimum, double maximum, int decimals) {
  if (!OnEditorThread()) return elsewhere_->InputNumber(caption, prompt, value, minimum, maximum, decimals);
  double entered = value;
  if (!editor::InputNumber(editor_, caption, prompt, maximum, minimum, decimals, entered)) return std::nullopt;
  return entered;
}

std::optional<std::string> TEditorDialogHost::ChoosePreset(const std::string& presetsFolder,
                                                           const std::string& currentPreset) {
  if (!OnEditorThread()) return elsewhere_->ChoosePreset(presetsFolder, currentPreset);
  return BrowsePresets(editor_, presetsFolder, currentPreset);
}

}  // namespace vornix::editor
