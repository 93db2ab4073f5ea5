#include "formats/common/ParameterInfo.h"

#include <cctype>
#include <cmath>
#include <stdexcept>

#include "plugin/ParameterTable.h"
#include "plugin/Plugin.h"

namespace vornix::formats {

namespace {

std::string SymbolOf(const std::string& name) {
  std::string symbol;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u) != 0)
      symbol += static_cast<char>(std::tolower(u));
    else if (!symbol.empty() && symbol.back() != '_')
      symbol += '_';
  }
  while (!symbol.empty() && symbol.back() == '_') symbol.pop_back();
  return symbol;  // "CC#" gives "cc"
}

TParameterKind KindOf(int setting) {
  switch (setting) {
    case plugin::kActive:
    case plugin::kSmooth: return TParameterKind::Toggle;
    case plugin::kSteps:
    case plugin::kChannel:
    case plugin::kCC: return TParameterKind::Integer;
    default: return TParameterKind::Choice;
  }
}

}  // namespace

std::vector<TParameterInfo> DescribeParameters(plugin::TVSTPlugin& module) {
  std::vector<TParameterInfo> parameters;
  for (int index = 0; index < plugin::kParameterCount; ++index) {
    const int sequence = plugin::SequenceOf(index), setting = plugin::SettingOf(index);
    TParameterInfo& p = parameters.emplace_back();
    p.Index = index;
    p.Name = plugin::ParameterName(sequence, setting);
    p.Symbol = SymbolOf(p.Name);
    p.Min = plugin::kSettings[static_cast<std::size_t>(setting)].min;
    p.Max = plugin::kSettings[static_cast<std::size_t>(setting)].max;
    p.Default = plugin::ParameterDefault(sequence, setting);
    p.Kind = KindOf(setting);
    if (p.Kind == TParameterKind::Choice) {
      for (int v = static_cast<int>(p.Min); v <= static_cast<int>(p.Max); ++v)
        p.Choices.push_back(module.ValueDisplay(index, static_cast<float>(v)));
    }
  }
  return parameters;
}

std::string ValueText(plugin::TVSTPlugin& module, const TParameterInfo& parameter, float value) {
  return module.ValueDisplay(parameter.Index, value);
}

bool ValueOfText(plugin::TVSTPlugin& module, const TParameterInfo& parameter, const std::string& text, float& value) {
  for (int v = static_cast<int>(parameter.Min); v <= static_cast<int>(parameter.Max); ++v) {
    if (module.ValueDisplay(parameter.Index, static_cast<float>(v)) == text) {
      value = static_cast<float>(v);
      return true;
    }
  }
  return false;
}

}  // namespace vornix::formats
