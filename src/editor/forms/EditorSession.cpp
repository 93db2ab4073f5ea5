#include "editor/forms/EditorSession.h"

#include "editor/dialogs/EditorDialogHost.h"
#include "gfx/Skin.h"
#include "platform/DisplayScale.h"
#include "plugin/Plugin.h"
#include "plugin/Skins.h"

namespace vornix::editor {

std::shared_ptr<TEditorSession> TEditorSession::Open(plugin::TVSTPlugin& owner, platform::TWindowSystem* system,
                                                     std::shared_ptr<platform::TDialogHost> dialogs,
                                                     std::uintptr_t parent) {
  auto session = std::make_shared<TEditorSession>(TKey{}, owner, system, std::move(dialogs));
  session->Show(parent);
  return session;
}

TEditorSession::TEditorSession(TKey, plugin::TVSTPlugin& owner, platform::TWindowSystem* system,
                               std::shared_ptr<platform::TDialogHost> dialogs)
    : owner_(owner), system_(system), dialogs_(std::move(dialogs)) {
  if (system_ == nullptr) {
    ownSystem_ = platform::CreateNativeWindowSystem();
    system_ = ownSystem_.get();
  }
  form_ = std::make_unique<TfrmEditor>(owner_, *system_, &gfx::SkinByName(plugin::SkinStyleName(owner_.Style())));
}

TEditorSession::~TEditorSession() {
  GiveBackDialogs();
  form_.reset();
  // A window system that was given may serve another editor next.
  if (endedModalLoops_ && !ownSystem_) system_->ResumeModalLoops();
  ownSystem_.reset();
}

void TEditorSession::Show(std::uintptr_t parent) {
  // Handlers the host's loop runs, and the module's questions, hold the session while they run;
  // once it has gone they hold nothing (and the questions go elsewhere).
  const platform::TWindowSystem::TEntryGuard guard = [weak = weak_from_this()]() -> std::shared_ptr<void> {
    if (auto session = weak.lock()) return std::make_shared<TEntry>(std::move(session));
    return nullptr;
  };
  system_->SetEntryGuard(guard);
  const TEntry entry = Enter();
  // The module's questions become the editor's dialogs; one asked on another thread goes where
  // questions went before (the module's own host when none was set).
  previousDialogs_ = owner_.DialogHost();
  if (!dialogs_) dialogs_ = std::make_shared<TEditorDialogHost>(*form_, previousDialogs_, guard);
  owner_.SetDialogHost(dialogs_);
  dialogsInstalled_ = true;
  form_->SetScale(gfx::TScale(OpeningZoom(parent)));
  form_->ShowEmbedded(parent);
  // Messages shown while no editor was open wait for the info line.
  form_->PullChanges();
}

// The zoom the host was told the size for, unless the screen the editor goes to asks for another
// and the host takes the size for that.
int TEditorSession::OpeningZoom(std::uintptr_t parent) {
  const int zoom = owner_.EditorZoom(platform::WindowScalePercent(parent));
  const int answered = owner_.AnsweredZoom();
  if (answered == 0 || zoom == answered) return zoom;
  int width = 0, height = 0;
  plugin::TVSTPluginBase::EditorSizeAt(zoom, width, height);
  return owner_.HostSizeWindow(width, height) ? zoom : answered;
}

void TEditorSession::Close() {
  if (closed_) return;
  closed_ = true;
  GiveBackDialogs();
  // Questions may be open under the entries that run.
  if (Entered()) {
    system_->EndModalLoops();
    endedModalLoops_ = true;
  }
  form_->Close();
}

void TEditorSession::GiveBackDialogs() {
  if (!dialogsInstalled_) return;
  dialogsInstalled_ = false;
  owner_.SetDialogHost(std::move(previousDialogs_));
}

}  // namespace vornix::editor
