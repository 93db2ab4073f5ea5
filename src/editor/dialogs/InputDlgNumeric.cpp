#include "editor/dialogs/InputDlgNumeric.h"

#include "editor/dialogs/InputDlg.h"

namespace vornix::editor {

namespace {

constexpr int kClientWidth = 228;
constexpr int kClientHeight = 104;
constexpr int kMargin = 6;
constexpr int kMaxDigits = 12;

}  // namespace

TfrmInputDlgNumeric::TfrmInputDlgNumeric(TForm& owner, char decimalSeparator)
    : TDialogForm(owner),
      lblPrompt(Add<TLabel>()),
      txtNumeric(Add<TOrvNumericEdit>(decimalSeparator)),
      btnOK(Add<TDialogButton>("OK", TModalResult::mrOk)),
      btnCancel(Add<TDialogButton>("Cancel", TModalResult::mrCancel)) {
  SetBounds(0, 0, kClientWidth, kClientHeight);
  lblPrompt.Name = "lblPrompt";
  lblPrompt.Font = gfx::TFont::SegoeUI(12);
  // As tall as its text, over the width the dialog has for it.
  lblPrompt.SetBounds(7, 7, kClientWidth - 2 * kMargin, Scale().LineHeight(lblPrompt.Font));
  txtNumeric.Name = "txtNumeric";
  txtNumeric.Font = gfx::TFont::SegoeUI(12);
  txtNumeric.MaxLength = kMaxDigits;
  txtNumeric.SetBounds(8, 28, 75, 24);
  btnOK.Name = "btnOK";
  btnOK.IsDefault = true;
  btnOK.SetBounds(0, 0, 80, 25);
  btnCancel.Name = "btnCancel";
  btnCancel.SetBounds(0, 0, 80, 25);
  DefaultButton = &btnOK;
  CancelButton = &btnCancel;
  ArrangeControls();
}

void TfrmInputDlgNumeric::FormShow() {
  ArrangeControls();
  // Shown again after an entry out of range: the entry stands, ready to be typed over.
  FocusControl(&txtNumeric);
  txtNumeric.SelectAll();
}

void TfrmInputDlgNumeric::ArrangeControls() {
  lblPrompt.SetBounds(kMargin, lblPrompt.Top(), lblPrompt.Width(), lblPrompt.Height());
  txtNumeric.SetBounds(kMargin, txtNumeric.Top(), txtNumeric.Width(), txtNumeric.Height());
  PlaceDialogButtons(*this, btnOK, btnCancel);
}

}  // namespace vornix::editor
