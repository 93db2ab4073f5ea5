// The 72 settings as LV2 control ports, in parameter units (Steps 1..64, Rate 0..12). A value the
// host writes counts only when it differs from the last one seen in that port: a port the host
// leaves alone never undoes what the editor or a mapped controller changed in the module.
#pragma once

#include <array>
#include <vector>

#include "formats/common/ParameterInfo.h"
#include "plugin/ParameterTable.h"

namespace vornix::formats::lv2 {

class TControls {
 public:
  // The ports are taken to show the defaults, as hosts start them.
  explicit TControls(const std::vector<TParameterInfo>& parameters);

  void Connect(int index, const float* port) { ports_[static_cast<std::size_t>(index)].Data = port; }

  // A host's port value as the module takes it: within the range, a whole number, a toggle on
  // above 0. NaN stays NaN.
  float FromHost(int index, float value) const;
  // A module's normalized value as a port shows it.
  float FromModule(int index, float normalized) const;
  float Normalized(int index, float value) const;
  float Default(int index) const { return ports_[static_cast<std::size_t>(index)].Default; }

  // Processing thread: `take(index, value)` for each connected port whose value changed since the
  // last call.
  template <typename Take>
  void TakeChanges(Take&& take) {
    for (int i = 0; i < plugin::kParameterCount; ++i) {
      TPort& port = ports_[static_cast<std::size_t>(i)];
      if (port.Data == nullptr) continue;
      const float value = FromHost(i, *port.Data);
      if (value != value || value == port.Seen) continue;
      port.Seen = value;
      take(i, value);
    }
  }
  // The value last seen in a port.
  float Seen(int index) const { return ports_[static_cast<std::size_t>(index)].Seen; }

 private:
  struct TPort {
    float Min = 0, Max = 1, Default = 0;
    bool Toggle = false;
    const float* Data = nullptr;
    float Seen = 0;
  };
  std::array<TPort, plugin::kParameterCount> ports_;
};

}  // namespace vornix::formats::lv2
