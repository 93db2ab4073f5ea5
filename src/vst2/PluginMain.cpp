// The plug-in's exported entry points.
#include <memory>

#include "editor/forms/EmbeddedEditor.h"
#include "host/VSTModule.h"
#include "plugin/Plugin.h"

namespace {

vst::AEffect* CreatePlugin(vst::audioMasterCallback audioMaster) {
  return vornix::host::CreateEffect(
      [] {
        auto plugin = std::make_unique<vornix::plugin::TVSTPlugin>();
        vornix::editor::InstallEmbeddedEditor(*plugin);
        return plugin;
      },
      audioMaster);
}

}  // namespace

#if defined(_WIN32)
#define VORNIX_EXPORT __declspec(dllexport)
#else
#define VORNIX_EXPORT __attribute__((visibility("default")))
#endif

extern "C" VORNIX_EXPORT vst::AEffect* VSTCALLBACK VSTPluginMain(vst::audioMasterCallback audioMaster) {
  return CreatePlugin(audioMaster);
}

// Older hosts look for "main"; C++ cannot define a function of that name returning a record. The
// Windows DLL exports it as an alias of VSTPluginMain (exports.def).
#if !defined(_WIN32)
extern "C" VORNIX_EXPORT vst::AEffect* VornixMainAlias(vst::audioMasterCallback audioMaster) __asm__("main");
extern "C" vst::AEffect* VornixMainAlias(vst::audioMasterCallback audioMaster) { return CreatePlugin(audioMaster); }
#endif
