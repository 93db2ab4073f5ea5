// The state is the VST 2.x build's program chunk, byte for byte: saved by one format, it loads in
// the other; a host's state file (lilv's Turtle) carries it; the factory presets hold the very
// bytes of the preset files, restore as the VST 2.x build loads them, and their ports show the
// settings.
#include <gtest/gtest.h>

#include <lv2/presets/presets.h>

#include <fstream>
#include <iterator>

#include "../platform/TempEnvironment.h"
#include "LilvHost.h"
#include "formats/lv2/bundle/Turtle.h"
#include "hostkit/PluginHost.h"

namespace vornix::testing::lv2 {
namespace {

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Lv2State : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(world.Plugin(), nullptr);
    vst2.Create();
    vst2.Dispatch(vst::effOpen);
  }
  vst::AEffect& Vst2() { return *vst2.Effect(); }
  // A preset from the bundle, by its label.
  LilvState* Preset(const std::string& label) {
    const LilvNode* preset = world.Uri(std::string(formats::lv2::kPresetUriPrefix) + formats::lv2::PresetSlug(label));
    lilv_world_load_resource(world.World(), preset);  // as hosts do before they read a preset
    return lilv_state_new_from_world(world.World(), map.MapFeature(), preset);
  }

  platform::test::TTempHome home;
  TWorld world;
  TUridMap map;
  hostkit::PluginHost vst2{VORNIX_PLUGIN_PATH};
};

TEST_F(Lv2State, StateSavedByOneFormatLoadsInTheOther) {
  TInstance lv2(world, map);
  lv2.Control(22) = 3.0f;  // Seq3 Rate
  lv2.Control(27) = 1.0f;  // Seq4 Active
  lv2.Run(64);
  const auto fromLv2 = lv2.SaveChunk();
  ASSERT_GT(fromLv2.size(), 8u);
  EXPECT_EQ(std::string(fromLv2.begin(), fromLv2.begin() + 4), "mmst");
  ASSERT_NE(vst2.SetChunk(fromLv2), 0);
  EXPECT_EQ(vst2.GetChunk(), fromLv2);
  EXPECT_EQ(vst2.DispatchText(vst::effGetParamDisplay, 22), "1/16");

  Vst2().setParameter(&Vst2(), 40, 1.0f);  // Seq5 Order, to its last
  const auto fromVst2 = vst2.GetChunk();
  TInstance other(world, map);
  ASSERT_EQ(other.RestoreChunk(fromVst2), LV2_STATE_SUCCESS);
  EXPECT_EQ(other.SaveChunk(), fromVst2);
}

// A host saves the state as lilv writes it (the chunk in base64 beside the ports' values) and
// restores it into a new instance: the same bytes.
TEST_F(Lv2State, AHostsStateFileCarriesTheChunk) {
  TInstance lv2(world, map);
  ASSERT_EQ(lv2.RestoreChunk(ReadFile(std::filesystem::path(VORNIX_PRESETS_DIR) / "Demo Ramp.orvanep")),
            LV2_STATE_SUCCESS);
  lv2.Control(5) = 2.0f;  // Seq1 Rate Type
  lv2.Run(64);
  const auto saved = lv2.SaveChunk();
  LilvState* state = lilv_state_new_from_instance(world.Plugin(), lv2.Instance(), map.MapFeature(), nullptr, nullptr,
                                                  nullptr, nullptr, &TInstance::GetPort, &lv2, 0, lv2.Features());
  ASSERT_NE(state, nullptr);
  char* text =
      lilv_state_to_string(world.World(), map.MapFeature(), map.UnmapFeature(), state, "urn:vornix:test", nullptr);
  lilv_state_free(state);
  ASSERT_NE(text, nullptr);
  EXPECT_NE(std::string(text).find("base64Binary"), std::string::npos) << text;

  LilvState* read = lilv_state_new_from_string(world.World(), map.MapFeature(), text);
  lilv_free(text);
  ASSERT_NE(read, nullptr);
  TInstance restored(world, map);
  restored.Restore(read);
  lilv_state_free(read);
  EXPECT_EQ(restored.Control(5), 2.0f);
  restored.Run(64);
  EXPECT_EQ(restored.SaveChunk(), saved);
}

TEST_F(Lv2State, FactoryPresetsRestoreThePresetFilesAndShowTheirSettings) {
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> expected = {{"Init", vst2.GetChunk()}};
  for (const auto& file : std::filesystem::directory_iterator(VORNIX_PRESETS_DIR))
    if (file.path().extension() == ".orvanep")
      expected.emplace_back(file.path().stem().string(), ReadFile(file.path()));
  const std::string presets = platform::test::ReadText(std::filesystem::path(VORNIX_LV2_BUNDLE) / "presets.ttl");
  for (const auto& [label, bytes] : expected) {
    SCOPED_TRACE(label);
    EXPECT_NE(presets.find("\"" + formats::lv2::Base64(bytes) + "\"^^xsd:base64Binary"), std::string::npos);
    LilvState* preset = Preset(label);
    ASSERT_NE(preset, nullptr);
    TInstance lv2(world, map);
    lv2.Restore(preset);
    lilv_state_free(preset);
    // As the VST 2.x build has it after loading the same bytes as a host's chunk.
    ASSERT_NE(vst2.SetChunk(bytes), 0);
    const auto loaded = vst2.GetChunk();
    EXPECT_EQ(lv2.SaveChunk(), loaded);
    // The ports show what the state holds: running leaves the settings as they are.
    for (int i = 0; i < plugin::kParameterCount; ++i) {
      const auto& setting = plugin::kSettings[static_cast<std::size_t>(plugin::SettingOf(i))];
      EXPECT_EQ(lv2.Control(i),
                std::nearbyint(setting.min + Vst2().getParameter(&Vst2(), i) * (setting.max - setting.min)))
          << i;
    }
    lv2.Run(64);
    EXPECT_EQ(lv2.SaveChunk(), loaded);
  }
}

}  // namespace
}  // namespace vornix::testing::lv2
