// Small pieces the window backends share: size limits, keeping a surface's pixels across a
// resize, UTF-8 decoding for typed text and titles, and UTF-16 units put together into code points
// (Windows types characters beyond the first plane as two messages).
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "gfx/Bitmap.h"

namespace vornix::platform::detail {

// Window sizes: never 0 (X11 answers a zero size with BadValue) and within 16-bit coordinates.
constexpr int kMaxWindowSize = 16384;
constexpr int ClampSize(int size) { return std::clamp(size, 1, kMaxWindowSize); }

// Resizes the surface, keeping the pixels that still fit; the rest becomes 0.
inline void ResizeKeeping(gfx::TBitmap& surface, int width, int height) {
  if (surface.Width() == width && surface.Height() == height) return;
  gfx::TBitmap resized(width, height, 0);
  const int w = std::min(width, surface.Width());
  const int h = std::min(height, surface.Height());
  for (int y = 0; y < h; ++y) std::copy_n(surface.Row(y), w, resized.Row(y));
  surface = std::move(resized);
}

// UTF-8 to code points; a malformed or truncated sequence gives U+FFFD and decoding goes on.
inline std::u32string DecodeUtf8(std::string_view text) {
  std::u32string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t c = 0;
    if (lead < 0x80) {
      c = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1, c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2, c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3, c = lead & 0x07;
    } else {
      out.push_back(U'\uFFFD');
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < extra; ++k, ++j) {
      if (j >= text.size() || (static_cast<unsigned char>(text[j]) & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      c = c << 6 | (static_cast<unsigned char>(text[j]) & 0x3F);
    }
    const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || c < least[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out.push_back(U'\uFFFD');
      i = j;  // past the bytes read; a byte that broke the sequence starts the next one
      continue;
    }
    out.push_back(c);
    i = j;
  }
  return out;
}

// UTF-8 to ISO 8859-1, with '?' for what Latin-1 cannot show (X11's STRING type).
inline std::string Utf8ToLatin1(std::string_view text) {
  std::string out;
  for (char32_t c : DecodeUtf8(text)) out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  return out;
}

inline std::string Latin1ToUtf8(std::string_view text) {
  std::string out;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back(static_cast<char>(0xC0 | c >> 6));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

// Typed UTF-16 units, one at a time, to code points: a high surrogate waits for its low one; a
// surrogate without its partner gives U+FFFD.
class TUtf16Decoder {
 public:
  // The code points that the unit completes (none, one, or two when a waiting high surrogate
  // turns out to be unpaired).
  std::u32string Push(char16_t unit) {
    std::u32string out;
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high_ != 0 && low) {
      out.push_back(0x10000 + ((static_cast<char32_t>(high_) - 0xD800) << 10) + (static_cast<char32_t>(unit) - 0xDC00));
      high_ = 0;
      return out;
    }
    if (high_ != 0) out.push_back(U'\uFFFD');
    high_ = 0;
    if (high) {
      high_ = unit;
    } else {
      out.push_back(low ? U'\uFFFD' : static_cast<char32_t>(unit));
    }
    return out;
  }

 private:
  char16_t high_ = 0;
};

}  // namespace vornix::platform::detail
