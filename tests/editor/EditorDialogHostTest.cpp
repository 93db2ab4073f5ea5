// The module's questions while the editor is open: each becomes the editor's own dialog over the
// editor form; questions from another thread go to the host that stands in for the editor.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "DialogFixture.h"
#include "editor/dialogs/EditorDialogHost.h"

// After the window system's headers: on Windows it brings <windows.h>, whose macros rename
// CreateWindow and CreateDialog.
#include "../platform/TempEnvironment.h"

namespace vornix::editor::test {
namespace {

using platform::kKeyEscape;
using platform::kKeyReturn;
using platform::TModalResult;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;

class EditorDialogHostTest : public TDialogTest {
 protected:
  std::shared_ptr<platform::TScriptedDialogHost> elsewhere = std::make_shared<platform::TScriptedDialogHost>();
  TEditorDialogHost host{owner, elsewhere};
};

TEST_F(EditorDialogHostTest, MessagesAndQuestionsAreDialogsOverTheEditor) {
  Then([&] {
    EXPECT_EQ(Question().Kind(), platform::TWindowKind::Dialog);
    EXPECT_EQ(Question().Owner(), owner.Window());
    EXPECT_EQ(Question().Title(), "Preset Exists");
    Press(kKeyReturn);
  });
  EXPECT_EQ(host.ShowMessageDialog("Overwrite existing preset?", "Preset Exists", TMsgDlgType::mtConfirmation,
                                   TMsgDlgButtons::mbYesNo),
            TModalResult::mrYes);
  Then([&] { Press(kKeyEscape); });
  EXPECT_EQ(host.ShowMessageDialog("Overwrite existing preset?", "Preset Exists", TMsgDlgType::mtConfirmation,
                                   TMsgDlgButtons::mbYesNo),
            TModalResult::mrNo);
}

TEST_F(EditorDialogHostTest, TextAndNumberQuestions) {
  Then([&] {
    EXPECT_EQ(Question().Title(), "Save Preset");
    Type("My Preset");
    Press(kKeyReturn);
  });
  EXPECT_EQ(host.InputText("Save Preset", "Name", "Old", true, 50), "My Preset");
  Then([&] { Press(kKeyEscape); });
  EXPECT_EQ(host.InputText("Save Preset", "Name", "Old", true, 50), std::nullopt);

  Then([&] {
    Type("64");
    Press(kKeyReturn);
  });
  EXPECT_EQ(host.InputNumber("MIDI Set CC: Seq1 CC#", "CC# (0-127)", 1, 0, 127, 0), 64.0);
  Then([&] { Press(kKeyEscape); });
  EXPECT_EQ(host.InputNumber("MIDI Set CC: Seq1 CC#", "CC# (0-127)", 1, 0, 127, 0), std::nullopt);
}

TEST_F(EditorDialogHostTest, ChoosePresetRunsTheBrowser) {
  platform::test::TTempFolder temp;
  std::ofstream(temp.Path() / "Arp.orvanep") << "mmst";
  std::ofstream(temp.Path() / "Bass.orvanep") << "mmst";
  const std::string folder = temp.Path().string() + "/";
  Then([&] {
    EXPECT_EQ(Question().Kind(), platform::TWindowKind::Popup);
    system.KeyDown(Question(), platform::kKeyDown);
    Press(kKeyReturn);
  });
  EXPECT_EQ(host.ChoosePreset(folder, "arp"), "Bass");
  Then([&] { Press(kKeyEscape); });
  EXPECT_EQ(host.ChoosePreset(folder, "arp"), std::nullopt);
}

TEST_F(EditorDialogHostTest, QuestionsFromAnotherThreadGoToTheStandIn) {
  elsewhere->Answer(platform::TDialogAnswer::Yes()).Answer(platform::TDialogAnswer::Typed("x"));
  std::thread([&] {
    EXPECT_EQ(
        host.ShowMessageDialog("Initialize preset?", "Init", TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo),
        TModalResult::mrYes);
    EXPECT_EQ(host.InputText("Save Preset", "Name", "", true, 50), "x");
  }).join();
  ASSERT_EQ(elsewhere->Questions().size(), 2u);
  EXPECT_EQ(elsewhere->Questions()[0].Caption, "Init");
  EXPECT_TRUE(elsewhere->Problems().empty());
  EXPECT_FALSE(QuestionShown());
}

}  // namespace
}  // namespace vornix::editor::test
