// State, presets and the CC map as a host sees them through the plug-in's entry points.
#include <gtest/gtest.h>

#include <fstream>

#include "Transport.h"

namespace vornix::testing {
namespace {

using namespace vst;

class HomeTest : public PlayingTest {
 protected:
  std::vector<unsigned char> ProgramChunk() {
    void* data = nullptr;
    const auto size = host->Dispatch(effGetChunk, 1, 0, &data);
    const auto* p = static_cast<const unsigned char*>(data);
    return {p, p + size};
  }
};

TEST_F(HomeTest, ChunkWithACCMapMakesControllersMoveParameters) {
  // A state with "Seq1 CC#" on controller 74: the CC map section is the last part of the body.
  std::vector<unsigned char> chunk = ProgramChunk();
  ASSERT_GT(chunk.size(), 11u);
  ASSERT_EQ(std::vector<unsigned char>(chunk.end() - 2, chunk.end()), (std::vector<unsigned char>{0x01, 0x00}));
  chunk.pop_back();
  const std::string name = "Seq1 CC#";
  chunk.push_back(0x01);
  chunk.push_back(0x06);
  chunk.push_back(static_cast<unsigned char>(name.size()));
  chunk.insert(chunk.end(), name.begin(), name.end());
  chunk.push_back(0x02);
  chunk.push_back(74);
  chunk.push_back(0x00);
  chunk.push_back(0x00);
  const std::uint32_t body = static_cast<std::uint32_t>(chunk.size() - 8);
  for (int i = 0; i < 4; ++i) chunk[static_cast<std::size_t>(4 + i)] = static_cast<unsigned char>(body >> (8 * i));
  ASSERT_EQ(host->Dispatch(effSetChunk, 1, static_cast<VstIntPtr>(chunk.size()), chunk.data()),
            static_cast<VstIntPtr>(chunk.size()));
  EXPECT_EQ(ProgramChunk(), chunk);

  host->requests.clear();
  host->SendMidi({Midi(0xB2, 74, 99, 3)});
  Block(0.0, 512, false);
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, 3), "99");
  ASSERT_EQ(host->CountRequests(audioMasterAutomate), 1u);
  const auto automate = std::find_if(host->requests.begin(), host->requests.end(),
                                     [](const hostkit::HostRequest& r) { return r.opcode == audioMasterAutomate; });
  EXPECT_EQ(automate->index, 3);
  EXPECT_FLOAT_EQ(automate->opt, 99.0f / 127.0f);
  // The controller is passed through as well.
  ASSERT_EQ(host->midi.size(), 1u);
  EXPECT_EQ(host->midi[0].status, 0xB2);
}

TEST_F(HomeTest, NewInstanceStartsFromTheInitPreset) {
  SetParameterText("Seq6 Active", "On");
  SetParameterText("Seq6 Rate", "1/16");
  const auto state = ProgramChunk();
  const auto presets = home.Path() / "Documents/Orvane/Vornix/Presets";
  std::filesystem::create_directories(presets);
  std::ofstream(presets / "init.orvanep", std::ios::binary)
      .write(reinterpret_cast<const char*>(state.data()), static_cast<std::streamsize>(state.size()));

  hostkit::PluginHost second(VORNIX_PLUGIN_PATH);
  ASSERT_NE(second.Create(), nullptr);
  EXPECT_EQ(second.DispatchText(effGetParamDisplay, 45), "On");    // Seq6 Active
  EXPECT_EQ(second.DispatchText(effGetParamDisplay, 49), "1/16");  // Seq6 Rate
}

}  // namespace
}  // namespace vornix::testing
