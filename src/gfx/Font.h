// Fonts and text measuring. The editor's design names two faces, "Segoe UI" and "Tahoma"; they are
// drawn with free faces embedded in the plug-in that have close metrics (Open Sans for Segoe UI,
// Liberation Sans for Tahoma, regular and bold). A font's height is its em size in pixels, what the
// design calls a character height of N pixels ("Segoe UI 13 px").
//
// Text is UTF-8 on one line. Every character has a whole-pixel advance, so the width of a text is
// the sum of its characters' widths (no kerning): TextWidth(a + b) == TextWidth(a) + TextWidth(b).
// "&" is an ordinary character. A character the face has no glyph for shows as a hollow box; "✓"
// (U+2713) is drawn by us when the face lacks it. Control characters take no room and draw nothing.
//
// The glyph rasters of each face, weight and size are made once per process, on first use, from any
// thread, and freed when the module unloads.
#pragma once

#include <cstddef>
#include <string_view>

#include "gfx/Bitmap.h"
#include "gfx/Color.h"

namespace vornix::gfx {

enum class TFontFace { SegoeUI, Tahoma };

struct TFont {
  TFontFace Face = TFontFace::SegoeUI;
  int Height = 12;  // em size in pixels, 1..200
  bool Bold = false;
  bool Underline = false;
  TColor Color = kBlack;

  static TFont SegoeUI(int height, bool bold = false, TColor color = kBlack) {
    return {TFontFace::SegoeUI, height, bold, false, color};
  }
  static TFont Tahoma(int height, bool bold = false, TColor color = kBlack) {
    return {TFontFace::Tahoma, height, bold, false, color};
  }
  friend bool operator==(const TFont&, const TFont&) = default;
};

// The face a design name stands for: "Tahoma" (any case) gives Tahoma, anything else Segoe UI.
TFontFace FontFaceByName(std::string_view name);
const char* FontFaceName(TFontFace face);

// Whole-pixel line metrics: the baseline lies Ascent pixels below the top of a line, which is
// Ascent + Descent pixels high.
struct TFontMetrics {
  int Ascent = 0;
  int Descent = 0;
  int LineHeight = 0;
  int XHeight = 0;             // height of the lower-case letters above the baseline
  int CapHeight = 0;           // height of the capitals above the baseline
  int UnderlineOffset = 0;     // top of the underline, below the baseline
  int UnderlineThickness = 1;  // its height
};

TFontMetrics FontMetrics(const TFont& font);
// The advance of the text in pixels: where the next character would start.
int TextWidth(const TFont& font, std::string_view utf8);
// The length in bytes of the longest start of the text, ending on a character boundary, that is at
// most maxWidth pixels wide.
std::size_t TextFit(const TFont& font, std::string_view utf8, int maxWidth);
// True when the face draws the character from a glyph of its own.
bool FontHasGlyph(const TFont& font, char32_t codepoint);

// Reads the character at pos and moves pos past it. A byte that does not start a valid UTF-8
// sequence reads as U+FFFD and is skipped alone.
char32_t NextCodepoint(std::string_view utf8, std::size_t& pos);

}  // namespace vornix::gfx
