#include "editor/dialogs/OrvNumericEdit.h"

#include <algorithm>
#include <string>

#include "editor/toolkit/Form.h"
#include "platform/NumberFormat.h"

namespace vornix::editor {

namespace {

constexpr int kBorderHeight = 1;
// The system's message font, whose height the least height also asks about.
const gfx::TFont kSystemFont = gfx::TFont::SegoeUI(12);

}  // namespace

TOrvNumericEdit::TOrvNumericEdit() : TOrvNumericEdit(platform::UserDecimalSeparator()) {}

TOrvNumericEdit::TOrvNumericEdit(char decimalSeparator) : model_(decimalSeparator) {
  Alignment = gfx::THAlign::Right;
  Wire();
  ShowModel();
  SetBounds(0, 0, 73, MinimumHeight());
}

void TOrvNumericEdit::Wire() {
  model_.OnChange = [this] {
    ShowModel();
    TEdit::Change();
  };
  model_.OnValidChange = [this] {
    if (OnValidChange) OnValidChange(*this);
  };
  model_.OnInvalidEntry = [this] {
    if (OnInvalidEntry) OnInvalidEntry(*this);
  };
}

int TOrvNumericEdit::MinimumHeight() const {
  const int font = Scale().LineHeight(Font);
  const int system = Scale().LineHeight(kSystemFont);
  return 4 * kBorderHeight + font + std::min(font, system) / 4 + 2;
}

void TOrvNumericEdit::SetDecimals(int decimals) {
  model_.SetDecimals(decimals);
  ShowModel();
}

void TOrvNumericEdit::SetValue(double value) {
  model_.SetValue(value);
  ShowModel();
}

void TOrvNumericEdit::SetText(std::string_view utf8) {
  model_.SetText(std::string(utf8));
  ShowModel();
}

void TOrvNumericEdit::SelectAll() {
  model_.SelectAll();
  ShowModel();
}

void TOrvNumericEdit::ShowModel() {
  showing_ = true;
  const std::u32string text = DecodeUtf8(model_.Text());
  if (text != Chars()) ReplaceText(text, -1);
  const int start = model_.SelStart();
  const int end = start + model_.SelLength();
  // The caret is the selection's moving end.
  const int anchor = model_.Caret() == start ? end : start;
  SetSelection(anchor, model_.Caret());
  showing_ = false;
}

void TOrvNumericEdit::TakeFlags() {
  model_.SetReadOnly(ReadOnly);
  model_.SetMaxLength(MaxLength);
}

void TOrvNumericEdit::TakeSelection() { model_.SetSelection(SelStart(), SelLength()); }

platform::TWindowSystem* TOrvNumericEdit::System() const {
  TForm* form = Form();
  return form != nullptr ? &form->WindowSystem() : nullptr;
}

// The box's text changed without the model: TEdit::SetText through a base reference.
void TOrvNumericEdit::Change() {
  if (showing_) return;
  model_.SetText(Text());
  ShowModel();
}

void TOrvNumericEdit::Resized() {
  TEdit::Resized();
  if (Height() < MinimumHeight()) SetBounds(Left(), Top(), Width(), MinimumHeight());
}

void TOrvNumericEdit::Loaded() {
  TEdit::Loaded();
  // The skin may have left the font taller than the box.
  if (Height() < MinimumHeight()) SetBounds(Left(), Top(), Width(), MinimumHeight());
}

// ---- input ----

void TOrvNumericEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TEdit::MouseDown(button, shift, x, y);
  TakeSelection();
}

void TOrvNumericEdit::MouseMove(TShiftState shift, int x, int y) {
  TEdit::MouseMove(shift, x, y);
  if ((shift & platform::ssLeft) != 0) TakeSelection();
}

void TOrvNumericEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TEdit::MouseUp(button, shift, x, y);
  TakeSelection();
}

bool TOrvNumericEdit::KeyDown(int key, TShiftState shift) {
  TakeFlags();
  if (model_.KeyDown(key, shift)) {
    ShowModel();
    return true;
  }
  // Backspace acts as its character; other keys (Enter, Escape, Tab) go on to the dialog.
  return key == platform::kKeyBackspace;
}

bool TOrvNumericEdit::KeyPress(char32_t character) {
  TakeFlags();
  switch (model_.KeyPress(character)) {
    case TNumericKeyAction::Copy: CopyToClipboard(); break;
    case TNumericKeyAction::Cut: CutToClipboard(); break;
    case TNumericKeyAction::Paste: PasteFromClipboard(); break;
    // The dialog took Enter and Escape as keys already; their characters pass.
    case TNumericKeyAction::DefaultButton:
    case TNumericKeyAction::CancelButton: return false;
    case TNumericKeyAction::None: break;
  }
  ShowModel();
  return true;
}

void TOrvNumericEdit::FocusIn() {
  TEdit::FocusIn();
  // Focus that comes with a left press on the box leaves the caret where the press puts it. (A
  // dialog that opens while the left button is held elsewhere still selects all.)
  TForm* form = Form();
  platform::TWindowSystem* system = System();
  const bool byLeftMouse = system != nullptr && (system->ModifierState() & platform::ssLeft) != 0 &&
                           form->ControlAtScreen(system->PointerPosition()) == this;
  model_.Enter(byLeftMouse);
  ShowModel();
}

void TOrvNumericEdit::FocusOut() {
  model_.Exit();
  ShowModel();
  TEdit::FocusOut();
}

void TOrvNumericEdit::CopyToClipboard() {
  platform::TWindowSystem* system = System();
  if (system != nullptr && model_.SelLength() > 0) system->SetClipboardText(model_.SelectedText());
}

void TOrvNumericEdit::CutToClipboard() {
  TakeFlags();
  platform::TWindowSystem* system = System();
  if (system == nullptr) return;
  if (const auto cut = model_.Cut()) system->SetClipboardText(*cut);
  ShowModel();
}

void TOrvNumericEdit::PasteFromClipboard() {
  TakeFlags();
  platform::TWindowSystem* system = System();
  if (system == nullptr) return;
  if (const auto text = system->GetClipboardText()) model_.Paste(*text);
  ShowModel();
}

}  // namespace vornix::editor
