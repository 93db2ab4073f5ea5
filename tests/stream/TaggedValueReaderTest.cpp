#include "plugin/stream/TaggedValueReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <string>

#include "Bytes.h"
#include "plugin/stream/TaggedValueWriter.h"

namespace vornix {
namespace {

using test::Ascii;
using test::Bytes;
using test::Concat;

// Runs `read` and returns the message of the EReadError it raised, or "" when it raised none.
std::string ReadError(const std::function<void()>& read) {
  try {
    read();
  } catch (const EReadError& e) {
    return e.what();
  }
  return "";
}

const std::string kInvalidValue = "Invalid property value";
const std::string kInvalidFormat = "Invalid stream format";
const std::string kReadError = "Stream read error";

TEST(TaggedValueReader, ErrorsCarryTheirKindAndText) {
  const std::pair<ReadErrorKind, std::string> cases[] = {
      {ReadErrorKind::InvalidPropertyValue, kInvalidValue},
      {ReadErrorKind::InvalidStreamFormat, kInvalidFormat},
      {ReadErrorKind::StreamReadError, kReadError},
  };
  for (const auto& [kind, text] : cases) {
    const EReadError e(kind);
    EXPECT_EQ(e.Kind(), kind);
    EXPECT_EQ(std::string(e.what()), text);
  }
}

TEST(TaggedValueReader, ReadsTheBodyStart) {
  const Bytes body = {0x54, 0x50, 0x46, 0x30, 0x01, 0x06, 0x04, 0x31, 0x2E, 0x31, 0x32, 0x12, 0x00, 0x00,
                      0x00, 0x00, 0x12, 0x00, 0x00, 0x00, 0x00, 0x12, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01};
  TaggedValueReader r(body);
  r.ReadSignature();
  r.ReadListBegin();
  EXPECT_EQ(r.ReadString(), "1.12");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(r.ReadString(), "");
  EXPECT_TRUE(r.EndOfList());
  r.ReadListEnd();
  EXPECT_EQ(r.NextValue(), ValueTag::StartOfList);
  r.ReadListBegin();
  EXPECT_EQ(r.Position(), body.size());
  EXPECT_EQ(ReadError([&] { r.NextValue(); }), kReadError);
  EXPECT_EQ(ReadError([&] { r.EndOfList(); }), kReadError);
}

TEST(TaggedValueReader, SignatureMustBeTpf0) {
  EXPECT_EQ(ReadError([] { TaggedValueReader(Ascii("TPF0")).ReadSignature(); }), "");
  EXPECT_EQ(ReadError([] { TaggedValueReader(Ascii("TPF1")).ReadSignature(); }), kInvalidFormat);
  EXPECT_EQ(ReadError([] { TaggedValueReader(Ascii("mmst")).ReadSignature(); }), kInvalidFormat);
  EXPECT_EQ(ReadError([] { TaggedValueReader(Ascii("TPF")).ReadSignature(); }), kReadError);
  EXPECT_EQ(ReadError([] { TaggedValueReader(Bytes{}).ReadSignature(); }), kReadError);
}

TEST(TaggedValueReader, PeekingDoesNotConsume) {
  const Bytes bytes = {0x02, 0x05};
  TaggedValueReader r(bytes);
  EXPECT_EQ(r.NextValue(), ValueTag::Int8);
  EXPECT_EQ(r.NextValue(), ValueTag::Int8);
  EXPECT_FALSE(r.EndOfList());
  EXPECT_EQ(r.Position(), 0u);
  EXPECT_EQ(r.ReadInteger(), 5);
}

enum class Read { Integer, Float, FloatAsSingle, Single, String, Boolean, ListBegin, ListEnd };

// One sample of each tag with a complete payload; `value` is what it holds as a number.
struct Sample {
  std::uint8_t tag;
  Bytes payload;
};

const std::vector<Sample> kSamples = {
    {0x00, {}},
    {0x01, {}},
    {0x02, {0xFE}},
    {0x03, {0x00, 0x80}},
    {0x04, {0x00, 0x00, 0x00, 0x80}},
    {0x05, {0, 0, 0, 0, 0, 0, 0, 0xFC, 0x04, 0x40}},
    {0x06, {0x02, 0x68, 0x69}},
    {0x07, {}},
    {0x08, {}},
    {0x09, {}},
    {0x0A, {0x00, 0x00, 0x00, 0x00}},
    {0x0B, {}},
    {0x0C, {0x02, 0x00, 0x00, 0x00, 0x68, 0x69}},
    {0x0D, {}},
    {0x0E, {}},
    {0x0F, {0x00, 0x00, 0x7C, 0x42}},
    {0x10, {}},
    {0x11, {}},
    {0x12, {0x02, 0x00, 0x00, 0x00, 0x68, 0x00, 0x69, 0x00}},
    {0x13, {0xFB, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    {0x14, {0x02, 0x00, 0x00, 0x00, 0x68, 0x69}},
    {0x15, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x40}},
    {0x16, {}},
    {0x7F, {}},
    {0xFF, {}},
};

TEST(TaggedValueReader, EachReadAcceptsExactlyItsTags) {
  const std::map<Read, std::set<std::uint8_t>> accepted = {
      {Read::Integer, {0x02, 0x03, 0x04}},
      {Read::Float, {0x02, 0x03, 0x04, 0x05, 0x13, 0x15}},
      {Read::FloatAsSingle, {0x02, 0x03, 0x04, 0x05, 0x13, 0x15}},
      {Read::Single, {0x02, 0x03, 0x04, 0x0F, 0x13}},
      {Read::String, {0x06, 0x0C, 0x12, 0x14}},
      {Read::Boolean, {0x08, 0x09}},
      {Read::ListBegin, {0x01}},
      {Read::ListEnd, {0x00}},
  };
  for (const auto& [readType, tags] : accepted) {
    const Read read = readType;
    for (const Sample& s : kSamples) {
      const Bytes bytes = Concat({{s.tag}, s.payload});
      TaggedValueReader r(bytes);
      const std::string error = ReadError([&] {
        switch (read) {
          case Read::Integer: r.ReadInteger(); break;
          case Read::Float: r.ReadFloat(); break;
          case Read::FloatAsSingle: r.ReadFloatAsSingle(); break;
          case Read::Single: r.ReadSingle(); break;
          case Read::String: r.ReadString(); break;
          case Read::Boolean: r.ReadBoolean(); break;
          case Read::ListBegin: r.ReadListBegin(); break;
          case Read::ListEnd: r.ReadListEnd(); break;
        }
      });
      const bool accepts = tags.count(s.tag) != 0;
      EXPECT_EQ(error, accepts ? "" : kInvalidValue) << "read " << int(read) << " tag " << int(s.tag);
      if (accepts) {
        EXPECT_EQ(r.Position(), bytes.size()) << "read " << int(read) << " tag " << int(s.tag);
      }
    }
  }
}

TEST(TaggedValueReader, NumbersDecodeFromEveryAcceptedForm) {
  const auto sample = [](std::uint8_t tag) {
    for (const Sample& s : kSamples)
      if (s.tag == tag) return Concat({{tag}, s.payload});
    return Bytes{};
  };
  const std::pair<std::uint8_t, double> values[] = {
      {0x02, -2.0}, {0x03, -32768.0}, {0x04, -2147483648.0}, {0x05, 63.0}, {0x0F, 63.0}, {0x13, -5.0}, {0x15, 4.0},
  };
  for (const auto& [tag, value] : values) {
    SCOPED_TRACE(int{tag});
    if (tag != 0x0F) {
      EXPECT_EQ(TaggedValueReader(sample(tag)).ReadFloat(), value);
      EXPECT_EQ(TaggedValueReader(sample(tag)).ReadFloatAsSingle(), static_cast<float>(value));
    }
    if (tag != 0x05 && tag != 0x15) {
      EXPECT_EQ(TaggedValueReader(sample(tag)).ReadSingle(), value);
    }
    if (tag <= 0x04) {
      EXPECT_EQ(TaggedValueReader(sample(tag)).ReadInteger(), value);
    }
  }
  // A 64-bit integer beyond double precision rounds once, to nearest.
  const Bytes big = {0x13, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x00};  // 2^53 + 1
  EXPECT_EQ(TaggedValueReader(big).ReadFloat(), 9007199254740992.0);
  // Special values pass through.
  EXPECT_TRUE(std::isnan(TaggedValueReader(Bytes{0x15, 0, 0, 0, 0, 0, 0, 0xF8, 0x7F}).ReadFloat()));
  EXPECT_EQ(TaggedValueReader(Bytes{0x05, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}).ReadFloat(),
            -std::numeric_limits<double>::infinity());
  EXPECT_EQ(TaggedValueReader(Bytes{0x05, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x43}).ReadFloatAsSingle(),
            std::numeric_limits<float>::infinity());
  EXPECT_TRUE(TaggedValueReader(Bytes{0x09}).ReadBoolean());
  EXPECT_FALSE(TaggedValueReader(Bytes{0x08}).ReadBoolean());
}

TEST(TaggedValueReader, StringsDecodeToUtf8) {
  const std::string r = "\xEF\xBF\xBD";
  const std::pair<Bytes, std::string> cases[] = {
      {{0x06, 0x00}, ""},
      {{0x06, 0x03, 0x80, 0xE9, 0x81}, "\xE2\x82\xAC\xC3\xA9\xC2\x81"},  // Windows-1252
      {{0x0C, 0x02, 0x00, 0x00, 0x00, 0x9F, 0x41},
       "\xC5\xB8"
       "A"},
      {{0x14, 0x00, 0x00, 0x00, 0x00}, ""},
      {{0x14, 0x03, 0x00, 0x00, 0x00, 0x41, 0xC3, 0xA9}, "A\xC3\xA9"},
      {{0x14, 0x02, 0x00, 0x00, 0x00, 0x41, 0xC3}, "A" + r},
      {{0x12, 0x00, 0x00, 0x00, 0x00}, ""},
      {{0x12, 0x02, 0x00, 0x00, 0x00, 0x3D, 0xD8, 0x00, 0xDE}, "\xF0\x9F\x98\x80"},
      {{0x12, 0x02, 0x00, 0x00, 0x00, 0x3D, 0xD8, 0x41, 0x00}, r + "A"},
      {{0x12, 0x01, 0x00, 0x00, 0x00, 0x00, 0xDC}, r},
  };
  for (const auto& [bytes, text] : cases) {
    TaggedValueReader reader(bytes);
    EXPECT_EQ(reader.ReadString(), text);
    EXPECT_EQ(reader.Position(), bytes.size());
  }
}

TEST(TaggedValueReader, WrittenValuesReadBackUnchanged) {
  const std::string texts[] = {"",
                               "Sequence #1",
                               std::string(255, 'a'),
                               std::string(256, 'b'),
                               "\xC3\xA9",
                               "Caf\xC3\xA9",
                               "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E",
                               "\xF0\x9F\x8E\xB9 Bass \xE2\x86\x92 Cutoff",
                               std::string(400, 'x') + "\xC3\xBC"};
  const std::int32_t integers[] = {0, 127, -128, 128, -32769, std::numeric_limits<std::int32_t>::min()};
  const double floats[] = {0.0, -0.0, 63.0, 0.1, 1e-310, std::numeric_limits<double>::max()};

  Bytes bytes;
  TaggedValueWriter w(bytes);
  w.WriteSignature();
  w.WriteListBegin();
  for (const auto& t : texts) w.WriteString(t);
  for (const auto i : integers) w.WriteInteger(i);
  for (const auto f : floats) w.WriteFloat(f);
  for (const auto f : floats) w.WriteSingle(static_cast<float>(f));
  w.WriteBoolean(true);
  w.WriteListEnd();

  TaggedValueReader r(bytes);
  r.ReadSignature();
  r.ReadListBegin();
  for (const auto& t : texts) EXPECT_EQ(r.ReadString(), t);
  for (const auto i : integers) EXPECT_EQ(r.ReadInteger(), i);
  for (const auto f : floats) {
    const double back = r.ReadFloat();
    EXPECT_EQ(back, f);
    EXPECT_EQ(std::signbit(back), std::signbit(f));
  }
  for (const auto f : floats) EXPECT_EQ(r.ReadSingle(), static_cast<float>(f));
  EXPECT_TRUE(r.ReadBoolean());
  r.ReadListEnd();
  EXPECT_EQ(r.Position(), bytes.size());
}

// Every cut of a valid stream fails with the read error, wherever the cut falls: in a tag, a
// length field, a payload or a signature.
TEST(TaggedValueReader, TruncatedInputIsAReadErrorEverywhere) {
  Bytes whole;
  TaggedValueWriter w(whole);
  w.WriteSignature();
  w.WriteListBegin();
  w.WriteString("ab");
  w.WriteString(std::string(300, 'c'));
  w.WriteString("d\xC3\xA9z");
  w.WriteString("\xE2\x82\xAC");
  w.WriteInteger(-1000);
  w.WriteInteger(100000);
  w.WriteFloat(2.5);
  w.WriteSingle(1.5f);
  w.WriteBoolean(false);
  w.WriteListEnd();

  const auto readAll = [](std::span<const std::uint8_t> bytes) {
    TaggedValueReader r(bytes);
    r.ReadSignature();
    r.ReadListBegin();
    for (int i = 0; i < 4; ++i) r.ReadString();
    r.ReadInteger();
    r.ReadInteger();
    r.ReadFloat();
    r.ReadSingle();
    r.ReadBoolean();
    r.ReadListEnd();
  };
  EXPECT_EQ(ReadError([&] { readAll(whole); }), "");
  for (std::size_t size = 0; size < whole.size(); ++size)
    EXPECT_EQ(ReadError([&] { readAll(std::span(whole).first(size)); }), kReadError) << size;
}

TEST(TaggedValueReader, LengthsBeyondTheDataAreReadErrors) {
  const Bytes cases[] = {
      {0x06, 0x05, 0x41},
      {0x0C, 0xFF, 0xFF, 0xFF, 0xFF, 0x41},
      {0x0C, 0xFF, 0xFF, 0xFF, 0x7F},
      {0x14, 0x00, 0x00, 0x00, 0x80},
      {0x12, 0x01, 0x00, 0x00, 0x00, 0x41},
      {0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x41, 0x00},
      {0x12, 0x00, 0x00, 0x00, 0x80},
  };
  for (const Bytes& bytes : cases) EXPECT_EQ(ReadError([&] { TaggedValueReader(bytes).ReadString(); }), kReadError);
}

}  // namespace
}  // namespace vornix
