// What the dialog tests share: an editor-sized owner form shown in memory at a known place on a
// known screen, covered by a probe that records the input reaching the editor, and the questions'
// windows as the user would meet them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "EditorFixture.h"
#include "editor/toolkit/Form.h"
#include "gfx/Skin.h"
#include "platform/MemoryWindowSystem.h"

namespace vornix::editor::test {

class TDialogTest : public ::testing::Test {
 protected:
  static constexpr gfx::TRect kScreen = {0, 0, 1600, 1000};
  static constexpr gfx::TPoint kEditorOrigin = {100, 80};
  static constexpr int kEditorWidth = 786;
  static constexpr int kEditorHeight = 421;

  TDialogTest() : owner(system, &gfx::SkinByName("Carbon")) {
    system.SetScreenBounds(kScreen);
    system.SetParentOrigin(kEditorOrigin);
    owner.SetBounds(0, 0, kEditorWidth, kEditorHeight);
    probe = &owner.Add<TProbe>(log, "editor");
    probe->SetBounds(0, 0, kEditorWidth, kEditorHeight);
    owner.ShowEmbedded(kHost);
    log.clear();
  }

  platform::TMemoryWindow& EditorWindow() const { return *system.Find(*owner.Window()); }

  // The question shown last (a dialog or a popup that is no menu of ours is what a test asks for).
  platform::TMemoryWindow& Question() const {
    const auto windows = system.Windows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
      if ((*it)->Visible() && (*it)->Kind() != platform::TWindowKind::Child) return **it;
    }
    throw std::logic_error("no question is shown");
  }
  bool QuestionShown() const {
    for (const auto* w : system.Windows()) {
      if (w->Visible() && w->Kind() != platform::TWindowKind::Child) return true;
    }
    return false;
  }

  // What the user does while the next modal loop runs, one step per turn.
  void Then(std::function<void()> step) { system.QueueModalAction(std::move(step)); }
  void Press(int key) { system.KeyDown(Question(), key); }
  void Type(const std::string& text) { system.Type(Question(), text); }
  // A left click at a point of the question's client area.
  void ClickAt(gfx::TPoint p) { system.Click(Question(), p.X, p.Y); }
  void ClickIn(const gfx::TRect& r) { ClickAt({r.Left + r.Width() / 2, r.Top + r.Height() / 2}); }

  platform::TMemoryWindowSystem system;
  TForm owner;
  Log log;
  TProbe* probe = nullptr;
};

}  // namespace vornix::editor::test
