#include "editor/toolkit/Edit.h"

#include <algorithm>

#include "editor/toolkit/Form.h"
#include "plugin/stream/TextCodec.h"

namespace vornix::editor {

namespace {

constexpr int kInset = 5;  // between the frame and the text
constexpr int kBlinkMs = 530;

bool IsWordChar(char32_t c) { return c != U' ' && c != U'\t'; }

}  // namespace

std::u32string DecodeUtf8(std::string_view utf8) {
  std::u32string out;
  for (std::size_t pos = 0; pos < utf8.size();) out.push_back(gfx::NextCodepoint(utf8, pos));
  return out;
}

TEdit::TEdit() : advances_{0} {
  SetBounds(0, 0, 121, 23);
  SetCanFocus(true);
  Cursor = TCursor::IBeam;
}

TEdit::~TEdit() = default;

std::string TEdit::Text() const { return Utf32ToUtf8(text_); }

void TEdit::SetText(std::string_view utf8) { ReplaceText(DecodeUtf8(utf8), -1); }

void TEdit::ReplaceText(std::u32string text, int caret) {
  const bool changed = text != text_;
  text_ = std::move(text);
  caret_ = anchor_ = caret < 0 ? Length() : std::clamp(caret, 0, Length());
  TextChanged();
  if (changed) Change();
}

void TEdit::SetSelection(int anchor, int caret) {
  anchor_ = std::clamp(anchor, 0, Length());
  caret_ = std::clamp(caret, 0, Length());
  ShowCaret();
}

void TEdit::Change() {
  if (OnChange) OnChange(*this);
}

// Where each character ends, in logical pixels; at a zoom, the nearest logical pixel to where the
// scaled text puts it.
void TEdit::TextChanged() {
  const gfx::TScale scale = Scale();
  const gfx::TFont font = scale.Font(Font);
  advances_.assign(1, 0);
  int end = 0;
  for (char32_t c : text_) {
    end += gfx::TextWidth(font, Utf32ToUtf8(std::u32string_view(&c, 1)));
    advances_.push_back(scale.Identity() ? end : (end * 100 + scale.Percent() / 2) / scale.Percent());
  }
  ShowCaret();
}

void TEdit::ScaleChanged() { TextChanged(); }

void TEdit::InsertText(std::u32string_view text) {
  std::u32string insert(text);
  const int kept = Length() - SelLength();
  // A text already longer than the limit stays; editing it may only make it shorter.
  if (MaxLength > 0) {
    const int limit = std::max(MaxLength, Length());
    insert.resize(static_cast<std::size_t>(std::clamp(limit - kept, 0, static_cast<int>(insert.size()))));
  }
  if (insert.empty() && SelLength() == 0) return;
  const int start = SelStart();
  std::u32string next = text_;
  next.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(SelLength()), insert);
  ReplaceText(std::move(next), start + static_cast<int>(insert.size()));
}

void TEdit::DeleteSelection() {
  if (SelLength() == 0) return;
  InsertText({});
}

void TEdit::CopyToClipboard() {
  TForm* form = Form();
  if (form == nullptr || SelLength() == 0) return;
  form->WindowSystem().SetClipboardText(Utf32ToUtf8(
      std::u32string_view(text_).substr(static_cast<std::size_t>(SelStart()), static_cast<std::size_t>(SelLength()))));
}

void TEdit::CutToClipboard() {
  if (ReadOnly || SelLength() == 0) return;
  CopyToClipboard();
  DeleteSelection();
}

void TEdit::PasteFromClipboard() {
  TForm* form = Form();
  if (ReadOnly || form == nullptr) return;
  const std::optional<std::string> text = form->WindowSystem().GetClipboardText();
  if (!text) return;
  // One line: the first, without control characters.
  std::u32string line;
  for (char32_t c : DecodeUtf8(*text)) {
    if (c == U'\r' || c == U'\n') break;
    if (c >= 0x20 && c != 0x7F) line.push_back(c);
  }
  InsertText(line);
}

