// The editor window before its controls: a window of the editor's size in the skin's window
// colour inside the host's, so that a host that was told there is an editor always gets one.
#pragma once

#include <memory>

#include "platform/Window.h"
#include "plugin/PluginEditor.h"

namespace vornix::plugin {

class TBlankEditor final : public TPluginEditor, private platform::TWindowHandler {
 public:
  TBlankEditor();
  ~TBlankEditor() override;

  int Width() const override { return kEditorWidth; }
  int Height() const override { return kEditorHeight; }
  void EmbedInto(void* parentWindow, vst::VstIntPtr hostValue) override;
  void Idle() override;

  void UpdateControls() override {}
  void UpdatePresetName() override {}
  void UpdateSequenceButtons() override {}
  void LoadGridSteps() override {}
  void SetGridStepNo(int) override {}
  void FocusControlUnderCursor() override {}
  void ShowInfo(const std::string&) override {}
  bool Activated() const override { return window_ != nullptr; }

 private:
  void HandleEvent(platform::TWindow&, const platform::TEvent&) override {}

  std::unique_ptr<platform::TWindowSystem> system_;
  std::unique_ptr<platform::TWindow> window_;
};

}  // namespace vornix::plugin
