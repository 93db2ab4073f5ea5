// The preset browser over the editor: what it lists and selects, its size and layout, the ways to
// choose or cancel, its menu with deleting and showing the folder, and the presses outside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DialogFixture.h"
#include "editor/dialogs/MessageDialog.h"
#include "editor/dialogs/PresetBrowser.h"
#include "platform/Files.h"

// After the window system's headers: on Windows it brings <windows.h>, whose macros rename
// CreateWindow and CreateDialog.
#include "../platform/TempEnvironment.h"

namespace vornix::editor::test {
namespace {

namespace fs = std::filesystem;
using platform::kKeyEscape;
using platform::kKeyReturn;
using platform::TModalResult;

constexpr std::uintptr_t kOtherHost = 0x4200002;

class PresetBrowserTest : public TDialogTest {
 protected:
  PresetBrowserTest() : folder((temp.Path() / "Presets").string() + "/"), browser(owner) {
    fs::create_directories(folder);
    browser.SetBounds(0, 0, kEditorWidth - 32, kEditorHeight - 32);
    browser.PlaceOverOwner();
    browser.FPresetsFolder = folder;
    browser.OpenFolder = [this](const fs::path& path) { opened.push_back(path); };
  }
  void Files(std::initializer_list<std::string> names) {
    for (const std::string& name : names) std::ofstream(fs::path(folder) / name) << "mmst";
  }
  bool Exists(const std::string& name) const { return fs::exists(fs::path(folder) / name); }
  std::vector<std::string> Entries() const {
    std::vector<std::string> entries;
    for (int i = 0; i < browser.lstPresets.Count(); ++i) entries.push_back(browser.lstPresets.Item(i).Text);
    return entries;
  }
  // The middle of an entry in the browser's client coordinates.
  gfx::TPoint Entry(int index) const {
    const gfx::TRect r = browser.lstPresets.ItemRect(index);
    return browser.lstPresets.ClientToForm({r.Left + 20, r.Top + r.Height() / 2});
  }
  gfx::TPoint Centre(const TControl& control) const {
    return control.ClientToForm({control.Width() / 2, control.Height() / 2});
  }
  void RightClick(gfx::TPoint p) { system.Click(Question(), p.X, p.Y, platform::TMouseButton::Right); }
  // A click on an item of the open menu.
  void Choose(const std::string& item) {
    platform::TMemoryWindow* menu = system.ActivePopup();
    ASSERT_NE(menu, nullptr);
    const auto r = browser.popMenu.ItemScreenRect(*browser.popMenu.Items.Find(item));
    ASSERT_TRUE(r.has_value()) << item;
    const gfx::TPoint origin = menu->ClientToScreen({0, 0});
    system.Click(*menu, r->Left + r->Width() / 2 - origin.X, r->Top + r->Height() / 2 - origin.Y);
  }
  // Deletes the entry through its menu, answering the question with the key.
  void DeleteEntry(int index, int answerKey) {
    Then([this, index] { RightClick(Entry(index)); });
    Then([this] { Choose("popMenu_Delete"); });
    Then([this, answerKey] {
      EXPECT_EQ(Question().Title(), "Delete Preset");
      Press(answerKey);
    });
  }

  platform::test::TTempFolder temp;
  std::string folder;
  TfrmPresets browser;
  std::vector<fs::path> opened;
};

TEST_F(PresetBrowserTest, ListsThePresetFilesSortedIgnoringCase) {
  Files({"b.orvanep", "A.orvanep", "c.txt", "Rise & Fall.orvanep"});
#ifndef _WIN32
  Files({".hidden.orvanep"});
#endif
  fs::create_directories(fs::path(folder) / "folder.orvanep");
  Then([&] {
    EXPECT_EQ(Entries(), (std::vector<std::string>{"A", "b", "Rise & Fall"}));
    EXPECT_EQ(browser.PresetFiles(), (std::vector<std::string>{"A.orvanep", "b.orvanep", "Rise & Fall.orvanep"}));
    // The current preset is not listed: the first entry is selected.
    EXPECT_EQ(browser.lstPresets.ItemIndex(), 0);
    EXPECT_TRUE(browser.btnOK.Enabled());
    EXPECT_EQ(browser.GetSelectedFileName(), folder + "A.orvanep");
    EXPECT_EQ(browser.lstPresets.Columns, 3);
    Press(kKeyEscape);
  });
  browser.FCurrentPreset = "gone";
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrCancel);
}

TEST_F(PresetBrowserTest, TheCurrentPresetIsSelectedIgnoringCase) {
  Files({"a.orvanep", "b.orvanep", "c.orvanep"});
  browser.FCurrentPreset = "B";
  Then([&] {
    EXPECT_EQ(browser.lstPresets.ItemIndex(), 1);
    Press(kKeyReturn);
  });
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrOk);
  EXPECT_EQ(browser.SelectedPreset(), "b");
}

