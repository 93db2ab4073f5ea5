#include "plugin/stream/Chunk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "Bytes.h"
#include "plugin/stream/TaggedValues.h"

namespace vornix {
namespace {

namespace fs = std::filesystem;
using test::Ascii;
using test::Bytes;
using test::Concat;

Bytes Saved(const TCustomChunk& chunk) {
  Bytes out;
  chunk.SaveToStream(out);
  return out;
}

TMemoryStreamChunk WithBody(Bytes body) {
  TMemoryStreamChunk chunk;
  chunk.Body() = std::move(body);
  return chunk;
}

// The message of whatever `load` throws, "" when nothing.
template <typename F>
std::string Failure(F&& load) {
  try {
    load();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

TEST(MemoryStreamChunk, IsNameSizeAndBodyWithNothingElse) {
  TMemoryStreamChunk chunk;
  EXPECT_EQ(chunk.GetChunkNameAsString(), "mmst");
  EXPECT_EQ(Saved(chunk), (Bytes{0x6D, 0x6D, 0x73, 0x74, 0x00, 0x00, 0x00, 0x00}));

  const Bytes body(0x1234 + 3, 0xAB);
  chunk.Body() = body;
  EXPECT_EQ(chunk.GetChunkSize(), body.size());
  EXPECT_EQ(Saved(chunk), Concat({Ascii("mmst"), {0x37, 0x12, 0x00, 0x00}, body}));
}

TEST(MemoryStreamChunk, LoadsExactlyTheBodyAndStopsThere) {
  const Bytes body = {0x54, 0x50, 0x46, 0x30, 0x01, 0x00};
  const Bytes stream = Concat({Ascii("mmst"), {0x06, 0x00, 0x00, 0x00}, body, Ascii("next")});
  TMemoryStreamChunk chunk;
  EXPECT_EQ(chunk.LoadFromStream(stream), 14u);
  EXPECT_EQ(chunk.Body(), body);

  // An empty body is a valid chunk.
  EXPECT_EQ(chunk.LoadFromStream(Ascii(std::string("mmst\0\0\0\0", 8))), 8u);
  EXPECT_TRUE(chunk.Body().empty());
}

TEST(MemoryStreamChunk, RefusesForeignOrShortInputAndKeepsItsBody) {
  const std::string kName = "Invalid chunk name";
  const std::string kRead = "Stream read error";
  const std::pair<Bytes, std::string> cases[] = {
      {Concat({Ascii("MThd"), {0x00, 0x00, 0x00, 0x00}}), kName},
      {Concat({Ascii("MMST"), {0x00, 0x00, 0x00, 0x00}}), kName},
      {Ascii("TPF0"), kName},
      {Ascii("mms"), kRead},
      {Ascii("mmst"), kRead},
      {Concat({Ascii("mmst"), {0x00, 0x00, 0x00}}), kRead},
      {Concat({Ascii("mmst"), {0x03, 0x00, 0x00, 0x00}, {0x01, 0x02}}), kRead},
      {Concat({Ascii("mmst"), {0xFF, 0xFF, 0xFF, 0xFF}, {0x01, 0x02}}), kRead},
      {{}, kRead},
  };
  for (const auto& [bytes, message] : cases) {
    TMemoryStreamChunk chunk = WithBody({0x42});
    const Bytes& input = bytes;
    EXPECT_EQ(Failure([&] { chunk.LoadFromStream(input); }), message);
    EXPECT_EQ(chunk.Body(), Bytes{0x42});
  }
  // Header errors are distinguishable by type: a short chunk is a read error like a short body.
  TMemoryStreamChunk chunk;
  EXPECT_THROW(chunk.LoadFromStream(Ascii("RIFF\0\0\0\0")), EChunkError);
  EXPECT_THROW(chunk.LoadFromStream(Ascii("mmst\x09")), EReadError);
}

// A chunk of any name, for exercising the layout flags on their own.
class RawChunk : public TCustomChunk {
 public:
  RawChunk() : TCustomChunk({'a', 'b', 'c', 'd'}) {}
  std::uint32_t GetChunkSize() const override { return static_cast<std::uint32_t>(body.size()); }
  Bytes body;

 protected:
  void CheckChunkName(const TChunkName&) const override {}
  void ReadBody(std::span<const std::uint8_t> b) override { body.assign(b.begin(), b.end()); }
  void WriteBody(Bytes& out) const override { out.insert(out.end(), body.begin(), body.end()); }
};

TEST(Chunk, LayoutFlagsShapeTheHeader) {
  struct Case {
    TChunkFlags flags;
    Bytes body;
    Bytes expected;
  };
  const Bytes b3 = {0x01, 0x02, 0x03};
  const Bytes b2 = {0x01, 0x02};
  const Case cases[] = {
      {{}, b3, Concat({Ascii("abcd"), {3, 0, 0, 0}, b3})},
      {{.SizeBeforeName = true}, b3, Concat({{3, 0, 0, 0}, Ascii("abcd"), b3})},
      {{.BigEndianSize = true}, b3, Concat({Ascii("abcd"), {0, 0, 0, 3}, b3})},
      {{.PadToEven = true}, b3, Concat({Ascii("abcd"), {3, 0, 0, 0}, b3, {0}})},
      {{.PadToEven = true}, b2, Concat({Ascii("abcd"), {2, 0, 0, 0}, b2})},
      {{.SizeIncludesHeader = true}, b3, Concat({Ascii("abcd"), {11, 0, 0, 0}, b3})},
      {{true, true, true, true}, b3, Concat({{0, 0, 0, 11}, Ascii("abcd"), b3, {0}})},
  };
  for (const auto& c : cases) {
    RawChunk out;
    out.ChunkFlags = c.flags;
    out.body = c.body;
    const Bytes bytes = Saved(out);
    EXPECT_EQ(bytes, c.expected);

    RawChunk in;
    in.ChunkFlags = c.flags;
    in.SetChunkName("zzzz");
    const Bytes followed = Concat({bytes, Ascii("tail")});
    EXPECT_EQ(in.LoadFromStream(followed), bytes.size());
    EXPECT_EQ(in.body, c.body);
    EXPECT_EQ(in.GetChunkNameAsString(), "abcd");
  }
}

TEST(Chunk, FlagEdgeCasesOnLoading) {
  RawChunk chunk;
  chunk.ChunkFlags.SizeIncludesHeader = true;
  EXPECT_EQ(Failure([&] { chunk.LoadFromStream(Concat({Ascii("abcd"), {7, 0, 0, 0}})); }), "Invalid chunk size");
  EXPECT_EQ(chunk.LoadFromStream(Concat({Ascii("abcd"), {8, 0, 0, 0}})), 8u);

  // The pad byte of the last chunk may be missing; it is never read past the data.
  chunk.ChunkFlags = {.PadToEven = true};
  EXPECT_EQ(chunk.LoadFromStream(Concat({Ascii("abcd"), {1, 0, 0, 0}, {0x7E}})), 9u);
  EXPECT_EQ(chunk.body, Bytes{0x7E});
}

TEST(Chunk, SetChunkNameCopiesAtMostFourCharacters) {
  RawChunk chunk;
  chunk.SetChunkName("wxyz!");
  EXPECT_EQ(chunk.GetChunkNameAsString(), "wxyz");
  chunk.SetChunkName("AB");
  EXPECT_EQ(chunk.GetChunkNameAsString(), "AByz");
}

class ChunkFile : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(testing::TempDir()) / ("vornix-chunk-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  static Bytes FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<fs::path> Entries() const { return {fs::directory_iterator(dir_), fs::directory_iterator()}; }

  fs::path dir_;
};

TEST_F(ChunkFile, SavesReplacesAndLoadsBack) {
  const fs::path path = dir_ / "init.orvanep";
  WithBody(Ascii("first, longer body")).SaveToFile(path);
  const TMemoryStreamChunk second = WithBody(Ascii("second"));
  second.SaveToFile(path);

  EXPECT_EQ(FileBytes(path), Saved(second));
  EXPECT_EQ(Entries(), std::vector<fs::path>{path}) << "no temporary file is left behind";

  TMemoryStreamChunk loaded;
  loaded.LoadFromFile(path);
  EXPECT_EQ(loaded.Body(), Ascii("second"));
}

TEST_F(ChunkFile, FailedSaveLeavesNothingBehind) {
  EXPECT_THROW(WithBody({1}).SaveToFile(dir_ / "missing" / "p.orvanep"), EFileError);

  // The target is a directory that holds a file: the rename fails after the data was written.
  const fs::path target = dir_ / "busy.orvanep";
  fs::create_directories(target / "inside");
  EXPECT_THROW(WithBody({1}).SaveToFile(target), EFileError);
  EXPECT_EQ(Entries(), std::vector<fs::path>{target});
  EXPECT_TRUE(fs::is_directory(target / "inside"));
}

TEST_F(ChunkFile, LoadingReportsMissingAndForeignFiles) {
  TMemoryStreamChunk chunk = WithBody({0x42});
  EXPECT_THROW(chunk.LoadFromFile(dir_ / "none.orvanep"), EFileError);

  const fs::path foreign = dir_ / "foreign.orvanep";
  std::ofstream(foreign, std::ios::binary) << "RIFF\x04\0\0\0WAVE";
  EXPECT_EQ(Failure([&] { chunk.LoadFromFile(foreign); }), "Invalid chunk name");

  const fs::path cut = dir_ / "cut.orvanep";
  std::ofstream(cut, std::ios::binary) << std::string("mmst\x10\0\0\0TPF0", 12);
  EXPECT_EQ(Failure([&] { chunk.LoadFromFile(cut); }), "Stream read error");
  EXPECT_EQ(chunk.Body(), Bytes{0x42});
}

}  // namespace
}  // namespace vornix
