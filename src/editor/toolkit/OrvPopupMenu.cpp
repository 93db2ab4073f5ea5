#include "editor/toolkit/OrvPopupMenu.h"

namespace vornix::editor {

namespace {

void CheckLevel(TMenuItem& level, int value, bool includeParents, TMenuItem& root) {
  for (const auto& item : level.Items()) {
    item->Checked = item->Tag == value;
    if (item->HasSubmenu()) CheckLevel(*item, value, includeParents, root);
    if (item->Checked && includeParents) {
      for (TMenuItem* p = item->Parent(); p != nullptr && p != &root; p = p->Parent()) p->Checked = true;
    }
  }
}

}  // namespace

void TOrvPopupMenu::CheckItemByTag(TMenuItem* level, int value, bool includeParents) {
  CheckLevel(level != nullptr ? *level : Items, value, includeParents, Items);
}

}  // namespace vornix::editor
