#include "formats/lv2/Ui.h"

#include <stdexcept>

#include "editor/forms/EmbeddedEditor.h"
#include "formats/lv2/Ports.h"
#include "plugin/Plugin.h"

namespace vornix::formats::lv2 {

namespace {

// The window the editor made inside the host's, which LV2 hosts take as the
// UI's widget.
std::uintptr_t EditorWindow(TEffectHost& host) {
  const auto* editor = dynamic_cast<const editor::TEmbeddedEditor*>(host.Module().EditorForm());
  if (editor == nullptr || editor->Form() == nullptr || editor->Form()->Window() == nullptr) return 0;
  return editor->Form()->Window()->NativeHandle();
}

}  // namespace

TUi::TUi(TPlugin& plugin, void* parent, LV2UI_Write_Function write, LV2UI_Controller controller,
         const LV2UI_Touch* touch, const LV2UI_Resize* resize)
    : plugin_(plugin), write_(write), controller_(controller), touch_(touch), resize_(resize) {
  if (!plugin_.AttachUi(*this)) throw std::runtime_error("the plug-in's editor is open already");
  if (!plugin_.Host().OpenEditor(parent) || (window_ = EditorWindow(plugin_.Host())) == 0) {
    plugin_.Host().CloseEditor();
    plugin_.DetachUi();
    throw std::runtime_error("the editor did not open");
  }
  if (resize != nullptr) {
    int width = 0, height = 0;
    plugin_.Host().EditorSize(width, height);
    resize->ui_resize(resize->handle, width, height);
  }
  // What the host is to hear of waits for the first idle call: hosts take port writes once the UI
  // is made.
}

TUi::~TUi() {
  plugin_.Host().CloseEditor();
  plugin_.DetachUi();
}

void TUi::Idle() {
  plugin_.Host().IdleEditor();
  plugin_.ReportPending();
}

void TUi::Report(int parameter, float value) {
  write_(controller_, kFirstControl + static_cast<std::uint32_t>(parameter), sizeof value, 0, &value);
}

// LV2's ui:resize answers 0 when the host took the size.
bool TUi::Resize(int width, int height) {
  return resize_ != nullptr && resize_->ui_resize(resize_->handle, width, height) == 0;
}

void TUi::Gesture(int parameter, bool begins) {
  if (touch_ != nullptr) touch_->touch(touch_->handle, kFirstControl + static_cast<std::uint32_t>(parameter), begins);
}

}  // namespace vornix::formats::lv2
