#include "gfx/Font.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>

#include "gfx/GlyphCache.h"
#include "gfx/Resources.h"

// The rasteriser is compiled into this file only, with internal linkage, so it never meets another
// copy in the host process. Outline coordinates are kept in 1/64 pixel after our own vertical
// fitting (see MapY), which needs more range than the default 16-bit font units.
#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb_truetype.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace vornix::gfx {

namespace detail {

namespace {

constexpr int kSubpixel = 64;  // outline units per pixel handed to the rasteriser
// Text up to this size is fitted to the pixel grid across: the editor's largest text at 200 %.
constexpr int kFittedHeight = 48;

// Coverage lift: thin stems of 11..13 px text blended in sRGB look washed out, so partial coverage
// is raised a little (c + 0.3·c·(1 − c)); full and empty pixels stay as they are.
const std::array<std::uint8_t, 256>& CoverageCurve() {
  static const std::array<std::uint8_t, 256> curve = [] {
    std::array<std::uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c)
      t[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c + (c * (255 - c) * 30 + 12750) / 25500);
    return t;
  }();
  return curve;
}

// Pixels to the rasteriser's 1/64 pixel outline units.
stbtt_vertex_type ToVertex(float px) {
  return static_cast<stbtt_vertex_type>(std::clamp(std::lround(px * kSubpixel), -32767L, 32767L));
}

}  // namespace

// One embedded font file.
class TFaceData {
 public:
  explicit TFaceData(const char* resource) {
    const auto bytes = FindResource(resource);
    if (bytes.empty()) throw std::runtime_error(std::string("font resource missing: ") + resource);
    const int offset = stbtt_GetFontOffsetForIndex(bytes.data(), 0);
    if (offset < 0 || !stbtt_InitFont(&info_, bytes.data(), offset)) {
      throw std::runtime_error(std::string("font resource cannot be read: ") + resource);
    }
    stbtt_GetFontVMetrics(&info_, &ascent_, &descent_, &lineGap_);
    xHeight_ = TopOf('x', 1000);
    capHeight_ = TopOf('H', 1400);
  }

  const stbtt_fontinfo& Info() const { return info_; }
  int Ascent() const { return ascent_; }
  int Descent() const { return descent_; }
  int XHeight() const { return xHeight_; }
  int CapHeight() const { return capHeight_; }

 private:
  int TopOf(int codepoint, int fallback) const {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    return stbtt_GetCodepointBox(&info_, codepoint, &x0, &y0, &x1, &y1) && y1 > 0 ? y1 : fallback;
  }

  stbtt_fontinfo info_{};
  int ascent_ = 0, descent_ = 0, lineGap_ = 0, xHeight_ = 0, capHeight_ = 0;
};

namespace {

const TFaceData& FaceFor(TFontFace face, bool bold) {
  // Made once; the font data are embedded and live as long as the module.
  static const std::array<TFaceData, 4> faces = {
      TFaceData("fonts/OpenSans-Regular.ttf"), TFaceData("fonts/OpenSans-Bold.ttf"),
      TFaceData("fonts/LiberationSans-Regular.ttf"), TFaceData("fonts/LiberationSans-Bold.ttf")};
  return faces[static_cast<std::size_t>((face == TFontFace::Tahoma ? 2 : 0) + (bold ? 1 : 0))];
}

float Distance(float px, float py, float ax, float ay, float bx, float by) {
  const float dx = bx - ax, dy = by - ay;
  const float len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0.0f;
  t = std::clamp(t, 0.0f, 1.0f);
  const float ex = ax + t * dx - px, ey = ay + t * dy - py;
  return std::sqrt(ex * ex + ey * ey);
}

}  // namespace

