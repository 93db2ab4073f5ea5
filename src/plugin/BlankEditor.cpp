#include "plugin/BlankEditor.h"

#include <algorithm>
#include <cstdint>

#include "gfx/Skin.h"
#include "plugin/Skins.h"

namespace vornix::plugin {

TBlankEditor::TBlankEditor() = default;

// The window goes before the connection it lives on.
TBlankEditor::~TBlankEditor() {
  window_.reset();
  system_.reset();
}

void TBlankEditor::EmbedInto(void* parentWindow, vst::VstIntPtr) {
  system_ = platform::CreateNativeWindowSystem();
  window_ = system_->CreateChild(reinterpret_cast<std::uintptr_t>(parentWindow), kEditorWidth, kEditorHeight, *this);
  gfx::TBitmap& surface = window_->Surface();
  std::fill_n(surface.Data(), static_cast<std::size_t>(surface.Width()) * surface.Height(),
              gfx::SkinByName(SelectedSkinStyle()).scWindow);
  window_->Present(surface.Bounds());
  system_->Pump();
}

void TBlankEditor::Idle() {
  if (system_) system_->Pump();
}

}  // namespace vornix::plugin
