#include "plugin/stream/TextCodec.h"

#include <gtest/gtest.h>

#include <vector>

namespace vornix {
namespace {

TEST(TextCodec, WellFormedTextRoundTripsBetweenUtf8AndUtf16) {
  const std::pair<std::string, std::u16string> cases[] = {
      {"", u""},
      {"Sequence #1", u"Sequence #1"},
      {"\xC3\xA9", u"\u00E9"},
      {"\xE2\x82\xAC", u"\u20AC"},
      {"\xEF\xBF\xBF", u"\uFFFF"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const auto& [utf8, utf16] : cases) {
    EXPECT_EQ(Utf8ToUtf16(utf8), utf16) << utf8;
    EXPECT_EQ(Utf16ToUtf8(utf16), utf8);
    EXPECT_EQ(SanitizeUtf8(utf8), utf8);
  }
}

TEST(TextCodec, IllFormedUtf8BecomesReplacementCharacters) {
  const std::string r = "\xEF\xBF\xBD";
  const std::pair<std::string, std::string> cases[] = {
      {"\xFF", r},
      {"a\x80z", "a" + r + "z"},
      {"\xC0\xAF", r + r},                  // overlong '/'
      {"\xE0\x80\xAF", r + r + r},          // overlong, three bytes
      {"\xED\xA0\x80", r + r + r},          // encoded surrogate
      {"\xF4\x90\x80\x80", r + r + r + r},  // above U+10FFFF
      {"\xE2\x82", r},                      // truncated at the end: one maximal part
      {"\xE2\x82z", r + "z"},
      {"\xF0\x9F\x98", r},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(SanitizeUtf8(input), expected) << input;
}

TEST(TextCodec, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::string r = "\xEF\xBF\xBD";
  EXPECT_EQ(Utf16ToUtf8(u"a\xD800z"), "a" + r + "z");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xDC00})), r);
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t{0xDC00}, char16_t{0xD800}}), r + r);
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t{0xD83D}}), r);
}

TEST(TextCodec, Windows1252MapsEveryByte) {
  struct Case {
    std::uint8_t byte;
    const char* utf8;
  };
  const Case cases[] = {
      {0x41, "A"},
      {0x80, "\xE2\x82\xAC"},  // euro sign
      {0x81, "\xC2\x81"},      // unassigned: the C1 control of the same value
      {0x8D, "\xC2\x8D"},
      {0x8F, "\xC2\x8F"},
      {0x90, "\xC2\x90"},
      {0x9D, "\xC2\x9D"},
      {0x8A, "\xC5\xA0"},      // S with caron
      {0x99, "\xE2\x84\xA2"},  // trade mark
      {0x9F, "\xC5\xB8"},      // Y with diaeresis
      {0xA0, "\xC2\xA0"},
      {0xE9, "\xC3\xA9"},
      {0xFF, "\xC3\xBF"},
  };
  for (const auto& c : cases) {
    const std::vector<std::uint8_t> one{c.byte};
    EXPECT_EQ(Windows1252ToUtf8(one), c.utf8) << int{c.byte};
  }
  // Every byte decodes to exactly one character.
  for (int b = 0; b < 256; ++b) {
    const std::vector<std::uint8_t> one{static_cast<std::uint8_t>(b)};
    EXPECT_EQ(Utf8ToUtf16(Windows1252ToUtf8(one)).size(), 1u) << b;
  }
}

}  // namespace
}  // namespace vornix
