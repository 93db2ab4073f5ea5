// vornix-editor-shots FOLDER: opens the plug-in's editor on windows in memory, once per skin, with
// a few sequences set up the way a user would have them, and writes what the screen shows: the
// window at rest, with the main menu, the sequence menu and a value menu open, and with two of its
// dialogs.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>

#include "editor/EmbeddedEditor.h"
#include "gfx/Png.h"
#include "platform/MemoryWindowSystem.h"
#include "plugin/Plugin.h"
#include "plugin/Skins.h"

namespace {

using namespace vornix;

constexpr std::uintptr_t kHost = 0x1000;

std::string FileName(const gfx::TSkin& skin) {
  std::string name;
  for (char c : skin.Name) name += c == ' ' ? '-' : c;
  return name;
}

// Every shown window of the system at its place on a screen of `size`.
gfx::TBitmap Screen(const platform::TMemoryWindowSystem& system, int width, int height) {
  gfx::TBitmap shot(width, height, gfx::Rgb(70, 70, 76));
  gfx::TCanvas canvas(shot);
  for (const platform::TMemoryWindow* w : system.Windows()) {
    if (!w->Visible()) continue;
    const gfx::TRect b = w->ScreenBounds();
    canvas.DrawBitmap(b.Left, b.Top, w->Screen());
  }
  return shot;
}

void SetUp(plugin::TVSTPlugin& module) {
  const auto set = [&](const std::string& name, float value) { module.SetParameterByName(name, value); };
  set("Seq1 Active", 1);
  set("Seq1 Steps", 16);
  set("Seq1 CC#", 74);
  set("Seq1 Rate", 3);
  set("Seq1 Order", 1);
  set("Seq1 Trigger", 4);
  set("Seq3 Active", 1);
  set("Seq6 Active", 1);
  set("Seq1 Smooth", 1);
  auto& steps = module.Sequencer().Items(0).Steps();
  for (int i = 0; i < 16; ++i) {
    steps[i].SetValue(static_cast<float>((i * 37) % 128));
    steps[i].SetRandomRange(i % 3 == 0 ? 20.0f : 0.0f);
  }
  module.Sequencer().Items(0).SetTitle("Filter Cutoff Sweep");
  module.SetPresetName("Deep House Filter Movements And More");
}

// Opens a menu by clicking at a point of the editor, runs `look` while it is open, then closes it.
void WithMenuOpen(platform::TMemoryWindowSystem& system, platform::TMemoryWindow& window, editor::TControl& opener,
                  const std::function<void()>& look, editor::TMouseButton button = editor::TMouseButton::Left) {
  system.QueueModalAction([&] {
    look();
    system.KeyDown(*system.ActivePopup(), platform::kKeyEscape);
  });
  const gfx::TPoint p = opener.ClientToForm({opener.Width() / 2, opener.Height() / 2});
  system.Click(window, p.X, p.Y, button);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vornix-editor-shots FOLDER\n");
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const gfx::TSkin& skin : gfx::AllSkins()) {
      plugin::TVSTPlugin module;
      module.AfterConstruction();
      SetUp(module);
      plugin::SelectSkinStyle(skin.Name.c_str());
      platform::TMemoryWindowSystem system;
      system.SetParentOrigin({40, 40});
      editor::TEmbeddedEditor editorWindow(module, &system);
      int host = 0;
      editorWindow.EmbedInto(&host, 0);
      (void)kHost;
      editor::TfrmEditor& form = *editorWindow.Form();
      auto& window = *system.Find(*form.Window());
      system.AdvanceTime(200);
      form.SetGridStepNo(5);
      form.ShowControlInfo("Trigger");
      form.Update();
      gfx::SavePng(Screen(system, 866, 501), folder / (FileName(skin) + ".png"));

      const auto shoot = [&](const std::string& suffix) {
        return [&, suffix] { gfx::SavePng(Screen(system, 1100, 900), folder / (FileName(skin) + suffix + ".png")); };
      };
      WithMenuOpen(system, window, *form.btnMenu, shoot("-menu"));
      WithMenuOpen(system, window, *form.btnSeqMenu, shoot("-seqmenu"));
      WithMenuOpen(system, window, *form.btnTrigger, shoot("-trigger"));
      WithMenuOpen(system, window, *form.inputCC, shoot("-cc"), editor::TMouseButton::Right);

      // The editor's own dialogs: "About" (the menu's last item) and the title question.
      system.QueueModalAction([&] {
        system.KeyDown(*system.ActivePopup(), platform::kKeyUp);
        system.KeyDown(*system.ActivePopup(), platform::kKeyReturn);
      });
      system.QueueModalAction([&] {
        shoot("-about")();
        system.KeyDown(*system.FindDialog("About"), platform::kKeyReturn);
      });
      const gfx::TPoint menu = form.btnMenu->ClientToForm({5, 5});
      system.Click(window, menu.X, menu.Y);
      system.QueueModalAction([&] {
        shoot("-title")();
        system.KeyDown(*system.FindDialog("Edit Sequence Title"), platform::kKeyEscape);
      });
      const gfx::TPoint heading = form.lblSeqHeading->ClientToForm({5, 5});
      system.DoubleClick(window, heading.X, heading.Y);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vornix-editor-shots: %s\n", e.what());
    return 1;
  }
  return 0;
}
