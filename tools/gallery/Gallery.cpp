// vornix-gallery FOLDER: draws a page with every control of the editor's toolkit in each of the
// five skins, in rest, hot, pressed, down, focused and disabled states, and the same page with a
// menu and its submenu open; writes one PNG file per skin and view. Also prints how long a full
// repaint of the page takes.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "editor/toolkit/Edit.h"
#include "editor/toolkit/Form.h"
#include "editor/toolkit/Label.h"
#include "editor/toolkit/ListBox.h"
#include "editor/toolkit/OrvGuiPanel.h"
#include "editor/toolkit/OrvGuiStitchedSwitch.h"
#include "editor/toolkit/OrvMenuButton.h"
#include "editor/toolkit/OrvNumericInput.h"
#include "editor/toolkit/OrvPopupMenu.h"
#include "editor/toolkit/OrvSpTBXSpeedButton.h"
#include "gfx/Png.h"
#include "gfx/Resources.h"
#include "platform/MemoryWindowSystem.h"

namespace {

using namespace vornix;
using namespace vornix::editor;
using gfx::TFont;

constexpr std::uintptr_t kHost = 0x1000;

class TPage final : public TForm {
 public:
  using TForm::TForm;
  void Paint(gfx::TCanvas& canvas) override { canvas.FillTiled(ClientRect(), gfx::ScaledImage("EditorBackground")); }
};

TLabel& AddLabel(TControl& parent, const std::string& caption, int x, int y, int w, int h,
                 TFont font = TFont::SegoeUI(13, true)) {
  auto& label = parent.Add<TLabel>(caption);
  label.SetBounds(x, y, w, h);
  label.Font = font;
  return label;
}

TOrvSpTBXSpeedButton& AddButton(TControl& parent, const std::string& caption, int x, int y, int w, int h) {
  auto& button = parent.Add<TOrvSpTBXSpeedButton>();
  button.SetBounds(x, y, w, h);
  button.SetCaption(caption);
  return button;
}

TOrvNumericInput& AddInput(TControl& parent, int x, int y, int min, int max, float value) {
  auto& input = parent.Add<TOrvNumericInput>();
  input.SetBounds(x, y, 40, 24);
  input.SetMinValue(min);
  input.SetMaxValue(max);
  input.SetValue(value);
  input.OnGetText = [](TOrvNumericInput&, float v, std::string& text) { text = std::to_string(RoundHalfEven(v)); };
  return input;
}

struct TGallery {
  const gfx::TSkin& skin;
  platform::TMemoryWindowSystem system;
  TPage page{system, &skin};
  TOrvPopupMenu mainMenu, rateMenu;
  TImageList arrows{16, 16};
  TOrvMenuButton* menuButton = nullptr;
  TOrvSpTBXSpeedButton* hotButton = nullptr;
  TOrvSpTBXSpeedButton* pressButton = nullptr;

  explicit TGallery(const gfx::TSkin& s) : skin(s) {
    page.SetBounds(0, 0, 786, 421);
    BuildMenus();
    BuildHeading();
    BuildPage();
  }

  void BuildMenus() {
    mainMenu.Items.Add("Init");
    mainMenu.Items.AddSeparator();
    mainMenu.Items.Add("Load Preset");
    mainMenu.Items.Add("Save Preset");
    mainMenu.Items.AddSeparator();
    mainMenu.Items.Add("MIDI CC Teach").Default = true;
    mainMenu.Items.Find("");
    mainMenu.Items.AddSeparator();
    auto& learn = mainMenu.Items.Add("MIDI CC Learn");
    learn.Checked = true;
    learn.Default = true;
    mainMenu.Items.Add("MIDI Set CC");
    mainMenu.Items.AddSubmenu("MIDI CC Remove").Enabled = false;
    mainMenu.Items.AddSeparator();
    auto& skins = mainMenu.Items.AddSubmenu("Skin", 0);
    skins.Name = "Skin";
    int tag = 0;
    for (const char* name : {"Carbon", "Dark", "Light", "Luna", "Smokey"}) skins.Add(name, tag++);
    mainMenu.Items.AddSeparator();
    mainMenu.Items.Add("Open User Guide").Visible = false;
    mainMenu.Items.AddSeparator();
    mainMenu.Items.Add("About");
    mainMenu.CheckItemByTag(&skins, 3, false);

    for (const char* rate : {"1/1", "1/2", "1/4", "1/8", "1/16", "1/32"}) rateMenu.Items.Add(rate);
  }

