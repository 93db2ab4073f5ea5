#include "plugin/stream/TaggedValueWriter.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "Bytes.h"

namespace vornix {
namespace {

using test::Ascii;
using test::Bytes;
using test::Concat;

template <typename F>
Bytes Written(F&& write) {
  Bytes out;
  TaggedValueWriter writer(out);
  write(writer);
  return out;
}

TEST(TaggedValueWriter, IntegersTakeTheSmallestForm) {
  const std::pair<std::int32_t, Bytes> cases[] = {
      {0, {0x02, 0x00}},
      {127, {0x02, 0x7F}},
      {-1, {0x02, 0xFF}},
      {-128, {0x02, 0x80}},
      {128, {0x03, 0x80, 0x00}},
      {-129, {0x03, 0x7F, 0xFF}},
      {32767, {0x03, 0xFF, 0x7F}},
      {-32768, {0x03, 0x00, 0x80}},
      {32768, {0x04, 0x00, 0x80, 0x00, 0x00}},
      {-32769, {0x04, 0xFF, 0x7F, 0xFF, 0xFF}},
      {std::numeric_limits<std::int32_t>::max(), {0x04, 0xFF, 0xFF, 0xFF, 0x7F}},
      {std::numeric_limits<std::int32_t>::min(), {0x04, 0x00, 0x00, 0x00, 0x80}},
  };
  for (const auto& c : cases) EXPECT_EQ(Written([&](auto& w) { w.WriteInteger(c.first); }), c.second) << c.first;

  for (int cc = 0; cc <= 127; ++cc)
    EXPECT_EQ(Written([&](auto& w) { w.WriteInteger(cc); }), (Bytes{0x02, static_cast<std::uint8_t>(cc)}));
}

TEST(TaggedValueWriter, StringFormFollowsLengthsAndContent) {
  const auto n = [](std::size_t count, char c) { return std::string(count, c); };
  const std::pair<std::string, Bytes> cases[] = {
      // empty: U = 0 >= 2C = 0, so wide
      {"", {0x12, 0x00, 0x00, 0x00, 0x00}},
      {"1.12", {0x06, 0x04, 0x31, 0x2E, 0x31, 0x32}},
      {"Sequence #1", Concat({{0x06, 0x0B}, Ascii("Sequence #1")})},
      {n(255, 'x'), Concat({{0x06, 0xFF}, Ascii(n(255, 'x'))})},
      {n(256, 'x'), Concat({{0x0C, 0x00, 0x01, 0x00, 0x00}, Ascii(n(256, 'x'))})},
      // one two-byte character: U = 2 = 2C, wide
      {"\xC3\xA9", {0x12, 0x01, 0x00, 0x00, 0x00, 0xE9, 0x00}},
      // U = 3 < 2C = 4 with a byte above 0x7F: UTF-8
      {"A\xC3\xA9", {0x14, 0x03, 0x00, 0x00, 0x00, 0x41, 0xC3, 0xA9}},
      {"Caf\xC3\xA9 Bleu", Concat({{0x14, 0x0A, 0x00, 0x00, 0x00}, Ascii("Caf\xC3\xA9 Bleu")})},
      // three-byte characters: wide
      {"\xE2\x82\xAC", {0x12, 0x01, 0x00, 0x00, 0x00, 0xAC, 0x20}},
      {"\xE6\x97\xA5\xE6\x9C\xAC", {0x12, 0x02, 0x00, 0x00, 0x00, 0xE5, 0x65, 0x2C, 0x67}},
      // a supplementary character is two UTF-16 units: U = 4 = 2C, wide, as a surrogate pair
      {"\xF0\x9F\x98\x80", {0x12, 0x02, 0x00, 0x00, 0x00, 0x3D, 0xD8, 0x00, 0xDE}},
      // long non-ASCII text stays UTF-8 whatever its length
      {n(300, 'x') + "\xC3\xA9", Concat({{0x14, 0x2E, 0x01, 0x00, 0x00}, Ascii(n(300, 'x') + "\xC3\xA9")})},
      // ill-formed input is stored as U+FFFD
      {"\xFF", {0x12, 0x01, 0x00, 0x00, 0x00, 0xFD, 0xFF}},
      {"ab\xFF", {0x14, 0x05, 0x00, 0x00, 0x00, 0x61, 0x62, 0xEF, 0xBF, 0xBD}},
  };
  for (const auto& c : cases) EXPECT_EQ(Written([&](auto& w) { w.WriteString(c.first); }), c.second) << c.first;
}

TEST(TaggedValueWriter, ScalarsAndStructure) {
  EXPECT_EQ(Written([](auto& w) { w.WriteSignature(); }), (Bytes{0x54, 0x50, 0x46, 0x30}));
  EXPECT_EQ(Written([](auto& w) {
              w.WriteListBegin();
              w.WriteListEnd();
              w.WriteBoolean(true);
              w.WriteBoolean(false);
            }),
            (Bytes{0x01, 0x00, 0x09, 0x08}));
  EXPECT_EQ(Written([](auto& w) { w.WriteFloat(63.0); }),
            (Bytes{0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFC, 0x04, 0x40}));
  EXPECT_EQ(Written([](auto& w) { w.WriteSingle(63.0f); }), (Bytes{0x0F, 0x00, 0x00, 0x7C, 0x42}));
  EXPECT_EQ(Written([](auto& w) { w.WriteSingle(-0.5f); }), (Bytes{0x0F, 0x00, 0x00, 0x00, 0xBF}));
}

TEST(TaggedValueWriter, AppendsToWhatTheBufferHolds) {
  Bytes out{0xAA};
  TaggedValueWriter writer(out);
  writer.WriteBoolean(true);
  EXPECT_EQ(out, (Bytes{0xAA, 0x09}));
}

// Whole structures as other parts of the plug-in write them.
TEST(TaggedValueWriter, ProducesTheKnownStructures) {
  const Bytes bodyStart = {0x54, 0x50, 0x46, 0x30, 0x01, 0x06, 0x04, 0x31, 0x2E, 0x31, 0x32, 0x12, 0x00, 0x00,
                           0x00, 0x00, 0x12, 0x00, 0x00, 0x00, 0x00, 0x12, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01};
  EXPECT_EQ(Written([](auto& w) {
              w.WriteSignature();
              w.WriteListBegin();
              w.WriteString("1.12");
              for (int i = 0; i < 3; ++i) w.WriteString("");
              w.WriteListEnd();
              w.WriteListBegin();
            }),
            bodyStart);

  const Bytes defaultStep = {0x01, 0x09, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFC, 0x04, 0x40,
                             0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  EXPECT_EQ(Written([](auto& w) {
              w.WriteListBegin();
              w.WriteBoolean(true);
              w.WriteFloat(63.0);
              w.WriteFloat(0.0);
              w.WriteListEnd();
            }),
            defaultStep);

  const Bytes oneClipboardStep = {0x54, 0x50, 0x46, 0x30, 0x01, 0x01, 0x02, 0x01, 0x00, 0x01, 0x02, 0x00,
                                  0x0F, 0x00, 0x00, 0x7C, 0x42, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  EXPECT_EQ(Written([](auto& w) {
              w.WriteSignature();
              w.WriteListBegin();
              w.WriteListBegin();
              w.WriteInteger(1);
              w.WriteListEnd();
              w.WriteListBegin();
              w.WriteInteger(0);
              w.WriteSingle(63.0f);
              w.WriteSingle(0.0f);
              w.WriteListEnd();
              w.WriteListEnd();
            }),
            oneClipboardStep);
}

}  // namespace
}  // namespace vornix
