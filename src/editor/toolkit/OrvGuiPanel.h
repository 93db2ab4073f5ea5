// The editor's rounded panel, coloured by the skin when loaded.
#pragma once

#include "editor/toolkit/Panel.h"

namespace vornix::editor {

class TOrvGuiPanel : public TPanel {
 public:
  TOrvGuiPanel();

  // Takes the skin's group colour instead of the panel colour.
  bool PanelGroupColor = false;
  // Takes its colours from the skin at all.
  bool UseStyles = true;

  void Loaded() override;
};

}  // namespace vornix::editor
