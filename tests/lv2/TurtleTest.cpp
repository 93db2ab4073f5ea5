// The pieces of the bundle's description that are no Turtle syntax: the state's base64 and the
// presets' names in URIs.
#include <gtest/gtest.h>

#include <string>

#include "formats/lv2/bundle/Turtle.h"

namespace vornix::testing::lv2 {
namespace {

TEST(Lv2Turtle, Base64AsRfc4648Writes) {
  for (const auto& [bytes, text] :
       std::initializer_list<std::pair<std::string, std::string>>{{"", ""},
                                                                  {"f", "Zg=="},
                                                                  {"fo", "Zm8="},
                                                                  {"foo", "Zm9v"},
                                                                  {"foob", "Zm9vYg=="},
                                                                  {"foobar", "Zm9vYmFy"},
                                                                  {std::string("\xff\xfe\x00\x01", 4), "//4AAQ=="}}) {
    const std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    EXPECT_EQ(formats::lv2::Base64(data), text);
  }
}

TEST(Lv2Turtle, PresetNamesBecomeUriSlugs) {
  EXPECT_EQ(formats::lv2::PresetSlug("Demo Motion"), "demo-motion");
  EXPECT_EQ(formats::lv2::PresetSlug("  Init "), "init");
  EXPECT_EQ(formats::lv2::PresetSlug("Bass #2 (slow)"), "bass-2-slow");
  EXPECT_THROW(formats::lv2::PresetSlug("%%"), std::invalid_argument);
}

}  // namespace
}  // namespace vornix::testing::lv2