TEST_F(PresetBrowserTest, AMissingFolderListsNothingAndOffersOnlyTheFolder) {
  browser.FPresetsFolder = (temp.Path() / "Documents" / "Orvane" / "Vornix" / "Presets").string() + "/";
  Then([&] {
    EXPECT_EQ(browser.lstPresets.Count(), 0);
    EXPECT_FALSE(browser.btnOK.Enabled());
    Press(kKeyReturn);  // nothing to open
    EXPECT_TRUE(QuestionShown());
    RightClick(Centre(browser.lstPresets));
  });
  Then([&] {
    EXPECT_FALSE(browser.popMenu.Items.Find("popMenu_Open")->Enabled);
    EXPECT_FALSE(browser.popMenu.Items.Find("popMenu_Delete")->Enabled);
    EXPECT_TRUE(browser.popMenu.Items.Find("popMenu_Explorer")->Enabled);
    Choose("popMenu_Explorer");
  });
  Then([&] {
    // The folder is made before it is shown.
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], platform::FilePath(browser.FPresetsFolder));
    EXPECT_TRUE(fs::is_directory(temp.Path() / "Documents" / "Orvane" / "Vornix" / "Presets"));
    Press(kKeyEscape);
  });
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrCancel);
}

TEST_F(PresetBrowserTest, AFolderThatCannotBeShownIsReported) {
  browser.OpenFolder = [](const fs::path&) { throw std::runtime_error("xdg-open was not found"); };
  Then([&] { RightClick(Centre(browser.lstPresets)); });
  Then([&] { Choose("popMenu_Explorer"); });
  Then([&] {
    EXPECT_EQ(Question().Title(), "Show in Explorer");
    Press(kKeyReturn);
  });
  Then([&] {
    EXPECT_TRUE(QuestionShown());  // the browser stays
    Press(kKeyEscape);
  });
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrCancel);
}

TEST_F(PresetBrowserTest, WithoutADocumentsFolderNothingIsListedOrShown) {
  // The folder the module names when the user has no documents folder: relative, so it would lie
  // in the host's working folder.
  struct TWorkingFolder {
    fs::path before = fs::current_path();
    explicit TWorkingFolder(const fs::path& folder) { fs::current_path(folder); }
    ~TWorkingFolder() { fs::current_path(before); }
  } working(temp.Path());
  fs::create_directories("Orvane/Vornix/Presets");
  std::ofstream("Orvane/Vornix/Presets/stray.orvanep") << "mmst";
  browser.FPresetsFolder = "Orvane/Vornix/Presets/";
  Then([&] {
    EXPECT_EQ(browser.lstPresets.Count(), 0);
    RightClick(Centre(browser.lstPresets));
  });
  Then([&] { Choose("popMenu_Explorer"); });
  Then([&] {
    EXPECT_EQ(Question().Title(), "Show in Explorer");
    Press(kKeyReturn);
  });
  Then([&] { Press(kKeyEscape); });
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrCancel);
  EXPECT_TRUE(opened.empty());
}

TEST_F(PresetBrowserTest, SizedToTheEditorWithTheLayoutFollowingIt) {
  Files({"a.orvanep"});
  Then([&] {
    const platform::TMemoryWindow& w = Question();
    EXPECT_EQ(w.Kind(), platform::TWindowKind::Popup);
    EXPECT_EQ(w.Owner(), owner.Window());
    // 32 pixels smaller than the editor's client area, centred on it.
    EXPECT_EQ(w.ScreenBounds(), gfx::TRect::FromSize(100 + 16, 80 + 16, 754, 389));
    Press(kKeyEscape);
  });
  EXPECT_FALSE(BrowsePresets(owner, folder, "").has_value());

  Then([&] {
    EXPECT_EQ(browser.panMain.BoundsRect(), gfx::TRect::FromSize(1, 1, 752, 387));
    EXPECT_EQ(browser.lblCaption.Caption(), "Load Preset");
    EXPECT_EQ(browser.lblCaption.BoundsRect(), gfx::TRect::FromSize(0, 6, 752, 19));
    const int cancelLeft = 12 + (754 - 24) - 80 - 1;
    const int top = 389 - 26 - 10;
    EXPECT_EQ(browser.lstPresets.BoundsRect(), gfx::TRect::FromSize(12, 36, 754 - 24, top - 36 - 10));
    EXPECT_EQ(browser.btnCancel.BoundsRect(), gfx::TRect::FromSize(cancelLeft, top, 80, 26));
    EXPECT_EQ(browser.btnOK.BoundsRect(), gfx::TRect::FromSize(cancelLeft - 80 - 10, top, 80, 26));
    Press(kKeyEscape);
  });
  browser.ExecutePopup();
}

