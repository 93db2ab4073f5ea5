// Prints what a host sees of a plug-in: identity, capabilities and parameters.
#pragma once

#include <ostream>

#include "hostkit/PluginHost.h"

namespace vornix::render {

void PrintInfo(hostkit::PluginHost& host, std::ostream& out);

}  // namespace vornix::render
