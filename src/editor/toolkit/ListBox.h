// A list of items of one height, laid out in columns like a multi-column list box: the items run
// down the first column, then down the next; when there are more columns than fit, a scroll bar
// along the bottom moves the view by whole columns. One item is selected (ItemIndex) by a click or
// with the keys (Up, Down, Left and Right by a column, Home, End, Page Up and Page Down).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/toolkit/Control.h"
#include "gfx/Font.h"

namespace vornix::editor {

struct TListItem {
  std::string Text;
  int Data = 0;
};

struct TListColors {
  TColor Background = gfx::kWhite;
  TColor Text = gfx::Rgb(20, 20, 20);
  TColor Selection = gfx::Rgb(0, 103, 192);
  TColor SelectionText = gfx::kWhite;
  TColor Border = gfx::Rgb(172, 172, 172);
  TColor ScrollThumb = gfx::Rgb(190, 190, 190);
};

class TListBox : public TControl {
 public:
  TListBox();

  void AddItem(std::string text, int data = 0);
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  const TListItem& Item(int index) const { return items_.at(static_cast<std::size_t>(index)); }

  // -1: nothing selected. Setting it scrolls the item into view; it does not fire OnClick.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);

  int ItemHeight = 20;
  int Columns = 1;
  gfx::TFont Font = gfx::TFont::SegoeUI(12);
  TListColors Colors;

  // Draws one item instead of the default (its background and its text 4 pixels in from the sides);
  // the rectangle is in the list's client coordinates and the canvas is clipped to it.
  std::function<void(gfx::TCanvas& canvas, int index, const TRect& rect, bool selected)> OnDrawItem;
  // The colours the default drawing uses, for owner drawing.
  TColor ItemBackground(bool selected) const { return selected ? Colors.Selection : Colors.Background; }
  TColor ItemTextColor(bool selected) const { return selected ? Colors.SelectionText : Colors.Text; }

  // The item at a client point, or -1.
  int ItemAt(int x, int y) const;
  TRect ItemRect(int index) const;  // client coordinates, for the current scroll position
  int TopColumn() const { return firstColumn_; }
  bool HasScrollBar() const;

  void Loaded() override;
  void Paint(gfx::TCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  bool MouseWheel(TShiftState shift, int wheelDelta, TPoint screenPos) override;
  bool KeyDown(int key, TShiftState shift) override;

 protected:
  void Resized() override;

 private:
  TRect ItemsArea() const;
  TRect ScrollBarArea() const;
  TRect ThumbRect() const;
  int Rows() const;
  int ColumnWidth() const;
  int ColumnCount() const;  // columns the items need
  int MaxFirstColumn() const;
  void ScrollTo(int column);
  void EnsureVisible(int index);
  void Select(int index);  // by the user: fires OnClick when it changed

  std::vector<TListItem> items_;
  int itemIndex_ = -1;
  int firstColumn_ = 0;
  int dragOffset_ = -1;  // dragging the thumb: the press's distance from the thumb's left edge
};

}  // namespace vornix::editor
