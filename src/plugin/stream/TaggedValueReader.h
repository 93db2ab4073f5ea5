#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "plugin/stream/TaggedValues.h"

namespace vornix {

// Reads tagged values from a byte range that must outlive the reader. Never reads outside it.
// Every failure is an EReadError: a missing signature is InvalidStreamFormat, a tag the read does
// not accept is InvalidPropertyValue, running out of bytes is StreamReadError.
class TaggedValueReader {
 public:
  explicit TaggedValueReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  void ReadSignature();
  // The next tag, not consumed.
  ValueTag NextValue() const;
  bool EndOfList() const { return NextValue() == ValueTag::EndOfList; }
  void ReadListBegin();
  void ReadListEnd();

  // 0x08, 0x09.
  bool ReadBoolean();
  // 0x02, 0x03, 0x04.
  std::int32_t ReadInteger();
  // 0x05, 0x15, 0x13 and the integer tags.
  double ReadFloat();
  // The same forms as ReadFloat, rounded once to single precision.
  float ReadFloatAsSingle();
  // 0x0F, 0x13 and the integer tags.
  float ReadSingle();
  // 0x06, 0x0C (Windows-1252), 0x12 (UTF-16LE), 0x14 (UTF-8); the result is UTF-8.
  std::string ReadString();

  std::size_t Position() const { return pos_; }

 private:
  std::uint8_t ReadTag();
  std::span<const std::uint8_t> Take(std::uint64_t size);
  std::uint64_t LittleEndian(int size);
  std::int64_t ReadIntegerPayload(std::uint8_t tag);

  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

}  // namespace vornix
