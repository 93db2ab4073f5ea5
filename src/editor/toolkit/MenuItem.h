// One entry of a popup menu: a command, a separator (caption "-") or a submenu (an item with items
// of its own). The items of a menu form a tree that owns its entries.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vornix::editor {

// Submenu items carry this tag by default, so that checking items by value never matches them.
constexpr int kSubmenuTag = -999;

class TMenuItem {
 public:
  TMenuItem() = default;
  explicit TMenuItem(std::string caption, int tag = 0) : Caption(std::move(caption)), Tag(tag) {}
  TMenuItem(const TMenuItem&) = delete;
  TMenuItem& operator=(const TMenuItem&) = delete;

  std::string Name;
  std::string Caption;  // "-" makes a separator
  int Tag = 0;
  bool Checked = false;
  bool Default = false;  // drawn bold
  bool Enabled = true;   // a disabled item shows grey and cannot be chosen
  bool Visible = true;
  // Runs when the item was chosen, after the menu has closed.
  std::function<void(TMenuItem& sender)> OnClick;

  bool IsSeparator() const { return Caption == "-"; }
  bool HasSubmenu() const { return !items_.empty(); }

  // The items below this one.
  TMenuItem& Add(std::string caption, int tag = 0, std::function<void(TMenuItem&)> onClick = {});
  TMenuItem& AddSeparator() { return Add("-"); }
  TMenuItem& AddSubmenu(std::string caption, int tag = kSubmenuTag) { return Add(std::move(caption), tag); }
  void Remove(TMenuItem& item);
  void Clear() { items_.clear(); }
  std::size_t Count() const { return items_.size(); }
  TMenuItem& Item(std::size_t index) const { return *items_.at(index); }
  const std::vector<std::unique_ptr<TMenuItem>>& Items() const { return items_; }
  TMenuItem* Parent() const { return parent_; }
  // This item or the first below it with the name, or null.
  TMenuItem* Find(const std::string& name);

  // Runs OnClick (through a copy, so a handler may delete its own item).
  void Click();

 private:
  TMenuItem* parent_ = nullptr;
  std::vector<std::unique_ptr<TMenuItem>> items_;
};

}  // namespace vornix::editor
