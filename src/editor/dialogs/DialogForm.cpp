#include "editor/dialogs/DialogForm.h"

#include <algorithm>

#include "editor/dialogs/ModalInputBlock.h"

namespace vornix::editor {

using platform::TEventKind;

namespace {

constexpr char32_t kEnterChar = U'\r';
constexpr char32_t kEscapeChar = 27;

// Keeps [start, start + size) inside [low, high) where it fits; a larger one starts at low.
int KeepInside(int start, int size, int low, int high) { return std::max(low, std::min(start, high - size)); }

}  // namespace

TRect PlaceOver(const TRect& owner, int width, int height, const TRect& screen) {
  const int left = owner.Left + (owner.Width() - width) / 2;
  const int top = owner.Top + (owner.Height() - height) / 2;
  return TRect::FromSize(KeepInside(left, width, screen.Left, screen.Right),
                         KeepInside(top, height, screen.Top, screen.Bottom), width, height);
}

TDialogForm::TDialogForm(TForm& owner) : TForm(owner.WindowSystem(), owner.Skin()), owner_(owner) {
  SetScale(owner.Scale());
  OnWindowEvent = [this](TForm&, const platform::TEvent& event) { return DialogKey(event); };
  OnShow = [this](TForm&) { Shown(); };
}

void TDialogForm::PlaceOverOwner() {
  const TRect r =
      PlaceOver(owner_.ScreenRect(), Scale().Px(Width()), Scale().Px(Height()), WindowSystem().ScreenBounds());
  SetBounds(r.Left, r.Top, Width(), Height());
}

TModalResult TDialogForm::Execute(const std::string& title) {
  const TModalInputBlock block(owner_);
  return ShowModal(owner_, title);
}

TModalResult TDialogForm::ExecutePopup() {
  const TModalInputBlock block(owner_);
  ShowPopup(owner_);
  struct TCloser {
    TForm& form;
    ~TCloser() { form.Close(); }
  } closer{*this};
  if (platform::TWindow* window = Window()) window->TakeFocus();
  RunUntilModalResult();
  return ModalResult() == TModalResult::mrNone ? TModalResult::mrCancel : ModalResult();
}

void TDialogForm::Shown() {
  FormShow();
  // What FormShow changed is on the screen before the first input.
  Update();
}

void TDialogForm::Paint(gfx::TCanvas& canvas) {
  const gfx::TSkin* skin = Skin();
  canvas.FillRect(ClientRect(), skin != nullptr ? skin->DialogBackground : gfx::Rgb(240, 240, 240));
}

bool TDialogForm::DialogKey(const platform::TEvent& event) {
  if (event.Kind == TEventKind::Char) return event.Char == kEnterChar || event.Char == kEscapeChar;
  if (event.Kind != TEventKind::KeyDown) return false;
  if (event.Key == platform::kKeyReturn) {
    if (DefaultButton != nullptr && DefaultButton->Showing()) DefaultButton->Click();
    return true;
  }
  if (event.Key == platform::kKeyEscape) {
    if (CancelButton == nullptr) {
      SetModalResult(TModalResult::mrCancel);
    } else if (CancelButton->Showing()) {
      CancelButton->Click();
    }
    return true;
  }
  return false;
}

}  // namespace vornix::editor
