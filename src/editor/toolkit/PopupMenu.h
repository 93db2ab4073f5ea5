// A popup menu: a tree of items shown in popup windows of its own, one per open level. Popup and
// DropDown run the menu's own event loop and return when it has closed: an item was chosen (its
// OnClick runs after the menu's windows are gone), or the menu was dismissed by a press outside it
// (which goes no further) or by Escape.
//
// Mouse: the item under the pointer is highlighted, a submenu opens beside its item when the
// pointer rests on it, a release on an enabled item chooses it. Keys: Up and Down move, Right and
// Return open a submenu, Left and Escape close one, Return and Space choose.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "editor/toolkit/MenuItem.h"
#include "gfx/Bitmap.h"
#include "gfx/Font.h"

namespace vornix::editor {

class TControl;
namespace detail {
class TMenuSession;
}

class TPopupMenu {
 public:
  TPopupMenu();
  virtual ~TPopupMenu();
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;

  std::string Name;
  // The top level is Items' items.
  TMenuItem Items;
  // Runs before the menu opens (it may change the items).
  std::function<void(TPopupMenu& sender)> OnPopup;
  // The text of the items; Default items are drawn bold.
  gfx::TFont Font = gfx::TFont::SegoeUI(12);

  // Opens the menu with its top left corner at a screen point (moved to stay on the screen), in the
  // invoker's form. Does nothing when the menu is open already or has no visible item.
  // `closed` runs when the menu's windows are gone, before the chosen item's OnClick (which may even
  // destroy the invoker).
  void Popup(TControl& invoker, int screenX, int screenY, const std::function<void()>& closed = {});
  // Opens the menu below the invoker's lower left corner, at least as wide as the invoker, or above
  // it when the screen has no room below.
  void DropDown(TControl& invoker, const std::function<void()>& closed = {});
  bool IsOpen() const { return session_ != nullptr; }
  // Where an item shows on the screen while the menu is open with its level (automation, tests).
  std::optional<gfx::TRect> ItemScreenRect(const TMenuItem& item) const;
  // The control that opened the menu last.
  TControl* PopupComponent() const { return popupComponent_; }

 protected:
  // Fires OnPopup.
  virtual void DoPopup();

 private:
  void Open(TControl& invoker, const gfx::TRect& anchor, bool dropDown, const std::function<void()>& closed);

  TControl* popupComponent_ = nullptr;
  detail::TMenuSession* session_ = nullptr;
};

}  // namespace vornix::editor
