// The editor's popup menu: the toolkit's menu with checking by value.
#pragma once

#include "editor/toolkit/PopupMenu.h"

namespace vornix::editor {

class TOrvPopupMenu : public TPopupMenu {
 public:
  // Checks the items of `level` (the whole menu when null) whose tag is `value` and unchecks every
  // other item there, submenus included. With includeParents every submenu item that encloses a
  // checked item is checked too (submenu items carry kSubmenuTag, so they match through a child
  // only).
  void CheckItemByTag(TMenuItem* level, int value, bool includeParents);
};

}  // namespace vornix::editor
