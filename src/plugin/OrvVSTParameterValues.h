// The current value of every host parameter, in the parameter's own units, by index and name.
// The module answers the host's parameter reads from here, on any thread.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace vornix::host {
class TVSTModuleWithPrograms;
}

namespace vornix::plugin {

static_assert(std::atomic<float>::is_always_lock_free, "parameter values are read on every thread without waiting");

class TVSTParameterValue {
 public:
  TVSTParameterValue(int position, std::string name, float defaultValue)
      : Name(std::move(name)), Default(defaultValue), FPosition(position), FValue(defaultValue) {}

  int Position() const { return FPosition; }
  float Value() const { return FValue.load(std::memory_order_relaxed); }
  void SetValue(float v) { FValue.store(v, std::memory_order_relaxed); }
  // Rounded to the nearest integer, halves to even; saturates far outside the int range.
  int ValueAsInteger() const;
  // Copies name, default, tag and value.
  void Assign(const TVSTParameterValue& source);

  std::string Name;
  float Default;
  int Tag = 0;

 private:
  int FPosition;
  std::atomic<float> FValue;
};

class TVSTParameterValues {
 public:
  explicit TVSTParameterValues(host::TVSTModuleWithPrograms& plugin) : FPlugin(plugin) {}

  TVSTParameterValue& Add(const std::string& name, float defaultValue);
  TVSTParameterValue& AddTagged(const std::string& name, int tag, float defaultValue);
  // Throws "TVSTParameterValues.FindByName - No match: <name>".
  int FindByName(const std::string& name) const;
  int Count() const { return static_cast<int>(FItems.size()); }
  TVSTParameterValue& Items(int position) { return *FItems.at(static_cast<std::size_t>(position)); }
  const TVSTParameterValue& Items(int position) const { return *FItems.at(static_cast<std::size_t>(position)); }
  TVSTParameterValue& Items(const std::string& name) { return Items(FindByName(name)); }

  // Puts the default back through the parameter's change handler and tells the host; without
  // force, an entry that already holds its default is left alone.
  void ResetToDefault(int position, bool force);
  // Every default back through its change handler, without telling the host: a load reports the
  // final values itself.
  void ResetAllToDefaults();

 private:
  host::TVSTModuleWithPrograms& FPlugin;
  std::vector<std::unique_ptr<TVSTParameterValue>> FItems;
};

}  // namespace vornix::plugin