TEST_F(PresetBrowserTest, ChosenWithOkOrADoubleClickOnAnEntry) {
  Files({"a.orvanep", "b.orvanep", "c.orvanep"});
  Then([&] { ClickAt(Entry(2)); });
  Then([&] { ClickAt(Centre(browser.btnOK)); });
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrOk);
  EXPECT_EQ(browser.GetSelectedFileName(), folder + "c.orvanep");

  Then([&] {
    // A double click on the empty part of the list chooses nothing.
    const gfx::TRect last = browser.lstPresets.ItemRect(2);
    const gfx::TPoint below = browser.lstPresets.ClientToForm({last.Left + 20, last.Bottom + 30});
    system.DoubleClick(Question(), below.X, below.Y);
    EXPECT_EQ(browser.ModalResult(), TModalResult::mrNone);
    system.DoubleClick(Question(), Entry(1).X, Entry(1).Y);
  });
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrOk);
  EXPECT_EQ(browser.SelectedPreset(), "b");

  Then([&] { ClickAt(Centre(browser.btnCancel)); });
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrCancel);
}

TEST_F(PresetBrowserTest, BrowsePresetsAnswersTheChosenNameAndDropsQueuedMouseInput) {
  Files({"Acid.orvanep", "Bass.orvanep"});
  Then([&] {
    EXPECT_EQ(Question().Kind(), platform::TWindowKind::Popup);
    system.Post(
        EditorWindow(),
        platform::TEvent{.Kind = platform::TEventKind::MouseDown, .X = 5, .Y = 5, .Button = TMouseButton::Left});
    Press(kKeyReturn);
  });
  EXPECT_EQ(BrowsePresets(owner, folder, "bass"), "Bass");
  system.Pump();
  EXPECT_TRUE(log.empty()) << testing::PrintToString(log);
}

TEST_F(PresetBrowserTest, ARightClickSelectsTheEntryBeforeTheMenuOpens) {
  Files({"a.orvanep", "b.orvanep", "c.orvanep"});
  Then([&] { RightClick(Entry(2)); });
  Then([&] {
    EXPECT_EQ(browser.lstPresets.ItemIndex(), 2);
    EXPECT_TRUE(browser.popMenu.IsOpen());
    std::vector<std::string> captions;
    for (const auto& item : browser.popMenu.Items.Items()) captions.push_back(item->Caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"Open", "Delete", "-", "Show in Explorer"}));
    Choose("popMenu_Open");
  });
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrOk);
  EXPECT_EQ(browser.SelectedPreset(), "c");
}

TEST_F(PresetBrowserTest, DeletingSelectsTheSamePlaceOrTheNewLastEntry) {
  Files({"a.orvanep", "b.orvanep", "c.orvanep", "d.orvanep"});
  DeleteEntry(1, kKeyReturn);  // b: its place goes to c
  Then([&] {
    EXPECT_FALSE(Exists("b.orvanep"));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"a", "c", "d"}));
    EXPECT_EQ(browser.lstPresets.ItemIndex(), 1);
  });
  DeleteEntry(2, kKeyReturn);  // d, the last: c is the new last
  Then([&] {
    EXPECT_EQ(Entries(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(browser.lstPresets.ItemIndex(), 1);
  });
  DeleteEntry(0, kKeyEscape);  // No
  Then([&] {
    EXPECT_TRUE(Exists("a.orvanep"));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(browser.lstPresets.ItemIndex(), 0);
    Press(kKeyEscape);
  });
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrCancel);
}

