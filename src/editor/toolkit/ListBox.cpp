#include "editor/toolkit/ListBox.h"

#include <algorithm>

namespace vornix::editor {

namespace {

constexpr int kScrollBarHeight = 12;
constexpr int kTextInset = 4;

}  // namespace

TListBox::TListBox() {
  SetBounds(0, 0, 121, 97);
  SetCanFocus(true);
}

void TListBox::AddItem(std::string text, int data) {
  items_.push_back({std::move(text), data});
  Invalidate();
}

void TListBox::Clear() {
  items_.clear();
  itemIndex_ = -1;
  firstColumn_ = 0;
  Invalidate();
}

void TListBox::SetItemIndex(int index) {
  index = index < 0 || index >= Count() ? -1 : index;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  if (index >= 0) EnsureVisible(index);
  Invalidate();
}

void TListBox::Select(int index) {
  if (Count() == 0) return;
  index = std::clamp(index, 0, Count() - 1);
  EnsureVisible(index);
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Invalidate();
  Click();  // a selection made with the keys is a click too
}

// ---- layout ----

bool TListBox::HasScrollBar() const {
  const int rows = std::max(1, (Height() - 2) / std::max(ItemHeight, 1));
  const int columns = (Count() + rows - 1) / rows;
  return columns > std::max(Columns, 1);
}

TRect TListBox::ItemsArea() const {
  TRect area = ClientRect().Inflate(-1, -1);
  if (HasScrollBar()) area.Bottom -= kScrollBarHeight;
  return area;
}

TRect TListBox::ScrollBarArea() const {
  if (!HasScrollBar()) return {};
  const TRect inner = ClientRect().Inflate(-1, -1);
  return {inner.Left, inner.Bottom - kScrollBarHeight, inner.Right, inner.Bottom};
}

int TListBox::Rows() const { return std::max(1, ItemsArea().Height() / std::max(ItemHeight, 1)); }

int TListBox::ColumnWidth() const { return std::max(1, ItemsArea().Width() / std::max(Columns, 1)); }

int TListBox::ColumnCount() const { return (Count() + Rows() - 1) / Rows(); }

int TListBox::MaxFirstColumn() const { return std::max(0, ColumnCount() - std::max(Columns, 1)); }

TRect TListBox::ThumbRect() const {
  const TRect track = ScrollBarArea();
  if (track.Empty()) return {};
  const int total = std::max(ColumnCount(), 1);
  const int width = std::max(track.Width() * std::max(Columns, 1) / total, 16);
  const int maxFirst = std::max(MaxFirstColumn(), 1);
  const int left = track.Left + (track.Width() - width) * firstColumn_ / maxFirst;
  return {left, track.Top + 3, left + width, track.Bottom - 3};
}

int TListBox::ItemAt(int x, int y) const {
  const TRect area = ItemsArea();
  if (!area.Contains(x, y)) return -1;
  const int column = firstColumn_ + (x - area.Left) / ColumnWidth();
  const int row = (y - area.Top) / std::max(ItemHeight, 1);
  if (row >= Rows() || column - firstColumn_ >= std::max(Columns, 1)) return -1;
  const int index = column * Rows() + row;
  return index < Count() ? index : -1;
}

TRect TListBox::ItemRect(int index) const {
  const TRect area = ItemsArea();
  const int column = index / Rows() - firstColumn_;
  const int row = index % Rows();
  const int width = ColumnWidth();
  return TRect::FromSize(area.Left + column * width, area.Top + row * ItemHeight, width, ItemHeight);
}

void TListBox::ScrollTo(int column) {
  column = std::clamp(column, 0, MaxFirstColumn());
  if (column == firstColumn_) return;
  firstColumn_ = column;
  Invalidate();
}

void TListBox::EnsureVisible(int index) {
  const int column = index / Rows();
  const int columns = std::max(Columns, 1);
  if (column < firstColumn_) ScrollTo(column);
  if (column >= firstColumn_ + columns) ScrollTo(column - columns + 1);
}

void TListBox::Resized() { ScrollTo(firstColumn_); }

// ---- painting ----

void TListBox::Loaded() {
  if (const gfx::TSkin* skin = Skin()) {
    Colors = {skin->TextBoxBackground, skin->TextBoxText,  skin->ListSelection,
              skin->ListSelectionText, skin->ButtonBorder, skin->MenuSeparator};
  }
}

void TListBox::Paint(gfx::TCanvas& canvas) {
  const TRect r = ClientRect();
  canvas.FillRect(r, Colors.Background);
  canvas.FrameRect(r, Colors.Border);
  const TRect area = ItemsArea();
  const int columns = std::max(Columns, 1);
  const int first = firstColumn_ * Rows();
  const int last = std::min(Count(), (firstColumn_ + columns) * Rows());
  for (int i = first; i < last; ++i) {
    const TRect item = ItemRect(i).Intersect(area);
    if (item.Intersect(canvas.ClipRect()).Empty()) continue;
    const bool selected = i == itemIndex_;
    gfx::TCanvasScope scope(canvas);
    canvas.IntersectClip(item);
    if (OnDrawItem) {
      OnDrawItem(canvas, i, ItemRect(i), selected);
      continue;
    }
    if (selected) canvas.FillRoundRect(item.Inflate(-1, -1), 3, ItemBackground(true));
    gfx::TFont font = Font;
    font.Color = ItemTextColor(selected);
    canvas.DrawText(item.Inflate(-kTextInset, 0), items_[static_cast<std::size_t>(i)].Text, font);
  }
  if (HasScrollBar()) {
    const TRect track = ScrollBarArea();
    canvas.HLine(track.Left, track.Right, track.Top, gfx::MixColors(Colors.Background, Colors.Border, 96));
    canvas.FillRoundRect(ThumbRect(), 3, Colors.ScrollThumb);
  }
}

// ---- input ----

void TListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::Left) {
    const TRect track = ScrollBarArea();
    if (track.Contains(x, y)) {
      const TRect thumb = ThumbRect();
      if (x < thumb.Left) {
        ScrollTo(firstColumn_ - std::max(Columns, 1));
      } else if (x >= thumb.Right) {
        ScrollTo(firstColumn_ + std::max(Columns, 1));
      } else {
        dragOffset_ = x - thumb.Left;
      }
    } else if (const int index = ItemAt(x, y); index >= 0 && index != itemIndex_) {
      itemIndex_ = index;
      Invalidate();
    }
  }
  TControl::MouseDown(button, shift, x, y);
}

