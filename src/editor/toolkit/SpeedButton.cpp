#include "editor/toolkit/SpeedButton.h"

#include <algorithm>

#include "editor/toolkit/Form.h"
#include "editor/toolkit/PopupMenu.h"

namespace vornix::editor {

namespace {

constexpr int kArrowArea = 18;  // right of the caption when the drop-down arrow shows
constexpr int kGlyphGap = 4;

// A small downward triangle 7 pixels wide, its top row at y.
void DrawDropArrow(gfx::TCanvas& canvas, int x, int y, TColor c) {
  canvas.FillArrow({x, y, x + 7, y + 4}, gfx::TArrowDirection::Down, c);
}

}  // namespace

TButtonColors ButtonColors(const gfx::TSkin& skin) {
  TButtonColors c;
  c.Face = skin.ButtonFace;
  c.FaceHot = skin.ButtonFaceHot;
  c.FacePressed = skin.scButtonPressed;
  c.FaceDown = skin.ButtonFaceDown;
  c.FaceDisabled = skin.scButtonDisabled;
  c.Border = skin.ButtonBorder;
  c.Text = skin.sfButtonTextNormal;
  c.TextPressed = skin.sfButtonTextPressed;
  c.TextDown = skin.ButtonTextDown;
  c.TextDisabled = skin.sfButtonTextDisabled;
  // A held button must not look like a button that is down in its group.
  if (c.FacePressed == c.FaceDown) c.FacePressed = gfx::DarkenColor(c.FaceDown, 18);
  return c;
}

TSpeedButton::TSpeedButton() { SetBounds(0, 0, 22, 22); }

void TSpeedButton::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Invalidate();
}

void TSpeedButton::SetFont(const gfx::TFont& font) {
  if (font == font_) return;
  font_ = font;
  Invalidate();
}

void TSpeedButton::SetImageIndex(int index) {
  if (index == imageIndex_) return;
  imageIndex_ = index;
  Invalidate();
}

void TSpeedButton::SetDown(bool down) {
  if (GroupIndex == 0) down = false;
  if (down == down_) return;
  if (down_ && !AllowAllUp) return;
  down_ = down;
  Invalidate();
  if (!down_ || Parent() == nullptr) return;
  for (const auto& sibling : Parent()->Children()) {
    auto* other = dynamic_cast<TSpeedButton*>(sibling.get());
    if (other == nullptr || other == this || other->GroupIndex != GroupIndex || !other->down_) continue;
    other->down_ = false;
    other->Invalidate();
  }
}

void TSpeedButton::Loaded() {
  if (const gfx::TSkin* skin = Skin()) Colors = ButtonColors(*skin);
}

TColor TSpeedButton::FaceColor() const {
  if (!Enabled()) return Colors.FaceDisabled;
  if (Pressed() || dropped_) return Colors.FacePressed;
  if (down_) return hot_ ? gfx::LightenColor(Colors.FaceDown, 10) : Colors.FaceDown;
  return hot_ ? Colors.FaceHot : Colors.Face;
}

TColor TSpeedButton::TextColor() const {
  if (!Enabled()) return Colors.TextDisabled;
  if (Pressed() || dropped_) return Colors.TextPressed;
  return down_ ? Colors.TextDown : Colors.Text;
}

void TSpeedButton::Paint(gfx::TCanvas& canvas) {
  const TRect r = ClientRect();
  const int radius = std::min(CornerRadius, std::min(r.Width(), r.Height()) / 2);
  const TColor face = FaceColor();
  // Under the mouse the frame takes some of the accent colour, so hot shows even where the skin's
  // hot face is close to the rest face.
  const bool lit = hot_ && Enabled() && !Pressed() && !dropped_;
  canvas.FillRoundRect(r, radius, lit ? gfx::MixColors(Colors.Border, Colors.FaceDown, 150) : Colors.Border);
  const TRect inner = r.Inflate(-1, -1);
  canvas.FillRoundRect(inner, std::max(radius - 1, 0), face);
  // A faint light edge along the top gives the flat face a little depth; a pressed face has none.
  if (Enabled() && !Pressed() && !dropped_) {
    canvas.HLine(inner.Left + radius, inner.Right - radius, inner.Top, gfx::WithAlpha(gfx::kWhite, 28));
  }

  TRect content = inner;
  const TColor text = TextColor();
  if (DropDownArrow) {
    content.Right -= kArrowArea - 4;
    DrawDropArrow(canvas, r.Right - kArrowArea + 4, r.Height() / 2 - 1, text);
  }
  const bool glyph = images_ != nullptr && imageIndex_ >= 0 && imageIndex_ < images_->Count();
  const int glyphWidth = glyph ? images_->Image(imageIndex_).Width() : 0;
  const int glyphHeight = glyph ? images_->Image(imageIndex_).Height() : 0;
  gfx::TFont font = font_;
  font.Color = text;
  const int textWidth = caption_.empty() ? 0 : Scale().TextWidth(font, caption_);
  const int total = glyphWidth + (glyph && textWidth > 0 ? kGlyphGap : 0) + textWidth;
  // Centred; a caption wider than the room starts at its left edge and is cut at the right.
  int x = content.Left + std::max(3, (content.Width() - total) / 2);
  if (total > content.Width() - 6) x = content.Left + 3;
  if (glyph) {
    images_->Draw(canvas, x, r.Top + (r.Height() - glyphHeight) / 2, imageIndex_, Enabled());
    x += glyphWidth + kGlyphGap;
  }
  if (textWidth > 0) {
    const TRect textArea = {x, inner.Top, content.Right - 2, inner.Bottom};
    canvas.DrawText(textArea, caption_, font, gfx::THAlign::Left, gfx::TVAlign::Center);
  }
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::Left) {
    pressed_ = true;
    inside_ = true;
    Invalidate();
  }
  TControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  if (pressed_) {
    const bool inside = ClientRect().Contains(x, y);
    if (inside != inside_) {
      inside_ = inside;
      Invalidate();
    }
  }
  TControl::MouseMove(shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::Left && pressed_) {
    pressed_ = false;
    Invalidate();
  }
  TControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::MouseEnter() {
  hot_ = true;
  Invalidate();
  TControl::MouseEnter();
}

void TSpeedButton::MouseLeave() {
  hot_ = false;
  Invalidate();
  TControl::MouseLeave();
}

void TSpeedButton::Click() {
  if (DropDownMenu != nullptr) {
    // The button looks pressed while its menu is open.
    dropped_ = true;
    Invalidate();
    if (TForm* form = Form()) form->Update();
    // Raised again before the chosen item's command runs: that command may even rebuild the form.
    DropDownMenu->DropDown(*this, [this] {
      dropped_ = false;
      Invalidate();
    });
    return;
  }
  if (GroupIndex != 0) {
    if (!down_) {
      SetDown(true);
    } else if (AllowAllUp) {
      SetDown(false);
    }
  }
  TControl::Click();
}

}  // namespace vornix::editor
