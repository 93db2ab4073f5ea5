// Preset files, the init preset and the per-user configuration, with a scripted user.
#include <gtest/gtest.h>

#include <fstream>

#include "PresetsFixture.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/OrvRegistry.h"
#include "plugin/Skins.h"

namespace vornix::testing {
namespace {

using platform::TDialogAnswer;
using platform::TDialogKind;

TEST_F(PresetsTest, FoldersLiveUnderTheDocumentsFolder) {
  EXPECT_EQ(plugin->DataFolder(), (home.Path() / "Documents" / "Orvane" / "Vornix").string() + platform::PathDelim);
  EXPECT_EQ(plugin->PresetsFolder(), plugin->DataFolder() + "Presets" + platform::PathDelim);
  EXPECT_FALSE(std::filesystem::exists(plugin->PresetsFolder()));  // nothing is created at start
}

TEST_F(PresetsTest, AnUnreadablePresetFileChangesNothing) {
  std::filesystem::create_directories(plugin->PresetsFolder());
  std::ofstream(PresetFile("Broken")) << "not a preset at all";
  Change();
  plugin->SetPresetName("Mine");
  EXPECT_FALSE(plugin->LoadPresetFile("Broken"));
  EXPECT_EQ(plugin->PresetName(), "Mine");
  EXPECT_TRUE(plugin->Sequencer().Items(2).Active());
  ASSERT_FALSE(dialogs->Questions().empty());
  EXPECT_EQ(dialogs->Questions().back().Caption, "Load Preset");
  EXPECT_EQ(dialogs->Questions().back().Text.rfind("Error loading preset from file.\r\n\r\n\"", 0), 0u);
}

TEST_F(PresetsTest, InitPresetDefinesTheStartingStateButNoName) {
  auto fresh = Reopen();
  EXPECT_FALSE(fresh->Sequencer().Items(2).Active());  // no init preset: defaults
  Change();
  plugin->SavePresetFile("init");
  fresh = Reopen();
  EXPECT_TRUE(fresh->Sequencer().Items(2).Active());
  EXPECT_EQ(fresh->Sequencer().Items(2).Steps()[0].Value(), 5.0f);
  EXPECT_EQ(fresh->PresetName(), "");
  EXPECT_EQ(fresh->MidiCCList().Count(), 1);
  // Init on a changed instance returns to it too.
  plugin->SetParameterByName("Seq3 Active", 0.0f);
  plugin->InitPreset();
  EXPECT_TRUE(plugin->Sequencer().Items(2).Active());
}

TEST_F(PresetsTest, DamagedInitPresetStillGivesAWorkingInstance) {
  std::filesystem::create_directories(plugin->PresetsFolder());
  std::ofstream(PresetFile("init")) << "garbage";
  auto fresh = Reopen();
  EXPECT_TRUE(fresh->Sequencer().Items(0).Active());
  EXPECT_FALSE(fresh->Sequencer().Items(2).Active());
}

TEST_F(PresetsTest, ConfigurationIsReadClampedAndWrittenOnChange) {
  {
    auto config = platform::OpenConfigKey("Vornix");
    config->WriteInteger("Config", "Style", 7);
    config->WriteInteger("Config", "LowestOctave", -5);
  }
  auto fresh = Reopen();
  EXPECT_EQ(fresh->Style(), 7);
  EXPECT_EQ(fresh->LowestOctave(), -2);
  EXPECT_EQ(plugin::ProcessLowestOctave(), -2);
  EXPECT_STREQ(plugin::SkinStyleName(7), "Carbon");
  EXPECT_EQ(plugin::SkinMenuCaption(7), nullptr);
  EXPECT_STREQ(plugin::SkinStyleName(1), "Amakrits");
  {
    auto config = platform::OpenConfigKey("Vornix");
    config->WriteInteger("Config", "LowestOctave", 3);
  }
  EXPECT_EQ(Reopen()->LowestOctave(), 0);
  fresh->SetStyle(4);
  fresh->SetLowestOctave(-1);
  auto config = platform::OpenConfigKey("Vornix");
  EXPECT_EQ(config->ReadInteger("Config", "Style", 0), 4);
  EXPECT_EQ(config->ReadInteger("Config", "LowestOctave", 0), -1);
  EXPECT_EQ(plugin::ProcessLowestOctave(), -1);
  // Set from the program as it is read from the file: within -2..0.
  fresh->SetLowestOctave(-9);
  EXPECT_EQ(fresh->LowestOctave(), -2);
  EXPECT_EQ(platform::OpenConfigKey("Vornix")->ReadInteger("Config", "LowestOctave", 0), -2);
  fresh->SetLowestOctave(4);
  EXPECT_EQ(plugin::ProcessLowestOctave(), 0);
}

}  // namespace
}  // namespace vornix::testing
