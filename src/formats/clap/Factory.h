// What Vornix.clap's clap_entry holds: the library's init and deinit, and the factory with its one
// plug-in and that plug-in's descriptor.
#pragma once

#include "formats/clap/ClapAbi.h"

namespace vornix::formats::clapface {

// Stable for ever: hosts keep it in their projects. Reverse-domain form of the vendor Orvane.
constexpr const char kPluginId[] = "com.orvane.vornix";

const clap::clap_plugin_descriptor& Descriptor();

// The three functions of clap_entry.
bool CLAP_ABI EntryInit(const char* pluginPath);
void CLAP_ABI EntryDeinit();
const void* CLAP_ABI EntryFactory(const char* factoryId);

}  // namespace vornix::formats::clapface
