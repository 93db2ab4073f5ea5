#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/Png.h"

namespace vornix::gfx {
namespace {

using ::testing::HasSubstr;

TBitmap Sample(bool withAlpha) {
  TBitmap b(7, 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) b.SetPixel(x, y, Argb(withAlpha ? x * 40 : 255, x * 30, y * 50, (x + y) * 20));
  }
  return b;
}

void ExpectSame(const TBitmap& a, const TBitmap& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;
  }
}

std::string LoadError(const std::vector<std::uint8_t>& bytes) {
  try {
    LoadPng(bytes);
  } catch (const TPngError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(PngTest, RoundTripKeepsEveryPixel) {
  for (bool alpha : {false, true}) {
    const TBitmap b = Sample(alpha);
    const auto bytes = EncodePng(b);
    ExpectSame(LoadPng(bytes), b);
    EXPECT_EQ(EncodePng(b), bytes);  // the same bytes every time
  }
}

TEST(PngTest, OpaqueImagesAreStoredWithoutAlpha) {
  const auto opaque = EncodePng(Sample(false));
  const auto translucent = EncodePng(Sample(true));
  EXPECT_EQ(opaque[25], 2);       // colour type RGB
  EXPECT_EQ(translucent[25], 6);  // RGBA
}

TEST(PngTest, SavedFilesLoadBack) {
  const auto path = std::filesystem::temp_directory_path() / "vornix-gfx-png-test.png";
  SavePng(Sample(true), path);
  ExpectSame(LoadPngFile(path), Sample(true));
  std::filesystem::remove(path);
  EXPECT_THROW(LoadPngFile(path), TPngError);
}

TEST(PngTest, DamagedFilesAreRefusedWithAReason) {
  const auto good = EncodePng(Sample(true));
  auto flipped = good;
  flipped[flipped.size() - 20] ^= 0x10;  // inside the image data
  EXPECT_THAT(LoadError(flipped), HasSubstr("checksum mismatch in chunk IDAT"));

  const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  EXPECT_THAT(LoadError(cut), HasSubstr("truncated"));

  const std::vector<std::uint8_t> text = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'};
  EXPECT_THAT(LoadError(text), HasSubstr("not a PNG file"));
  EXPECT_THAT(LoadError({}), HasSubstr("not a PNG file"));

  EXPECT_THAT(LoadError(good), HasSubstr("no error"));
}

// A PNG whose chunks are intact but whose compressed data are not: the decoder refuses it.
TEST(PngTest, UndecodableDataWithValidChecksumsIsRefused) {
  auto bytes = EncodePng(Sample(false));
  // Find IDAT, spoil its data, and write a matching checksum.
  std::size_t pos = 8;
  while (std::string(bytes.begin() + static_cast<long>(pos) + 4, bytes.begin() + static_cast<long>(pos) + 8) !=
         "IDAT") {
    pos += 12 + (std::size_t{bytes[pos]} << 24 | std::size_t{bytes[pos + 1]} << 16 | std::size_t{bytes[pos + 2]} << 8 |
                 bytes[pos + 3]);
  }
  const std::size_t length = std::size_t{bytes[pos]} << 24 | std::size_t{bytes[pos + 1]} << 16 |
                             std::size_t{bytes[pos + 2]} << 8 | bytes[pos + 3];
  for (std::size_t i = 0; i < length; ++i) bytes[pos + 8 + i] = 0xFF;
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = pos + 4; i < pos + 8 + length; ++i) {
    crc ^= bytes[i];
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  crc ^= 0xFFFFFFFFu;
  for (int k = 0; k < 4; ++k)
    bytes[pos + 8 + length + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(crc >> (24 - 8 * k));
  EXPECT_THAT(LoadError(bytes), HasSubstr("PNG image cannot be read"));
  EXPECT_THAT(LoadError(bytes), ::testing::Not(HasSubstr("checksum")));
}

TEST(PngTest, EmptyBitmapsCannotBeEncoded) { EXPECT_THROW(EncodePng(TBitmap()), TPngError); }

}  // namespace
}  // namespace vornix::gfx
