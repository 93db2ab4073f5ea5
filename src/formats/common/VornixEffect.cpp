#include "formats/common/VornixEffect.h"

#include <memory>

#include "editor/forms/EmbeddedEditor.h"
#include "host/VSTModule.h"
#include "plugin/Plugin.h"

namespace vornix::formats {

vst::AEffect* CreateVornixEffect(vst::audioMasterCallback audioMaster) {
  return host::CreateEffect(
      [] {
        auto plugin = std::make_unique<plugin::TVSTPlugin>();
        editor::InstallEmbeddedEditor(*plugin);
        return plugin;
      },
      audioMaster);
}

}  // namespace vornix::formats
