#include "gfx/Png.h"

#include <array>
#include <fstream>
#include <iterator>
#include <string>

// The codecs are compiled into this file only, with internal linkage, PNG only and without stdio.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#endif
#include <stb_image.h>
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace vornix::gfx {

namespace {

constexpr int kMaxSide = 16384;
constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
  std::array<std::uint32_t, 256> t{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[n] = c;
  }
  return t;
}();

std::uint32_t Crc32(const std::uint8_t* p, std::size_t n) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < n; ++i) c = kCrcTable[(c ^ p[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

[[noreturn]] void Fail(const std::string& why) { throw TPngError("PNG image cannot be read: " + why); }

// The file's structure: signature, IHDR first, every chunk complete with a matching checksum, image
// data present, IEND last. stb_image does not check checksums, so damage is caught here.
void CheckStructure(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kSignature.size() || !std::equal(kSignature.begin(), kSignature.end(), bytes.begin())) {
    Fail("not a PNG file (no PNG signature)");
  }
  std::size_t pos = kSignature.size();
  bool first = true, data = false;
  for (;;) {
    if (bytes.size() - pos < 12) Fail("the file ends inside a chunk (truncated)");
    const std::uint32_t length = BigEndian32(&bytes[pos]);
    if (length > bytes.size() - pos - 12) Fail("the file ends inside a chunk (truncated)");
    const std::uint8_t* type = &bytes[pos + 4];
    const std::string name(reinterpret_cast<const char*>(type), 4);
    if (Crc32(type, length + 4) != BigEndian32(type + 4 + length))
      Fail("checksum mismatch in chunk " + name + " (damaged)");
    if (first) {
      if (name != "IHDR" || length != 13) Fail("the header chunk is missing");
      const std::uint32_t w = BigEndian32(type + 4), h = BigEndian32(type + 8);
      if (w == 0 || h == 0) Fail("the image is empty");
      if (w > kMaxSide || h > kMaxSide) {
        Fail("the image is too large (" + std::to_string(w) + " x " + std::to_string(h) + ")");
      }
      first = false;
    }
    if (name == "IDAT") data = true;
    pos += 12 + length;
    if (name == "IEND") break;
  }
  if (!data) Fail("no image data");
}

void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(context);
  const auto* p = static_cast<const std::uint8_t*>(data);
  out->insert(out->end(), p, p + size);
}

}  // namespace

TBitmap LoadPng(std::span<const std::uint8_t> bytes) {
  CheckStructure(bytes);
  int w = 0, h = 0, channels = 0;
  stbi_uc* rgba = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 4);
  if (!rgba) Fail(stbi_failure_reason() ? stbi_failure_reason() : "undecodable image data");
  TBitmap bitmap(w, h);
  const stbi_uc* p = rgba;
  for (int y = 0; y < h; ++y) {
    TColor* row = bitmap.Row(y);
    for (int x = 0; x < w; ++x, p += 4) row[x] = Argb(p[3], p[0], p[1], p[2]);
  }
  stbi_image_free(rgba);
  return bitmap;
}

TBitmap LoadPngFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TPngError("cannot open " + path.string());
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  try {
    return LoadPng(bytes);
  } catch (const TPngError& e) {
    throw TPngError(path.string() + ": " + e.what());
  }
}

std::vector<std::uint8_t> EncodePng(const TBitmap& bitmap) {
  if (bitmap.Empty()) throw TPngError("cannot encode an empty bitmap as PNG");
  const std::size_t n = static_cast<std::size_t>(bitmap.Width()) * static_cast<std::size_t>(bitmap.Height());
  bool opaque = true;
  for (std::size_t i = 0; i < n && opaque; ++i) opaque = AlphaOf(bitmap.Data()[i]) == 255;
  const int channels = opaque ? 3 : 4;
  std::vector<std::uint8_t> raw;
  raw.reserve(n * static_cast<std::size_t>(channels));
  for (std::size_t i = 0; i < n; ++i) {
    const TColor c = bitmap.Data()[i];
    raw.push_back(static_cast<std::uint8_t>(RedOf(c)));
    raw.push_back(static_cast<std::uint8_t>(GreenOf(c)));
    raw.push_back(static_cast<std::uint8_t>(BlueOf(c)));
    if (!opaque) raw.push_back(static_cast<std::uint8_t>(AlphaOf(c)));
  }
  std::vector<std::uint8_t> out;
  if (!stbi_write_png_to_func(AppendBytes, &out, bitmap.Width(), bitmap.Height(), channels, raw.data(),
                              bitmap.Width() * channels)) {
    throw TPngError("PNG encoding failed");
  }
  return out;
}

void SavePng(const TBitmap& bitmap, const std::filesystem::path& path) {
  const auto bytes = EncodePng(bitmap);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw TPngError("cannot write " + path.string());
}

}  // namespace vornix::gfx
