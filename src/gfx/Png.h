// PNG files to and from bitmaps.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <vector>

#include "gfx/Bitmap.h"

namespace vornix::gfx {

class TPngError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Decodes a PNG image (any colour type and depth; 16-bit channels are reduced to 8). Throws TPngError
// naming the fault for anything that is not a complete, undamaged PNG file (every chunk's checksum
// is verified) or is larger than 16384 pixels on a side.
TBitmap LoadPng(std::span<const std::uint8_t> bytes);
TBitmap LoadPngFile(const std::filesystem::path& path);
// Encodes a bitmap as an 8-bit RGBA PNG, or RGB when every pixel is opaque. The same bitmap always
// gives the same bytes.
std::vector<std::uint8_t> EncodePng(const TBitmap& bitmap);
// Writes EncodePng's bytes to a file; throws TPngError when the file cannot be written.
void SavePng(const TBitmap& bitmap, const std::filesystem::path& path);

}  // namespace vornix::gfx
