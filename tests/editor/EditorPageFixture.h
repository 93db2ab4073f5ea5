// The plug-in's editor as a host opens it, on windows in memory: a real module with a recording
// host, the editor opened through effEditOpen, questions answered by a script.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "editor/forms/EmbeddedEditor.h"
#include "platform/MemoryWindowSystem.h"

// After the window headers: on Windows it brings <windows.h>, whose macros rename CreateWindow and
// CreateDialog.
#include "../plugin/ModuleFixture.h"

namespace vornix::testing {

using editor::TControl;
using editor::TMenuItem;
using editor::TPopupMenu;
using platform::TMouseButton;

class EditorPageTest : public PluginUnitTest {
 protected:
  void SetUp() override {
    PluginUnitTest::SetUp();
    system.SetParentOrigin({100, 100});
  }
  // The editor goes before the windows it lives on.
  void TearDown() override { plugin.reset(); }

  // With `scripted`, the script answers the module's questions instead of the editor's dialogs.
  void OpenEditor(bool scripted = true) {
    plugin->EditorFormClass = [this, scripted](host::TCustomVSTModule&) {
      return std::make_unique<editor::TEmbeddedEditor>(*plugin, &system, scripted ? dialogs : nullptr);
    };
    int parent = 0;
    ASSERT_EQ(plugin->Call(vst::effEditOpen, 0, 0, &parent), 1);
    editorWindow = dynamic_cast<editor::TEmbeddedEditor*>(plugin->EditorForm());
    ASSERT_NE(editorWindow, nullptr);
    form = editorWindow->Form();
    window = system.Find(*form->Window());
    host.automated.clear();
  }
  void CloseEditor() {
    plugin->Call(vst::effEditClose);
    form = nullptr;
    window = nullptr;
  }
  // The host's idle call after something changed (the module passes only those on).
  void Idle() {
    plugin->EditorNeedsUpdate = true;
    plugin->Call(vst::effEditIdle);
  }
  // What the host does when it automates a parameter: the value in 0..1.
  void HostAutomates(const std::string& name, float normalized) {
    plugin->HostSets(plugin->IndexOfParameter(name), normalized);
  }
  float Parameter(const std::string& name) { return plugin->ParameterValues().Items(name).Value(); }
  std::string Info() const { return form->lblInfo->Caption(); }

  template <class T = TControl>
  T& Control(const std::string& name) {
    auto* control = dynamic_cast<T*>(form->FindControl(name));
    if (control == nullptr) throw std::logic_error("no control " + name);
    return *control;
  }
  gfx::TPoint Center(const TControl& control) const {
    return control.ClientToForm({control.Width() / 2, control.Height() / 2});
  }
  void Click(const TControl& control, platform::TShiftState shift = 0, TMouseButton button = TMouseButton::Left) {
    const gfx::TPoint p = Center(control);
    system.Click(*window, p.X, p.Y, button, shift);
  }
  void MoveTo(const TControl& control) {
    const gfx::TPoint p = Center(control);
    system.MouseMove(*window, p.X, p.Y);
  }

  // Opens a menu with a click on `opener` and runs `inside` while it shows; a menu still open
  // afterwards is dismissed.
  void WithMenu(const TControl& opener, const std::function<void()>& inside, TMouseButton button = TMouseButton::Left) {
    system.QueueModalAction([this, inside] {
      inside();
      if (platform::TMemoryWindow* popup = system.ActivePopup()) system.KeyDown(*popup, platform::kKeyEscape);
    });
    Click(opener, 0, button);
    EXPECT_EQ(system.PendingModalActions(), 0u);
    EXPECT_EQ(system.ActivePopup(), nullptr);
  }
  // Inside an open menu: rests on every submenu on the way and clicks the item.
  void Choose(const TPopupMenu& menu, const TMenuItem& item) {
    std::vector<const TMenuItem*> path;
    for (const TMenuItem* p = item.Parent(); p != nullptr && p != &menu.Items; p = p->Parent())
      path.insert(path.begin(), p);
    for (const TMenuItem* submenu : path) ScreenMouse(*menu.ItemScreenRect(*submenu), false);
    const auto rect = menu.ItemScreenRect(item);
    ASSERT_TRUE(rect.has_value()) << item.Caption << " does not show";
    ScreenMouse(*rect, true);
  }
  // Chooses a menu item: opens the menu with `opener` and clicks it.
  void ChooseFrom(const TControl& opener, TPopupMenu& menu, const std::string& itemName,
                  TMouseButton button = TMouseButton::Left) {
    TMenuItem* item = menu.Items.Find(itemName);
    ASSERT_NE(item, nullptr) << itemName;
    WithMenu(
        opener, [&] { Choose(menu, *item); }, button);
  }

  platform::TMemoryWindowSystem system;
  editor::TEmbeddedEditor* editorWindow = nullptr;
  editor::TfrmEditor* form = nullptr;
  platform::TMemoryWindow* window = nullptr;

 private:
  // The popup on top at a screen point: the one shown last first.
  platform::TMemoryWindow* PopupAt(gfx::TPoint p) {
    const auto windows = system.Windows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
      if ((*it)->Visible() && (*it)->Kind() == platform::TWindowKind::Popup && (*it)->ScreenBounds().Contains(p))
        return *it;
    }
    return nullptr;
  }
  void ScreenMouse(const gfx::TRect& r, bool click) {
    const gfx::TPoint p{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    platform::TMemoryWindow* popup = PopupAt(p);
    ASSERT_NE(popup, nullptr);
    const gfx::TRect b = popup->ScreenBounds();
    if (click)
      system.Click(*popup, p.X - b.Left, p.Y - b.Top);
    else
      system.MouseMove(*popup, p.X - b.Left, p.Y - b.Top);
  }
};

}  // namespace vornix::testing
