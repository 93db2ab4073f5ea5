#include "editor/logic/NumericEditModel.h"

#include <algorithm>
#include <utility>

#include "editor/logic/NumericText.h"
#include "plugin/stream/TextCodec.h"

namespace vornix::editor {

namespace {

constexpr char32_t kCtrlA = 1;
constexpr char32_t kCtrlC = 3;
constexpr char32_t kBackspace = 8;
constexpr char32_t kEnter = 13;
constexpr char32_t kCtrlV = 22;
constexpr char32_t kCtrlX = 24;
constexpr char32_t kEscape = 27;

bool IsDigit(char32_t ch) { return ch >= U'0' && ch <= U'9'; }

}  // namespace

TNumericEditModel::TNumericEditModel(char decimalSeparator)
    : separator_(decimalSeparator), text_(FormatFixed(0.0, decimals_, separator_)) {}

void TNumericEditModel::SetDecimals(int decimals) {
  decimals_ = std::clamp(decimals, 0, 9);
  double v = Value();
  if (RangeInForce()) v = std::clamp(v, std::min(minValue_, maxValue_), std::max(minValue_, maxValue_));
  ++changesHeld_;
  Replace(FormatFixed(v, decimals_, separator_), 0);
  --changesHeld_;
}

double TNumericEditModel::Value() const { return ParseNumber(text_, separator_); }

void TNumericEditModel::SetValue(double value) { Replace(FormatFixed(value, decimals_, separator_), 0); }

void TNumericEditModel::SetText(std::string text) { Replace(std::move(text), 0); }

std::string TNumericEditModel::SelectedText() const {
  return text_.substr(static_cast<std::size_t>(SelStart()), static_cast<std::size_t>(SelLength()));
}

void TNumericEditModel::SetCaret(int position) {
  caret_ = std::clamp(position, 0, static_cast<int>(text_.size()));
  anchor_ = caret_;
}

void TNumericEditModel::SetSelection(int start, int length) {
  const int size = static_cast<int>(text_.size());
  anchor_ = std::clamp(start, 0, size);
  caret_ = std::clamp(start + std::max(length, 0), anchor_, size);
}

void TNumericEditModel::SelectAll() { SetSelection(0, static_cast<int>(text_.size())); }

void TNumericEditModel::Change() {
  if (changesHeld_ > 0) return;
  if (OnChange) OnChange();
  const double v = Value();
  const bool valid = !RangeInForce() || (v >= std::min(minValue_, maxValue_) && v <= std::max(minValue_, maxValue_));
  if (valid && OnValidChange) OnValidChange();
}

// Text set as a whole: the selection goes, and only a different text is a change.
void TNumericEditModel::Replace(std::string text, int caret) {
  const bool changed = text != text_;
  text_ = std::move(text);
  SetCaret(caret);
  if (changed) Change();
}

void TNumericEditModel::Insert(char digit) {
  std::string text = text_;
  text.insert(static_cast<std::size_t>(caret_), 1, digit);
  Replace(std::move(text), caret_ + 1);
}

// The edit control's own typing, which refuses characters beyond the length limit.
void TNumericEditModel::InsertLimited(char digit) {
  if (maxLength_ > 0 && static_cast<int>(text_.size()) >= maxLength_) return;
  Insert(digit);
}

void TNumericEditModel::ToggleSign() {
  if (text_.find('-') != std::string::npos)
    Replace(text_.substr(1), caret_ - 1);
  else
    Replace("-" + text_, caret_ + 1);
}

// A digit at the caret, with no selection: a lone 0 (after the sign) is replaced, whole digits
// are inserted, decimals overwritten in place.
void TNumericEditModel::TypeDigit(char digit) {
  const int length = static_cast<int>(text_.size());
  const bool minus = text_.find('-') != std::string::npos;
  const std::string d(1, digit);
  if (caret_ <= 2 && minus && length >= 2 && text_[1] == '0') {
    Replace("-" + d + text_.substr(2), 2);
  } else if (caret_ <= 1 && length >= 1 && text_[0] == '0') {
    Replace(d + text_.substr(1), 1);
  } else if (decimals_ == 0 || caret_ <= length - decimals_ - 1) {
    InsertLimited(digit);
  } else {
    std::string text = text_;
    text[static_cast<std::size_t>(caret_)] = digit;
    Replace(std::move(text), caret_ + 1);
  }
}

void TNumericEditModel::DeleteChar(bool forward) {
  const int length = static_cast<int>(text_.size());
  const int b = caret_ + (forward ? 1 : 0);  // the character's position counted from 1
  if (b == 0 || b == length + 1) return;
  const int c = b - 1;
  const bool minus = text_.find('-') != std::string::npos;
  const auto without = [&] {
    return text_.substr(0, static_cast<std::size_t>(c)) + text_.substr(static_cast<std::size_t>(b));
  };
  if (decimals_ > 0) {
    const int firstDecimal = length - decimals_;
    if (b > firstDecimal) {
      Replace(without() + "0", c);  // the decimals shift left and keep their width
    } else if (b == firstDecimal) {
      SetCaret(forward ? firstDecimal : firstDecimal - 1);  // the separator stays
    } else if (b == 2 && firstDecimal == 3 && minus) {
      Replace("-0" + text_.substr(2), 1);
    } else if (b == 1 && firstDecimal == 2) {
      Replace("0" + text_.substr(1), 1);
    } else {
      Replace(without(), c);
    }
  } else if (b == 2 && length == 2 && minus) {
    Replace("-0", 1);
  } else if (b == 1 && length == 1) {
    Replace("0", 1);
  } else {
    Replace(without(), c);
  }
}

void TNumericEditModel::DeleteSelection() {
  const int count = SelLength();
  if (count == 0) return;
  const int end = SelStart() + count;
  ++changesHeld_;
  SetCaret(end);
  for (int i = 0; i < count; ++i) DeleteChar(false);
  --changesHeld_;
  Change();
}

bool TNumericEditModel::KeyDown(int key, platform::TShiftState shift) {
  const bool extend = (shift & platform::ssShift) != 0;
  const auto move = [&](int position) {
    const int anchor = anchor_;
    SetCaret(position);
    if (extend) anchor_ = anchor;
    return true;
  };
  switch (key) {
    case platform::kKeyDelete:
      if (readOnly_) return false;
      if (SelLength() == 0) {
        DeleteChar(true);
      } else {
        DeleteSelection();
        Change();
      }
      return true;
    case 'A':
      if ((shift & platform::ssCtrl) == 0) return false;
      selectAllPending_ = true;
      return true;
    case platform::kKeyLeft: return move(extend || SelLength() == 0 ? caret_ - 1 : SelStart());
    case platform::kKeyRight: return move(extend || SelLength() == 0 ? caret_ + 1 : SelStart() + SelLength());
    case platform::kKeyHome: return move(0);
    case platform::kKeyEnd: return move(static_cast<int>(text_.size()));
    default: return false;
  }
}

TNumericKeyAction TNumericEditModel::KeyPress(char32_t ch) {
  if (selectAllPending_) {
    selectAllPending_ = false;
    SelectAll();
    return TNumericKeyAction::None;
  }
  if (ch == kEnter) return TNumericKeyAction::DefaultButton;
  // Escape cancels the dialog and leaves the text alone.
  if (ch == kEscape) return TNumericKeyAction::CancelButton;
  if (ch == kCtrlC) return TNumericKeyAction::Copy;
  if (readOnly_ || ch == 0 || ch == kCtrlA) return TNumericKeyAction::None;
  if (ch == kCtrlV) return TNumericKeyAction::Paste;
  if (ch == kCtrlX) return TNumericKeyAction::Cut;

  const bool isSeparator = ch == static_cast<unsigned char>(separator_);
  const bool isMinus = ch == U'-';
  const bool isBackspace = ch == kBackspace;
  // Characters that cannot change the text keep the selection too.
  if (!(IsDigit(ch) || isSeparator || isBackspace || isMinus)) return TNumericKeyAction::None;
  if (isMinus && minValue_ >= 0) return TNumericKeyAction::None;

  if (isSeparator) {
    SetCaret(SelStart());
  } else if (SelLength() > 0) {
    DeleteSelection();
    if (isBackspace) return TNumericKeyAction::None;  // the selection was what it removes
  }
  const int length = static_cast<int>(text_.size());
  if (ch == U'0' && caret_ == 0) return TNumericKeyAction::None;
  if (isSeparator && decimals_ == 0) return TNumericKeyAction::None;
  if (isMinus) {
    ToggleSign();
    return TNumericKeyAction::None;
  }
  // The decimals have a fixed width: nothing is typed after the last one.
  if (decimals_ > 0 && !isBackspace && !isSeparator && caret_ == length) return TNumericKeyAction::None;
  if (isSeparator) {
    SetCaret(length - decimals_);
    return TNumericKeyAction::None;
  }
  if (isBackspace) {
    DeleteChar(false);
    return TNumericKeyAction::None;
  }
  // Digits never go in front of the sign.
  if (caret_ == 0 && text_.find('-') != std::string::npos) SetCaret(1);
  TypeDigit(static_cast<char>(ch));
  return TNumericKeyAction::None;
}

std::optional<std::string> TNumericEditModel::Cut() {
  if (readOnly_ || SelLength() == 0) return std::nullopt;
  std::string cut = SelectedText();
  DeleteSelection();
  return cut;
}

void TNumericEditModel::Paste(std::string_view utf8) {
  if (readOnly_) return;
  DeleteSelection();
  // Typed, not pressed: Enter, Escape and control characters in the text act on nothing. Whatever
  // is not ASCII is dropped by the character rules, so UTF-16 units will do.
  for (const char16_t ch : Utf8ToUtf16(utf8))
    if (ch >= u' ') KeyPress(ch);
}

void TNumericEditModel::Enter(bool byLeftMouse) {
  if (AutoSelect && !byLeftMouse) SelectAll();
}

void TNumericEditModel::Exit() {
  if (!RangeInForce()) return;
  const double low = std::min(minValue_, maxValue_);
  const double high = std::max(minValue_, maxValue_);
  const double v = Value();
  if (v >= low && v <= high) return;
  SetValue(std::clamp(v, low, high));
  if (OnInvalidEntry) OnInvalidEntry();
}

}  // namespace vornix::editor
