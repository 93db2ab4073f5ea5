// The 72 settings as LV2 control ports, in parameter units (Steps 1..64, Rate 0..12). A value the
// host writes counts only when it differs from the last one seen in that port: a port the host
// leaves alone never undoes what the editor or a mapped controller changed in the module.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "formats/common/ParameterInfo.h"
#include "plugin/ParameterTable.h"

namespace vornix::formats::lv2 {

class TControls {
 public:
  // The ports are taken to show the defaults, as hosts start them.
  explicit TControls(const std::vector<TParameterInfo>& parameters);

  // A port the host has not connected (null) reads as its default.
  void Connect(int index, const float* port) {
    const auto i = static_cast<std::size_t>(index);
    data_[i] = port != nullptr ? port : &ports_[i].Default;
  }

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
    // Most blocks move no port: one pass without branches over the ports' bits as they were last
    // read says so.
    std::uint32_t moved = 0;
    for (std::size_t i = 0; i < data_.size(); ++i) moved |= std::bit_cast<std::uint32_t>(*data_[i]) ^ bits_[i];
    if (moved == 0) return;
    for (std::size_t i = 0; i < data_.size(); ++i) {
      const auto bits = std::bit_cast<std::uint32_t>(*data_[i]);
      if (bits == bits_[i]) continue;
      bits_[i] = bits;
      TPort& port = ports_[i];
      const float value = FromHost(static_cast<int>(i), std::bit_cast<float>(bits));
      if (value != value || value == port.Seen) continue;
      port.Seen = value;
      take(static_cast<int>(i), value);
    }
  }
  // The value last seen in a port.
  float Seen(int index) const { return ports_[static_cast<std::size_t>(index)].Seen; }

 private:
  struct TPort {
    float Min = 0, Max = 1, Default = 0;
    bool Toggle = false;
    float Seen = 0;
  };
  std::array<TPort, plugin::kParameterCount> ports_;
  // Read at every block, so kept apart: each port's buffer and its value when last read.
  std::array<const float*, plugin::kParameterCount> data_{};
  std::array<std::uint32_t, plugin::kParameterCount> bits_{};
};

}  // namespace vornix::formats::lv2
