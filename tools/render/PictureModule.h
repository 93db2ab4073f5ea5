// The module as the entry point makes it, but in the skin asked for: what pictures and the editor
// benchmark draw. The user's configuration is read as the plug-in reads it and never written.
#pragma once

#include "plugin/Plugin.h"

namespace vornix::render {

class TPictureModule final : public plugin::TVSTPlugin {
 public:
  // -1: the configured skin.
  explicit TPictureModule(int style) : style_(style) {}

 protected:
  void LoadConfig() override {
    plugin::TVSTPlugin::LoadConfig();
    if (style_ >= 0) FStyle = style_;
  }
  void SaveConfig() override {}

 private:
  int style_;
};

}  // namespace vornix::render
