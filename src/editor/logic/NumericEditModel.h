// The number box of the number dialog without its window: the text, caret and selection, and the
// rules that let every keystroke keep the text a number with a fixed count of decimals. The
// control forwards its keys and characters here and draws Text() with the selection.
//
// Characters arrive as the platform's edit control sees them: 8 Backspace, 13 Enter, 27 Escape,
// 1 Ctrl+A, 3 Ctrl+C, 22 Ctrl+V, 24 Ctrl+X. After Ctrl+A went down, the next character (normally
// its own 1) selects all and is dropped.
#pragma once

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Window.h"

namespace vornix::editor {

// What a character asks of the control beyond the text.
enum class TNumericKeyAction {
  None,
  DefaultButton,  // Enter: the dialog's default button
  CancelButton,   // Escape: the dialog's cancel button
  Copy,           // put SelectedText() on the clipboard
  Cut,            // call Cut() and put its text on the clipboard
  Paste,          // call Paste() with the clipboard's text
};

class TNumericEditModel {
 public:
  explicit TNumericEditModel(char decimalSeparator = '.');

  char DecimalSeparator() const { return separator_; }

  // Digits after the separator, limited to 0..9. Setting them shows the value, limited to the
  // range when one is in force, in the new format, without a change event.
  int Decimals() const { return decimals_; }
  void SetDecimals(int decimals);
  // A range is in force only when the two differ. Setting them changes nothing else.
  double MinValue() const { return minValue_; }
  void SetMinValue(double value) { minValue_ = value; }
  double MaxValue() const { return maxValue_; }
  void SetMaxValue(double value) { maxValue_ = value; }
  bool RangeInForce() const { return minValue_ != maxValue_; }
  // The text as a number (empty or not a number: 0). Writing shows the number in the display
  // format and is a change only when the text differs.
  double Value() const;
  void SetValue(double value);
  // No editing: characters and Delete change nothing; selecting, moving and copying still work.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  // Characters typed beyond this length are refused; 0: no limit.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length) { maxLength_ = length < 0 ? 0 : length; }
  // Select all when the focus arrives other than by the left mouse button.
  bool AutoSelect = true;

  const std::string& Text() const { return text_; }
  // Replaces the text as a program does (caret at 0); a change when it differs.
  void SetText(std::string text);

  // The selection runs from the anchor to the caret, which is its moving end.
  int Caret() const { return caret_; }
  int SelStart() const { return std::min(anchor_, caret_); }
  int SelLength() const { return anchor_ > caret_ ? anchor_ - caret_ : caret_ - anchor_; }
  std::string SelectedText() const;
  // Positions are limited to 0..length.
  void SetCaret(int position);
  void SetSelection(int start, int length);
  void SelectAll();

  // Every change of the text, then, when the value is valid (within the range, or no range in
  // force), OnValidChange. OnInvalidEntry: leaving the control had to bring the value into range.
  std::function<void()> OnChange;
  std::function<void()> OnValidChange;
  std::function<void()> OnInvalidEntry;

  // The key-down stage: Delete, Ctrl+A, and the caret keys Left, Right, Home and End (with Shift
  // they extend the selection). True when the key was handled here.
  bool KeyDown(int key, platform::TShiftState shift = 0);
  // The character stage.
  TNumericKeyAction KeyPress(char32_t ch);
  // Cut: the selected text, removed (nothing without a selection or when read-only). Paste: the
  // selection removed, then each character of the text typed; other characters are dropped.
  std::optional<std::string> Cut();
  void Paste(std::string_view utf8);

  // The focus arrives or leaves. Leaving brings the value into the range when one is in force.
  void Enter(bool byLeftMouse);
  void Exit();

 private:
  void Replace(std::string text, int caret);
  void Insert(char digit);
  void InsertLimited(char digit);
  void ToggleSign();
  void TypeDigit(char digit);
  void DeleteChar(bool forward);
  void DeleteSelection();
  void Change();

  char separator_;
  int decimals_ = 2;
  double minValue_ = 0.0;
  double maxValue_ = 0.0;
  bool readOnly_ = false;
  int maxLength_ = 0;
  std::string text_;
  int anchor_ = 0;
  int caret_ = 0;
  bool selectAllPending_ = false;
  int changesHeld_ = 0;
};

}  // namespace vornix::editor