  void BuildHeading() {
    auto& menu = page.Add<TOrvMenuButton>();
    menu.SetBounds(6, 8, 26, 26);
    menu.DropDownMenu = &mainMenu;
    menuButton = &menu;
    auto& name = AddLabel(page, "Vornix", 40, 9, 180, 26, TFont::Tahoma(21, true, gfx::Rgb(236, 236, 236)));
    name.UseSkinColor = false;
    auto& presets = AddButton(page, "Factory Init", 275, 8, 237, 26);
    presets.SetFont(TFont::SegoeUI(13, true));
    auto& info = page.Add<TPanel>();
    info.SetBounds(546, 8, 234, 26);
    info.BorderRadius = 6;
    info.PanelColor = gfx::Rgb(192, 192, 192);
    info.BorderColor = gfx::Rgb(150, 150, 150);
    info.Transparent = true;
    auto& infoText = AddLabel(info, "Rate: 1/16", 6, 6, 223, 14, TFont::Tahoma(11));
    infoText.Alignment = gfx::THAlign::Center;
    infoText.UseSkinColor = false;
  }

  void BuildPage() {
    auto& main = page.Add<TOrvGuiPanel>();
    main.SetBounds(3, 45, 780, 373);
    main.Alpha = 225;
    main.BorderRadius = 5;

    auto& active = main.Add<TOrvGuiStitchedSwitch>();
    active.SetBounds(37, 8, 24, 24);
    active.SetValue(true);
    AddLabel(main, "Sequence #1", 67, 10, 160, 18, TFont::Tahoma(15, true));
    for (int k = 0; k < 8; ++k) {
      auto& seq = AddButton(main, std::to_string(k + 1), 6, 38 + 26 * k, 24, 24);
      seq.GroupIndex = 2;
      seq.SetFont(TFont{gfx::TFontFace::SegoeUI, 12, true, k % 3 == 0, 0});
      if (k == 0) seq.SetDown(true);
      if (k == 2) hotButton = &seq;
    }

    // Where the step grid will be: a group panel holding the other controls.
    auto& grid = main.Add<TOrvGuiPanel>();
    grid.SetBounds(37, 38, 705, 272);
    grid.PanelGroupColor = true;
    grid.BorderRadius = 6;
    BuildSamples(grid);

    auto& seqMenu = main.Add<TOrvMenuButton>();
    seqMenu.SetBounds(749, 37, 24, 24);
    seqMenu.DropDownMenu = &mainMenu;
    int image = 0;
    for (const char* arrow : {"ARROWUP", "ARROWDOWN", "ARROWLEFT", "ARROWRIGHT"}) {
      const gfx::TImage& glyph = gfx::ScaledImage(arrow);
      arrows.Add(gfx::RecolorImage(glyph, skin.sfButtonTextNormal));
      arrows.Add(gfx::RecolorImage(glyph, skin.sfButtonTextPressed));
      auto& b = AddButton(main, "", 749, 67 + 26 * (image / 2), 24, 24);
      b.SetImages(&arrows);
      b.SetImageIndex(image);
      image += 2;
    }

    const auto dropDown = [&](const std::string& caption, int x, int w) {
      auto& b = AddButton(main, caption, x, 341, w, 25);
      b.DropDownMenu = &rateMenu;
      b.DropDownArrow = true;
      return &b;
    };
    AddLabel(main, "Steps", 37, 319, 37, 21);
    AddInput(main, 37, 341, 1, 64, 16);
    AddLabel(main, "Ch", 84, 319, 20, 21);
    AddInput(main, 84, 341, 1, 16, 1).SetHighlight(true);
    AddLabel(main, "CC#", 131, 319, 28, 21);
    AddInput(main, 131, 341, 0, 127, 74);
    AddLabel(main, "Rate", 178, 319, 31, 21);
    dropDown("1/16", 178, 103);
    AddLabel(main, "Type", 287, 319, 34, 21);
    dropDown("Triplet", 288, 107);
    AddLabel(main, "Order", 402, 319, 39, 21);
    pressButton = dropDown("Ping-Pong", 402, 122);
    AddLabel(main, "Trigger", 531, 319, 49, 21);
    dropDown("Note Restart", 531, 159);
    AddLabel(main, "Smooth", 695, 319, 52, 21);
    main.Add<TOrvGuiStitchedSwitch>().SetBounds(718, 341, 24, 24);
  }

