// Vornix.clap's one export.
#include "formats/clap/Factory.h"

extern "C" CLAP_EXPORT const clap::clap_plugin_entry clap_entry = {
    clap::CLAP_VERSION,
    &vornix::formats::clapface::EntryInit,
    &vornix::formats::clapface::EntryDeinit,
    &vornix::formats::clapface::EntryFactory,
};
