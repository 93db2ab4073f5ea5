// The CC map: which incoming controller number drives which parameter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vornix::plugin {

// One link. A parameter has at most one controller; a controller may drive several parameters.
struct TMidiCCItem {
  int CC = 0;                 // controller number, 0..127
  std::string ParameterName;  // display name of the parameter, such as "Seq1 CC#"

  friend bool operator==(const TMidiCCItem&, const TMidiCCItem&) = default;
};

// One entry of the "MIDI CC Remove" submenu.
struct TMidiCCRemoveEntry {
  std::string Caption;  // "CC# 7 - Seq1 Steps"
  int Index = 0;        // the item it removes

  friend bool operator==(const TMidiCCRemoveEntry&, const TMidiCCRemoveEntry&) = default;
};

// The links in the order they were made. A plain value: the module edits a copy and publishes it
// whole, so the processing thread can walk its snapshot while the editor changes the next one.
class TMidiCCList {
 public:
  using const_iterator = std::vector<TMidiCCItem>::const_iterator;

  int Count() const noexcept { return static_cast<int>(items_.size()); }
  bool IsEmpty() const noexcept { return items_.empty(); }
  // Raises std::out_of_range for an index outside 0..Count()-1.
  const TMidiCCItem& Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  const_iterator begin() const noexcept { return items_.begin(); }
  const_iterator end() const noexcept { return items_.end(); }

  // Index of the first item whose parameter name equals `name` exactly (case-sensitive), or -1.
  int IndexOfName(std::string_view name) const noexcept;
  // The item for `name`, appended when there is none, gets the controller number.
  const TMidiCCItem& SetCC(std::string_view name, int cc);
  // Removes one item; the later items move up. Raises std::out_of_range for a bad index.
  void Delete(int index);
  void Clear() noexcept { items_.clear(); }

  // Calls f(item) for every item with controller number `cc`, in list order, without allocating.
  template <class F>
  void ForEachWithCC(int cc, F&& f) const {
    for (const auto& item : items_)
      if (item.CC == cc) f(item);
  }

  // The Remove submenu: one entry per item, ordered by the controller number written with at
  // least three digits followed by the parameter name, ignoring letter case; items with equal
  // keys keep their list order.
  std::vector<TMidiCCRemoveEntry> RemoveEntries() const;

  friend bool operator==(const TMidiCCList&, const TMidiCCList&) = default;

 private:
  std::vector<TMidiCCItem> items_;
};

// The value a controller value 0..127 gives a parameter with range min..max:
// min + (max - min) * value / 127.
float RemoteControlValue(float min, float max, int controllerValue) noexcept;

}  // namespace vornix::plugin
