// The editor as the host opens it: the sequence page in a window of its own inside the host's
// window, on a window system of its own. While it is open the module's questions and messages go
// to its dialogs. It belongs to the thread that opened it; the host's editor calls reach it there.
//
// The host may call in from inside the editor's own handlers (its timers and sent messages run
// under a modal question): an idle call there does nothing, and closing ends the questions and
// lets the editor go once they have unwound (TEditorSession).
#pragma once

#include <memory>

#include "editor/forms/Editor.h"
#include "editor/forms/EditorSession.h"
#include "host/CustomVSTModule.h"
#include "platform/DialogHost.h"
#include "platform/ThreadCheck.h"
#include "platform/Window.h"
#include "plugin/EditorSize.h"

namespace vornix::plugin {
class TVSTPlugin;
}

namespace vornix::editor {

class TEmbeddedEditor final : public host::TVSTEditorForm {
 public:
  // `system`: the windows to use instead of the platform's (tests: windows in memory); it must
  // outlive the editor. `dialogs`: what answers the module's questions while the editor is open
  // (tests: a script); by default the editor's own modal dialogs over the page.
  explicit TEmbeddedEditor(plugin::TVSTPlugin& owner, platform::TWindowSystem* system = nullptr,
                           std::shared_ptr<platform::TDialogHost> dialogs = nullptr);
  // The module's questions go back where they went before; the windows go on this thread (a module
  // destroyed without effEditClose, perhaps on another thread).
  ~TEmbeddedEditor() override;
  TEmbeddedEditor(const TEmbeddedEditor&) = delete;
  TEmbeddedEditor& operator=(const TEmbeddedEditor&) = delete;

  // The size at the editor's zoom (while the host is asked to resize: at the zoom asked for).
  int Width() const override;
  int Height() const override;
  // Makes the window system (unless one was given), the page in the module's skin and its window,
  // and shows it. The calling thread becomes the editor's.
  void EmbedInto(void* parentWindow, vst::VstIntPtr hostValue) override;
  // The windows' events and timers, what the module marked, and a finished gesture's change told
  // to the host; nothing while the editor's own handlers run.
  void Idle() override;
  // The editor's questions end and its window leaves the host's at once; what is left goes once
  // its handlers have returned. Called on another thread, the closing runs on the editor's thread
  // (Win32: when that one takes it within a few seconds; otherwise the windows are cut off from the
  // editor and closed by their thread later).
  void Close() override;
  // A key the host offers goes where the editor's own keys go; unused, it stays the host's.
  bool KeyDown(vst::VstInt32 character, vst::VstIntPtr virtualKey, float modifiers) override;
  bool KeyUp(vst::VstInt32 character, vst::VstIntPtr virtualKey, float modifiers) override;

  // The page; null until the editor is embedded, and once it is closed.
  TfrmEditor* Form() const { return session_ ? &session_->Form() : nullptr; }

 private:
  bool OfferKey(bool down, vst::VstInt32 character, vst::VstIntPtr virtualKey, float modifiers);
  int Zoom() const;

  plugin::TVSTPlugin& owner_;
  platform::TThreadCheck thread_;
  platform::TWindowSystem* system_;
  std::shared_ptr<platform::TDialogHost> dialogs_;
  std::shared_ptr<TEditorSession> session_;
};

// Gives the module its editor, as the plug-in's entry point does; `system` as above (null: the
// platform's windows). Tools and benchmarks use it to open the same editor on windows in memory.
void InstallEmbeddedEditor(plugin::TVSTPlugin& module, platform::TWindowSystem* system = nullptr);

}  // namespace vornix::editor
