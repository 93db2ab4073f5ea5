// A single-line text box: a caret that blinks while it has the focus, a selection made with the
// mouse or with Shift and the arrow keys, the clipboard's text through Ctrl+C, Ctrl+X and Ctrl+V
// (and Ctrl+A to select all), and a view that scrolls sideways to keep the caret in sight.
//
// Positions count characters (code points), 0 before the first. Keys arrive as KeyDown (editing
// keys: arrows, Home, End, Backspace, Delete, Ctrl+letter) and KeyPress (typed characters; control
// characters are ignored here). A derived box that filters what is typed overrides KeyDown and
// KeyPress and edits through the protected operations below.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/toolkit/Control.h"
#include "gfx/Font.h"

namespace vornix::editor {

struct TEditColors {
  TColor Background = gfx::kWhite;
  TColor BackgroundReadOnly = gfx::Rgb(240, 240, 240);
  TColor Text = gfx::Rgb(20, 20, 20);
  TColor Border = gfx::Rgb(172, 172, 172);
  TColor FocusBorder = gfx::Rgb(0, 103, 192);
  TColor Selection = gfx::Rgb(0, 103, 192);
  TColor SelectionText = gfx::kWhite;
};

class TEdit : public TControl {
 public:
  TEdit();
  ~TEdit() override;

  // UTF-8. Setting the text puts the caret at its end and fires OnChange when it changed.
  std::string Text() const;
  void SetText(std::string_view utf8);
  int Length() const { return static_cast<int>(text_.size()); }

  // Characters the user may type, 0: no limit. A longer text set by the program is kept whole;
  // typing and pasting then may not make it longer.
  int MaxLength = 0;
  bool ReadOnly = false;
  gfx::TFont Font = gfx::TFont::SegoeUI(12);
  gfx::THAlign Alignment = gfx::THAlign::Left;  // while the text fits
  TEditColors Colors;
  std::function<void(TControl& sender)> OnChange;

  int CaretPos() const { return caret_; }
  int SelStart() const { return std::min(anchor_, caret_); }
  int SelLength() const { return std::abs(caret_ - anchor_); }
  // Selects from anchor to caret (the caret is where the selection grows).
  void SetSelection(int anchor, int caret);
  void SelectAll() { SetSelection(0, Length()); }
  bool CaretVisible() const { return caretOn_; }

  void Loaded() override;
  void ScaleChanged() override;
  void Paint(gfx::TCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  bool KeyDown(int key, TShiftState shift) override;
  bool KeyPress(char32_t character) override;
  void FocusIn() override;
  void FocusOut() override;

 protected:
  const std::u32string& Chars() const { return text_; }
  // Replaces the selection by the text (cut to what MaxLength allows) and puts the caret after it.
  virtual void InsertText(std::u32string_view text);
  // Replaces the whole text and puts the caret (without selection); fires OnChange if it changed.
  void ReplaceText(std::u32string text, int caret);
  void DeleteSelection();
  virtual void CopyToClipboard();
  virtual void CutToClipboard();
  virtual void PasteFromClipboard();
  // Fires OnChange.
  virtual void Change();
  void Resized() override;

  // The character boundary nearest to a client x.
  int PositionAt(int x) const;

 private:
  void TextChanged();
  void ShowCaret();  // caret on, blink anew, scrolled into view
  void ScrollToCaret();
  int TextLeft() const;  // client x of position 0
  TRect TextArea() const;
  int WordStart(int from) const;
  int WordEnd(int from) const;

  std::u32string text_;
  std::vector<int> advances_;  // x of each position, advances_[0] = 0
  int caret_ = 0;
  int anchor_ = 0;
  int scroll_ = 0;
  bool caretOn_ = false;
  bool selecting_ = false;
  std::unique_ptr<TTimer> blink_;
};

// UTF-8 to code points (back with Utf32ToUtf8).
std::u32string DecodeUtf8(std::string_view utf8);

}  // namespace vornix::editor
