// The number box of the number dialog: a text box that always shows a number with a fixed count
// of decimals. Every key and character goes through TNumericEditModel, which keeps the text a
// number; the box shows the model's text, caret and selection.
#pragma once

#include <functional>
#include <string_view>

#include "editor/logic/NumericEditModel.h"
#include "editor/toolkit/Edit.h"

namespace vornix::editor {

class TOrvNumericEdit : public TEdit {
 public:
  // The separator the user types and sees ('.' or ','); by default the user's own.
  TOrvNumericEdit();
  explicit TOrvNumericEdit(char decimalSeparator);

  // 0..9 digits after the separator; setting them shows the value, limited to the range when one
  // is in force, in the new format, without a change event.
  int Decimals() const { return model_.Decimals(); }
  void SetDecimals(int decimals);
  // A range is in force when the two differ: leaving the box brings the value into it.
  double MinValue() const { return model_.MinValue(); }
  void SetMinValue(double value) { model_.SetMinValue(value); }
  double MaxValue() const { return model_.MaxValue(); }
  void SetMaxValue(double value) { model_.SetMaxValue(value); }
  // The text as a number (not a number: 0). Setting it shows the number with the decimals.
  double Value() const { return model_.Value(); }
  void SetValue(double value);
  char DecimalSeparator() const { return model_.DecimalSeparator(); }
  // Replace the text as a program does, and select all of it; they hide TEdit's, so that the
  // model sees them.
  void SetText(std::string_view utf8);
  void SelectAll();

  // ReadOnly (no editing; painted in the button-face colour) and MaxLength are TEdit's.

  // After a change that leaves the value within the range (or with no range in force).
  std::function<void(TControl& sender)> OnValidChange;
  // Leaving the box had to bring the value into the range.
  std::function<void(TControl& sender)> OnInvalidEntry;

  // The least height for the font: 4 × the border + the font's line height + a quarter of the
  // smaller of its and the system font's line heights + 2.
  int MinimumHeight() const;

  void Loaded() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  bool KeyDown(int key, TShiftState shift) override;
  bool KeyPress(char32_t character) override;
  void FocusIn() override;
  void FocusOut() override;

 protected:
  void CopyToClipboard() override;
  void CutToClipboard() override;
  void PasteFromClipboard() override;
  void Change() override;
  void Resized() override;

 private:
  void Wire();
  // The model's state is the truth: the box shows it, and takes the flags the box was given.
  void ShowModel();
  void TakeFlags();
  void TakeSelection();
  platform::TWindowSystem* System() const;

  TNumericEditModel model_;
  bool showing_ = false;  // ShowModel is replacing the box's text
};

}  // namespace vornix::editor
