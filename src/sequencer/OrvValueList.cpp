#include "sequencer/OrvValueList.h"

namespace vornix::sequencer {

void TOrvValueListItem::Assign(const TOrvValueListItem& source) {
  Name = source.Name;
  Tag = source.Tag;
}

void TOrvCodedValueListItem::Assign(const TOrvValueListItem& source) {
  TOrvValueListItem::Assign(source);
  if (const auto* coded = dynamic_cast<const TOrvCodedValueListItem*>(&source)) code_ = coded->code_;
}

TOrvValueListItem& TOrvValueList::AddValue(std::string_view name, std::int32_t tag) {
  auto item = NewItem();
  item->Name = std::string(name);
  item->Tag = tag;
  items_.push_back(std::move(item));
  return *items_.back();
}

int TOrvValueList::FindByName(std::string_view name) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->Name == name) return static_cast<int>(i);
  throw std::invalid_argument("TOrvValueList.FindByName - No match: " + std::string(name));
}

int TOrvValueList::FindByTag(std::int32_t tag) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->Tag == tag) return static_cast<int>(i);
  throw std::invalid_argument("TOrvValueList.FindByTag - No match: " + std::to_string(tag));
}

std::unique_ptr<TOrvValueListItem> TOrvValueList::NewItem() const { return std::make_unique<TOrvValueListItem>(); }

}  // namespace vornix::sequencer
