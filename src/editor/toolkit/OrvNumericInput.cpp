#include "editor/toolkit/OrvNumericInput.h"

#include <charconv>
#include <cmath>

#include "editor/toolkit/Form.h"

namespace vornix::editor {

namespace {

constexpr int kTextInset = 5;

}  // namespace

std::string ShortestDecimal(float value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

int RoundHalfEven(double value) {
  const double down = std::floor(value);
  const double fraction = value - down;
  double r = down;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(down, 2.0) != 0.0)) r = down + 1;
  return static_cast<int>(r);
}

TOrvNumericInput::TOrvNumericInput() {
  SetBounds(0, 0, 42, 21);
  SetCanFocus(true);
  PopupMenu = &popup_;
}

void TOrvNumericInput::SetBorderColor(TColor color) {
  if (color == borderColor_) return;
  borderColor_ = color;
  Invalidate();
}

void TOrvNumericInput::SetBorderWidth(int width) {
  if (width == borderWidth_) return;
  borderWidth_ = width;
  Invalidate();
}

void TOrvNumericInput::SetCenter(bool center) {
  if (center == center_) return;
  center_ = center;
  Invalidate();
}

void TOrvNumericInput::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Invalidate();
}

void TOrvNumericInput::SetFont(const gfx::TFont& font) {
  font_ = font;
  Invalidate();
}

void TOrvNumericInput::SetHighlight(bool highlight) {
  if (highlight == highlight_) return;
  highlight_ = highlight;
  Invalidate();
}

void TOrvNumericInput::SetHighlightColor(TColor color) {
  if (color == highlightColor_) return;
  highlightColor_ = color;
  Invalidate();
}

void TOrvNumericInput::SetMaxValue(int value) {
  if (value == maxValue_) return;
  maxValue_ = value;
  if (value_ > static_cast<float>(maxValue_)) value_ = static_cast<float>(maxValue_);
  Invalidate();
}

void TOrvNumericInput::SetMinValue(int value) {
  if (value == minValue_) return;
  minValue_ = value;
  if (value_ < static_cast<float>(minValue_)) value_ = static_cast<float>(minValue_);
  Invalidate();
}

void TOrvNumericInput::SetValue(float value) {
  if (std::isnan(value)) return;  // not a number is no value
  // The maximum wins when the limits cross.
  value = std::min(std::max(value, static_cast<float>(minValue_)), static_cast<float>(maxValue_));
  if (value == value_) return;
  value_ = value;
  Invalidate();
  if (OnChange) OnChange(*this);
}

int TOrvNumericInput::ValueAsInteger() const { return RoundHalfEven(value_); }

std::string TOrvNumericInput::TextFor(float value) {
  std::string text = ShortestDecimal(value);
  if (OnGetText) OnGetText(*this, value, text);
  return text;
}

std::string TOrvNumericInput::Text() const { return const_cast<TOrvNumericInput*>(this)->TextFor(value_); }

void TOrvNumericInput::Loaded() {
  if (const gfx::TSkin* skin = Skin()) LoadSkinColors(*skin);
  if (ShowPopup) BuildPopupMenu();
}

void TOrvNumericInput::LoadSkinColors(const gfx::TSkin& skin) {
  borderWidth_ = 1;
  borderColor_ = skin.sfButtonTextDisabled;
  color_ = skin.scButtonDisabled;
  highlightColor_ = skin.scButtonHot;
  font_.Color = skin.sfCaptionTextNormal;
  if (skin.Name == "Carbon") {
    highlightColor_ = gfx::Rgb(37, 95, 120);
  } else if (skin.Name == "Amakrits") {
    highlightColor_ = gfx::Rgb(61, 177, 160);
  } else if (skin.Name == "Light") {
    highlightColor_ = skin.scButtonPressed;
  } else if (skin.Name == "Luna" || skin.Name == "Smokey Quartz Kamri") {
    font_.Color = gfx::kBlack;
  }
  Invalidate();
}

