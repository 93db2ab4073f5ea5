// The open editor: its window system (unless one was given), the page in the host's window, and
// the module's questions put through its dialogs. A host may close the editor from inside one of
// the editor's own handlers (a host timer that fires under a modal question): every entry into
// the editor holds the session while it runs, and the session goes when the last of them has
// returned, so that no form is destroyed under one of its handlers.
#pragma once

#include <cstdint>
#include <memory>

#include "editor/forms/Editor.h"
#include "platform/DialogHost.h"
#include "platform/Window.h"

namespace vornix::plugin {
class TVSTPlugin;
}

namespace vornix::editor {

class TEditorSession : public std::enable_shared_from_this<TEditorSession> {
  struct TKey {};

 public:
  // Shows the page in the module's skin inside the host's window, on `system` (null: a window
  // system of its own), and puts the module's questions to `dialogs` (null: the editor's dialogs).
  static std::shared_ptr<TEditorSession> Open(plugin::TVSTPlugin& owner, platform::TWindowSystem* system,
                                              std::shared_ptr<platform::TDialogHost> dialogs, std::uintptr_t parent);
  TEditorSession(TKey, plugin::TVSTPlugin& owner, platform::TWindowSystem* system,
                 std::shared_ptr<platform::TDialogHost> dialogs);
  // The page goes before the window system it lives on.
  ~TEditorSession();
  TEditorSession(const TEditorSession&) = delete;
  TEditorSession& operator=(const TEditorSession&) = delete;

  // An entry into the editor: while it lives, the session does too and counts it.
  class TEntry {
   public:
    explicit TEntry(std::shared_ptr<TEditorSession> session) : session_(std::move(session)) { ++session_->entries_; }
    ~TEntry() { --session_->entries_; }
    TEntry(const TEntry&) = delete;
    TEntry& operator=(const TEntry&) = delete;

   private:
    std::shared_ptr<TEditorSession> session_;
  };
  TEntry Enter() { return TEntry(shared_from_this()); }
  // True while an entry runs: one of the editor's handlers, or a question, is on the stack.
  bool Entered() const { return entries_ > 0; }

  // Ends the editor's modal loops and takes the page's window out of the host's at once; the
  // module's questions go back where they went before. The rest goes with the last reference.
  void Close();
  bool Closed() const { return closed_; }

  plugin::TVSTPlugin& Owner() const { return owner_; }
  platform::TWindowSystem& System() const { return *system_; }
  TfrmEditor& Form() const { return *form_; }

 private:
  void Show(std::uintptr_t parent);
  int OpeningZoom(std::uintptr_t parent);
  void GiveBackDialogs();

  plugin::TVSTPlugin& owner_;
  std::unique_ptr<platform::TWindowSystem> ownSystem_;
  platform::TWindowSystem* system_;
  std::shared_ptr<platform::TDialogHost> dialogs_;
  std::shared_ptr<platform::TDialogHost> previousDialogs_;
  bool dialogsInstalled_ = false;
  std::unique_ptr<TfrmEditor> form_;
  int entries_ = 0;
  bool closed_ = false;
  bool endedModalLoops_ = false;
};

}  // namespace vornix::editor
