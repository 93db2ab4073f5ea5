// The dialog host the module uses while its editor is open: every question becomes one of the
// editor's modal dialogs, placed over the editor form.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "editor/toolkit/Form.h"
#include "platform/DialogHost.h"

namespace vornix::editor {

class TEditorDialogHost final : public platform::TDialogHost {
 public:
  // The dialogs run on the thread that makes the host, the editor's. A question asked on another
  // thread (the host may load a chunk there) cannot open a window: `elsewhere` answers it, or
  // when there is none, a headless host of our own (standard error; No, Cancel). `entered`, when
  // given, is held while a question runs, so that the editor stays until it is answered; when it
  // holds nothing, the editor has gone and `elsewhere` answers too.
  explicit TEditorDialogHost(TForm& editor, std::shared_ptr<platform::TDialogHost> elsewhere = nullptr,
                             platform::TWindowSystem::TEntryGuard entered = nullptr);

  platform::TModalResult ShowMessageDialog(const std::string& text, const std::string& caption,
                                           platform::TMsgDlgType type, platform::TMsgDlgButtons buttons) override;
  std::optional<std::string> InputText(const std::string& caption, const std::string& prompt, const std::string& text,
                                       bool allowEmpty, int maxLength) override;
  std::optional<double> InputNumber(const std::string& caption, const std::string& prompt, double value, double minimum,
                                    double maximum, int decimals) override;
  std::optional<std::string> ChoosePreset(const std::string& presetsFolder, const std::string& currentPreset) override;

 private:
  // True when the editor's dialogs answer: on its thread, while it is there. `held` keeps it there.
  bool Answers(std::shared_ptr<void>& held) const;

  TForm& editor_;
  std::shared_ptr<platform::TDialogHost> elsewhere_;
  platform::TWindowSystem::TEntryGuard entered_;
  std::thread::id thread_;
};

}  // namespace vornix::editor
