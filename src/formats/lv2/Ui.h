// Vornix's own editor as an LV2 UI (ui:X11UI): opened inside the host's window
// (ui:parent), driven by the host's idle calls, and reaching the module it
// edits through instance access. A change the editor makes goes to the host as
// LV2 prescribes: parameters as port writes, between the touch calls of their
// gesture; other changes of the state as a notification on the plug-in's
// output.
//
// Every call comes on the host's UI thread, which becomes the editor's.
#pragma once

#include <lv2/ui/ui.h>

#include <cstdint>

#include "formats/lv2/Plugin.h"

namespace vornix::formats::lv2 {

class TUi final : public TPlugin::TUi {
 public:
  // Throws std::runtime_error when the plug-in has a UI open already or the
  // editor cannot open.
  TUi(TPlugin& plugin, void* parent, LV2UI_Write_Function write, LV2UI_Controller controller, const LV2UI_Touch* touch,
      const LV2UI_Resize* resize);
  ~TUi();
  TUi(const TUi&) = delete;
  TUi& operator=(const TUi&) = delete;

  // The editor's own window, inside the host's.
  LV2UI_Widget Widget() const { return reinterpret_cast<LV2UI_Widget>(window_); }
  void Idle();

 private:
  void Report(int parameter, float value) override;
  void Gesture(int parameter, bool begins) override;
  bool Resize(int width, int height) override;

  TPlugin& plugin_;
  LV2UI_Write_Function write_;
  LV2UI_Controller controller_;
  const LV2UI_Touch* touch_;
  const LV2UI_Resize* resize_;
  std::uintptr_t window_ = 0;
};

}  // namespace vornix::formats::lv2