void TListBox::MouseMove(TShiftState shift, int x, int y) {
  if (dragOffset_ >= 0 && (shift & platform::ssLeft) != 0) {
    const TRect track = ScrollBarArea();
    const int room = std::max(track.Width() - ThumbRect().Width(), 1);
    const int left = x - dragOffset_ - track.Left;
    ScrollTo((left * MaxFirstColumn() + room / 2) / room);
  }
  TControl::MouseMove(shift, x, y);
}

void TListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::Left) dragOffset_ = -1;
  TControl::MouseUp(button, shift, x, y);
}

bool TListBox::MouseWheel(TShiftState shift, int wheelDelta, TPoint screenPos) {
  if (TControl::MouseWheel(shift, wheelDelta, screenPos)) return true;
  if (!HasScrollBar()) return false;
  ScrollTo(firstColumn_ + (wheelDelta > 0 ? -1 : 1));
  return true;
}

bool TListBox::KeyDown(int key, TShiftState shift) {
  if (Count() == 0) return false;
  const int rows = Rows();
  const int page = rows * std::max(Columns, 1);
  const int at = itemIndex_;
  switch (key) {
    case platform::kKeyUp: Select(at < 0 ? 0 : at - 1); return true;
    case platform::kKeyDown: Select(at < 0 ? 0 : at + 1); return true;
    case platform::kKeyLeft: Select(at < 0 ? 0 : at - rows); return true;
    case platform::kKeyRight: Select(at < 0 ? 0 : std::min(at + rows, Count() - 1)); return true;
    case platform::kKeyHome: Select(0); return true;
    case platform::kKeyEnd: Select(Count() - 1); return true;
    case platform::kKeyPageUp: Select(at - page); return true;
    case platform::kKeyPageDown: Select(at + page); return true;
    default: return TControl::KeyDown(key, shift);
  }
}

}  // namespace vornix::editor
