#include "editor/toolkit/MenuItem.h"

#include <algorithm>
#include <stdexcept>

namespace vornix::editor {

TMenuItem& TMenuItem::Add(std::string caption, int tag, std::function<void(TMenuItem&)> onClick) {
  auto item = std::make_unique<TMenuItem>(std::move(caption), tag);
  item->OnClick = std::move(onClick);
  item->parent_ = this;
  items_.push_back(std::move(item));
  return *items_.back();
}

void TMenuItem::Remove(TMenuItem& item) {
  const auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& i) { return i.get() == &item; });
  if (it == items_.end()) throw std::invalid_argument("TMenuItem::Remove: not an item of this menu item");
  items_.erase(it);
}

TMenuItem* TMenuItem::Find(const std::string& name) {
  if (Name == name) return this;
  for (const auto& item : items_) {
    if (TMenuItem* found = item->Find(name)) return found;
  }
  return nullptr;
}

void TMenuItem::Click() {
  if (!OnClick) return;
  const auto handler = OnClick;
  handler(*this);
}

}  // namespace vornix::editor
