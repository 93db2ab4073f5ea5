#include "editor/toolkit/MenuSession.h"

#include <algorithm>

#include "editor/toolkit/PopupMenu.h"

namespace vornix::editor::detail {

namespace {

constexpr int kBorder = 1;
constexpr int kPad = 4;         // above the first and below the last row
constexpr int kGutter = 30;     // the check mark's column, left of the captions
constexpr int kArrowArea = 30;  // right of the captions: the submenu arrow
constexpr int kSeparatorHeight = 9;
constexpr int kMinWidth = 120;
constexpr int kSubmenuOverlap = 2;

int RowHeight(const gfx::TFont& font, gfx::TScale scale) { return std::max(22, scale.LineHeight(font) + 6); }

gfx::TFont ItemFont(const gfx::TFont& font, const TMenuItem& item) {
  gfx::TFont f = font;
  f.Bold = f.Bold || item.Default;
  return f;
}

// A small right-pointing triangle with its tip at (x + 3, cy).
void DrawSubmenuArrow(gfx::TCanvas& canvas, int x, int cy, TColor c) {
  canvas.FillArrow({x, cy - 3, x + 4, cy + 4}, gfx::TArrowDirection::Right, c);
}

}  // namespace

TMenuColors MenuColors(const gfx::TSkin* skin) {
  if (skin != nullptr) {
    return {skin->MenuBackground, skin->MenuText,         skin->MenuHighlight, skin->MenuHighlightText,
            skin->MenuSeparator,  skin->MenuTextDisabled, skin->ButtonBorder};
  }
  return {gfx::Rgb(250, 250, 250), gfx::Rgb(20, 20, 20),    gfx::Rgb(0, 103, 192),  gfx::kWhite,
          gfx::Rgb(218, 218, 218), gfx::Rgb(160, 160, 160), gfx::Rgb(160, 160, 160)};
}

// ---- TMenuForm ----

TMenuForm::TMenuForm(TMenuSession& session, TMenuItem& level, int depth)
    : TForm(session.OwnerSystem(), session.Skin()),
      session_(session),
      level_(level),
      depth_(depth),
      colors_(MenuColors(session.Skin())) {
  SetScale(session.Scale());
  Layout();
  OnOutsidePress = [this](TForm&, const platform::TEvent& press) { session_.OutsidePress(*this, press); };
}

// Rows for the visible items; separators that would stand first, last or next to another go.
void TMenuForm::Layout() {
  rows_.clear();
  const int itemHeight = RowHeight(session_.Menu().Font, Scale());
  int y = kBorder + kPad;
  bool separatorPending = false;
  for (std::size_t i = 0; i < level_.Count(); ++i) {
    const TMenuItem& item = level_.Item(i);
    if (!item.Visible) continue;
    if (item.IsSeparator()) {
      separatorPending = !rows_.empty();
      continue;
    }
    if (separatorPending) {
      rows_.push_back({-1, y, y + kSeparatorHeight});
      y += kSeparatorHeight;
      separatorPending = false;
    }
    rows_.push_back({static_cast<int>(i), y, y + itemHeight});
    y += itemHeight;
  }
}

TPoint TMenuForm::Measure(int minWidth) const {
  int textWidth = 0;
  for (const TRow& row : rows_) {
    if (row.Index < 0) continue;
    const TMenuItem& item = level_.Item(static_cast<std::size_t>(row.Index));
    textWidth = std::max(textWidth, Scale().TextWidth(ItemFont(session_.Menu().Font, item), item.Caption));
  }
  const int width = std::max({minWidth, kMinWidth, 2 * kBorder + kGutter + textWidth + kArrowArea});
  const int height = (rows_.empty() ? kBorder + kPad : rows_.back().Bottom) + kPad + kBorder;
  return {width, height};
}

int TMenuForm::ItemAt(int y) const {
  for (const TRow& row : rows_) {
    if (y >= row.Top && y < row.Bottom) return row.Index;
  }
  return -1;
}

TRect TMenuForm::ItemRect(int index) const {
  for (const TRow& row : rows_) {
    if (row.Index == index) return {kBorder, row.Top, Width() - kBorder, row.Bottom};
  }
  return {};
}

void TMenuForm::SetHighlight(int index) {
  if (index == highlight_) return;
  if (highlight_ >= 0) InvalidateRect(ItemRect(highlight_));
  highlight_ = index;
  if (highlight_ >= 0) InvalidateRect(ItemRect(highlight_));
}

int TMenuForm::NextItem(int from, int step) const {
  std::vector<int> items;
  for (const TRow& row : rows_) {
    if (row.Index >= 0) items.push_back(row.Index);
  }
  if (items.empty()) return -1;
  const auto it = std::find(items.begin(), items.end(), from);
  if (it == items.end()) return step > 0 ? items.front() : items.back();
  const auto n = static_cast<int>(items.size());
  const int pos = static_cast<int>(it - items.begin());
  return items[static_cast<std::size_t>((pos + step % n + n) % n)];
}

void TMenuForm::Paint(gfx::TCanvas& canvas) {
  canvas.FillRect(ClientRect(), colors_.Background);
  canvas.FrameRect(ClientRect(), colors_.Border);
  for (const TRow& row : rows_) {
    if (row.Index < 0) {
      canvas.HLine(kBorder + 8, Width() - kBorder - 8, (row.Top + row.Bottom) / 2, colors_.Separator);
      continue;
    }
    const TMenuItem& item = level_.Item(static_cast<std::size_t>(row.Index));
    const bool lit = row.Index == highlight_;
    const TColor text = !item.Enabled ? colors_.Disabled : lit ? colors_.HighlightText : colors_.Text;
    if (lit) {
      const TColor fill = item.Enabled ? colors_.Highlight : gfx::MixColors(colors_.Background, colors_.Separator, 128);
      canvas.FillRoundRect({kBorder + 3, row.Top, Width() - kBorder - 3, row.Bottom}, 3, fill);
    }
    const int cy = (row.Top + row.Bottom) / 2;
    if (item.Checked) canvas.DrawCheckMark({kBorder + 10, cy - 6, kBorder + 22, cy + 6}, text);
    gfx::TFont font = ItemFont(session_.Menu().Font, item);
    font.Color = text;
    canvas.DrawText({kBorder + kGutter, row.Top, Width() - kBorder - kArrowArea, row.Bottom}, item.Caption, font);
    if (item.HasSubmenu()) DrawSubmenuArrow(canvas, Width() - kBorder - 16, cy, text);
  }
}

void TMenuForm::MouseMove(TShiftState, int, int y) { session_.Hovered(*this, ItemAt(y)); }

void TMenuForm::MouseDown(TMouseButton, TShiftState, int, int y) { session_.Pressed(*this, ItemAt(y)); }

void TMenuForm::MouseUp(TMouseButton, TShiftState, int x, int y) {
  if (ClientRect().Contains(x, y)) session_.Released(*this, ItemAt(y));
}

void TMenuForm::MouseLeave() { session_.Left(*this); }

bool TMenuForm::KeyDown(int key, TShiftState) { return session_.Key(key); }

// ---- TMenuSession ----

TMenuSession::TMenuSession(TPopupMenu& menu, TForm& owner) : menu_(menu), owner_(owner) {}

TMenuSession::~TMenuSession() { CloseAbove(0, true); }

platform::TWindowSystem& TMenuSession::OwnerSystem() const { return owner_.WindowSystem(); }

TMenuItem* TMenuSession::Run(const TRect& anchor, bool dropDown) {
  auto top = std::make_unique<TMenuForm>(*this, menu_.Items, 0);
  const TPoint size = top->Measure(dropDown ? Scale().CeilLogical(anchor.Width()) : 0);
  const TRect r = Place(size, anchor, dropDown, false);
  top->SetBounds(r.Left, r.Top, size.X, size.Y);
  levels_.push_back(std::move(top));
  levels_[0]->ShowPopup(owner_);
  if (platform::TWindow* window = levels_[0]->Window()) window->TakeFocus();
  // Keys that still reach the owner (the popup could not take the focus yet) steer the menu.
  struct THook {
    TForm& owner;
    std::function<bool(TForm&, const platform::TEvent&)> previous;
    ~THook() { owner.OnWindowEvent = std::move(previous); }
  } hook{owner_, owner_.OnWindowEvent};
  owner_.OnWindowEvent = [this, previous = hook.previous](TForm& form, const platform::TEvent& event) {
    if (event.Kind == platform::TEventKind::KeyDown) return Key(event.Key);
    return previous ? previous(form, event) : false;
  };
  owner_.WindowSystem().RunModal([this] {
    closed_.clear();
    return done_;
  });
  CloseAbove(0, true);
  closed_.clear();
  return chosen_;
}

std::optional<TRect> TMenuSession::ItemScreenRect(const TMenuItem& item) const {
  for (const auto& level : levels_) {
    if (&level->Level() != item.Parent()) continue;
    const auto& items = level->Level().Items();
    const auto it = std::find_if(items.begin(), items.end(), [&](const auto& i) { return i.get() == &item; });
    const TRect r = level->ItemRect(static_cast<int>(it - items.begin()));
    if (r.Empty()) return std::nullopt;
    const TPoint topLeft = level->ClientToScreen({r.Left, r.Top});
    const TPoint bottomRight = level->ClientToScreen({r.Right, r.Bottom});
    return TRect{topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y};
  }
  return std::nullopt;
}

TRect TMenuSession::Place(TPoint size, const TRect& anchor, bool dropDown, bool beside) const {
  const TRect screen = owner_.WindowSystem().ScreenBounds();
  const gfx::TScale scale = Scale();
  const int w = scale.Px(size.X);
  const int h = scale.Px(size.Y);
  int x = anchor.Left;
  int y = anchor.Top;
  if (dropDown) {
    y = anchor.Bottom;
    if (y + h > screen.Bottom && anchor.Top - h >= screen.Top) y = anchor.Top - h;
  } else if (beside) {
    x = anchor.Right - scale.Px(kSubmenuOverlap);
    if (x + w > screen.Right) x = anchor.Left - w + scale.Px(kSubmenuOverlap);
    y = anchor.Top - scale.Px(kBorder + kPad);
  } else {
    if (x + w > screen.Right && x - w >= screen.Left) x -= w;
    if (y + h > screen.Bottom && y - h >= screen.Top) y -= h;
  }
  x = std::clamp(x, screen.Left, std::max(screen.Left, screen.Right - w));
  y = std::clamp(y, screen.Top, std::max(screen.Top, screen.Bottom - h));
  return TRect::FromSize(x, y, w, h);
}

void TMenuSession::OpenSubmenu(std::size_t level, int index, bool highlightFirst) {
  TMenuForm& parent = *levels_[level];
  TMenuItem& item = parent.Level().Item(static_cast<std::size_t>(index));
  if (levels_.size() > level + 1 && &levels_[level + 1]->Level() == &item) {
    if (highlightFirst && levels_[level + 1]->Highlighted() < 0) {
      levels_[level + 1]->SetHighlight(levels_[level + 1]->NextItem(-1, 1));
    }
    return;
  }
  CloseAbove(level, false);
  if (!item.Enabled || !item.HasSubmenu()) return;
  auto form = std::make_unique<TMenuForm>(*this, item, static_cast<int>(level) + 1);
  if (form->NextItem(-1, 1) < 0) return;  // nothing visible in it
  const TRect row = parent.ItemRect(index);
  const TPoint rowTop = parent.ClientToScreen({0, row.Top});
  const TPoint rowBottom = parent.ClientToScreen({parent.Width(), row.Bottom});
  const TRect anchor = {rowTop.X, rowTop.Y, rowBottom.X, rowBottom.Y};
  const TPoint size = form->Measure(0);
  const TRect r = Place(size, anchor, false, true);
  form->SetBounds(r.Left, r.Top, size.X, size.Y);
  levels_.push_back(std::move(form));
  levels_.back()->ShowPopup(parent);
  if (highlightFirst) levels_.back()->SetHighlight(levels_.back()->NextItem(-1, 1));
}

void TMenuSession::CloseAbove(std::size_t level, bool all) {
  const std::size_t keep = all ? 0 : level + 1;
  while (levels_.size() > keep) {
    std::unique_ptr<TMenuForm> form = std::move(levels_.back());
    levels_.pop_back();
    form->Close();
    closed_.push_back(std::move(form));
  }
}

void TMenuSession::Choose(TMenuItem& item) {
  chosen_ = &item;
  done_ = true;
}

void TMenuSession::Hovered(TMenuForm& form, int index) {
  const auto level = static_cast<std::size_t>(form.Depth());
  if (index < 0) {
    // Over a separator or the border: a submenu that is open keeps its item lit.
    if (levels_.size() == level + 1) form.SetHighlight(-1);
    return;
  }
  form.SetHighlight(index);
  const TMenuItem& item = form.Level().Item(static_cast<std::size_t>(index));
  if (item.HasSubmenu() && item.Enabled) {
    OpenSubmenu(level, index, false);
  } else {
    CloseAbove(level, false);
  }
}

void TMenuSession::Pressed(TMenuForm& form, int index) {
  if (index < 0) return;
  const TMenuItem& item = form.Level().Item(static_cast<std::size_t>(index));
  if (item.HasSubmenu()) OpenSubmenu(static_cast<std::size_t>(form.Depth()), index, false);
}

void TMenuSession::Released(TMenuForm& form, int index) {
  if (index < 0) return;
  TMenuItem& item = form.Level().Item(static_cast<std::size_t>(index));
  if (item.Enabled && !item.HasSubmenu()) Choose(item);
}

void TMenuSession::Left(TMenuForm& form) {
  if (levels_.size() == static_cast<std::size_t>(form.Depth()) + 1) form.SetHighlight(-1);
}

bool TMenuSession::Key(int key) {
  if (levels_.empty()) return false;
  const std::size_t level = levels_.size() - 1;
  TMenuForm& top = *levels_.back();
  const int lit = top.Highlighted();
  switch (key) {
    case platform::kKeyDown: top.SetHighlight(top.NextItem(lit, 1)); break;
    case platform::kKeyUp: top.SetHighlight(top.NextItem(lit, -1)); break;
    case platform::kKeyRight:
    case platform::kKeyReturn:
    case platform::kKeySpace: {
      if (lit < 0) break;
      TMenuItem& item = top.Level().Item(static_cast<std::size_t>(lit));
      if (item.HasSubmenu()) {
        OpenSubmenu(level, lit, true);
      } else if (key != platform::kKeyRight && item.Enabled) {
        Choose(item);
      }
      break;
    }
    case platform::kKeyLeft:
      if (level > 0) CloseAbove(level - 1, false);
      break;
    case platform::kKeyEscape:
      if (level > 0) {
        CloseAbove(level - 1, false);
      } else {
        done_ = true;
      }
      break;
    default: break;
  }
  return true;
}

void TMenuSession::OutsidePress(TMenuForm& form, const platform::TEvent& press) {
  // The press is in the popup window's pixels.
  const TPoint here = form.ScreenOrigin();
  const TPoint p = {here.X + press.X, here.Y + press.Y};
  for (std::size_t j = 0; j < levels_.size(); ++j) {
    if (levels_[j].get() != &form && levels_[j]->ScreenRect().Contains(p)) {
      // A press on a lower level of this menu: that level takes it.
      owner_.WindowSystem().ReplayPress();
      CloseAbove(j, false);
      return;
    }
  }
  // Anywhere else the press dismisses the menu and goes no further.
  done_ = true;
}

}  // namespace vornix::editor::detail
