// The per-user configuration: the editor's style and zoom and the lowest-octave setting.
#include <algorithm>

#include "gfx/Scale.h"
#include "platform/OrvRegistry.h"
#include "plugin/Skins.h"
#include "plugin/VSTPluginBaseDM.h"

namespace vornix::plugin {

namespace {
constexpr const char* kSection = "Config";
}

// A missing or unreadable configuration leaves the defaults.
void TVSTPluginBase::LoadConfig() {
  try {
    const auto config = platform::OpenConfigKey(ProductName());
    FStyle = config->ReadInteger(kSection, "Style", 0);
    // 0: no choice made; anything else is a step.
    const int zoom = config->ReadInteger(kSection, "Zoom", 0);
    FZoom = zoom > 0 ? gfx::NearestZoomStep(zoom) : 0;
    FLowestOctave = config->ReadInteger(kSection, "LowestOctave", -2);
    ReadCustomConfig(*config);
  } catch (const std::exception&) {
  }
  FLowestOctave = std::clamp(FLowestOctave, -2, 0);
  SetProcessLowestOctave(static_cast<std::int8_t>(FLowestOctave));
}

void TVSTPluginBase::SaveConfig() {
  const auto config = platform::OpenConfigKey(ProductName());
  config->WriteInteger(kSection, "Style", FStyle);
  config->WriteInteger(kSection, "Zoom", FZoom);
  config->WriteInteger(kSection, "LowestOctave", FLowestOctave);
  WriteCustomConfig(*config);
}

void TVSTPluginBase::SetStyle(int style) {
  if (style == FStyle) return;
  FStyle = style;
  SaveConfig();
}

void TVSTPluginBase::SetLowestOctave(int octave) {
  octave = std::clamp(octave, -2, 0);
  if (octave == FLowestOctave) return;
  FLowestOctave = octave;
  SetProcessLowestOctave(static_cast<std::int8_t>(octave));
  SaveConfig();
}

}  // namespace vornix::plugin
