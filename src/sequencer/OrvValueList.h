// Named value lists: each choice of a list-valued setting has a display name, the tag the host
// parameter carries, and (in the concrete lists) the code the sequence model stores.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vornix::sequencer {

class TOrvValueListItem {
 public:
  TOrvValueListItem() = default;
  virtual ~TOrvValueListItem() = default;
  TOrvValueListItem(const TOrvValueListItem&) = delete;
  TOrvValueListItem& operator=(const TOrvValueListItem&) = delete;

  // Copies the name, the tag and, in the concrete item classes, the code.
  virtual void Assign(const TOrvValueListItem& source);

  std::string Name;
  std::int32_t Tag = 0;
};

class TOrvValueList {
 public:
  TOrvValueList() = default;
  virtual ~TOrvValueList() = default;
  TOrvValueList(const TOrvValueList&) = delete;
  TOrvValueList& operator=(const TOrvValueList&) = delete;

  TOrvValueListItem& AddValue(std::string_view name, std::int32_t tag);
  // Position of the first item with exactly this name; throws "TOrvValueList.FindByName - No match: <name>".
  int FindByName(std::string_view name) const;
  // Position of the first item with this tag; throws "TOrvValueList.FindByTag - No match: <tag>".
  int FindByTag(std::int32_t tag) const;

  int Count() const { return static_cast<int>(items_.size()); }
  // Throws std::out_of_range for a position outside the list.
  TOrvValueListItem& Items(int position) { return *items_.at(static_cast<std::size_t>(position)); }
  const TOrvValueListItem& Items(int position) const { return *items_.at(static_cast<std::size_t>(position)); }
  TOrvValueListItem& Items(std::string_view name) { return Items(FindByName(name)); }
  const TOrvValueListItem& Items(std::string_view name) const { return Items(FindByName(name)); }

 protected:
  // The item class of the list.
  virtual std::unique_ptr<TOrvValueListItem> NewItem() const;

 private:
  std::vector<std::unique_ptr<TOrvValueListItem>> items_;
};

// A list whose items carry one code byte; TItem derives from TOrvValueListItem and has a Code().
template <class TItem>
class TOrvCodedValueList : public TOrvValueList {
 public:
  TItem& AddItem(std::string_view name, std::int32_t tag, std::uint8_t code) {
    auto& item = static_cast<TItem&>(AddValue(name, tag));
    item.Code() = code;
    return item;
  }
  TItem& Items(int position) { return static_cast<TItem&>(TOrvValueList::Items(position)); }
  const TItem& Items(int position) const { return static_cast<const TItem&>(TOrvValueList::Items(position)); }
  TItem& Items(std::string_view name) { return static_cast<TItem&>(TOrvValueList::Items(name)); }
  const TItem& Items(std::string_view name) const { return static_cast<const TItem&>(TOrvValueList::Items(name)); }

 protected:
  std::unique_ptr<TOrvValueListItem> NewItem() const override { return std::make_unique<TItem>(); }
};

// Base of the concrete item classes: one code byte, copied by Assign.
class TOrvCodedValueListItem : public TOrvValueListItem {
 public:
  void Assign(const TOrvValueListItem& source) override;
  std::uint8_t& Code() { return code_; }
  std::uint8_t Code() const { return code_; }

 private:
  std::uint8_t code_ = 0;
};

}  // namespace vornix::sequencer
