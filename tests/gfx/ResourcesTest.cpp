#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "gfx/Resources.h"

namespace vornix::gfx {
namespace test {
std::span<const std::uint8_t> TestResource(std::string_view name);
}
namespace {

std::string_view Text(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

TEST(ResourcesTest, FontsSkinsAndImagesAreEmbedded) {
  for (const char* font : {"fonts/OpenSans-Regular.ttf", "fonts/OpenSans-Bold.ttf", "fonts/LiberationSans-Regular.ttf",
                           "fonts/LiberationSans-Bold.ttf"}) {
    const auto bytes = FindResource(font);
    ASSERT_GT(bytes.size(), 100000u) << font;
    EXPECT_EQ(Text(bytes.first(4)), std::string_view("\0\1\0\0", 4)) << font;  // TrueType
  }
  for (const char* skin : {"Carbon", "Amakrits", "Light", "Luna", "Smokey"}) {
    const auto bytes = FindResource(std::string("skins/") + skin + ".skin");
    ASSERT_FALSE(bytes.empty()) << skin;
    EXPECT_NE(Text(bytes).find("scWindow"), std::string_view::npos);
  }
  for (const char* image : {"EditorBackground", "STITCHED_ONOFF_DARK", "STITCHED_ONOFF_BRIGHT", "ARROWUP", "ARROWDOWN",
                            "ARROWLEFT", "ARROWRIGHT", "menu16"}) {
    const auto bytes = FindResource(std::string("images/") + image + ".png");
    ASSERT_GT(bytes.size(), 8u) << image;
    EXPECT_EQ(Text(bytes.first(4)), "\x89PNG");
  }
}

TEST(ResourcesTest, UnknownNamesFindNothing) {
  EXPECT_TRUE(FindResource("").empty());
  EXPECT_TRUE(FindResource("skins/Carbon").empty());
  EXPECT_TRUE(FindResource("skins/Carbon.skin2").empty());
  EXPECT_TRUE(FindResource("SKINS/CARBON.SKIN").empty());
  EXPECT_TRUE(FindResource("zzz").empty());
}

TEST(ResourcesTest, BytesAreFollowedByAZero) {
  const auto bytes = FindResource("skins/Luna.skin");
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.data()[bytes.size()], 0);
}

TEST(ResourcesTest, AnyTargetCanEmbedFilesUnderItsOwnLookup) {
  const auto greeting = test::TestResource("greeting with spaces.txt");
  EXPECT_EQ(Text(greeting), "Hello, resources.\n");
  EXPECT_TRUE(test::TestResource("skins/Carbon.skin").empty());  // the other lookup's
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(FindResource("fonts/OpenSans-Regular.ttf").data()) % 16, 0u);
}

TEST(ResourcesTest, ImagesDecodeOnceByName) {
  const TBitmap& a = ImageResource("ARROWUP");
  EXPECT_EQ(a.Width(), 16);
  EXPECT_EQ(&ImageResource("ARROWUP"), &a);
  EXPECT_THROW(ImageResource("ARROWUP.png"), std::invalid_argument);
}

}  // namespace
}  // namespace vornix::gfx
