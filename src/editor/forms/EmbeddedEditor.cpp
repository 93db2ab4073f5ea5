#include "editor/forms/EmbeddedEditor.h"

#include <cstdint>

#include "plugin/Plugin.h"

namespace vornix::editor {

TEmbeddedEditor::TEmbeddedEditor(plugin::TVSTPlugin& owner, platform::TWindowSystem* system,
                                 std::shared_ptr<platform::TDialogHost> dialogs)
    : owner_(owner), system_(system), dialogs_(std::move(dialogs)) {}

TEmbeddedEditor::~TEmbeddedEditor() {
  if (!session_) return;
  session_->Close();
  session_.reset();
}

int TEmbeddedEditor::Width() const {
  int width = 0, height = 0;
  plugin::TVSTPluginBase::EditorSizeAt(Zoom(), width, height);
  return width;
}

int TEmbeddedEditor::Height() const {
  int width = 0, height = 0;
  plugin::TVSTPluginBase::EditorSizeAt(Zoom(), width, height);
  return height;
}

int TEmbeddedEditor::Zoom() const {
  const TfrmEditor* form = Form();
  return form != nullptr ? form->Zoom() : owner_.EditorZoom();
}

void TEmbeddedEditor::EmbedInto(void* parentWindow, vst::VstIntPtr) {
  thread_.Bind();
  session_ = TEditorSession::Open(owner_, system_, dialogs_, reinterpret_cast<std::uintptr_t>(parentWindow));
}

// Nothing here touches this object once the windows have been pumped: the host may have closed
// the editor from inside one of the handlers, and destroyed this object with it.
void TEmbeddedEditor::Idle() {
  thread_.Check("effEditIdle");
  const std::shared_ptr<TEditorSession> session = session_;
  // Called from inside the editor's own handlers (a host timer under a modal question): the
  // windows are not pumped again from there; the next idle call catches up.
  if (!session || session->Entered()) return;
  const TEditorSession::TEntry entry = session->Enter();
  session->Form().CompleteLearn();
  session->System().Pump();
  if (session->Closed()) return;
  TfrmEditor& form = session->Form();
  form.PullChanges();
  // Not in the middle of a drag: the edit of a parameter the press held is over, and what the drag
  // changed is one change for the host.
  if (form.CapturedControl() == nullptr) {
    session->Owner().EndParameterEdit();
    session->Owner().ReportStateChange();
  }
}

void TEmbeddedEditor::Close() {
  thread_.Check("effEditClose");
  owner_.EndParameterEdit();
  owner_.ReportStateChange();
  std::shared_ptr<TEditorSession> session = std::move(session_);
  if (!session) return;
  // The last reference goes on the thread that closes, so that the windows are destroyed there.
  const auto close = [&session] {
    const std::shared_ptr<TEditorSession> last = std::move(session);
    last->Close();
  };
  // A host that closes on another thread than the editor's: the editor's thread closes it, when it
  // takes the work in time (Win32); otherwise this one does.
  if (!session->System().RunOnOwnerThread(close)) close();
}

namespace {

// The editor's key code of a host's virtual key, or of a letter or digit it sends alone.
int KeyCode(vst::VstInt32 character, vst::VstIntPtr virtualKey) {
  using namespace platform;
  switch (virtualKey) {
    case vst::VKEY_BACK: return kKeyBackspace;
    case vst::VKEY_TAB: return kKeyTab;
    case vst::VKEY_RETURN:
    case vst::VKEY_ENTER: return kKeyReturn;
    case vst::VKEY_ESCAPE: return kKeyEscape;
    case vst::VKEY_SPACE: return kKeySpace;
    case vst::VKEY_NEXT:
    case vst::VKEY_PAGEDOWN: return kKeyPageDown;
    case vst::VKEY_PAGEUP: return kKeyPageUp;
    case vst::VKEY_END: return kKeyEnd;
    case vst::VKEY_HOME: return kKeyHome;
    case vst::VKEY_LEFT: return kKeyLeft;
    case vst::VKEY_UP: return kKeyUp;
    case vst::VKEY_RIGHT: return kKeyRight;
    case vst::VKEY_DOWN: return kKeyDown;
    case vst::VKEY_INSERT: return kKeyInsert;
    case vst::VKEY_DELETE: return kKeyDelete;
    case vst::VKEY_SHIFT: return kKeyShift;
    case vst::VKEY_CONTROL: return kKeyControl;
    case vst::VKEY_ALT: return kKeyAlt;
    case 0: break;
    default: return kKeyNone;
  }
  if (character >= 'a' && character <= 'z') return character - 'a' + 'A';
  if ((character >= 'A' && character <= 'Z') || (character >= '0' && character <= '9')) return character;
  return kKeyNone;
}

platform::TShiftState Modifiers(float modifiers) {
  const auto bits = static_cast<int>(modifiers);
  platform::TShiftState shift = 0;
  if ((bits & vst::MODIFIER_SHIFT) != 0) shift |= platform::ssShift;
  if ((bits & vst::MODIFIER_ALTERNATE) != 0) shift |= platform::ssAlt;
  if ((bits & (vst::MODIFIER_CONTROL | vst::MODIFIER_COMMAND)) != 0) shift |= platform::ssCtrl;
  return shift;
}

}  // namespace

bool TEmbeddedEditor::KeyDown(vst::VstInt32 character, vst::VstIntPtr virtualKey, float modifiers) {
  thread_.Check("effEditKeyDown");
  return OfferKey(true, character, virtualKey, modifiers);
}

bool TEmbeddedEditor::KeyUp(vst::VstInt32 character, vst::VstIntPtr virtualKey, float modifiers) {
  thread_.Check("effEditKeyUp");
  return OfferKey(false, character, virtualKey, modifiers);
}

// A press is the key and the character it types, as the window system gives them. Not while the
// editor's own handlers run (the host calls in from under a modal question).
bool TEmbeddedEditor::OfferKey(bool down, vst::VstInt32 character, vst::VstIntPtr virtualKey, float modifiers) {
  const std::shared_ptr<TEditorSession> session = session_;
  if (!session || session->Entered()) return false;
  const TEditorSession::TEntry entry = session->Enter();
  TfrmEditor& form = session->Form();
  platform::TEvent key;
  key.Kind = down ? platform::TEventKind::KeyDown : platform::TEventKind::KeyUp;
  key.Key = KeyCode(character, virtualKey);
  key.Shift = Modifiers(modifiers);
  bool used = key.Key != platform::kKeyNone && form.OfferKey(key);
  const bool typed = character >= ' ' && character != 0x7F && (key.Shift & platform::ssCtrl) == 0;
  if (down && typed && !session->Closed()) {
    platform::TEvent text;
    text.Kind = platform::TEventKind::Char;
    text.Char = static_cast<char32_t>(static_cast<unsigned char>(character));
    text.Shift = key.Shift;
    used = form.OfferKey(text) || used;
  }
  return used;
}

void InstallEmbeddedEditor(plugin::TVSTPlugin& module, platform::TWindowSystem* system) {
  module.EditorFormClass = [&module, system](host::TCustomVSTModule&) {
    return std::make_unique<TEmbeddedEditor>(module, system);
  };
}

}  // namespace vornix::editor
