// Preset files in the per-user presets folder: the init preset, saving under a name, loading a
// chosen file.
#include <cctype>

#include "platform/Files.h"
#include "plugin/VSTPluginBaseDM.h"

namespace vornix::plugin {

namespace {

using platform::TModalResult;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;

// Blanks and control characters around a typed name do not belong to it.
std::string Trim(const std::string& s) {
  std::size_t first = 0, last = s.size();
  while (first < last && static_cast<unsigned char>(s[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(s[last - 1]) <= ' ') --last;
  return s.substr(first, last - first);
}

std::filesystem::path PresetPath(const std::string& folder, const std::string& name) {
  return platform::FilePath(folder + name + std::string(platform::PresetFileExtension));
}

}  // namespace

void TVSTPluginBase::LoadInitPreset() {
  if (!PresetFileExists("init")) {
    ResetState();
    return;
  }
  TMemoryStreamChunk chunk;
  chunk.LoadFromFile(PresetPath(FPresetsFolder, "init"));
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

void TVSTPluginBase::SavePresetAs() {
  const auto typed = DialogHost()->InputText("Save Preset", "Name", FPresetName, true, 50);
  if (!typed) return;
  try {
    const std::string name = platform::MakeValidFileName(Trim(*typed));
    if (name.empty()) {
      if (!FPresetName.empty()) {
        SetPresetName("");
        NotifyHostOfChange();
      }
      return;
    }
    const auto path = PresetPath(FPresetsFolder, name);
    if (platform::FileExists(path) &&
        DialogHost()->ShowMessageDialog("Overwrite existing preset?", "Preset Exists", TMsgDlgType::mtConfirmation,
                                        TMsgDlgButtons::mbYesNo) == TModalResult::mrNo)
      return;
    SetPresetName(name);
    TMemoryStreamChunk chunk;
    if (SaveStateToChunk(chunk)) {
      platform::ForceDirectories(platform::FilePath(FPresetsFolder));
      // Written beside the old file and renamed over it: a failure never leaves half a preset.
      chunk.SaveToFile(path);
      NotifyHostOfChange();
    }
  } catch (const std::exception& e) {
    ShowError("Error saving preset to file.", e, "Save Preset");
  }
}

bool TVSTPluginBase::LoadPresetFile(const std::string& presetName) {
  TMemoryStreamChunk chunk;
  try {
    chunk.LoadFromFile(PresetPath(FPresetsFolder, presetName));
  } catch (const std::exception& e) {
    // A file that cannot be read as a preset changes nothing.
    ShowError("Error loading preset from file.", e, "Load Preset");
    return false;
  }
  const bool loaded = LoadStateFromChunk(chunk, false);
  if (loaded) SetPresetName(presetName);
  return loaded;
}

// A chosen file that cannot be loaded is reported and changes nothing, neither the state nor the
// preset name: resetting the parameters or naming a state that was not loaded would lose the
// user's work or mislabel it.
void TVSTPluginBase::ShowPresetBrowser() {
  const auto chosen = DialogHost()->ChoosePreset(FPresetsFolder, FPresetName);
  if (chosen) {
    LoadPresetFile(*chosen);
  } else if (!FPresetName.empty() && !PresetFileExists(FPresetName)) {
    // The browser may have deleted the current preset's file.
    SetPresetName("");
  }
  if (TPluginEditor* editor = Editor()) {
    editor->AfterPresetBrowser();
    // The click that closed the browser must not reach the editor as well.
    editor->FlushMouseInput();
  }
}

}  // namespace vornix::plugin