// ---- view ----

TRect TEdit::TextArea() const { return ClientRect().Inflate(-kInset, -2); }

int TEdit::TextLeft() const {
  const TRect area = TextArea();
  const int width = advances_.back();
  if (width < area.Width()) {
    if (Alignment == gfx::THAlign::Right) return area.Right - width - 1;
    if (Alignment == gfx::THAlign::Center) return area.Left + (area.Width() - width) / 2;
  }
  return area.Left - scroll_;
}

void TEdit::ScrollToCaret() {
  const TRect area = TextArea();
  const int room = std::max(area.Width() - 1, 1);  // the caret needs its pixel at the right
  const int width = advances_.back();
  const int x = advances_[static_cast<std::size_t>(caret_)];
  if (x - scroll_ < 0) scroll_ = x;
  if (x - scroll_ > room) scroll_ = x - room;
  scroll_ = std::clamp(scroll_, 0, std::max(0, width - room));
}

void TEdit::ShowCaret() {
  ScrollToCaret();
  caretOn_ = Focused();
  if (blink_ && Focused()) blink_->SetEnabled(true);  // the blink starts anew
  Invalidate();
}

void TEdit::Resized() { ScrollToCaret(); }

int TEdit::PositionAt(int x) const {
  const int rel = x - TextLeft();
  int best = 0;
  for (int i = 1; i <= Length(); ++i) {
    if (std::abs(advances_[static_cast<std::size_t>(i)] - rel) <
        std::abs(advances_[static_cast<std::size_t>(best)] - rel))
      best = i;
  }
  return best;
}

int TEdit::WordStart(int from) const {
  int i = from;
  while (i > 0 && !IsWordChar(text_[static_cast<std::size_t>(i - 1)])) --i;
  while (i > 0 && IsWordChar(text_[static_cast<std::size_t>(i - 1)])) --i;
  return i;
}

int TEdit::WordEnd(int from) const {
  int i = from;
  while (i < Length() && IsWordChar(text_[static_cast<std::size_t>(i)])) ++i;
  while (i < Length() && !IsWordChar(text_[static_cast<std::size_t>(i)])) ++i;
  return i;
}

void TEdit::Loaded() {
  if (const gfx::TSkin* skin = Skin()) {
    Colors = {skin->TextBoxBackground, skin->ButtonFace,    skin->TextBoxText,      skin->ButtonBorder,
              skin->ListSelection,     skin->ListSelection, skin->ListSelectionText};
  }
  TextChanged();
}

void TEdit::Paint(gfx::TCanvas& canvas) {
  const TRect r = ClientRect();
  const bool focused = Focused();
  canvas.FillRoundRect(r, 3, focused ? Colors.FocusBorder : Colors.Border);
  canvas.FillRoundRect(r.Inflate(-1, -1), 2, ReadOnly || !Enabled() ? Colors.BackgroundReadOnly : Colors.Background);

  const TRect area = TextArea();
  gfx::TCanvasScope scope(canvas);
  canvas.IntersectClip(area);
  const int lineHeight = canvas.Scale().LineHeight(Font);
  const int top = area.Top + (area.Height() - lineHeight) / 2;
  const int left = TextLeft();
  const std::string utf8 = Text();
  gfx::TFont font = Font;
  font.Color = Colors.Text;
  canvas.TextOut(left, top, utf8, font);
  if (focused && SelLength() > 0) {
    const TRect sel = {left + advances_[static_cast<std::size_t>(SelStart())], top,
                       left + advances_[static_cast<std::size_t>(SelStart() + SelLength())], top + lineHeight};
    canvas.FillRect(sel, Colors.Selection);
    gfx::TCanvasScope selScope(canvas);
    canvas.IntersectClip(sel);
    font.Color = Colors.SelectionText;
    canvas.TextOut(left, top, utf8, font);
  }
  if (focused && caretOn_) {
    const int x = left + advances_[static_cast<std::size_t>(caret_)];
    canvas.VLine(x, top, top + lineHeight, Colors.Text);
  }
}

