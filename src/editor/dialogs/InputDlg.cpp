#include "editor/dialogs/InputDlg.h"

#include <algorithm>

namespace vornix::editor {

namespace {

constexpr int kClientWidth = 300;
constexpr int kClientHeight = 102;
constexpr int kMargin = 6;

}  // namespace

bool IsBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

TRect PromptBounds(int left, int top, int width, int designedHeight, const gfx::TFont& font, gfx::TScale scale) {
  const int height = std::max(designedHeight, scale.LineHeight(font));
  return TRect::FromSize(left, top - (height - designedHeight) / 2, width, height);
}

void PlaceDialogButtons(const TForm& form, TDialogButton& ok, TDialogButton& cancel) {
  const int cancelLeft = form.Width() - cancel.Width() - kMargin;
  const int top = form.Height() - cancel.Height() - kMargin;
  cancel.SetBounds(cancelLeft, top, cancel.Width(), cancel.Height());
  ok.SetBounds(cancelLeft - ok.Width() - kMargin, top, ok.Width(), ok.Height());
}

TfrmInputDlg::TfrmInputDlg(TForm& owner)
    : TDialogForm(owner),
      lblPrompt(Add<TLabel>()),
      txtValue(Add<TEdit>()),
      btnOK(Add<TDialogButton>("OK", TModalResult::mrOk)),
      btnCancel(Add<TDialogButton>("Cancel", TModalResult::mrCancel)) {
  SetBounds(0, 0, kClientWidth, kClientHeight);
  lblPrompt.Name = "lblPrompt";
  lblPrompt.Font = gfx::TFont::SegoeUI(12);
  lblPrompt.Layout = gfx::TVAlign::Center;
  lblPrompt.WordWrap = true;
  const TRect prompt = PromptBounds(7, 7, 230, 13, lblPrompt.Font, Scale());
  lblPrompt.SetBounds(prompt.Left, prompt.Top, prompt.Width(), prompt.Height());
  txtValue.Name = "txtValue";
  txtValue.Font = gfx::TFont::SegoeUI(12);
  txtValue.SetBounds(7, 23, 276, 23);
  txtValue.OnChange = [this](TControl&) { UpdateOKButton(); };
  btnOK.Name = "btnOK";
  btnOK.IsDefault = true;
  btnCancel.Name = "btnCancel";
  DefaultButton = &btnOK;
  CancelButton = &btnCancel;
  ArrangeControls();
  UpdateOKButton();
}

void TfrmInputDlg::UpdateOKButton() { btnOK.SetEnabled(FAllowEmpty || !IsBlank(txtValue.Text())); }

void TfrmInputDlg::FormShow() {
  ArrangeControls();
  UpdateOKButton();
  FocusControl(&txtValue);
  txtValue.SelectAll();
}

void TfrmInputDlg::ArrangeControls() {
  lblPrompt.SetBounds(kMargin, lblPrompt.Top(), lblPrompt.Width(), lblPrompt.Height());
  txtValue.SetBounds(kMargin, txtValue.Top(), Width() - 2 * kMargin, txtValue.Height());
  PlaceDialogButtons(*this, btnOK, btnCancel);
}

}  // namespace vornix::editor
