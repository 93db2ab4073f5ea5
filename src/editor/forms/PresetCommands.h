// The editor's preset commands: the questions around saving and loading a preset (which name,
// overwrite or not, which file) put to the user through the module's dialog host, and the module's
// preset files behind them. Each reports its own errors.
#pragma once

namespace vornix::plugin {
class TVSTPluginBase;
}

namespace vornix::editor {

// "Save Preset": asks for a name and saves the state under it; a blank name only drops the
// state's preset name.
void SavePresetAs(plugin::TVSTPluginBase& module);
// "Load Preset": lets the user pick a preset file and loads it. A choice that cannot be loaded
// changes nothing; a cancelled browser that deleted the current preset's file drops its name.
void ShowPresetBrowser(plugin::TVSTPluginBase& module);

}  // namespace vornix::editor
