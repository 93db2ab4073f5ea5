// The process-wide list of live modules. Entries look their module up here by record address, so
// a record that is not (or no longer) ours is recognised without touching its memory. Lookups take
// no lock: they run on the processing thread too.
#pragma once

#include <atomic>
#include <cstddef>

namespace vst {
struct AEffect;
}

namespace vornix::host {

class TBasicVSTModule;

namespace ModuleRegistry {

void Add(TBasicVSTModule* module);
void Remove(TBasicVSTModule* module);
TBasicVSTModule* Find(const vst::AEffect* effect);

}  // namespace ModuleRegistry
}  // namespace vornix::host
