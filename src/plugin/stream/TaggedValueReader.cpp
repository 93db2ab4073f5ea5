#include "plugin/stream/TaggedValueReader.h"

#include <algorithm>
#include <bit>
#include <string_view>

#include "plugin/stream/Extended80.h"
#include "plugin/stream/TextCodec.h"

namespace vornix {
namespace {

constexpr std::uint8_t T(ValueTag tag) { return static_cast<std::uint8_t>(tag); }

[[noreturn]] void Fail(ReadErrorKind kind) { throw EReadError(kind); }

bool IsIntegerTag(std::uint8_t tag) {
  return tag == T(ValueTag::Int8) || tag == T(ValueTag::Int16) || tag == T(ValueTag::Int32) ||
         tag == T(ValueTag::Int64);
}

}  // namespace

// Lengths come from the data, so they are checked before anything is allocated or copied.
std::span<const std::uint8_t> TaggedValueReader::Take(std::uint64_t size) {
  if (size > bytes_.size() - pos_) Fail(ReadErrorKind::StreamReadError);
  const auto part = bytes_.subspan(pos_, static_cast<std::size_t>(size));
  pos_ += part.size();
  return part;
}

std::uint64_t TaggedValueReader::LittleEndian(int size) {
  const auto b = Take(static_cast<std::uint64_t>(size));
  std::uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | b[static_cast<std::size_t>(i)];
  return value;
}

std::uint8_t TaggedValueReader::ReadTag() { return Take(1)[0]; }

ValueTag TaggedValueReader::NextValue() const {
  if (pos_ >= bytes_.size()) Fail(ReadErrorKind::StreamReadError);
  return static_cast<ValueTag>(bytes_[pos_]);
}

void TaggedValueReader::ReadSignature() {
  const auto signature = Take(sizeof kTaggedSignature);
  if (!std::equal(signature.begin(), signature.end(), std::begin(kTaggedSignature)))
    Fail(ReadErrorKind::InvalidStreamFormat);
}

void TaggedValueReader::ReadListBegin() {
  if (ReadTag() != T(ValueTag::StartOfList)) Fail(ReadErrorKind::InvalidPropertyValue);
}

void TaggedValueReader::ReadListEnd() {
  if (ReadTag() != T(ValueTag::EndOfList)) Fail(ReadErrorKind::InvalidPropertyValue);
}

bool TaggedValueReader::ReadBoolean() {
  const std::uint8_t tag = ReadTag();
  if (tag == T(ValueTag::True)) return true;
  if (tag == T(ValueTag::False)) return false;
  Fail(ReadErrorKind::InvalidPropertyValue);
}

// The payload of one of the four integer tags, sign-extended.
std::int64_t TaggedValueReader::ReadIntegerPayload(std::uint8_t tag) {
  switch (static_cast<ValueTag>(tag)) {
    case ValueTag::Int8: return static_cast<std::int8_t>(LittleEndian(1));
    case ValueTag::Int16: return static_cast<std::int16_t>(LittleEndian(2));
    case ValueTag::Int32: return static_cast<std::int32_t>(LittleEndian(4));
    case ValueTag::Int64: return static_cast<std::int64_t>(LittleEndian(8));
    default: Fail(ReadErrorKind::InvalidPropertyValue);
  }
}

std::int32_t TaggedValueReader::ReadInteger() {
  const std::uint8_t tag = ReadTag();
  if (tag == T(ValueTag::Int64)) Fail(ReadErrorKind::InvalidPropertyValue);
  return static_cast<std::int32_t>(ReadIntegerPayload(tag));
}

double TaggedValueReader::ReadFloat() {
  const std::uint8_t tag = ReadTag();
  if (tag == T(ValueTag::Extended)) return ExtendedToDouble(Take(10).first<10>());
  if (tag == T(ValueTag::Double)) return std::bit_cast<double>(LittleEndian(8));
  if (IsIntegerTag(tag)) return static_cast<double>(ReadIntegerPayload(tag));
  Fail(ReadErrorKind::InvalidPropertyValue);
}

float TaggedValueReader::ReadFloatAsSingle() {
  const std::uint8_t tag = ReadTag();
  if (tag == T(ValueTag::Extended)) return ExtendedToSingle(Take(10).first<10>());
  if (tag == T(ValueTag::Double)) return static_cast<float>(std::bit_cast<double>(LittleEndian(8)));
  if (IsIntegerTag(tag)) return static_cast<float>(ReadIntegerPayload(tag));
  Fail(ReadErrorKind::InvalidPropertyValue);
}

float TaggedValueReader::ReadSingle() {
  const std::uint8_t tag = ReadTag();
  if (tag == T(ValueTag::Single)) return std::bit_cast<float>(static_cast<std::uint32_t>(LittleEndian(4)));
  if (IsIntegerTag(tag)) return static_cast<float>(ReadIntegerPayload(tag));
  Fail(ReadErrorKind::InvalidPropertyValue);
}

std::string TaggedValueReader::ReadString() {
  switch (static_cast<ValueTag>(ReadTag())) {
    case ValueTag::ShortString: return Windows1252ToUtf8(Take(LittleEndian(1)));
    case ValueTag::LongString: return Windows1252ToUtf8(Take(LittleEndian(4)));
    case ValueTag::Utf8String: {
      const auto bytes = Take(LittleEndian(4));
      return SanitizeUtf8({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    }
    case ValueTag::WideString: {
      const auto bytes = Take(2 * LittleEndian(4));
      std::u16string units(bytes.size() / 2, u'\0');
      for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
      return Utf16ToUtf8(units);
    }
    default: Fail(ReadErrorKind::InvalidPropertyValue);
  }
}

}  // namespace vornix