TEST_F(PresetBrowserTest, DeletingTheOnlyEntryLeavesNothingToOpen) {
  Files({"only.orvanep"});
  DeleteEntry(0, kKeyReturn);
  Then([&] {
    EXPECT_EQ(browser.lstPresets.Count(), 0);
    EXPECT_EQ(browser.lstPresets.ItemIndex(), -1);
    EXPECT_FALSE(browser.btnOK.Enabled());
    Press(kKeyReturn);
    EXPECT_TRUE(QuestionShown());
    Press(kKeyEscape);
  });
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrCancel);
  EXPECT_FALSE(Exists("only.orvanep"));
}

TEST_F(PresetBrowserTest, APressOutsideClosesItAndGoesOnToItsTarget) {
  Files({"a.orvanep"});
  TForm other(system, nullptr);
  other.SetBounds(0, 0, 200, 100);
  other.Add<TProbe>(log, "other").SetBounds(0, 0, 200, 100);
  other.ShowEmbedded(kOtherHost);
  log.clear();
  Then([&] { system.MouseDown(*system.Find(*other.Window()), 10, 20); });
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrCancel);
  EXPECT_EQ(log, (Log{"other:enter", "other:down L 10,20"}));

  // On the editor itself the press closes the browser and does nothing else there.
  log.clear();
  system.MouseUp(*system.Find(*other.Window()), 10, 20);
  log.clear();
  Then([&] { system.Click(EditorWindow(), 5, 5); });
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrCancel);
  EXPECT_TRUE(log.empty()) << testing::PrintToString(log);
}

TEST_F(PresetBrowserTest, APressInsideOrADragStartedInsideKeepsItOpen) {
  Files({"a.orvanep", "b.orvanep"});
  Then([&] {
    const gfx::TPoint p = Entry(1);
    system.MouseDown(Question(), p.X, p.Y);
    EXPECT_TRUE(browser.MouseIsDown());
    system.MouseMove(Question(), -40, -30, platform::ssLeft);  // out past its corner, still held
    system.AdvanceTime(500);
    EXPECT_TRUE(QuestionShown());
    system.MouseUp(Question(), -40, -30);
    EXPECT_FALSE(browser.MouseIsDown());
    system.AdvanceTime(500);
    EXPECT_TRUE(QuestionShown());
    EXPECT_EQ(browser.ModalResult(), TModalResult::mrNone);
    Press(kKeyEscape);
  });
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrCancel);
}

TEST_F(PresetBrowserTest, AButtonHeldOutsideClosesItWithinTheWatchInterval) {
  // A press outside both the browser and its open menu only dismisses the menu; while the button
  // stays down outside, the watch closes the browser too.
  Files({"a.orvanep"});
  Then([&] { RightClick(Entry(0)); });
  Then([&] { system.MouseDown(EditorWindow(), 3, 3); });
  Then([&] {
    EXPECT_FALSE(browser.popMenu.IsOpen());
    EXPECT_TRUE(QuestionShown());
    system.AdvanceTime(100);
  });
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrCancel);
  EXPECT_TRUE(log.empty()) << testing::PrintToString(log);
  system.MouseUp(EditorWindow(), 3, 3);
}

TEST_F(PresetBrowserTest, AfterAQuestionOfItsOwnItWatchesPressesOutsideAgain) {
  Files({"a.orvanep", "b.orvanep"});
  TForm other(system, nullptr);
  other.SetBounds(0, 0, 200, 100);
  other.Add<TProbe>(log, "other").SetBounds(0, 0, 200, 100);
  other.ShowEmbedded(kOtherHost);
  log.clear();
  Then([&] { RightClick(Entry(0)); });
  Then([&] { Choose("popMenu_Delete"); });
  Then([&] {
    // Yes with the mouse: the press on the question is no press outside the browser.
    const TMessageLayout layout = LayoutMessage("Delete \"a\"?", TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo);
    ClickIn(layout.Buttons[0]);
  });
  Then([&] {
    EXPECT_EQ(Entries(), (std::vector<std::string>{"b"}));
    EXPECT_EQ(browser.ModalResult(), TModalResult::mrNone);
    system.MouseDown(*system.Find(*other.Window()), 7, 8);
  });
  EXPECT_EQ(browser.ExecutePopup(), TModalResult::mrCancel);
  EXPECT_EQ(log, (Log{"other:enter", "other:down L 7,8"}));
  system.MouseUp(*system.Find(*other.Window()), 7, 8);
}

}  // namespace
}  // namespace vornix::editor::test
