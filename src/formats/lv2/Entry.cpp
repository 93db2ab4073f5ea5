// The LV2 library's entry point. Nothing thrown inside ever reaches the
// host: a failed instantiation answers null, a failed call does nothing.
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>

#include <cstring>

#include "formats/lv2/Plugin.h"
#include "formats/lv2/Ports.h"

namespace vornix::formats::lv2 {

namespace {

TPlugin& Of(LV2_Handle handle) { return *static_cast<TPlugin*>(handle); }

LV2_Handle Instantiate(const LV2_Descriptor*, double rate, const char*, const LV2_Feature* const* features) {
  try {
    return new TPlugin(rate, features);
  } catch (...) {
    return nullptr;
  }
}

void ConnectPort(LV2_Handle handle, uint32_t port, void* data) { Of(handle).Connect(port, data); }

void Activate(LV2_Handle handle) {
  try {
    Of(handle).Activate();
  } catch (...) {
  }
}

void Run(LV2_Handle handle, uint32_t frames) {
  try {
    Of(handle).Run(frames);
  } catch (...) {
  }
}

void Deactivate(LV2_Handle handle) {
  try {
    Of(handle).Deactivate();
  } catch (...) {
  }
}

void Cleanup(LV2_Handle handle) {
  try {
    delete &Of(handle);
  } catch (...) {
  }
}

LV2_State_Status Save(LV2_Handle handle, LV2_State_Store_Function store, LV2_State_Handle state, uint32_t,
                      const LV2_Feature* const*) {
  try {
    return Of(handle).Save(store, state);
  } catch (...) {
    return LV2_STATE_ERR_UNKNOWN;
  }
}

LV2_State_Status Restore(LV2_Handle handle, LV2_State_Retrieve_Function retrieve, LV2_State_Handle state, uint32_t,
                         const LV2_Feature* const*) {
  try {
    return Of(handle).Restore(retrieve, state);
  } catch (...) {
    return LV2_STATE_ERR_UNKNOWN;
  }
}

const void* ExtensionData(const char* uri) {
  static const LV2_State_Interface state{Save, Restore};
  return std::strcmp(uri, LV2_STATE__interface) == 0 ? &state : nullptr;
}

const LV2_Descriptor kPlugin{kPluginUri, Instantiate, ConnectPort, Activate, Run, Deactivate, Cleanup, ExtensionData};

}  // namespace

}  // namespace vornix::formats::lv2

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &vornix::formats::lv2::kPlugin : nullptr;
}