std::vector<std::uint8_t> CheckMarkCoverage(int w, int h) {
  std::vector<std::uint8_t> cov(static_cast<std::size_t>(std::max(w, 0)) * static_cast<std::size_t>(std::max(h, 0)));
  if (w <= 0 || h <= 0) return cov;
  const float size = static_cast<float>(std::min(w, h));
  const float half = std::max(0.8f, size * 0.085f);  // half the stroke width
  // The mark in a size × size square centred in the box, kept inside it by the stroke's half width.
  const float ox = (static_cast<float>(w) - size) / 2 + half, oy = (static_cast<float>(h) - size) / 2 + half;
  const float span = size - 2 * half;
  const float ax = ox + 0.00f * span, ay = oy + 0.52f * span;
  const float bx = ox + 0.36f * span, by = oy + 0.88f * span;
  const float cx = ox + 1.00f * span, cy = oy + 0.10f * span;
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      const float px = static_cast<float>(i) + 0.5f, py = static_cast<float>(j) + 0.5f;
      const float d = std::min(Distance(px, py, ax, ay, bx, by), Distance(px, py, bx, by, cx, cy));
      const float c = std::clamp(half + 0.5f - d, 0.0f, 1.0f);
      cov[static_cast<std::size_t>(j * w + i)] = static_cast<std::uint8_t>(std::lround(c * 255.0f));
    }
  }
  return cov;
}

TGlyphSet::TGlyphSet(const TFaceData& face, int height) : face_(face), height_(height) {
  const stbtt_fontinfo& info = face.Info();
  scale_ = stbtt_ScaleForMappingEmToPixels(&info, static_cast<float>(height));
  // Light vertical fitting: the baseline, the x-height and the cap height land on whole pixels, so
  // the tops and bottoms of letters are crisp; the outline between them is stretched to fit.
  xHeightUnits_ = face.XHeight();
  capHeightUnits_ = std::max(face.CapHeight(), xHeightUnits_ + 1);
  const int x = std::max(1, static_cast<int>(std::lround(static_cast<float>(xHeightUnits_) * scale_)));
  const int cap = std::max(x + 1, static_cast<int>(std::lround(static_cast<float>(capHeightUnits_) * scale_)));
  xScale_ = static_cast<float>(x) / static_cast<float>(xHeightUnits_);
  capScale_ = static_cast<float>(cap - x) / static_cast<float>(capHeightUnits_ - xHeightUnits_);

  // Whole pixels that hold the face's ascent (as fitted) and descent.
  metrics_.XHeight = x;
  metrics_.CapHeight = cap;
  const float ascent = static_cast<float>(cap) + static_cast<float>(face.Ascent() - capHeightUnits_) * scale_;
  metrics_.Ascent = static_cast<int>(std::ceil(ascent - 0.02f));
  metrics_.Descent = static_cast<int>(std::ceil(static_cast<float>(-face.Descent()) * scale_ - 0.02f));
  metrics_.LineHeight = metrics_.Ascent + metrics_.Descent;
  metrics_.UnderlineOffset = std::max(1, static_cast<int>(std::lround(height * 0.09)));
  metrics_.UnderlineThickness = std::max(1, static_cast<int>(std::lround(height * 0.06)));
}

const TGlyph& TGlyphSet::Glyph(char32_t codepoint) const {
  if (codepoint < kLatinEnd) {
    auto& slot = latin_[codepoint];
    if (const TGlyph* glyph = slot.load(std::memory_order_acquire)) return *glyph;
    std::lock_guard lock(mutex_);
    if (const TGlyph* glyph = slot.load(std::memory_order_relaxed)) return *glyph;
    const TGlyph* glyph = &latinStore_.emplace_back(Make(codepoint));
    slot.store(glyph, std::memory_order_release);
    return *glyph;
  }
  std::lock_guard lock(mutex_);
  auto& slot = others_[codepoint];
  if (!slot) slot = std::make_unique<TGlyph>(Make(codepoint));
  return *slot;
}

bool TGlyphSet::HasGlyph(char32_t codepoint) const {
  return codepoint <= 0x10FFFF && stbtt_FindGlyphIndex(&face_.Info(), static_cast<int>(codepoint)) != 0;
}

