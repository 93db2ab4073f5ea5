#include "formats/clap/Gui.h"

#include <cstring>

namespace vornix::formats::clapface {

bool TGui::IsApiSupported(const char* api, bool floating) const {
  return !floating && api != nullptr && std::strcmp(api, kApi) == 0;
}

// Hosts that scan plug-ins ask for the window system without offering a loop; only a host that
// opens the editor must run its idle calls.
bool TGui::Create(const char* api, bool floating) {
  if (created_ || !IsApiSupported(api, floating)) return false;
  if (!idle_.Available()) {
    host_.Log(clap::CLAP_LOG_WARNING, "the editor needs the host's timer-support or posix-fd-support");
    return false;
  }
  created_ = true;
  return true;
}

void TGui::Destroy() {
  CloseEditor();
  created_ = false;
  parent_ = nullptr;
}

bool TGui::Size(std::uint32_t& width, std::uint32_t& height) {
  int w = 0, h = 0;
  effect_.EditorSize(w, h);
  if (w <= 0 || h <= 0) return false;
  width = static_cast<std::uint32_t>(w);
  height = static_cast<std::uint32_t>(h);
  return true;
}

bool TGui::SetParent(const clap::clap_window& window) {
  if (!created_ || window.api == nullptr || std::strcmp(window.api, kApi) != 0) return false;
#if defined(_WIN32)
  void* parent = window.win32;
#else
  void* parent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(window.x11));
#endif
  if (parent == nullptr) return false;
  CloseEditor();
  parent_ = parent;
  return OpenEditor();
}

bool TGui::Show() { return open_ || (parent_ != nullptr && OpenEditor()); }

bool TGui::Hide() {
  CloseEditor();
  return created_;
}

bool TGui::OpenEditor() {
  if (!effect_.OpenEditor(parent_)) return false;
  if (!idle_.Start()) {
    effect_.CloseEditor();
    return false;
  }
  open_ = true;
  return true;
}

void TGui::CloseEditor() {
  if (!open_) return;
  idle_.Stop();
  open_ = false;
  effect_.CloseEditor();
}

}  // namespace vornix::formats::clapface
