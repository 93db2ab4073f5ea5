#include "formats/clap/Factory.h"

#include <cstring>
#include <new>

#include "formats/clap/Plugin.h"

#ifndef VORNIX_VERSION_TEXT
#error "the build names the version (CMake's project version)"
#endif

namespace vornix::formats::clapface {

using namespace clap;

namespace {

const char* const kFeatures[] = {"note-effect", "utility", nullptr};

const clap_plugin_descriptor kDescriptor = {
    CLAP_VERSION,
    kPluginId,
    "Vornix",
    "Orvane",
    "",
    "",
    "",
    VORNIX_VERSION_TEXT,
    "MIDI controller step sequencer: eight sequences of up to 64 steps, sent as control changes in time "
    "with the host",
    kFeatures,
};

const clap_plugin_factory kFactory = {
    [](const clap_plugin_factory*) -> std::uint32_t { return 1; },
    [](const clap_plugin_factory*, std::uint32_t index) { return index == 0 ? &kDescriptor : nullptr; },
    [](const clap_plugin_factory*, const clap_host* host, const char* id) -> const clap_plugin* {
      if (host == nullptr || id == nullptr || std::strcmp(id, kPluginId) != 0 ||
          !clap_version_is_compatible(host->clap_version))
        return nullptr;
      // The module is made in init, where the host may be called.
      auto* plugin = new (std::nothrow) TClapPlugin(host, &kDescriptor);
      return plugin != nullptr ? plugin->Clap() : nullptr;
    },
};

}  // namespace

const clap_plugin_descriptor& Descriptor() { return kDescriptor; }

// Nothing global to prepare: what instances share is made when first needed and freed when the
// library unloads, so init and deinit, repeated or not, have nothing to do.
bool CLAP_ABI EntryInit(const char*) { return true; }

void CLAP_ABI EntryDeinit() {}

const void* CLAP_ABI EntryFactory(const char* factoryId) {
  return factoryId != nullptr && std::strcmp(factoryId, CLAP_PLUGIN_FACTORY_ID) == 0 ? &kFactory : nullptr;
}

}  // namespace vornix::formats::clapface
