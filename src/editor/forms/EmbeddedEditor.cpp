#include "editor/forms/EmbeddedEditor.h"

#include <cstdint>

#include "editor/dialogs/EditorDialogHost.h"
#include "gfx/Skin.h"
#include "plugin/Plugin.h"
#include "plugin/Skins.h"

namespace vornix::editor {

TEmbeddedEditor::TEmbeddedEditor(plugin::TVSTPlugin& owner, platform::TWindowSystem* system,
                                 std::shared_ptr<platform::TDialogHost> dialogs)
    : owner_(owner), system_(system), dialogs_(std::move(dialogs)) {}

TEmbeddedEditor::~TEmbeddedEditor() {
  if (dialogsInstalled_) owner_.SetDialogHost(std::move(previousDialogs_));
  form_.reset();
  ownSystem_.reset();
}

void TEmbeddedEditor::EmbedInto(void* parentWindow, vst::VstIntPtr) {
  thread_.Bind();
  if (system_ == nullptr) {
    ownSystem_ = platform::CreateNativeWindowSystem();
    system_ = ownSystem_.get();
  }
  form_ = std::make_unique<TfrmEditor>(owner_, *system_, &gfx::SkinByName(plugin::SkinStyleName(owner_.Style())));
  // The module's questions become the editor's dialogs; one asked on another thread goes where
  // questions went before (the module's own host when none was set).
  previousDialogs_ = owner_.DialogHost();
  if (!dialogs_) dialogs_ = std::make_shared<TEditorDialogHost>(*form_, previousDialogs_);
  owner_.SetDialogHost(dialogs_);
  dialogsInstalled_ = true;
  form_->ShowEmbedded(reinterpret_cast<std::uintptr_t>(parentWindow));
  // Messages shown while no editor was open wait for the info line.
  form_->PullChanges();
}

void TEmbeddedEditor::Idle() {
  thread_.Check("effEditIdle");
  if (!form_) return;
  system_->Pump();
  form_->PullChanges();
  // Not in the middle of a drag: what it changed is one change for the host.
  if (form_->CapturedControl() == nullptr) owner_.ReportStateChange();
}

void TEmbeddedEditor::Close() {
  thread_.Check("effEditClose");
  owner_.ReportStateChange();
}

void InstallEmbeddedEditor(plugin::TVSTPlugin& module, platform::TWindowSystem* system) {
  module.EditorFormClass = [&module, system](host::TCustomVSTModule&) {
    return std::make_unique<TEmbeddedEditor>(module, system);
  };
}

}  // namespace vornix::editor
