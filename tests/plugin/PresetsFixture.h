// A plug-in in a home folder of its own, with the presets folder at hand and a change to save.
#pragma once

#include <memory>
#include <string>

#include "ModuleFixture.h"

namespace vornix::testing {

class PresetsTest : public PluginUnitTest {
 protected:
  std::string PresetFile(const std::string& name) { return plugin->PresetsFolder() + name + ".orvanep"; }
  // Sequence 3 active, its first step at 5, its Active on controller 64.
  void Change() {
    plugin->SetParameterByName("Seq3 Active", 1.0f);
    plugin->Sequencer().Items(2).Steps()[0].SetValue(5.0f);
    plugin->SetCC("Seq3 Active", 64);
  }
  // A fresh instance in the same home folder.
  std::unique_ptr<TestPlugin> Reopen() {
    auto fresh = std::make_unique<TestPlugin>();
    fresh->SetDialogHost(dialogs);
    fresh->AfterConstruction();
    fresh->SetAudioMaster(&Host::Callback);
    return fresh;
  }
};

}  // namespace vornix::testing
