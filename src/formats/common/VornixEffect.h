// The plug-in as every format makes it: the module with its editor, behind the VST 2.x effect
// record, created through the same steps as the VST 2.x entry point.
#pragma once

#include "host/VstAbi.h"

namespace vornix::formats {

// The effect record, or null when the module cannot start (a host that cannot be used).
vst::AEffect* CreateVornixEffect(vst::audioMasterCallback audioMaster);

}  // namespace vornix::formats
