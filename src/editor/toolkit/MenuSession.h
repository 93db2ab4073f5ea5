// The open state of a popup menu: one popup form per open level and the loop that runs until an
// item is chosen or the menu is dismissed. Used by TPopupMenu only.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "editor/toolkit/Form.h"
#include "editor/toolkit/MenuItem.h"

namespace vornix::editor {

class TPopupMenu;

namespace detail {

class TMenuSession;

struct TMenuColors {
  TColor Background, Text, Highlight, HighlightText, Separator, Disabled, Border;
};
TMenuColors MenuColors(const gfx::TSkin* skin);

// One level of an open menu in a popup window.
class TMenuForm final : public TForm {
 public:
  TMenuForm(TMenuSession& session, TMenuItem& level, int depth);

  TMenuItem& Level() const { return level_; }
  int Depth() const { return depth_; }
  // The size the level needs (at least minWidth wide).
  TPoint Measure(int minWidth) const;
  // Index into Level's items of the item at a client point's row, or -1 (separators too: -1).
  int ItemAt(int y) const;
  TRect ItemRect(int index) const;  // client coordinates
  int Highlighted() const { return highlight_; }
  void SetHighlight(int index);
  // The next selectable item after (or before) the highlighted one, wrapping around.
  int NextItem(int from, int step) const;

 protected:
  void Paint(gfx::TCanvas& canvas) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  bool KeyDown(int key, TShiftState shift) override;

 private:
  struct TRow {
    int Index;  // into Level's items
    int Top, Bottom;
  };
  void Layout();

  TMenuSession& session_;
  TMenuItem& level_;
  int depth_;
  TMenuColors colors_;
  std::vector<TRow> rows_;
  int highlight_ = -1;
};

class TMenuSession {
 public:
  TMenuSession(TPopupMenu& menu, TForm& owner);
  ~TMenuSession();

  // Shows the top level at the anchor (below it for a drop-down, else at its top left corner)
  // and runs until the menu closes; returns the chosen item or null.
  TMenuItem* Run(const TRect& anchor, bool dropDown);

  TPopupMenu& Menu() const { return menu_; }
  const gfx::TSkin* Skin() const { return owner_.Skin(); }
  // The menus show at the owner's zoom.
  gfx::TScale Scale() const { return owner_.Scale(); }
  platform::TWindowSystem& OwnerSystem() const;

  std::optional<TRect> ItemScreenRect(const TMenuItem& item) const;

  // What the level forms report.
  void Hovered(TMenuForm& form, int index);
  void Pressed(TMenuForm& form, int index);
  void Released(TMenuForm& form, int index);
  void Left(TMenuForm& form);
  bool Key(int key);
  void OutsidePress(TMenuForm& form, const platform::TEvent& press);

 private:
  void OpenSubmenu(std::size_t level, int index, bool highlightFirst);
  // Closes every level above `level`, or every level.
  void CloseAbove(std::size_t level, bool all);
  void Choose(TMenuItem& item);
  // Where a level of `size` logical pixels goes on the screen, by an anchor on the screen.
  TRect Place(TPoint size, const TRect& anchor, bool dropDown, bool beside) const;

  TPopupMenu& menu_;
  TForm& owner_;
  std::vector<std::unique_ptr<TMenuForm>> levels_;
  // Closed levels wait here until no handler of theirs runs any more.
  std::vector<std::unique_ptr<TMenuForm>> closed_;
  TMenuItem* chosen_ = nullptr;
  bool done_ = false;
};

}  // namespace detail
}  // namespace vornix::editor
