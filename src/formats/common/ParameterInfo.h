// The 72 settings as formats other than VST 2.x describe their parameters: in parameter units
// (Steps 1..64, Rate 0..12), with their kind, default and the texts of a list's values, all taken
// from the module so that every format names and shows them as the VST 2.x build does.
#pragma once

#include <string>
#include <vector>

namespace vornix::plugin {
class TVSTPlugin;
}

namespace vornix::formats {

enum class TParameterKind { Toggle, Integer, Choice };

struct TParameterInfo {
  int Index = 0;       // the VST 2.x parameter index, which every format keeps as its id
  std::string Name;    // "Seq3 Rate Type"
  std::string Symbol;  // "seq3_rate_type": letters, digits and underscores
  float Min = 0, Max = 1, Default = 0;
  TParameterKind Kind = TParameterKind::Integer;
  std::vector<std::string> Choices;  // Choice: the text of each value from Min to Max

  float Normalized(float value) const { return Max > Min ? (value - Min) / (Max - Min) : 0.0f; }
  float Value(float normalized) const { return Min + normalized * (Max - Min); }
};

std::vector<TParameterInfo> DescribeParameters(plugin::TVSTPlugin& module);

// The text a value (in parameter units) shows, as the VST 2.x build shows it.
std::string ValueText(plugin::TVSTPlugin& module, const TParameterInfo& parameter, float value);
// The value a text stands for ("1/16", "On", "12"), or false when it names none.
bool ValueOfText(plugin::TVSTPlugin& module, const TParameterInfo& parameter, const std::string& text, float& value);

}  // namespace vornix::formats
