// The editor's on/off switch: a two-glyph strip (off above on) chosen by the skin when loaded;
// either mouse button toggles it unless the press hook refuses the press.
#pragma once

#include "editor/toolkit/OrvBeforeMouseDownEvent.h"
#include "editor/toolkit/StitchedSwitch.h"

namespace vornix::editor {

class TOrvGuiStitchedSwitch : public TCustomGuiStitchedSwitch {
 public:
  TOrvGuiStitchedSwitch();

  // On: glyph 1.
  bool Value() const { return GlyphIndex() == 1; }
  void SetValue(bool on) { SetGlyphIndex(on ? 1 : 0); }

  TOrvBeforeMouseDownEvent OnBeforeMouseDown;

  void Loaded() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  bool ContextPopup(TPoint screenPos) override;

 private:
  bool accepted_ = true;  // the last press went through the hook
};

}  // namespace vornix::editor
