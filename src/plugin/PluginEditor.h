// What the plug-in module asks of its editor window. The editor form implements it; the module
// only calls it on the editor's thread, and only while a form exists.
#pragma once

#include <string>

#include "host/CustomVSTModule.h"

namespace vornix::plugin {

// The editor's client size, known to hosts before the editor opens.
constexpr int kEditorWidth = 786;
constexpr int kEditorHeight = 421;

class TPluginEditor : public host::TVSTEditorForm {
 public:
  // Every control from the module's state.
  virtual void UpdateControls() = 0;
  virtual void UpdatePresetName() = 0;
  virtual void UpdateSequenceButtons() = 0;
  // The shown sequence's steps into the grid.
  virtual void LoadGridSteps() = 0;
  // The playing-step highlight: a step index, or -1 for none.
  virtual void SetGridStepNo(int step) = 0;
  virtual void ResetStepNo() { SetGridStepNo(-1); }
  // The mouse wheel acts on the control under the pointer.
  virtual void FocusControlUnderCursor() = 0;
  // A message in the editor's info line.
  virtual void ShowInfo(const std::string& text) = 0;
  // True once the form has been shown and activated.
  virtual bool Activated() const = 0;
  // Every editor-idle call of the host: the editor handles its window's events and timers.
  virtual void Idle() {}
  // The preset browser has closed (and its choice is loaded).
  virtual void AfterPresetBrowser() {}
  // Drops the mouse input queued for the editor's windows but not handled yet.
  virtual void FlushMouseInput() {}
};

}  // namespace vornix::plugin
