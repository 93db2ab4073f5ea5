#include "editor/toolkit/PopupMenu.h"

#include <algorithm>

#include "editor/toolkit/MenuSession.h"

namespace vornix::editor {

TPopupMenu::TPopupMenu() = default;
TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::DoPopup() {
  if (OnPopup) OnPopup(*this);
}

std::optional<gfx::TRect> TPopupMenu::ItemScreenRect(const TMenuItem& item) const {
  return session_ != nullptr ? session_->ItemScreenRect(item) : std::nullopt;
}

void TPopupMenu::Popup(TControl& invoker, int screenX, int screenY, const std::function<void()>& closed) {
  Open(invoker, {screenX, screenY, screenX, screenY}, false, closed);
}

void TPopupMenu::DropDown(TControl& invoker, const std::function<void()>& closed) {
  Open(invoker, invoker.ScreenRect(), true, closed);
}

void TPopupMenu::Open(TControl& invoker, const gfx::TRect& anchor, bool dropDown, const std::function<void()>& closed) {
  TForm* form = invoker.Form();
  const auto& items = Items.Items();
  const auto visible = [&] {
    return std::any_of(items.begin(), items.end(), [](const auto& i) { return i->Visible && !i->IsSeparator(); });
  };
  if (session_ == nullptr && form != nullptr && form->Window() != nullptr) {
    popupComponent_ = &invoker;
    DoPopup();
  }
  if (session_ != nullptr || form == nullptr || form->Window() == nullptr || !visible()) {
    if (closed) closed();
    return;
  }
  TMenuItem* chosen = nullptr;
  {
    detail::TMenuSession session(*this, *form);
    session_ = &session;
    struct TReset {
      detail::TMenuSession*& session;
      ~TReset() { session = nullptr; }
    } reset{session_};
    chosen = session.Run(anchor, dropDown);
  }
  if (closed) closed();
  // The windows are gone: the command runs as if the menu had never been there.
  if (chosen != nullptr) chosen->Click();
}

}  // namespace vornix::editor