TGlyph TGlyphSet::Make(char32_t codepoint) const {
  TGlyph g;
  if (codepoint < 0x20 || (codepoint >= 0x7F && codepoint < 0xA0)) return g;  // controls: nothing
  const stbtt_fontinfo& info = face_.Info();
  const int index = codepoint <= 0x10FFFF ? stbtt_FindGlyphIndex(&info, static_cast<int>(codepoint)) : 0;
  const int em = height_;
  if (index == 0) {
    if (codepoint == 0x2713) {  // check mark, drawn when the face has none
      const int w = std::max(5, static_cast<int>(std::lround(em * 0.62)));
      const int h = metrics_.CapHeight;
      g.Left = std::max(1, static_cast<int>(std::lround(em * 0.06)));
      g.Top = -h;
      g.Width = w;
      g.Height = h;
      g.Advance = w + 2 * g.Left;
      g.Coverage = CheckMarkCoverage(w, h);
    } else {  // a hollow box for anything else the face lacks
      const int w = std::max(3, static_cast<int>(std::lround(em * 0.45)));
      const int h = std::max(4, metrics_.CapHeight);
      g.Left = std::max(1, static_cast<int>(std::lround(em * 0.08)));
      g.Top = -h;
      g.Width = w;
      g.Height = h;
      g.Advance = w + 2 * g.Left;
      g.Coverage.assign(static_cast<std::size_t>(w * h), 0);
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          if (x == 0 || y == 0 || x == w - 1 || y == h - 1) g.Coverage[static_cast<std::size_t>(y * w + x)] = 255;
        }
      }
    }
    return g;
  }

  int advance = 0, lsb = 0;
  stbtt_GetGlyphHMetrics(&info, index, &advance, &lsb);
  g.Advance = static_cast<int>(std::lround(static_cast<float>(advance) * scale_));

  stbtt_vertex* vertices = nullptr;
  const int count = stbtt_GetGlyphShape(&info, index, &vertices);
  if (count <= 0) {
    stbtt_FreeShape(&info, vertices);
    return g;
  }
  const auto mapY = [&](int y) {
    float px;
    if (y <= 0) {
      px = static_cast<float>(y) * scale_;
    } else if (y <= xHeightUnits_) {
      px = static_cast<float>(y) * xScale_;
    } else if (y <= capHeightUnits_) {
      px = static_cast<float>(metrics_.XHeight) + static_cast<float>(y - xHeightUnits_) * capScale_;
    } else {
      px = static_cast<float>(metrics_.CapHeight) + static_cast<float>(y - capHeightUnits_) * scale_;
    }
    return ToVertex(px);
  };
  const auto mapX = [&](int x) { return ToVertex(static_cast<float>(x) * scale_); };
  int minX = 1 << 30, minY = 1 << 30, maxX = -(1 << 30), maxY = -(1 << 30);
  const auto extend = [&](int x, int y) {
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  };
  for (int i = 0; i < count; ++i) {
    stbtt_vertex& v = vertices[i];
    v.x = mapX(v.x);
    v.y = mapY(v.y);
    extend(v.x, v.y);
    if (v.type == STBTT_vcurve || v.type == STBTT_vcubic) {
      v.cx = mapX(v.cx);
      v.cy = mapY(v.cy);
      extend(v.cx, v.cy);
    }
    if (v.type == STBTT_vcubic) {
      v.cx1 = mapX(v.cx1);
      v.cy1 = mapY(v.cy1);
      extend(v.cx1, v.cy1);
    }
  }
  // The raster's box in pixels, y downwards (the rasteriser flips the outline), for the outline
  // moved right by `shift` 1/64 pixels.
  const auto floorDiv = [](int a) { return a >= 0 ? a / kSubpixel : -((-a + kSubpixel - 1) / kSubpixel); };
  const auto ceilDiv = [&](int a) { return -floorDiv(-a); };
  const int y0 = floorDiv(-maxY), y1 = ceilDiv(-minY);
  const auto render = [&](int shift, TGlyph& out) {
    const int x0 = floorDiv(minX + shift), x1 = ceilDiv(maxX + shift);
    out.Left = x0;
    out.Top = y0;
    out.Width = x1 - x0;
    out.Height = y1 - y0;
    if (out.Width <= 0 || out.Height <= 0) {
      out.Width = out.Height = 0;
      out.Coverage.clear();
      return;
    }
    out.Coverage.assign(static_cast<std::size_t>(out.Width) * static_cast<std::size_t>(out.Height), 0);
    stbtt__bitmap bitmap{out.Width, out.Height, out.Width, out.Coverage.data()};
    stbtt_Rasterize(&bitmap, 0.35f, vertices, count, 1.0f / kSubpixel, 1.0f / kSubpixel,
                    static_cast<float>(shift) / kSubpixel, 0.0f, x0, y0, 1, info.userdata);
  };
  // Light horizontal fitting: at text sizes the glyph may move by up to half a pixel to where its
  // vertical stems fall most nearly on whole pixels (the raster with the most solid pixels: the
  // largest sum of squared coverage); its origin and advance stay whole pixels.
  const auto sharpness = [](const TGlyph& t) {
    long long sum = 0;
    for (const std::uint8_t c : t.Coverage) sum += static_cast<long long>(c) * c;
    return sum;
  };
  const int advanceWidth = g.Advance;
  render(0, g);
  if (height_ <= kFittedHeight && !g.Coverage.empty()) {
    long long best = sharpness(g);
    TGlyph candidate;
    for (const int shift : {-8, 8, -16, 16, -24, 24, 32}) {
      render(shift, candidate);
      const long long score = sharpness(candidate);
      if (score > best + best / 50) {  // only a clear gain is worth moving the glyph
        best = score;
        std::swap(g, candidate);
      }
    }
  }
  g.Advance = advanceWidth;
  const auto& curve = CoverageCurve();
  for (auto& c : g.Coverage) c = curve[c];
  stbtt_FreeShape(&info, vertices);
  return g;
}

