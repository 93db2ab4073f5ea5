// A numeric value box: a number shown in a bordered box, changed by dragging up and down with the
// left button (0.25 per mouse move, 0.05 with Shift), by the wheel while the pointer is over it
// (0.125 per notch) or from its popup list of whole values (right click). Every change goes through
// SetValue, which keeps the value within MinValue..MaxValue and fires OnChange when it changed.
#pragma once

#include <functional>
#include <string>

#include "editor/toolkit/OrvBeforeMouseDownEvent.h"
#include "editor/toolkit/OrvPopupMenu.h"
#include "gfx/Font.h"

namespace vornix::editor {

class TOrvNumericInput;
using TOrvNumericGetPopupGroupEvent =
    std::function<void(TOrvNumericInput& sender, int value, std::string& GroupCaption)>;
using TOrvNumericInputGetTextEvent = std::function<void(TOrvNumericInput& sender, float value, std::string& Text)>;
using TOrvNumericInputPopupEvent = std::function<void(TOrvNumericInput& sender, TOrvPopupMenu& OrvPopup)>;

class TOrvNumericInput : public TControl {
 public:
  TOrvNumericInput();

  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor color);
  int BorderWidth() const { return borderWidth_; }  // 0: no border
  void SetBorderWidth(int width);
  bool Center() const { return center_; }  // false: left aligned, 5 pixels in
  void SetCenter(bool center);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  const gfx::TFont& Font() const { return font_; }
  void SetFont(const gfx::TFont& font);
  bool Highlight() const { return highlight_; }
  void SetHighlight(bool highlight);
  TColor HighlightColor() const { return highlightColor_; }
  void SetHighlightColor(TColor color);
  int MaxValue() const { return maxValue_; }
  void SetMaxValue(int value);  // lowers Value to it without OnChange
  int MinValue() const { return minValue_; }
  void SetMinValue(int value);  // raises Value to it without OnChange
  // Build the value popup when loaded.
  bool ShowPopup = true;
  float Value() const { return value_; }
  void SetValue(float value);
  // Value rounded to the nearest whole number, ties to even.
  int ValueAsInteger() const;
  // The change per drag move; the wheel changes by half of it.
  float DragStep = 0.25f;

  // The text shown for the value (default: its shortest decimal form).
  std::string Text() const;
  TOrvPopupMenu& Popup() { return popup_; }

  TOrvBeforeMouseDownEvent OnBeforeMouseDown;
  std::function<void(TControl& sender)> OnChange;
  TOrvNumericGetPopupGroupEvent OnGetPopupGroup;
  TOrvNumericInputGetTextEvent OnGetText;
  TOrvNumericInputPopupEvent OnPopulatePopupMenu;
  TOrvNumericInputPopupEvent OnPopupPopupMenu;

  void Loaded() override;
  void Paint(gfx::TCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  bool MouseWheel(TShiftState shift, int wheelDelta, TPoint screenPos) override;
  bool ContextPopup(TPoint screenPos) override;

 private:
  void LoadSkinColors(const gfx::TSkin& skin);
  void BuildPopupMenu();
  std::string TextFor(float value);

  TColor borderColor_ = gfx::Rgb(100, 100, 100);
  int borderWidth_ = 1;
  bool center_ = true;
  TColor color_ = gfx::kWhite;
  gfx::TFont font_ = gfx::TFont::SegoeUI(12, true, gfx::kBlack);
  bool highlight_ = false;
  TColor highlightColor_ = gfx::kBlack;
  int maxValue_ = 100;
  int minValue_ = 0;
  float value_ = 0;
  bool mouseAccepted_ = false;
  int lastY_ = -1;
  bool dragging_ = false;  // from a left press to the release
  TOrvPopupMenu popup_;
};

// The shortest decimal text that reads back as the same float ("1.125", "64", "0.05").
std::string ShortestDecimal(float value);
// Nearest whole number, ties to even.
int RoundHalfEven(double value);

}  // namespace vornix::editor
