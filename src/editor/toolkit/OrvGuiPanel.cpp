#include "editor/toolkit/OrvGuiPanel.h"

namespace vornix::editor {

TOrvGuiPanel::TOrvGuiPanel() {
  PanelColor = gfx::kWhite;
  BorderRadius = 10;
  BorderWidth = 1;
  BorderColor = PanelColor;
  Transparent = true;
}

void TOrvGuiPanel::Loaded() {
  const gfx::TSkin* skin = Skin();
  if (!UseStyles || skin == nullptr) return;
  const bool light = skin->Name == "Light";
  if (PanelGroupColor) {
    PanelColor = light ? skin->scGenericBackground : skin->scCategoryPanelGroup;
  } else {
    PanelColor = skin->scPanel;
  }
  BorderColor = light ? skin->scBorder : skin->scHintGradientBase;
}

}  // namespace vornix::editor
