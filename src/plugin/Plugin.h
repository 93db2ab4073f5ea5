// The concrete plug-in module: eight controller sequences clocked by the host.
#pragma once

#include "plugin/VSTPluginBaseDM.h"

namespace vornix::plugin {

class TVSTPlugin : public TVSTPluginBase {
 public:
  TVSTPlugin();
};

}  // namespace vornix::plugin
