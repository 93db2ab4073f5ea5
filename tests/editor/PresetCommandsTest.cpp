// The editor's preset commands: the questions around saving and loading a preset, answered by a
// script, and the files they leave.
#include <gtest/gtest.h>

#include <filesystem>

#include "../plugin/PresetsFixture.h"
#include "editor/forms/PresetCommands.h"
#include "platform/Files.h"

namespace vornix::testing {
namespace {

using platform::TDialogAnswer;

using PresetCommandsTest = PresetsTest;

TEST_F(PresetCommandsTest, SaveUnderAValidFileNameAndLoadItBack) {
  Change();
  dialogs->Answer(TDialogAnswer::Typed("  a/b:c  "));
  editor::SavePresetAs(*plugin);
  ASSERT_TRUE(std::filesystem::exists(PresetFile("a_b_c")));
  EXPECT_EQ(plugin->PresetName(), "a_b_c");
  EXPECT_EQ(dialogs->Questions()[0].Caption, "Save Preset");
  EXPECT_EQ(dialogs->Questions()[0].Prompt, "Name");
  EXPECT_EQ(dialogs->Questions()[0].MaxLength, 50);

  plugin->ResetState();
  dialogs->Answer(TDialogAnswer::Chosen("a_b_c"));
  editor::ShowPresetBrowser(*plugin);
  EXPECT_EQ(plugin->PresetName(), "a_b_c");
  EXPECT_TRUE(plugin->Sequencer().Items(2).Active());
  EXPECT_EQ(plugin->Sequencer().Items(2).Steps()[0].Value(), 5.0f);
  ASSERT_EQ(plugin->MidiCCList().Count(), 1);
  EXPECT_TRUE(dialogs->Problems().empty());
}

// Names are UTF-8 inside; the file must carry the same characters on every system (on Windows
// through the wide-character file functions), and the browser must offer and load it.
TEST_F(PresetCommandsTest, NonAsciiNamesSaveListAndLoadBack) {
  const std::string name = "Caf\xc3\xa9 \xe2\x82\xac 5";
  Change();
  dialogs->Answer(TDialogAnswer::Typed(name));
  editor::SavePresetAs(*plugin);
  EXPECT_EQ(plugin->PresetName(), name);
  EXPECT_TRUE(std::filesystem::is_regular_file(platform::FilePath(plugin->PresetsFolder()) /
                                               std::filesystem::path(u8"Caf\u00e9 \u20ac 5.orvanep")));
  plugin->ResetState();
  dialogs->Answer(TDialogAnswer::Chosen(name));
  editor::ShowPresetBrowser(*plugin);
  EXPECT_EQ(plugin->PresetName(), name);
  EXPECT_TRUE(plugin->Sequencer().Items(2).Active());
  EXPECT_TRUE(dialogs->Problems().empty());
}

TEST_F(PresetCommandsTest, BlankNameClearsTheShownNameAndWritesNothing) {
  plugin->SetPresetName("Old");
  host.automated.clear();
  dialogs->Answer(TDialogAnswer::Typed("   "));
  editor::SavePresetAs(*plugin);
  EXPECT_EQ(plugin->PresetName(), "");
  EXPECT_EQ(host.automated.size(), 1u);  // the host hears of the change
  EXPECT_FALSE(std::filesystem::exists(plugin->PresetsFolder()));
}

TEST_F(PresetCommandsTest, NoToOverwriteChangesNothing) {
  dialogs->Answer(TDialogAnswer::Typed("Keep"));
  editor::SavePresetAs(*plugin);
  const auto before = std::filesystem::file_size(PresetFile("Keep"));
  Change();
  plugin->SetPresetName("Other");
  dialogs->Answer(TDialogAnswer::Typed("Keep")).Answer(TDialogAnswer::No());
  editor::SavePresetAs(*plugin);
  EXPECT_EQ(plugin->PresetName(), "Other");
  EXPECT_EQ(std::filesystem::file_size(PresetFile("Keep")), before);
  const auto& q = dialogs->Questions().back();
  EXPECT_EQ(q.Text, "Overwrite existing preset?");
  EXPECT_EQ(q.Caption, "Preset Exists");
  EXPECT_EQ(q.Buttons, platform::TMsgDlgButtons::mbYesNo);
  // Yes replaces it.
  dialogs->Answer(TDialogAnswer::Typed("Keep")).Answer(TDialogAnswer::Yes());
  editor::SavePresetAs(*plugin);
  EXPECT_EQ(plugin->PresetName(), "Keep");
  EXPECT_NE(std::filesystem::file_size(PresetFile("Keep")), before);
}

TEST_F(PresetCommandsTest, CancelledBrowserDropsTheNameOfADeletedPreset) {
  dialogs->Answer(TDialogAnswer::Typed("Gone"));
  editor::SavePresetAs(*plugin);
  std::filesystem::remove(PresetFile("Gone"));
  dialogs->Answer(TDialogAnswer::Cancel());
  editor::ShowPresetBrowser(*plugin);
  EXPECT_EQ(plugin->PresetName(), "");
}

}  // namespace
}  // namespace vornix::testing
