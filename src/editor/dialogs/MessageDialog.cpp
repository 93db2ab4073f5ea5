#include "editor/dialogs/MessageDialog.h"

#include <algorithm>

#include "editor/dialogs/MessageIcons.h"
#include "editor/dialogs/TextLines.h"

namespace vornix::editor {

using platform::TModalResult;

namespace {

constexpr int kPadding = 18;  // around the icon and the text
constexpr int kIconSize = 32;
constexpr int kIconGap = 14;  // between the icon and the text
constexpr int kMinWidth = 300;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 8;
constexpr int kFooterPadding = 11;  // above and below the buttons
constexpr int kFooterSide = 12;     // right of the last button

gfx::TColor Background(const gfx::TSkin* skin) {
  return skin != nullptr ? skin->DialogBackground : gfx::Rgb(240, 240, 240);
}

}  // namespace

gfx::TFont MessageFont() { return gfx::TFont::SegoeUI(12); }

TMessageLayout LayoutMessage(std::string_view text, TMsgDlgType type, TMsgDlgButtons buttons, gfx::TScale scale) {
  TMessageLayout layout;
  const gfx::TFont font = MessageFont();
  layout.Lines = WrapText(font, text, kMessageTextWidth, scale);
  // Line breaks at the end add nothing to see.
  while (layout.Lines.size() > 1 && layout.Lines.back().empty()) layout.Lines.pop_back();
  layout.LineHeight = scale.LineHeight(font);
  int textWidth = 0;
  for (const std::string& line : layout.Lines) textWidth = std::max(textWidth, scale.TextWidth(font, line));
  const int textHeight = layout.LineHeight * static_cast<int>(layout.Lines.size());

  const bool icon = HasMessageIcon(type);
  const int textLeft = icon ? kPadding + kIconSize + kIconGap : kPadding;
  const int count = buttons == TMsgDlgButtons::mbYesNo ? 2 : 1;
  const int buttonsWidth = count * kButtonWidth + (count - 1) * kButtonGap;
  layout.Width = std::max({textLeft + textWidth + kPadding + 6, kFooterSide + buttonsWidth + kFooterSide, kMinWidth});

  // Text no taller than the icon stands beside its middle; a longer text starts with its first
  // line there.
  int textTop = kPadding;
  if (icon) {
    layout.Icon = TRect::FromSize(kPadding, kPadding, kIconSize, kIconSize);
    textTop += (kIconSize - (textHeight <= kIconSize ? textHeight : layout.LineHeight)) / 2;
  }
  layout.Text = TRect::FromSize(textLeft, textTop, textWidth, textHeight);
  layout.FooterTop = std::max(layout.Icon.Bottom, layout.Text.Bottom) + kPadding;
  layout.Height = layout.FooterTop + kFooterPadding + kButtonHeight + kFooterPadding;

  int left = layout.Width - kFooterSide - buttonsWidth;
  for (int i = 0; i < count; ++i) {
    layout.Buttons.push_back(TRect::FromSize(left, layout.FooterTop + kFooterPadding, kButtonWidth, kButtonHeight));
    left += kButtonWidth + kButtonGap;
  }
  return layout;
}

TMessageDialog::TMessageDialog(TForm& owner, std::string_view text, TMsgDlgType type, TMsgDlgButtons buttons)
    : TDialogForm(owner), layout_(LayoutMessage(text, type, buttons, owner.Scale())), type_(type) {
  SetBounds(0, 0, layout_.Width, layout_.Height);
  if (buttons == TMsgDlgButtons::mbYesNo) {
    buttons_ = {&Add<TDialogButton>("Yes", TModalResult::mrYes), &Add<TDialogButton>("No", TModalResult::mrNo)};
    buttons_[0]->Name = "btnYes";
    buttons_[1]->Name = "btnNo";
  } else {
    buttons_ = {&Add<TDialogButton>("OK", TModalResult::mrOk)};
    buttons_[0]->Name = "btnOK";
  }
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const TRect& r = layout_.Buttons[i];
    buttons_[i]->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  }
  DefaultButton = buttons_.front();
  DefaultButton->IsDefault = true;
  CancelButton = buttons_.back();
}

void TMessageDialog::Paint(gfx::TCanvas& canvas) {
  const gfx::TSkin* skin = Skin();
  const gfx::TColor background = Background(skin);
  canvas.FillRect(ClientRect(), background);
  // The buttons stand on a band set off from the message.
  const TRect footer = {0, layout_.FooterTop, Width(), Height()};
  const gfx::TColor border = skin != nullptr ? skin->scBorder : gfx::Rgb(200, 200, 200);
  canvas.FillRect(footer, gfx::DarkenColor(background, 6));
  canvas.HLine(0, Width(), footer.Top, gfx::MixColors(background, border, 150));

  if (!layout_.Icon.Empty()) DrawMessageIcon(canvas, layout_.Icon, type_);
  gfx::TFont font = MessageFont();
  font.Color = skin != nullptr ? skin->LabelText : gfx::Rgb(20, 20, 20);
  int y = layout_.Text.Top;
  for (const std::string& line : layout_.Lines) {
    canvas.TextOut(layout_.Text.Left, y, line, font);
    y += layout_.LineHeight;
  }
}

TModalResult ShowMessageDialog(TForm* owner, const std::string& text, const std::string& caption, TMsgDlgType type,
                               TMsgDlgButtons buttons) {
  if (owner == nullptr || owner->Window() == nullptr) {
    platform::THeadlessDialogHost headless(kApplicationTitle);
    return headless.ShowMessageDialog(text, caption, type, buttons);
  }
  TMessageDialog dialog(*owner, text, type, buttons);
  dialog.PlaceOverOwner();
  const TModalResult result = dialog.Execute(caption.empty() ? std::string(kApplicationTitle) : caption);
  if (buttons == TMsgDlgButtons::mbOK) return TModalResult::mrOk;
  // The close box answers as Escape does.
  return result == TModalResult::mrYes ? TModalResult::mrYes : TModalResult::mrNo;
}

}  // namespace vornix::editor
