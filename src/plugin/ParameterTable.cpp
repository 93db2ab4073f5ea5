#include "plugin/ParameterTable.h"

namespace vornix::plugin {

std::string ParameterName(int sequence, int setting) {
  return "Seq" + std::to_string(sequence + 1) + kSettings[static_cast<std::size_t>(setting)].suffix;
}

std::string ParameterShortLabel(int sequence, int setting) {
  static constexpr std::array<const char*, kSettingsPerSequence> kTails = {"",    " St", "",    " CC", " Ra",
                                                                           " Ty", " Or", " Tr", " Sm"};
  const std::string n = std::to_string(sequence + 1);
  if (setting == kActive) return "Active_";
  if (setting == kChannel) return "Seq " + n + " C";
  return "Seq" + n + kTails[static_cast<std::size_t>(setting)];
}

float ParameterDefault(int sequence, int setting) {
  switch (setting) {
    case kActive: return sequence == 0 ? 1.0f : 0.0f;
    case kSteps: return 32.0f;
    case kChannel: return 1.0f;
    case kCC: return static_cast<float>(20 + sequence);
    case kRate: return 5.0f;
    case kRateType: return 1.0f;
    case kSmooth: return 1.0f;
    default: return 0.0f;
  }
}

}  // namespace vornix::plugin
