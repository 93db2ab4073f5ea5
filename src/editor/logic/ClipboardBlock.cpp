#include "editor/logic/ClipboardBlock.h"

#include <limits>

namespace vornix::editor {

std::vector<std::uint8_t> MakeClipboardBlock(std::span<const std::uint8_t> stream) {
  if (stream.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    throw EBinClipboardError("Step data too large for the clipboard");
  const auto n = static_cast<std::uint32_t>(stream.size());
  std::vector<std::uint8_t> block;
  block.reserve(stream.size() + 4);
  for (int i = 0; i < 4; ++i) block.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
  block.insert(block.end(), stream.begin(), stream.end());
  return block;
}

std::span<const std::uint8_t> ClipboardBlockStream(std::span<const std::uint8_t> block) {
  if (block.size() < 4) throw EBinClipboardError("Invalid data in Clipboard!");
  std::uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = (bits << 8) | block[static_cast<std::size_t>(i)];
  const auto n = static_cast<std::int32_t>(bits);
  // Compared without adding 4 to N, which could overflow.
  if (n < 0 || static_cast<std::uint64_t>(n) > block.size() - 4) throw EBinClipboardError("Invalid data in Clipboard!");
  return block.subspan(4, static_cast<std::size_t>(n));
}

}  // namespace vornix::editor
