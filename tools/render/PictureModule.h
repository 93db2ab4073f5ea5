// The module as the entry point makes it, but in the skin and at the zoom asked for: what pictures
// and the editor benchmark draw. The user's configuration is read as the plug-in reads it and
// never written; the desktop's scale does not count (a picture is the same on every machine).
#pragma once

#include "plugin/Plugin.h"

namespace vornix::render {

class TPictureModule final : public plugin::TVSTPlugin {
 public:
  // -1: the configured skin; zoom 0: the configured zoom, else 100 %.
  explicit TPictureModule(int style, int zoom = 0) : style_(style), zoom_(zoom) {}

 protected:
  void LoadConfig() override {
    plugin::TVSTPlugin::LoadConfig();
    if (style_ >= 0) FStyle = style_;
    if (zoom_ > 0) {
      FZoom = zoom_;
    } else if (FZoom == 0) {
      FZoom = 100;
    }
  }
  void SaveConfig() override {}

 private:
  int style_;
  int zoom_;
};

}  // namespace vornix::render
