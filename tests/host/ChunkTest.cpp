// The chunk exchange: program and bank forms, ownership of the bytes, refused banks.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <cstring>
#include <memory>

#include "TestModule.h"
#include "host/HostText.h"

namespace vornix::testing {
namespace {

using namespace vst;

class ChunkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingHost::current = &recorder;
    module = std::make_unique<TestModule>();
    module->AfterConstruction();
    module->SetAudioMaster(&RecordingHost::Callback);
    auto& program = *module->Programs()[0];
    program.OnStoreChunk = [this](host::TCustomVstProgram& p, int index, bool isPreset) {
      stores.emplace_back(index, isPreset);
      p.Chunk.Clear();
      p.Chunk.Write(state.data(), state.size());
    };
    program.OnLoadChunk = [this](host::TCustomVstProgram& p, int index, bool isPreset) {
      loads.emplace_back(index, isPreset);
      loaded.assign(p.Chunk.Bytes.begin(), p.Chunk.Bytes.end());
      EXPECT_EQ(p.Chunk.Position, 0u);
    };
  }

  RecordingHost recorder;
  std::unique_ptr<TestModule> module;
  std::string state = "abc";
  std::string loaded;
  std::vector<std::pair<int, bool>> stores, loads;
};

TEST_F(ChunkTest, ProgramChunkIsTheProgramsBytes) {
  void* data = nullptr;
  ASSERT_EQ(module->Call(effGetChunk, 1, 0, &data), 3);
  EXPECT_EQ(std::memcmp(data, "abc", 3), 0);
  EXPECT_EQ(stores, (std::vector<std::pair<int, bool>>{{0, true}}));
}

TEST_F(ChunkTest, BankChunkPrefixesEachProgramWithItsLength) {
  void* data = nullptr;
  ASSERT_EQ(module->Call(effGetChunk, 0, 0, &data), 7);
  const auto* b = static_cast<const unsigned char*>(data);
  EXPECT_EQ(std::vector<unsigned char>(b, b + 7), (std::vector<unsigned char>{3, 0, 0, 0, 'a', 'b', 'c'}));
  EXPECT_EQ(stores, (std::vector<std::pair<int, bool>>{{0, false}}));
  // The bank bytes stay where they are until the next bank request.
  void* program = nullptr;
  module->Call(effGetChunk, 1, 0, &program);
  EXPECT_EQ(std::memcmp(data, "\x03\0\0\0abc", 7), 0);
}

TEST_F(ChunkTest, BankRoundTripLoadsTheCurrentProgramTwice) {
  void* data = nullptr;
  const auto size = module->Call(effGetChunk, 0, 0, &data);
  std::vector<unsigned char> bank(static_cast<const unsigned char*>(data),
                                  static_cast<const unsigned char*>(data) + size);
  module->EditorNeedsUpdate = false;
  EXPECT_EQ(module->Call(effSetChunk, 0, size, bank.data()), size);
  EXPECT_EQ(loaded, "abc");
  EXPECT_EQ(loads, (std::vector<std::pair<int, bool>>{{0, false}, {0, false}}));
  EXPECT_TRUE(module->EditorNeedsUpdate);
}

TEST_F(ChunkTest, ProgramLoadCopiesTheHostsBytes) {
  char bytes[] = "xyz1";
  EXPECT_EQ(module->Call(effSetChunk, 1, 4, bytes), 4);
  std::memset(bytes, 0, sizeof bytes);
  EXPECT_EQ(loaded, "xyz1");
  EXPECT_EQ(module->Programs()[0]->Chunk.Size(), 4u);
  EXPECT_EQ(loads, (std::vector<std::pair<int, bool>>{{0, true}}));
}

TEST_F(ChunkTest, RefusedChunksChangeNothing) {
  char bytes[] = "xyz1";
  module->Call(effSetChunk, 1, 4, bytes);
  loads.clear();
  module->EditorNeedsUpdate = false;
  EXPECT_EQ(module->Call(effSetChunk, 1, 4, nullptr), 0);
  EXPECT_EQ(module->Call(effGetChunk, 1, 0, nullptr), 0);
  const std::vector<std::vector<unsigned char>> badBanks = {
      {5, 0, 0, 0, 'a', 'b'},         // length runs past the end
      {0xFF, 0xFF, 0xFF, 0xFF, 'a'},  // negative length
      {1, 0},                         // not even a length
  };
  for (auto bank : badBanks) {
    EXPECT_EQ(module->Call(effSetChunk, 0, static_cast<VstIntPtr>(bank.size()), bank.data()), 0);
  }
  EXPECT_TRUE(loads.empty());
  EXPECT_FALSE(module->EditorNeedsUpdate);
  EXPECT_EQ(module->Programs()[0]->Chunk.Size(), 4u);
}