// ---- input ----

void TEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::Left) {
    const int pos = PositionAt(x);
    if ((shift & platform::ssDouble) != 0) {
      SetSelection(WordStart(std::min(pos + 1, Length())), WordEnd(pos));
    } else if ((shift & platform::ssShift) != 0) {
      SetSelection(anchor_, pos);
      selecting_ = true;
    } else {
      SetSelection(pos, pos);
      selecting_ = true;
    }
  }
  TControl::MouseDown(button, shift, x, y);
}

void TEdit::MouseMove(TShiftState shift, int x, int y) {
  if (selecting_ && (shift & platform::ssLeft) != 0) SetSelection(anchor_, PositionAt(x));
  TControl::MouseMove(shift, x, y);
}

void TEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::Left) selecting_ = false;
  TControl::MouseUp(button, shift, x, y);
}

bool TEdit::KeyDown(int key, TShiftState shift) {
  const bool extend = (shift & platform::ssShift) != 0;
  const bool ctrl = (shift & platform::ssCtrl) != 0;
  const auto move = [&](int to) { SetSelection(extend ? anchor_ : to, to); };
  switch (key) {
    case platform::kKeyLeft:
      if (!extend && !ctrl && SelLength() > 0) {
        move(SelStart());
      } else {
        move(ctrl ? WordStart(caret_) : std::max(caret_ - 1, 0));
      }
      return true;
    case platform::kKeyRight:
      if (!extend && !ctrl && SelLength() > 0) {
        move(SelStart() + SelLength());
      } else {
        move(ctrl ? WordEnd(caret_) : std::min(caret_ + 1, Length()));
      }
      return true;
    case platform::kKeyHome: move(0); return true;
    case platform::kKeyEnd: move(Length()); return true;
    case platform::kKeyBackspace:
      if (ReadOnly) return true;
      if (SelLength() == 0 && caret_ > 0) SetSelection(ctrl ? WordStart(caret_) : caret_ - 1, caret_);
      DeleteSelection();
      return true;
    case platform::kKeyDelete:
      if (ReadOnly) return true;
      if (extend && SelLength() > 0) {
        CutToClipboard();
        return true;
      }
      if (SelLength() == 0 && caret_ < Length()) SetSelection(caret_, ctrl ? WordEnd(caret_) : caret_ + 1);
      DeleteSelection();
      return true;
    case platform::kKeyInsert:
      if (ctrl) CopyToClipboard();
      if (extend) PasteFromClipboard();
      return ctrl || extend;
    default: break;
  }
  if (!ctrl) return false;
  switch (key) {
    case 'A': SelectAll(); return true;
    case 'C': CopyToClipboard(); return true;
    case 'X': CutToClipboard(); return true;
    case 'V': PasteFromClipboard(); return true;
    default: return false;
  }
}

bool TEdit::KeyPress(char32_t character) {
  if (character == U'\b') return true;  // Backspace was handled as a key
  if (character < 0x20 || character == 0x7F) return false;
  if (!ReadOnly) InsertText(std::u32string_view(&character, 1));
  return true;
}

void TEdit::FocusIn() {
  if (!blink_) {
    if (TForm* form = Form()) {
      blink_ = std::make_unique<TTimer>(*form, kBlinkMs);
      blink_->OnTimer = [this](TTimer&) {
        caretOn_ = !caretOn_;
        Invalidate();
      };
    }
  }
  ShowCaret();
}

void TEdit::FocusOut() {
  if (blink_) blink_->SetEnabled(false);
  caretOn_ = false;
  selecting_ = false;
  Invalidate();
}

}  // namespace vornix::editor
