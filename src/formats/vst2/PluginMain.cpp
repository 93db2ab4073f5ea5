// The plug-in's exported VST 2.x entry points.
#include "formats/common/VornixEffect.h"

#if defined(_WIN32)
#define VORNIX_EXPORT __declspec(dllexport)
#else
#define VORNIX_EXPORT __attribute__((visibility("default")))
#endif

extern "C" VORNIX_EXPORT vst::AEffect* VSTCALLBACK VSTPluginMain(vst::audioMasterCallback audioMaster) {
  return vornix::formats::CreateVornixEffect(audioMaster);
}

// Older hosts look for "main"; C++ cannot define a function of that name returning a record. The
// Windows DLL exports it as an alias of VSTPluginMain (exports.def).
#if !defined(_WIN32)
extern "C" VORNIX_EXPORT vst::AEffect* VornixMainAlias(vst::audioMasterCallback audioMaster) __asm__("main");
extern "C" vst::AEffect* VornixMainAlias(vst::audioMasterCallback audioMaster) {
  return vornix::formats::CreateVornixEffect(audioMaster);
}
#endif