TEST_F(ChunkTest, ProgramNameIsCutToFifty) {
  EXPECT_EQ(module->CurrentProgramName(), "Default");
  const std::string sixty(60, 'n');
  module->Call(effSetProgramName, 0, 0, const_cast<char*>(sixty.c_str()));
  EXPECT_EQ(module->CurrentProgramName(), std::string(50, 'n'));
  char name[256] = {};
  module->Call(effGetProgramName, 0, 0, name);
  EXPECT_EQ(std::strlen(name), static_cast<std::size_t>(kVstMaxProgNameLen - 1));  // never past the host's buffer
  module->SetCurrentProgramName("Live set");
  EXPECT_EQ(module->CurrentProgramName(), "Live set");
  EXPECT_EQ(recorder.Count(audioMasterUpdateDisplay), 1);
}

// Our names are UTF-8; a Windows host reads and writes them in the system's ANSI code page.
TEST_F(ChunkTest, ProgramNamesCrossTheHostBoundaryInTheHostsEncoding) {
  const std::string name = "Caf\xc3\xa9 L\xc3\xa4nge";
#ifdef _WIN32
  char expected[64] = {};
  WideCharToMultiByte(CP_ACP, 0, L"Caf\u00e9 L\u00e4nge", -1, expected, sizeof expected, nullptr, nullptr);
  const std::string hostName = expected;
#else
  const std::string hostName = name;
#endif
  module->SetCurrentProgramName(name);
  char text[256] = {};
  module->Call(effGetProgramName, 0, 0, text);
  EXPECT_EQ(std::string(text), hostName);
  module->SetCurrentProgramName("x");
  module->Call(effSetProgramName, 0, 0, const_cast<char*>(hostName.c_str()));
  // A code page without these letters shows them as "?", which cannot come back.
  if (hostName.find('?') == std::string::npos) {
    EXPECT_EQ(module->CurrentProgramName(), name);
  }
}

// A name cut for the host's buffer never ends in half a character.
TEST_F(ChunkTest, ProgramNamesAreCutOnACharacterBoundary) {
  std::string name;
  for (int i = 0; i < 20; ++i) name += "\xc3\x84";  // "Ä" twenty times, 40 bytes
  module->SetCurrentProgramName(name);
  char text[256] = {};
  module->Call(effGetProgramName, 0, 0, text);
  const std::string got = text;
  EXPECT_LE(got.size(), static_cast<std::size_t>(kVstMaxProgNameLen - 1));
#ifndef _WIN32
  EXPECT_EQ(got, name.substr(0, 22));  // eleven whole characters
#endif
}

TEST(HostText, CutsOnlyBetweenCharacters) {
  struct Case {
    const char* text;
    std::size_t maxBytes;
    const char* cut;
  };
  for (const Case& c :
       {Case{"abc", 5, "abc"}, Case{"abc", 2, "ab"}, Case{"a\xc3\x84", 2, "a"}, Case{"a\xc3\x84", 3, "a\xc3\x84"},
        Case{"\xe2\x80\xa6x", 2, ""}, Case{"\xf0\x9f\x8e\xb9z", 4, "\xf0\x9f\x8e\xb9"}, Case{"xyz", 0, ""}})
    EXPECT_EQ(host::CutText(c.text, c.maxBytes), c.cut) << c.text << " in " << c.maxBytes;
}

TEST_F(ChunkTest, SettingTheCurrentProgramAgainFiresNothing) {
  int events = 0;
  module->OnBeforeProgramChange = [&](host::TBasicVSTModule&) { ++events; };
  module->OnAfterProgramChange = [&](host::TBasicVSTModule&) { ++events; };
  module->Call(effSetProgram, 0, 0);
  EXPECT_EQ(events, 0);
  EXPECT_EQ(recorder.Count(audioMasterUpdateDisplay), 0);
}

}  // namespace
}  // namespace vornix::testing
