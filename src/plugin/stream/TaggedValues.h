#pragma once

// Tags and errors of the tagged value encoding shared by state chunks, preset files and the
// step clipboard. The numbers are part of the file format and must never change.

#include <cstdint>
#include <stdexcept>

namespace vornix {

enum class ValueTag : std::uint8_t {
  EndOfList = 0x00,
  StartOfList = 0x01,
  Int8 = 0x02,
  Int16 = 0x03,
  Int32 = 0x04,
  Extended = 0x05,  // 80-bit x87 extended precision
  ShortString = 0x06,
  False = 0x08,
  True = 0x09,
  LongString = 0x0C,
  Single = 0x0F,
  WideString = 0x12,  // UTF-16LE
  Int64 = 0x13,       // accepted when reading only
  Utf8String = 0x14,
  Double = 0x15,  // accepted when reading only
};

// Every stream starts with these four bytes ("TPF0").
inline constexpr std::uint8_t kTaggedSignature[4] = {0x54, 0x50, 0x46, 0x30};

enum class ReadErrorKind { InvalidPropertyValue, InvalidStreamFormat, StreamReadError };

// The message texts reach the user inside error boxes; files written by other versions are
// diagnosed by them, so they stay exactly as they are.
class EReadError : public std::runtime_error {
 public:
  explicit EReadError(ReadErrorKind kind);
  ReadErrorKind Kind() const noexcept { return kind_; }

 private:
  ReadErrorKind kind_;
};

}  // namespace vornix
