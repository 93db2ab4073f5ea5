// The LV2 library's entry points: the plug-in and its UI. Nothing thrown inside ever reaches the
// host: a failed instantiation answers null, a failed call does nothing.
#include <lv2/core/lv2.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/state/state.h>
#include <lv2/ui/ui.h>

#include <cstring>

#include "formats/lv2/Plugin.h"
#include "formats/lv2/Ports.h"
#include "formats/lv2/Ui.h"

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

const void* Feature(const LV2_Feature* const* features, const char* uri) {
  for (auto f = features; f != nullptr && *f != nullptr; ++f)
    if (std::strcmp((*f)->URI, uri) == 0) return (*f)->data;
  return nullptr;
}

// The editor is the module's own: without instance access (a host that runs UIs in a process of
// their own) there is none, and the host shows its generic controls instead.
LV2UI_Handle InstantiateUi(const LV2UI_Descriptor*, const char* pluginUri, const char*, LV2UI_Write_Function write,
                           LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features) {
  try {
    auto* plugin = static_cast<TPlugin*>(const_cast<void*>(Feature(features, LV2_INSTANCE_ACCESS_URI)));
    void* parent = const_cast<void*>(Feature(features, LV2_UI__parent));
    if (pluginUri == nullptr || std::strcmp(pluginUri, kPluginUri) != 0 || plugin == nullptr || parent == nullptr ||
        write == nullptr || widget == nullptr)
      return nullptr;
    auto* ui =
        new TUi(*plugin, parent, write, controller, static_cast<const LV2UI_Touch*>(Feature(features, LV2_UI__touch)),
                static_cast<const LV2UI_Resize*>(Feature(features, LV2_UI__resize)));
    *widget = ui->Widget();
    return ui;
  } catch (...) {
    return nullptr;
  }
}

void CleanupUi(LV2UI_Handle handle) {
  try {
    delete static_cast<TUi*>(handle);
  } catch (...) {
  }
}

// The editor reads the module itself: port values need no forwarding.
void PortEvent(LV2UI_Handle, uint32_t, uint32_t, uint32_t, const void*) {}

int Idle(LV2UI_Handle handle) {
  try {
    static_cast<TUi*>(handle)->Idle();
  } catch (...) {
  }
  return 0;
}

const void* UiExtensionData(const char* uri) {
  static const LV2UI_Idle_Interface idle{Idle};
  return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &idle : nullptr;
}

const LV2UI_Descriptor kUi{kUiUri, InstantiateUi, CleanupUi, PortEvent, UiExtensionData};

}  // namespace

}  // namespace vornix::formats::lv2

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &vornix::formats::lv2::kPlugin : nullptr;
}

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
  return index == 0 ? &vornix::formats::lv2::kUi : nullptr;
}
