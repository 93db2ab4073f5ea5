// vornix-dialog-gallery FOLDER: runs each dialog of the editor for real, in windows in memory over
// a page the size of the editor, and photographs the screen while it is open: the message box
// (warning, question, information), the text and number questions, and the preset browser with
// and without its menu. One PNG file per skin and dialog; dialogs get a plain title bar such as a
// window manager would draw.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "editor/dialogs/InputDialogs.h"
#include "editor/dialogs/MessageDialog.h"
#include "editor/dialogs/MessageIcons.h"
#include "editor/dialogs/PresetBrowser.h"
#include "gfx/Png.h"
#include "gfx/Resources.h"
#include "platform/MemoryWindowSystem.h"

namespace {

using namespace vornix;
using namespace vornix::editor;

constexpr std::uintptr_t kHost = 0x1000;
constexpr int kTitleBar = 24;
const gfx::TRect kScreen = {0, 0, 900, 540};
const gfx::TPoint kEditorOrigin = {57, 79};

class TPage final : public TForm {
 public:
  using TForm::TForm;
  void Paint(gfx::TCanvas& canvas) override {
    canvas.FillTiled(ClientRect(), gfx::ImageResource("EditorBackground"));
    gfx::TFont font = gfx::TFont::Tahoma(21, true, gfx::Rgb(236, 236, 236));
    canvas.TextOut(12, 8, "Vornix", font);
  }
};

// The screen as the user sees it: the desktop, the editor, then every shown popup and dialog in
// the order they were made, dialogs under a title bar.
gfx::TBitmap Photograph(const platform::TMemoryWindowSystem& system) {
  gfx::TBitmap shot(kScreen.Width(), kScreen.Height(), gfx::Rgb(70, 78, 90));
  gfx::TCanvas canvas(shot);
  for (const platform::TMemoryWindow* w : system.Windows()) {
    if (!w->Visible()) continue;
    const gfx::TRect b = w->ScreenBounds();
    if (w->Kind() == platform::TWindowKind::Dialog) {
      const gfx::TRect frame = {b.Left - 1, b.Top - kTitleBar, b.Right + 1, b.Bottom + 1};
      canvas.FillRect(frame.Inflate(2, 2), gfx::Argb(60, 0, 0, 0));
      canvas.FillRect(frame, gfx::Rgb(48, 52, 58));
      canvas.DrawText({b.Left + 8, frame.Top, b.Right - 8, b.Top}, w->Title(),
                      gfx::TFont::SegoeUI(12, true, gfx::Rgb(235, 235, 235)));
    }
    canvas.DrawBitmap(b.Left, b.Top, w->Screen());
  }
  return shot;
}

std::string FileName(const gfx::TSkin& skin, const std::string& what) {
  std::string name;
  for (char c : skin.Name) name += c == ' ' ? '-' : c;
  return name + "-" + what + ".png";
}

struct TScene {
  explicit TScene(const gfx::TSkin& skin) : page(system, &skin) {
    system.SetScreenBounds(kScreen);
    system.SetParentOrigin(kEditorOrigin);
    page.SetBounds(0, 0, 786, 421);
    page.ShowEmbedded(kHost);
  }
  // Runs `question`; while it is open, photographs the screen to `file`, then `answer` closes it.
  void Shoot(const std::filesystem::path& file, const std::function<void()>& question,
             const std::function<void()>& prepare, const std::function<void()>& answer) {
    system.QueueModalAction([=, this] {
      if (prepare) prepare();
      system.AdvanceTime(1);  // the paint timer
      gfx::SavePng(Photograph(system), file);
      answer();
    });
    question();
  }
  platform::TMemoryWindow& Top() const {
    const auto windows = system.Windows();
    return *windows.back();
  }

