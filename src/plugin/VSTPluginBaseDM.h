// The base of the plug-in module: what every Orvane plug-in declares and keeps.
#pragma once

#include "host/VSTModule.h"

namespace vornix::plugin {

class TVSTPluginBase : public host::TVSTModule {
 public:
  TVSTPluginBase();

  void VSTModuleEditGetSize(short& width, short& height);
  vst::VstIntPtr VSTModuleVendorSpecific(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt);

 protected:
  // The editor acts on the control under the mouse pointer; nothing to do without an editor.
  virtual void FocusControlUnderCursor() {}
};

}  // namespace vornix::plugin
