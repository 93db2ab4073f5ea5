#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vornix {

// Appends tagged values to a byte buffer owned by the caller.
class TaggedValueWriter {
 public:
  explicit TaggedValueWriter(std::vector<std::uint8_t>& out) : out_(out) {}

  void WriteSignature();
  void WriteListBegin();
  void WriteListEnd();
  void WriteBoolean(bool value);
  // Smallest of the 8, 16 and 32-bit forms.
  void WriteInteger(std::int32_t value);
  // 80-bit extended (tag 0x05), exact.
  void WriteFloat(double value);
  // IEEE single (tag 0x0F).
  void WriteSingle(float value);
  // `utf8` is UTF-8; ill-formed parts are written as U+FFFD. The form (0x06, 0x0C, 0x12 or 0x14)
  // follows from the text: see the implementation.
  void WriteString(std::string_view utf8);

 private:
  void Tag(std::uint8_t tag) { out_.push_back(tag); }
  void Bytes(const void* data, std::size_t size);
  void LittleEndian(std::uint32_t value, int size);

  std::vector<std::uint8_t>& out_;
};

}  // namespace vornix
