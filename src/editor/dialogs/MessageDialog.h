// The editor's message and question box: an icon for the type, the text wrapped to a comfortable
// width (CR LF starts a new line), and OK or Yes and No; sized to its content and centred over its
// owner.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/dialogs/DialogForm.h"
#include "platform/DialogHost.h"

namespace vornix::editor {

using platform::TMsgDlgButtons;
using platform::TMsgDlgType;

// Where everything of a message box goes, in its client coordinates.
struct TMessageLayout {
  int Width = 0;
  int Height = 0;
  TRect Icon;  // empty for a type without icon
  TRect Text;  // the lines, one below the other
  std::vector<std::string> Lines;
  int LineHeight = 0;
  int FooterTop = 0;           // the band that holds the buttons
  std::vector<TRect> Buttons;  // OK; or Yes, then No
};

// The font of the text, and the width past which lines wrap.
gfx::TFont MessageFont();
inline constexpr int kMessageTextWidth = 380;

// The text measured as drawn at the zoom.
TMessageLayout LayoutMessage(std::string_view text, TMsgDlgType type, TMsgDlgButtons buttons, gfx::TScale scale = {});

class TMessageDialog : public TDialogForm {
 public:
  TMessageDialog(TForm& owner, std::string_view text, TMsgDlgType type, TMsgDlgButtons buttons);

  const TMessageLayout& Layout() const { return layout_; }
  // OK for mbOK; Yes (the default) and No for mbYesNo.
  const std::vector<TDialogButton*>& Buttons() const { return buttons_; }

 protected:
  void Paint(gfx::TCanvas& canvas) override;

 private:
  TMessageLayout layout_;
  TMsgDlgType type_;
  std::vector<TDialogButton*> buttons_;
};

// Shows the message modally over the owner, titled with the caption or, when it is empty, the
// application title. Enter presses OK or Yes; Escape and the close box answer OK or No. Returns
// mrOk for mbOK, mrYes or mrNo for mbYesNo.
//
// Without an owner that shows there is no window to put it over (the editor is closed): the
// message goes to standard error and the question is answered as the headless host does (OK, No).
platform::TModalResult ShowMessageDialog(TForm* owner, const std::string& text, const std::string& caption,
                                         TMsgDlgType type, TMsgDlgButtons buttons);

}  // namespace vornix::editor
