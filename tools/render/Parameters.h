// Setting the plug-in's parameters by name and by the text they show, with only the host's view:
// normalised values, names and display texts.
#pragma once

#include <string_view>
#include <vector>

#include "hostkit/PluginHost.h"
#include "render/Options.h"

namespace vornix::render {

// Index of the parameter whose name matches (ignoring case and surrounding blanks); throws
// std::runtime_error listing the valid names.
int FindParameter(hostkit::PluginHost& host, std::string_view name);

// A host value at which the parameter shows text (ignoring case and surrounding blanks). The
// parameter is left at that value; throws std::runtime_error listing the texts it can show.
float FindValueForText(hostkit::PluginHost& host, int index, std::string_view text);

// Applies the settings in order.
void ApplyParameters(hostkit::PluginHost& host, const std::vector<ParameterSetting>& settings);

}  // namespace vornix::render
