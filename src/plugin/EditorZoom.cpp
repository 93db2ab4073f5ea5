// The editor's zoom: the user's choice, the host's scale or the desktop's, and the size it gives.
#include "gfx/Scale.h"
#include "platform/DisplayScale.h"
#include "plugin/EditorSize.h"
#include "plugin/VSTPluginBaseDM.h"

namespace vornix::plugin {

void TVSTPluginBase::SetZoomChoice(int percent) {
  percent = gfx::NearestZoomStep(percent);
  if (percent == FZoom.load(std::memory_order_relaxed)) return;
  FZoom.store(percent, std::memory_order_relaxed);
  SaveConfig();
}

int TVSTPluginBase::EditorZoom(double displayPercent) const {
  if (const int choice = ZoomChoice(); choice > 0) return choice;
  if (const int host = HostScale(); host > 0) return gfx::NearestZoomStep(host);
  if (displayPercent <= 0) {
    // Opening a connection to the display for every size question would be slow: once per module.
    int desktop = FDesktopScale.load(std::memory_order_relaxed);
    if (desktop < 0) {
      desktop = static_cast<int>(platform::DisplayScalePercent() + 0.5);
      FDesktopScale.store(desktop, std::memory_order_relaxed);
    }
    displayPercent = desktop;
  }
  return gfx::NearestZoomStep(displayPercent);
}

void TVSTPluginBase::EditorSizeAt(int zoom, int& width, int& height) {
  const gfx::TScale scale(zoom);
  width = scale.Px(kEditorWidth);
  height = scale.Px(kEditorHeight);
}

bool TVSTPluginBase::TakeHostScale(double factor) {
  if (!(factor > 0.0 && factor < 16.0)) return false;
  FHostScale.store(static_cast<int>(factor * 100.0 + 0.5), std::memory_order_relaxed);
  FEditorInbox.Mark(TEditorInbox::kZoom);
  return true;
}

}  // namespace vornix::plugin
