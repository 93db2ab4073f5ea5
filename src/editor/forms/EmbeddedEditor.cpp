#include "editor/forms/EmbeddedEditor.h"

#include <cstdint>

#include "editor/dialogs/EditorDialogHost.h"
#include "gfx/Skin.h"
#include "plugin/Plugin.h"
#include "plugin/Skins.h"

namespace vornix::editor {

namespace {

// A message kept for the info line: one line of text.
std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    const bool lineBreak = c == '\r' || c == '\n';
    if (lineBreak && (line.empty() || line.back() == ' ')) continue;
    line += lineBreak ? ' ' : c;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

}  // namespace

TEmbeddedEditor::TEmbeddedEditor(plugin::TVSTPlugin& owner, platform::TWindowSystem* system,
                                 std::shared_ptr<platform::TDialogHost> dialogs)
    : owner_(owner), system_(system), dialogs_(std::move(dialogs)) {}

TEmbeddedEditor::~TEmbeddedEditor() {
  if (dialogsInstalled_) owner_.SetDialogHost(std::move(previousDialogs_));
  form_.reset();
  ownSystem_.reset();
}

void TEmbeddedEditor::EmbedInto(void* parentWindow, vst::VstIntPtr) {
  // A message shown while no editor was open waited in the headless host.
  std::string waiting;
  if (auto* headless = dynamic_cast<platform::THeadlessDialogHost*>(owner_.DialogHost().get())) {
    if (auto message = headless->TakeLastMessage()) waiting = OneLine(*message);
  }
  if (system_ == nullptr) {
    ownSystem_ = platform::CreateNativeWindowSystem();
    system_ = ownSystem_.get();
  }
  form_ = std::make_unique<TfrmEditor>(owner_, *system_, &gfx::SkinByName(plugin::SelectedSkinStyle()));
  // The module's questions become the editor's dialogs; one asked on another thread goes where
  // questions went before.
  previousDialogs_ = owner_.SetDialogHost(nullptr);
  if (!dialogs_) dialogs_ = std::make_shared<TEditorDialogHost>(*form_, previousDialogs_);
  owner_.SetDialogHost(dialogs_);
  dialogsInstalled_ = true;
  form_->ShowEmbedded(reinterpret_cast<std::uintptr_t>(parentWindow));
  if (!waiting.empty()) form_->ShowInfo(waiting);
}

void TEmbeddedEditor::UpdateControls() {
  if (form_) form_->UpdateControls();
}

void TEmbeddedEditor::UpdatePresetName() {
  if (form_) form_->UpdatePresetName();
}

void TEmbeddedEditor::UpdateSequenceButtons() {
  if (form_) form_->UpdateSequenceButtons();
}

void TEmbeddedEditor::LoadGridSteps() {
  if (form_) form_->LoadGridSteps();
}

void TEmbeddedEditor::SetGridStepNo(int step) {
  if (form_) form_->SetGridStepNo(step);
}

void TEmbeddedEditor::ResetStepNo() {
  if (form_) form_->ResetGridStepNo();
}

void TEmbeddedEditor::FocusControlUnderCursor() {
  if (form_) form_->FocusControlUnderCursor();
}

void TEmbeddedEditor::ShowInfo(const std::string& text) {
  if (form_) form_->ShowInfo(text);
}

bool TEmbeddedEditor::Activated() const { return form_ && form_->Activated(); }

void TEmbeddedEditor::Idle() {
  if (system_ != nullptr && form_) system_->Pump();
}

void TEmbeddedEditor::AfterPresetBrowser() {
  if (form_) form_->AfterPresetBrowser();
}

void TEmbeddedEditor::FlushMouseInput() {
  if (system_ != nullptr) system_->FlushMouseInput();
}

void InstallEmbeddedEditor(plugin::TVSTPlugin& module, platform::TWindowSystem* system) {
  module.EditorFormClass = [&module, system](host::TCustomVSTModule&) {
    return std::make_unique<TEmbeddedEditor>(module, system);
  };
}

}  // namespace vornix::editor
