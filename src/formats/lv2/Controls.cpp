#include "formats/lv2/Controls.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <stdexcept>

namespace vornix::formats::lv2 {

TControls::TControls(const std::vector<TParameterInfo>& parameters) {
  if (parameters.size() != ports_.size()) throw std::logic_error("TControls: one port per parameter");
  for (const TParameterInfo& p : parameters) {
    TPort& port = ports_[static_cast<std::size_t>(p.Index)];
    port.Min = p.Min;
    port.Max = p.Max;
    port.Default = p.Default;
    port.Toggle = p.Kind == TParameterKind::Toggle;
    port.Seen = p.Default;
    data_[static_cast<std::size_t>(p.Index)] = &port.Default;
    bits_[static_cast<std::size_t>(p.Index)] = std::bit_cast<std::uint32_t>(p.Default);
  }
}

float TControls::FromHost(int index, float value) const {
  const TPort& port = ports_[static_cast<std::size_t>(index)];
  if (value != value) return value;
  if (port.Toggle) return value > 0.0f ? port.Max : port.Min;
  // Whole numbers as the module rounds them (halves to the even neighbour).
  return std::nearbyint(std::clamp(value, port.Min, port.Max));
}

float TControls::FromModule(int index, float normalized) const {
  const TPort& port = ports_[static_cast<std::size_t>(index)];
  return std::nearbyint(std::clamp(port.Min + normalized * (port.Max - port.Min), port.Min, port.Max));
}

float TControls::Normalized(int index, float value) const {
  const TPort& port = ports_[static_cast<std::size_t>(index)];
  return port.Max > port.Min ? (value - port.Min) / (port.Max - port.Min) : 0.0f;
}

}  // namespace vornix::formats::lv2
