// A switch that shows one glyph of a strip of glyphs stacked vertically, centred in the control.
// A left press selects the next glyph (after the last, the first), a right press the previous one.
#pragma once

#include <functional>

#include "editor/toolkit/Control.h"

namespace vornix::editor {

class TCustomGuiStitchedSwitch : public TControl {
 public:
  TCustomGuiStitchedSwitch();

  // The strip (copied) and how many glyphs it holds; the glyph index is kept within them.
  void SetStrip(const gfx::TImage& strip, int glyphCount);
  int GlyphCount() const { return glyphCount_; }
  int GlyphIndex() const { return glyphIndex_; }
  void SetGlyphIndex(int index);

  // Fires whenever the glyph index changes, by the mouse or by program, except while loading.
  std::function<void(TControl& sender)> OnChange;

  void Paint(gfx::TCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 protected:
  bool Loading() const { return loading_; }
  void SetLoading(bool loading) { loading_ = loading; }

 private:
  gfx::TImage strip_;
  int glyphCount_ = 1;
  int glyphIndex_ = 0;
  bool loading_ = false;
};

}  // namespace vornix::editor