  platform::TMemoryWindowSystem system;
  TPage page;
};

void MakePresets(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  for (const char* name : {"Acid Line",
                           "Ambient Swell",
                           "Arp & Gate",
                           "Bass Pump",
                           "Breakbeat Filter",
                           "Chord Stabs",
                           "Deep Sweep",
                           "Dub Delay",
                           "Filter Wobble",
                           "Gated Pad",
                           "Glide Lead",
                           "Half Time",
                           "init",
                           "Long Fade with a name much too long for its column",
                           "Minimal Ticks",
                           "Offbeat",
                           "Pulse Width",
                           "Random Walk",
                           "Rise & Fall",
                           "Sidechain"}) {
    std::ofstream(folder / (std::string(name) + ".orvanep")) << "mmst";
  }
}

// The icons at their size and four times as large, on the skin's dialog background.
void IconSheet(const gfx::TSkin& skin, const std::filesystem::path& file) {
  const TMsgDlgType types[] = {TMsgDlgType::mtWarning, TMsgDlgType::mtInformation, TMsgDlgType::mtConfirmation,
                               TMsgDlgType::mtError};
  gfx::TBitmap sheet(4 * 150, 190, skin.DialogBackground);
  gfx::TCanvas canvas(sheet);
  for (int i = 0; i < 4; ++i) {
    gfx::TBitmap icon(32, 32, skin.DialogBackground);
    gfx::TCanvas iconCanvas(icon);
    DrawMessageIcon(iconCanvas, {0, 0, 32, 32}, types[i]);
    canvas.DrawBitmap(i * 150 + 59, 10, icon);
    canvas.StretchBitmap(gfx::TRect::FromSize(i * 150 + 11, 52, 128, 128), icon, icon.Bounds());
  }
  gfx::SavePng(sheet, file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vornix-dialog-gallery FOLDER\n");
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    const std::filesystem::path presets = folder / "presets";
    MakePresets(presets);
    const std::string presetsFolder = presets.string() + "/";

    for (const gfx::TSkin& skin : gfx::AllSkins()) {
      IconSheet(skin, folder / FileName(skin, "icons"));
      TScene s(skin);
      const auto press = [&](int key) { return [&s, key] { s.system.KeyDown(s.Top(), key); }; };
      s.Shoot(
          folder / FileName(skin, "warning"),
          [&] {
            ShowMessageDialog(&s.page,
                              platform::ErrorText("Error loading preset from file.",
                                                  "Cannot open file /home/user/Documents/Orvane/Vornix/Presets/"
                                                  "Broken.orvanep: No such file or directory"),
                              "Load Preset", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
          },
          {}, press(platform::kKeyReturn));
      s.Shoot(
          folder / FileName(skin, "confirmation"),
          [&] {
            ShowMessageDialog(&s.page, "Delete \"Arp & Gate\"?", "Delete Preset", TMsgDlgType::mtConfirmation,
                              TMsgDlgButtons::mbYesNo);
          },
          {}, press(platform::kKeyEscape));
      s.Shoot(
          folder / FileName(skin, "information"),
          [&] {
            ShowMessageDialog(&s.page, "Please close and re-open the plugin window for skin changes to take effect.",
                              "Change Skin", TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK);
          },
          {}, press(platform::kKeyReturn));
      s.Shoot(
          folder / FileName(skin, "text"),
          [&] {
            std::string name = "Arp & Gate";
            InputText(s.page, "Save Preset", "Name", true, 50, name);
          },
          {}, press(platform::kKeyEscape));
      s.Shoot(
          folder / FileName(skin, "number"),
          [&] {
            double cc = 74;
            InputNumber(s.page, "MIDI Set CC: Seq1 CC#", "CC# (0-127)", 127, 0, 0, cc);
          },
          [&] { s.system.Type(s.Top(), "1"); }, press(platform::kKeyEscape));
      s.Shoot(
          folder / FileName(skin, "presets"), [&] { BrowsePresets(s.page, presetsFolder, "Bass Pump"); },
          [&] { s.system.MouseMove(s.Top(), 300, 80); }, press(platform::kKeyEscape));
      // The browser's menu, opened on an entry with the right button.
      s.system.QueueModalAction([&] {
        platform::TMemoryWindow& browser = s.Top();
        s.system.QueueModalAction([&] {
          s.system.AdvanceTime(1);
          gfx::SavePng(Photograph(s.system), folder / FileName(skin, "presets-menu"));
          s.system.KeyDown(s.Top(), platform::kKeyEscape);
        });
        s.system.Click(browser, 280, 100, platform::TMouseButton::Right);
        s.system.KeyDown(browser, platform::kKeyEscape);
      });
      BrowsePresets(s.page, presetsFolder, "Bass Pump");
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vornix-dialog-gallery: %s\n", e.what());
    return 1;
  }
  return 0;
}
