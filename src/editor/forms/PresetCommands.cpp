#include "editor/forms/PresetCommands.h"

#include "platform/Files.h"
#include "plugin/VSTPluginBaseDM.h"

namespace vornix::editor {

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

}  // namespace

void SavePresetAs(plugin::TVSTPluginBase& module) {
  const auto dialogs = module.DialogHost();
  const auto typed = dialogs->InputText("Save Preset", "Name", module.PresetName(), true, 50);
  if (!typed) return;
  try {
    const std::string name = platform::MakeValidFileName(Trim(*typed));
    if (name.empty()) {
      if (!module.PresetName().empty()) {
        module.SetPresetName("");
        module.NotifyHostOfChange();
      }
      return;
    }
    if (platform::FileExists(module.PresetPath(name)) &&
        dialogs->ShowMessageDialog("Overwrite existing preset?", "Preset Exists", TMsgDlgType::mtConfirmation,
                                   TMsgDlgButtons::mbYesNo) == TModalResult::mrNo)
      return;
    module.SavePresetFile(name);
  } catch (const std::exception& e) {
    module.ShowError("Error saving preset to file.", e, "Save Preset");
  }
}

void ShowPresetBrowser(plugin::TVSTPluginBase& module) {
  const std::string current = module.PresetName();
  const auto chosen = module.DialogHost()->ChoosePreset(module.PresetsFolder(), current);
  if (chosen) {
    module.LoadPresetFile(*chosen);
  } else if (!current.empty() && !module.PresetFileExists(current)) {
    // The browser may have deleted the current preset's file.
    module.SetPresetName("");
  }
}

}  // namespace vornix::editor
