// The editor as a picture. The loaded plug-in's state, taken as its chunk, is opened in the editor
// this tool carries (the plug-in's own code, built into the tool) on windows in memory, so no
// display is needed and the plug-in file keeps no entry a host would not use.
#pragma once

#include <vector>

#include "gfx/Bitmap.h"
#include "hostkit/PluginHost.h"
#include "render/Options.h"

namespace vornix::render {

// The editor of a module holding `chunk`, in the options' skin, with their view open: exactly the
// editor's size when nothing else is open, else the area that holds every open window. Throws
// std::runtime_error with a message for the user.
gfx::TBitmap DrawEditor(const std::vector<unsigned char>& chunk, const Options& options);

// Takes the loaded plug-in's chunk and writes its editor to options.screenshotFile as PNG.
void WriteScreenshot(hostkit::PluginHost& loaded, const Options& options);

}  // namespace vornix::render
