#include "plugin/Plugin.h"

#include "plugin/ParameterTable.h"

namespace vornix::plugin {

TVSTPlugin::TVSTPlugin() {
  DeclareValues([this] {
    SetEffectName("Vornix");
    SetProductName("Vornix");
    SetUniqueID("ov03");
    for (int s = 0; s < kSequenceCount; ++s) {
      for (int k = 0; k < kSettingsPerSequence; ++k) {
        auto& p = AddParameter();
        p.SetDisplayName(ParameterName(s, k));
        p.SetShortLabel(ParameterShortLabel(s, k));
        p.Min = kSettings[static_cast<std::size_t>(k)].min;
        p.Max = kSettings[static_cast<std::size_t>(k)].max;
        p.MinInteger = static_cast<int>(p.Min);
        p.MaxInteger = static_cast<int>(p.Max);
        p.StepFloat = 1.0f;
        p.SmallStepFloat = 0.5f;
        p.LargeStepFloat = 1.0f;
        p.LargeStepInteger = 1;
      }
    }
  });
}

}  // namespace vornix::plugin
