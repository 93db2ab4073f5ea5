#include "plugin/OrvVSTParameterValues.h"

#include <stdexcept>

#include "host/VSTModuleWithPrograms.h"
#include "sequencer/Rounding.h"

namespace vornix::plugin {

int TVSTParameterValue::ValueAsInteger() const {
  const double v = Value();
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(sequencer::RoundHalfEven(v));
}

void TVSTParameterValue::Assign(const TVSTParameterValue& source) {
  Name = source.Name;
  Default = source.Default;
  Tag = source.Tag;
  SetValue(source.Value());
}

TVSTParameterValue& TVSTParameterValues::Add(const std::string& name, float defaultValue) {
  FItems.push_back(std::make_unique<TVSTParameterValue>(Count(), name, defaultValue));
  return *FItems.back();
}

TVSTParameterValue& TVSTParameterValues::AddTagged(const std::string& name, int tag, float defaultValue) {
  TVSTParameterValue& entry = Add(name, defaultValue);
  entry.Tag = tag;
  return entry;
}

int TVSTParameterValues::FindByName(const std::string& name) const {
  for (std::size_t i = 0; i < FItems.size(); ++i) {
    if (FItems[i]->Name == name) return static_cast<int>(i);
  }
  throw std::runtime_error("TVSTParameterValues.FindByName - No match: " + name);
}

void TVSTParameterValues::ResetToDefault(int position, bool force) {
  TVSTParameterValue& entry = Items(position);
  if (!force && entry.Value() == entry.Default) return;
  entry.SetValue(entry.Default);
  FPlugin.SetParameter(position, FPlugin.GetParameter(position));
}

void TVSTParameterValues::ResetAllToDefaults() {
  for (int i = 0; i < Count(); ++i) {
    TVSTParameterValue& entry = Items(i);
    entry.SetValue(entry.Default);
    FPlugin.ApplyParameter(i, entry.Default);
  }
}

}  // namespace vornix::plugin
