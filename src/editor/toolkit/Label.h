// A static text: a caption in a font, aligned in the control's rectangle (which does not follow the
// text), on one line or wrapped at blanks.
#pragma once

#include <string>

#include "editor/toolkit/Control.h"
#include "gfx/Font.h"

namespace vornix::editor {

class TLabel : public TControl {
 public:
  TLabel() = default;
  explicit TLabel(std::string caption) : caption_(std::move(caption)) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  // The look; set before the form shows, or call Invalidate() after a change.
  gfx::TFont Font = gfx::TFont::SegoeUI(12);
  gfx::THAlign Alignment = gfx::THAlign::Left;
  gfx::TVAlign Layout = gfx::TVAlign::Top;
  bool WordWrap = false;
  bool Transparent = true;  // false: the rectangle is filled with Color first
  TColor Color = gfx::kWhite;
  bool UseSkinColor = true;  // the skin's label colour replaces Font.Color when loaded

  void Loaded() override;
  void Paint(gfx::TCanvas& canvas) override;

 private:
  std::string caption_;
};

}  // namespace vornix::editor
