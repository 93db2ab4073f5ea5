// The plug-in's extension tables: note and audio ports, parameters, state, editor, and the host
// loop's timers and file descriptors that run the editor.
#pragma once

namespace vornix::formats::clapface {

// The table of the extension `id`, or null for one the plug-in does not have.
const void* ExtensionTable(const char* id);

}  // namespace vornix::formats::clapface