  // The controls the dialogs use, in the grid's place.
  void BuildSamples(TControl& grid) {
    AddLabel(grid, "Load Preset", 12, 10, 300, 19, TFont::Tahoma(16, true));
    auto& list = grid.Add<TListBox>();
    list.SetBounds(12, 36, 420, 170);
    list.Columns = 3;
    list.Font = TFont::SegoeUI(12, true);
    const char* names[] = {"Acid Line",   "Ambient Swell", "Arp & Gate",  "Bass Pump",     "Breakbeat Filter",
                           "Chord Stabs", "Deep Sweep",    "Dub Delay",   "Filter Wobble", "Gated Pad",
                           "Glide Lead",  "Half Time",     "Init",        "Long Fade",     "Minimal Ticks",
                           "Offbeat",     "Pulse Width",   "Random Walk", "Rise & Fall",   "Sidechain",
                           "Slow Saw",    "Stutter",       "Swing 16",    "Triplet Ramp",  "Tremolo",
                           "Wide Stereo", "Zig Zag"};
    for (const char* n : names) list.AddItem(n);
    list.SetItemIndex(4);
    auto& ok = AddButton(grid, "OK", 262, 214, 80, 26);
    ok.SetFont(TFont::SegoeUI(12, true));
    auto& cancel = AddButton(grid, "Cancel", 352, 214, 80, 26);
    cancel.SetFont(TFont::SegoeUI(12, true));

    AddLabel(grid, "Title", 452, 36, 230, 16, TFont::SegoeUI(12));
    auto& edit = grid.Add<TEdit>();
    edit.SetBounds(452, 54, 236, 23);
    edit.SetText("Sequence #1 with a rather long title");
    edit.SetSelection(9, 11);
    edit.Name = "edit";
    auto& readOnly = grid.Add<TEdit>();
    readOnly.SetBounds(452, 84, 236, 23);
    readOnly.SetText("Read only");
    readOnly.ReadOnly = true;

    AddLabel(grid, "Buttons: rest, down, disabled", 452, 118, 236, 16, TFont::SegoeUI(12));
    AddButton(grid, "Rest", 452, 138, 72, 26);
    auto& down = AddButton(grid, "Down", 534, 138, 72, 26);
    down.GroupIndex = 7;
    down.SetDown(true);
    AddButton(grid, "Disabled", 616, 138, 72, 26).SetEnabled(false);
    auto& withArrow = AddButton(grid, "Drop-down", 452, 172, 154, 26);
    withArrow.DropDownArrow = true;
    auto& wrapped = AddLabel(grid, "Labels wrap at blanks when they are told to, line by line.", 452, 208, 236, 40,
                             TFont::SegoeUI(12));
    wrapped.WordWrap = true;
  }
};

void Compose(gfx::TCanvas& canvas, const platform::TMemoryWindowSystem& system) {
  for (const platform::TMemoryWindow* w : system.Windows()) {
    if (!w->Visible()) continue;
    const gfx::TRect b = w->ScreenBounds();
    canvas.DrawBitmap(b.Left, b.Top, w->Screen());
  }
}

std::string FileName(const gfx::TSkin& skin) {
  std::string name;
  for (char c : skin.Name) name += c == ' ' ? '-' : c;
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vornix-gallery FOLDER\n");
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const gfx::TSkin& skin : gfx::AllSkins()) {
      TGallery g(skin);
      g.system.SetParentOrigin({0, 0});
      g.page.ShowEmbedded(kHost);
      platform::TWindow& window = *g.page.Window();

      // How long a full repaint takes.
      constexpr int kRuns = 50;
      const auto start = std::chrono::steady_clock::now();
      for (int i = 0; i < kRuns; ++i) {
        g.page.Invalidate();
        g.page.Update();
      }
      const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
      std::printf("%s: full repaint %.3f ms\n", skin.Name.c_str(), took.count() / kRuns);

      // States: the edit focused, a sequence button hot, a drop-down button held down.
      if (auto* edit = g.page.FindControl("edit")) edit->SetFocus();
      const TPoint hot = g.hotButton->ClientToForm({5, 5});
      g.system.MouseMove(window, hot.X, hot.Y);
      const TPoint press = g.pressButton->ClientToForm({10, 10});
      g.system.MouseDown(window, press.X, press.Y);
      g.hotButton->MouseEnter();  // hot as well, though the pointer is held elsewhere
      g.page.Update();
      gfx::SavePng(static_cast<platform::TMemoryWindow&>(window).Screen(), folder / (FileName(skin) + ".png"));
      g.system.MouseMove(window, 700, 5);
      g.system.MouseUp(window, 700, 5);

      // The main menu with its Skin submenu open and an item lit.
      gfx::TBitmap shot(1000, 700, gfx::Rgb(90, 90, 96));
      g.system.QueueModalAction([&] {
        auto* popup = g.system.ActivePopup();
        // Up twice lights "Skin" (from the end), Right opens it, Down moves to its third item.
        for (int key : {platform::kKeyUp, platform::kKeyUp, platform::kKeyRight}) g.system.KeyDown(*popup, key);
      });
      g.system.QueueModalAction([&] {
        auto* sub = g.system.ActivePopup();
        g.system.KeyDown(*sub, platform::kKeyDown);
        g.system.KeyDown(*sub, platform::kKeyDown);
        gfx::TCanvas canvas(shot);
        Compose(canvas, g.system);
        g.system.KeyDown(*sub, platform::kKeyEscape);
        g.system.KeyDown(*g.system.ActivePopup(), platform::kKeyEscape);
      });
      g.system.Click(window, 15, 15);
      gfx::SavePng(shot, folder / (FileName(skin) + "-menu.png"));
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vornix-gallery: %s\n", e.what());
    return 1;
  }
  return 0;
}
