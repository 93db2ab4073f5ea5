#include "editor/forms/VSTEditorBase.h"

#include "editor/toolkit/SpeedButton.h"
#include "gfx/Resources.h"
#include "plugin/VSTPluginBaseDM.h"

namespace vornix::editor {

namespace {
constexpr int kMargin = 3;
constexpr int kTopMargin = 4;
}  // namespace

TfrmVSTEditorBase::TfrmVSTEditorBase(plugin::TVSTPluginBase& owner, platform::TWindowSystem& system,
                                     const gfx::TSkin* skin)
    : TForm(system, skin),
      panMain(&Add<TOrvGuiPanel>()),
      timFormActivated(*this, 100),
      owner_(owner),
      FBackground(gfx::ScaledImage("EditorBackground")) {
  Name = "frmVSTEditorBase";
  SetBounds(0, 0, kClientWidth, kClientHeight);
  panMain->Name = "panMain";
  panMain->Alpha = 220;
  panMain->BorderVisible = false;
  panMain->BorderRadius = 5;
  panMain->PanelColor = gfx::kWhite;
  PlaceMainPanel(0);

  OnShow = [this](TForm&) { FormShow(); };
  OnClick = [this](TControl&) { FocusControlUnderCursor(); };
  panMain->OnClick = [this](TControl&) { panMainClick(); };
  // The wheel goes to the focused control: the control under the pointer takes the focus first,
  // so every notch acts where the pointer is.
  OnWindowEvent = [this](TForm&, const platform::TEvent& event) {
    if (event.Kind == platform::TEventKind::MouseWheel) FocusControlUnderCursor();
    return false;
  };
  timFormActivated.OnTimer = [this](TTimer&) { timFormActivatedTimer(); };
  FThread.Bind();
}

TfrmVSTEditorBase::~TfrmVSTEditorBase() = default;

void TfrmVSTEditorBase::PlaceMainPanel(int top) {
  panMain->SetBounds(kMargin, top + kTopMargin, Width() - 2 * kMargin, Height() - top - kTopMargin - kMargin);
}

void TfrmVSTEditorBase::Paint(gfx::TCanvas& canvas) { canvas.FillTiled(ClientRect(), FBackground); }

void TfrmVSTEditorBase::FormShow() {
  UpdateControls();
  timFormActivated.SetEnabled(true);
}

void TfrmVSTEditorBase::panMainClick() { FocusControlUnderCursor(); }

void TfrmVSTEditorBase::PullChanges() {
  FThread.Check("the editor's inbox");
  ApplyChanges(owner_.EditorInbox().TakeChanges());
}

void TfrmVSTEditorBase::ApplyChanges(unsigned changes) {
  if ((changes & plugin::TEditorInbox::kControls) != 0) UpdateControls();
  if ((changes & plugin::TEditorInbox::kPointerFocus) != 0) FocusControlUnderCursor();
}

void TfrmVSTEditorBase::timFormActivatedTimer() {
  timFormActivated.SetEnabled(false);
  FActivated = true;
  // A question opened in the first moments keeps the keys (its Enter must not reach the editor).
  if (ModalDialogsAbove > 0) return;
  if (platform::TWindow* window = Window()) window->TakeFocus();
}

void TfrmVSTEditorBase::FocusControlUnderCursor() {
  if (Window() == nullptr) return;
  TControl* control = ControlAtScreen(WindowSystem().PointerPosition());
  if (control == nullptr || dynamic_cast<TSpeedButton*>(control) != nullptr) return;
  // A control that cannot hold the focus passes it to the nearest one around it that can, or to
  // the form itself.
  while (control != nullptr && control != this && !control->CanFocus()) control = control->Parent();
  FocusControl(control == this ? nullptr : control);
}

}  // namespace vornix::editor
