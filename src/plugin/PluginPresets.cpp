// Preset files in the per-user presets folder: the init preset, saving under a name, loading a
// chosen file. The questions around them (which name, which file) are the editor's.
#include "platform/Files.h"
#include "plugin/VSTPluginBaseDM.h"

namespace vornix::plugin {

void TVSTPluginBase::LoadInitPreset() {
  if (!PresetFileExists("init")) {
    ResetState();
    return;
  }
  TMemoryStreamChunk chunk;
  chunk.LoadFromFile(PresetPath("init"));
  if (LoadStateFromChunk(chunk, false)) {
    SetPresetName("");
    NotifyHostOfChange();
  } else {
    ResetState();
  }
}

void TVSTPluginBase::InitPreset() {
  try {
    LoadInitPreset();
  } catch (const std::exception& e) {
    ShowError("Error loading preset from file.", e, "Load Preset");
  }
}

// Written beside the old file and renamed over it: a failure never leaves half a preset.
void TVSTPluginBase::SavePresetFile(const std::string& name) {
  SetPresetName(name);
  TMemoryStreamChunk chunk;
  if (!SaveStateToChunk(chunk)) return;
  platform::ForceDirectories(platform::FilePath(FPresetsFolder));
  chunk.SaveToFile(PresetPath(name));
  NotifyHostOfChange();
}

bool TVSTPluginBase::LoadPresetFile(const std::string& presetName) {
  TMemoryStreamChunk chunk;
  try {
    chunk.LoadFromFile(PresetPath(presetName));
  } catch (const std::exception& e) {
    // A file that cannot be read as a preset changes nothing.
    ShowError("Error loading preset from file.", e, "Load Preset");
    return false;
  }
  const bool loaded = LoadStateFromChunk(chunk, false);
  if (loaded) SetPresetName(presetName);
  return loaded;
}

}  // namespace vornix::plugin
