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
  form_->CompleteLearn();
  system_->Pump();
  form_->PullChanges();
  // Not in the middle of a drag: what it changed is one change for the host.
  if (form_->CapturedControl() == nullptr) owner_.ReportStateChange();
}

void TEmbeddedEditor::Close() {
  thread_.Check("effEditClose");
  owner_.ReportStateChange();
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

// A press is the key and the character it types, as the window system gives them.
bool TEmbeddedEditor::OfferKey(bool down, vst::VstInt32 character, vst::VstIntPtr virtualKey, float modifiers) {
  if (!form_) return false;
  platform::TEvent key;
  key.Kind = down ? platform::TEventKind::KeyDown : platform::TEventKind::KeyUp;
  key.Key = KeyCode(character, virtualKey);
  key.Shift = Modifiers(modifiers);
  bool used = key.Key != platform::kKeyNone && form_->OfferKey(key);
  const bool typed = character >= ' ' && character != 0x7F && (key.Shift & platform::ssCtrl) == 0;
  if (down && typed && form_) {
    platform::TEvent text;
    text.Kind = platform::TEventKind::Char;
    text.Char = static_cast<char32_t>(static_cast<unsigned char>(character));
    text.Shift = key.Shift;
    used = form_->OfferKey(text) || used;
  }
  return used;
}

void InstallEmbeddedEditor(plugin::TVSTPlugin& module, platform::TWindowSystem* system) {
  module.EditorFormClass = [&module, system](host::TCustomVSTModule&) {
    return std::make_unique<TEmbeddedEditor>(module, system);
  };
}

}  // namespace vornix::editor
