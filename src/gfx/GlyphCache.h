// Inside the text drawing: the cached glyph rasters of one face, weight and size.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "gfx/Font.h"

namespace vornix::gfx::detail {

struct TGlyph {
  int Left = 0;  // raster's left edge, right of the pen position
  int Top = 0;   // raster's top edge relative to the baseline (negative above it)
  int Width = 0;
  int Height = 0;
  int Advance = 0;                     // whole pixels
  std::vector<std::uint8_t> Coverage;  // Width × Height, 0..255
};

class TFaceData;

class TGlyphSet {
 public:
  TGlyphSet(const TFaceData& face, int height);
  const TFontMetrics& Metrics() const { return metrics_; }
  // The glyph of a character, made on first use. Latin characters are found without a lock.
  const TGlyph& Glyph(char32_t codepoint) const;
  bool HasGlyph(char32_t codepoint) const;

 private:
  TGlyph Make(char32_t codepoint) const;

  const TFaceData& face_;
  int height_;
  float scale_;     // font units to pixels, horizontally and below the baseline
  float xScale_;    // font units to pixels from the baseline to the x-height
  float capScale_;  // from the x-height to the cap height
  int xHeightUnits_;
  int capHeightUnits_;
  TFontMetrics metrics_;
  static constexpr char32_t kLatinEnd = 0x180;  // ASCII, Latin-1 and Latin Extended-A
  mutable std::mutex mutex_;                    // guards making glyphs and the two stores
  mutable std::array<std::atomic<const TGlyph*>, kLatinEnd> latin_{};
  mutable std::deque<TGlyph> latinStore_;
  mutable std::map<char32_t, std::unique_ptr<TGlyph>> others_;
};

// The glyph set of a font (face, weight and height; colour and underline do not matter).
const TGlyphSet& GlyphSetFor(const TFont& font);

// Coverage of an anti-aliased check mark filling a w × h box.
std::vector<std::uint8_t> CheckMarkCoverage(int w, int h);

}  // namespace vornix::gfx::detail
