#include "plugin/stream/TaggedValueWriter.h"

#include <bit>
#include <limits>
#include <stdexcept>
#include <string>

#include "plugin/stream/Extended80.h"
#include "plugin/stream/TaggedValues.h"
#include "plugin/stream/TextCodec.h"

namespace vornix {
namespace {

constexpr std::uint8_t T(ValueTag tag) { return static_cast<std::uint8_t>(tag); }

std::uint32_t LengthField(std::size_t size) {
  if (size > std::numeric_limits<std::int32_t>::max()) throw std::length_error("String too long to store");
  return static_cast<std::uint32_t>(size);
}

}  // namespace

void TaggedValueWriter::Bytes(const void* data, std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  out_.insert(out_.end(), p, p + size);
}

void TaggedValueWriter::LittleEndian(std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void TaggedValueWriter::WriteSignature() { Bytes(kTaggedSignature, sizeof kTaggedSignature); }

void TaggedValueWriter::WriteListBegin() { Tag(T(ValueTag::StartOfList)); }

void TaggedValueWriter::WriteListEnd() { Tag(T(ValueTag::EndOfList)); }

void TaggedValueWriter::WriteBoolean(bool value) { Tag(T(value ? ValueTag::True : ValueTag::False)); }

void TaggedValueWriter::WriteInteger(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  if (value >= -128 && value <= 127) {
    Tag(T(ValueTag::Int8));
    LittleEndian(bits, 1);
  } else if (value >= -32768 && value <= 32767) {
    Tag(T(ValueTag::Int16));
    LittleEndian(bits, 2);
  } else {
    Tag(T(ValueTag::Int32));
    LittleEndian(bits, 4);
  }
}

void TaggedValueWriter::WriteFloat(double value) {
  Tag(T(ValueTag::Extended));
  const Extended80 bytes = DoubleToExtended(value);
  Bytes(bytes.data(), bytes.size());
}

void TaggedValueWriter::WriteSingle(float value) {
  Tag(T(ValueTag::Single));
  LittleEndian(std::bit_cast<std::uint32_t>(value), 4);
}

// U UTF-8 bytes, C UTF-16 code units: U >= 2C means the wide form is no larger (and the empty
// string is wide); other text with non-ASCII bytes is UTF-8; pure ASCII is an 8-bit string.
void TaggedValueWriter::WriteString(std::string_view utf8) {
  const std::u16string wide = Utf8ToUtf16(utf8);
  const std::string text = Utf16ToUtf8(wide);
  const std::size_t u = text.size();
  const std::size_t c = wide.size();
  if (u >= 2 * c) {
    Tag(T(ValueTag::WideString));
    LittleEndian(LengthField(c), 4);
    for (const char16_t unit : wide) LittleEndian(unit, 2);
    return;
  }
  bool ascii = true;
  for (const char ch : text) ascii = ascii && static_cast<unsigned char>(ch) <= 0x7F;
  if (!ascii) {
    Tag(T(ValueTag::Utf8String));
    LittleEndian(LengthField(u), 4);
  } else if (u <= 255) {
    Tag(T(ValueTag::ShortString));
    LittleEndian(static_cast<std::uint32_t>(u), 1);
  } else {
    Tag(T(ValueTag::LongString));
    LittleEndian(LengthField(u), 4);
  }
  Bytes(text.data(), u);
}

}  // namespace vornix
