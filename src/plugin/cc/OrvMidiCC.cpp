#include "plugin/cc/OrvMidiCC.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace vornix::plugin {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool LessIgnoringCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(LowerAscii(x)) < static_cast<unsigned char>(LowerAscii(y));
  });
}

// The controller number with at least three digits: 7 gives "007", -5 gives "-005".
std::string ThreeDigits(int cc) {
  char text[16];
  std::snprintf(text, sizeof text, "%.3d", cc);
  return text;
}

}  // namespace

int TMidiCCList::IndexOfName(std::string_view name) const noexcept {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].ParameterName == name) return static_cast<int>(i);
  return -1;
}

const TMidiCCItem& TMidiCCList::SetCC(std::string_view name, int cc) {
  const int index = IndexOfName(name);
  TMidiCCItem& item =
      index >= 0 ? items_[static_cast<std::size_t>(index)] : items_.emplace_back(TMidiCCItem{0, std::string(name)});
  item.CC = cc;
  return item;
}

void TMidiCCList::Delete(int index) {
  if (index < 0 || index >= Count()) throw std::out_of_range("TMidiCCList.Delete - index out of range");
  items_.erase(items_.begin() + index);
}

std::vector<TMidiCCRemoveEntry> TMidiCCList::RemoveEntries() const {
  struct TKeyed {
    std::string Key;
    int Index;
  };
  std::vector<TKeyed> keyed;
  keyed.reserve(items_.size());
  for (std::size_t i = 0; i < items_.size(); ++i)
    keyed.push_back({ThreeDigits(items_[i].CC) + items_[i].ParameterName, static_cast<int>(i)});
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const TKeyed& a, const TKeyed& b) { return LessIgnoringCase(a.Key, b.Key); });

  std::vector<TMidiCCRemoveEntry> entries;
  entries.reserve(keyed.size());
  for (const auto& k : keyed) {
    const auto& item = items_[static_cast<std::size_t>(k.Index)];
    entries.push_back({"CC# " + std::to_string(item.CC) + " - " + item.ParameterName, k.Index});
  }
  return entries;
}

float RemoteControlValue(float min, float max, int controllerValue) noexcept {
  return static_cast<float>(static_cast<double>(min) +
                            (static_cast<double>(max) - static_cast<double>(min)) * controllerValue / 127.0);
}

}  // namespace vornix::plugin