namespace {
// Sets are made under the lock, once each, and freed with the module: at namespace scope, so that
// they outlive every module (see MadeOnce.h).
std::mutex glyphSetsMutex;
std::map<int, std::unique_ptr<TGlyphSet>> glyphSets;
}  // namespace

const TGlyphSet& GlyphSetFor(const TFont& font) {
  const int height = std::clamp(font.Height, 1, 200);
  const int key = ((font.Face == TFontFace::Tahoma ? 2 : 0) + (font.Bold ? 1 : 0)) * 256 + height;
  std::lock_guard lock(glyphSetsMutex);
  auto& slot = glyphSets[key];
  if (!slot) slot = std::make_unique<TGlyphSet>(FaceFor(font.Face, font.Bold), height);
  return *slot;
}

}  // namespace detail

TFontFace FontFaceByName(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return lower == "tahoma" ? TFontFace::Tahoma : TFontFace::SegoeUI;
}

const char* FontFaceName(TFontFace face) { return face == TFontFace::Tahoma ? "Tahoma" : "Segoe UI"; }

TFontMetrics FontMetrics(const TFont& font) { return detail::GlyphSetFor(font).Metrics(); }

int TextWidth(const TFont& font, std::string_view utf8) {
  const auto& set = detail::GlyphSetFor(font);
  int width = 0;
  for (std::size_t pos = 0; pos < utf8.size();) width += set.Glyph(NextCodepoint(utf8, pos)).Advance;
  return width;
}

std::size_t TextFit(const TFont& font, std::string_view utf8, int maxWidth) {
  const auto& set = detail::GlyphSetFor(font);
  int width = 0;
  std::size_t fit = 0;
  for (std::size_t pos = 0; pos < utf8.size();) {
    width += set.Glyph(NextCodepoint(utf8, pos)).Advance;
    if (width > maxWidth) break;
    fit = pos;
  }
  return fit;
}

bool FontHasGlyph(const TFont& font, char32_t codepoint) { return detail::GlyphSetFor(font).HasGlyph(codepoint); }

char32_t NextCodepoint(std::string_view s, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b0 = byte(pos);
  if (b0 < 0x80) {
    ++pos;
    return b0;
  }
  int extra;
  char32_t cp;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, cp = b0 & 0x07, min = 0x10000;
  } else {
    ++pos;
    return 0xFFFD;
  }
  if (pos + static_cast<std::size_t>(extra) >= s.size()) {
    ++pos;
    return 0xFFFD;
  }
  for (int i = 1; i <= extra; ++i) {
    const unsigned char b = byte(pos + static_cast<std::size_t>(i));
    if ((b & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    cp = cp << 6 | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return 0xFFFD;
  }
  pos += static_cast<std::size_t>(extra) + 1;
  return cp;
}

}  // namespace vornix::gfx
