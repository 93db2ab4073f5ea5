// The block the step clipboard stores under its format: a 32-bit signed little-endian length N,
// then N bytes of step stream. Blocks from the system may be longer than N + 4 (some platforms
// round their sizes up); the bytes after the stream mean nothing.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace vornix::editor {

class EBinClipboardError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The block of a stream; throws EBinClipboardError for a stream too long for the length field.
std::vector<std::uint8_t> MakeClipboardBlock(std::span<const std::uint8_t> stream);

// The stream inside a block, a view into it. A block shorter than 4 bytes, with a negative length,
// or shorter than its length says raises EBinClipboardError "Invalid data in Clipboard!".
std::span<const std::uint8_t> ClipboardBlockStream(std::span<const std::uint8_t> block);

}  // namespace vornix::editor