// Whole values from MinValue to MaxValue, runs of values with the same group caption in a
// submenu of that caption; built once.
void TOrvNumericInput::BuildPopupMenu() {
  popup_.OnPopup = [this](TPopupMenu&) {
    popup_.CheckItemByTag(nullptr, ValueAsInteger(), true);
    if (OnPopupPopupMenu) OnPopupPopupMenu(*this, popup_);
  };
  std::string previous;
  TMenuItem* group = nullptr;
  for (int v = minValue_; v <= maxValue_; ++v) {
    std::string caption;
    if (OnGetPopupGroup) OnGetPopupGroup(*this, v, caption);
    if (caption.empty()) {
      group = nullptr;
    } else if (group == nullptr || caption != previous) {
      group = &popup_.Items.AddSubmenu(caption);
    }
    previous = caption;
    TMenuItem& parent = group != nullptr ? *group : popup_.Items;
    parent.Add(TextFor(static_cast<float>(v)), v, [this](TMenuItem& item) { SetValue(static_cast<float>(item.Tag)); });
    if (v == maxValue_) break;  // no overflow past INT_MAX
  }
  if (OnPopulatePopupMenu) OnPopulatePopupMenu(*this, popup_);
}

void TOrvNumericInput::Paint(gfx::TCanvas& canvas) {
  canvas.FillRect(ClientRect(), highlight_ ? highlightColor_ : color_);
  // A pen of width w drawn from (w / 2, w / 2) to (Width − (w − 1) / 2, Height − (w − 1) / 2) lies
  // exactly along the inside of the client area.
  if (borderWidth_ > 0) canvas.FrameRect(ClientRect(), borderColor_, borderWidth_);
  const std::string text = Text();
  if (text.empty()) return;
  const TRect area = center_ ? ClientRect() : ClientRect().Inflate(-kTextInset, 0);
  canvas.DrawText(area, text, font_, center_ ? gfx::THAlign::Center : gfx::THAlign::Left, gfx::TVAlign::Center);
}

void TOrvNumericInput::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!Focused()) SetFocus();
  mouseAccepted_ = AskBeforeMouseDown(OnBeforeMouseDown, *this, button, shift, x, y);
  if (!mouseAccepted_) return;
  if (button == TMouseButton::Left) {
    if (TForm* form = Form()) form->SetCursorOverride(TCursor::SizeNS);
    lastY_ = y;
    dragging_ = true;
  }
  TControl::MouseDown(button, shift, x, y);
}

void TOrvNumericInput::MouseMove(TShiftState shift, int x, int y) {
  if (mouseAccepted_ && dragging_ && (shift & platform::ssLeft) != 0) {
    // One step per move message, whatever the distance.
    const float step = (shift & platform::ssShift) != 0 ? DragStep / 5 : DragStep;
    if (y < lastY_) {
      SetValue(value_ + step);
    } else if (y > lastY_) {
      SetValue(value_ - step);
    }
    Invalidate();
    lastY_ = y;
  }
  TControl::MouseMove(shift, x, y);
}

void TOrvNumericInput::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (TForm* form = Form()) form->SetCursorOverride(std::nullopt);
  lastY_ = -1;
  dragging_ = false;
  TControl::MouseUp(button, shift, x, y);
}

bool TOrvNumericInput::MouseWheel(TShiftState shift, int wheelDelta, TPoint screenPos) {
  TForm* form = Form();
  bool taken = false;
  if (form != nullptr && form->ControlAtScreen(screenPos) == this && wheelDelta != 0) {
    SetValue(wheelDelta < 0 ? value_ - DragStep / 2 : value_ + DragStep / 2);
    taken = true;
  }
  return TControl::MouseWheel(shift, wheelDelta, screenPos) || taken;
}

bool TOrvNumericInput::ContextPopup(TPoint screenPos) { return !mouseAccepted_ || TControl::ContextPopup(screenPos); }

}  // namespace vornix::editor
