// A flat button with rounded corners: a caption and/or a glyph, hot under the mouse, pressed while
// held. With a GroupIndex it stays down when clicked and releases the other buttons of its group
// (its siblings with the same GroupIndex). With a DropDownMenu a click opens the menu below the
// button instead of firing OnClick.
#pragma once

#include <string>

#include "editor/toolkit/Control.h"
#include "editor/toolkit/ImageList.h"
#include "gfx/Font.h"

namespace vornix::editor {

// The colours of a button in its states; taken from the skin when the button is loaded.
struct TButtonColors {
  TColor Face = gfx::Rgb(236, 236, 236);
  TColor FaceHot = gfx::Rgb(226, 234, 244);
  TColor FacePressed = gfx::Rgb(204, 204, 204);  // held down by the mouse, or its menu open
  TColor FaceDown = gfx::Rgb(0, 103, 192);       // down in its group
  TColor FaceDisabled = gfx::Rgb(244, 244, 244);
  TColor Border = gfx::Rgb(172, 172, 172);
  TColor Text = gfx::Rgb(24, 24, 24);
  TColor TextPressed = gfx::Rgb(0, 0, 0);
  TColor TextDown = gfx::kWhite;
  TColor TextDisabled = gfx::Rgb(160, 160, 160);
};
TButtonColors ButtonColors(const gfx::TSkin& skin);

class TSpeedButton : public TControl {
 public:
  TSpeedButton();

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  // The font's face, size, weight and underline; its colour comes from Colors.
  const gfx::TFont& Font() const { return font_; }
  void SetFont(const gfx::TFont& font);
  // The glyph: image ImageIndex of Images (none: -1 or no list).
  void SetImages(const TImageList* images) { images_ = images, Invalidate(); }
  const TImageList* Images() const { return images_; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);

  // Radio groups: 0 is none.
  int GroupIndex = 0;
  // A down button of a group may be clicked up again.
  bool AllowAllUp = false;
  bool Down() const { return down_; }
  // Putting a grouped button down releases the others of its group; a button without a group is
  // never down, and without AllowAllUp a down button stays down.
  void SetDown(bool down);

  TPopupMenu* DropDownMenu = nullptr;
  bool DropDownArrow = false;  // a small arrow at the right shows that a menu drops down
  TButtonColors Colors;
  int CornerRadius = 4;

  bool Hot() const { return hot_; }
  bool Pressed() const { return pressed_ && inside_; }

  void Loaded() override;
  void Paint(gfx::TCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  // Opens the drop-down menu, or puts a grouped button down and fires OnClick, or fires OnClick.
  void Click() override;

 protected:
  // The face and text colours for the state the button shows now.
  TColor FaceColor() const;
  TColor TextColor() const;

 private:
  std::string caption_;
  gfx::TFont font_ = gfx::TFont::SegoeUI(12, true);
  const TImageList* images_ = nullptr;
  int imageIndex_ = -1;
  bool down_ = false;
  bool hot_ = false;
  bool pressed_ = false;  // the left button went down on it and is held
  bool inside_ = false;   // the pointer is inside while pressed
  bool dropped_ = false;  // its menu is open
};

}  // namespace vornix::editor
