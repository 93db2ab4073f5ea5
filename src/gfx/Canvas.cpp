#include "gfx/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "gfx/GlyphCache.h"

namespace vornix::gfx {

namespace {

// Floor division and the non-negative remainder, for tiling phases left of and above the anchor.
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int Mod(int a, int b) { return a - FloorDiv(a, b) * b; }

// Blends translucent colour c over the pixels from p on while they are opaque, as BlendOver does
// (each channel Div255(src · a + dst · (255 − a)), alpha 255), and answers how many it blended.
int BlendSpanOpaque(TColor* p, int n, TColor c) {
  const int a = AlphaOf(c), da = 255 - a;
  int i = 0;
#if defined(__SSE2__)
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i zero = _mm_setzero_si128();
  const __m128i keep = _mm_set1_epi16(static_cast<short>(da));
  // The source's part of each channel (B, G, R, A of two pixels), and the rounding of Div255.
  const auto part = [&](int channel) { return static_cast<short>(channel * a); };
  const __m128i source = _mm_setr_epi16(part(BlueOf(c)), part(GreenOf(c)), part(RedOf(c)), 0, part(BlueOf(c)),
                                        part(GreenOf(c)), part(RedOf(c)), 0);
  const __m128i half = _mm_set1_epi16(128);
  const auto blend = [&](__m128i d) {
    const __m128i t = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(d, keep), source), half);
    return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
  };
  for (; i + 4 <= n; i += 4) {
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(d, alpha), alpha)) != 0xFFFF) break;
    const __m128i lo = blend(_mm_unpacklo_epi8(d, zero)), hi = blend(_mm_unpackhi_epi8(d, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), _mm_or_si128(_mm_packus_epi16(lo, hi), alpha));
  }
#endif
  for (; i < n && AlphaOf(p[i]) == 255; ++i) {
    const TColor d = p[i];
    p[i] = Rgb(Div255(RedOf(c) * a + RedOf(d) * da), Div255(GreenOf(c) * a + GreenOf(d) * da),
               Div255(BlueOf(c) * a + BlueOf(d) * da));
  }
  return i;
}

// Colour c over n pixels of a row. Over opaque pixels (nearly all of a window's) the blend is
// BlendOver's very arithmetic, four pixels at a time where SSE2 is there: a large translucent
// panel is most of what a zoomed editor's repaint costs.
void FillSpan(TColor* p, int n, TColor c) {
  const int a = AlphaOf(c);
  if (a == 255) {
    int i = 0;
#if defined(__SSE2__)
    // GCC leaves a plain fill of 32-bit pixels one store at a time.
    const __m128i four = _mm_set1_epi32(static_cast<int>(c));
    for (; i + 4 <= n; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), four);
#endif
    std::fill_n(p + i, n - i, c);
    return;
  }
  if (a == 0) return;
  for (int i = 0; i < n; ++i) {
    i += BlendSpanOpaque(p + i, n - i, c);
    if (i < n) p[i] = BlendOver(p[i], c);
  }
}

// Pixel from a bitmap over a target pixel.
inline void PutPixel(TColor& dst, TColor src) {
  const TColor a = src >> 24;
  if (a == 255) {
    dst = src;
  } else if (a != 0) {
    dst = BlendOver(dst, src);
  }
}

// Coverage (0..255) of the pixels of one corner of a rounded rectangle: a quarter disc of radius r
// centred r pixels in from the corner. Entry [j · r + i] belongs to the pixel i columns and j rows
// in from the corner. Each pixel's area inside the disc is measured exactly across and with 16
// samples down, then averaged with its mirror across the diagonal so the corner is symmetric.
std::vector<std::uint8_t> CornerCoverage(int r) {
  std::vector<float> area(static_cast<std::size_t>(r * r), 0.0f);
  constexpr int kRows = 16;
  const float rf = static_cast<float>(r);
  for (int j = 0; j < r; ++j) {
    for (int k = 0; k < kRows; ++k) {
      const float y = static_cast<float>(j) + (static_cast<float>(k) + 0.5f) / kRows;
      const float dy = rf - y;
      const float left = rf - std::sqrt(std::max(0.0f, rf * rf - dy * dy));  // disc starts here
      for (int i = 0; i < r; ++i) {
        const float covered = std::clamp(static_cast<float>(i + 1) - std::max(static_cast<float>(i), left), 0.0f, 1.0f);
        area[static_cast<std::size_t>(j * r + i)] += covered / kRows;
      }
    }
  }
  std::vector<std::uint8_t> cov(area.size());
  for (int j = 0; j < r; ++j) {
    for (int i = 0; i < r; ++i) {
      const float a = (area[static_cast<std::size_t>(j * r + i)] + area[static_cast<std::size_t>(i * r + j)]) / 2;
      cov[static_cast<std::size_t>(j * r + i)] = static_cast<std::uint8_t>(std::lround(a * 255.0f));
    }
  }
  return cov;
}

// The coverage of pixel (x, y) by a rounded rectangle.
struct TRoundShape {
  TRect rect;
  int radius = 0;
  std::vector<std::uint8_t> corner;

  TRoundShape(const TRect& r, int rad) : rect(r) {
    radius = std::clamp(rad, 0, std::max(0, std::min(r.Width(), r.Height()) / 2));
    if (radius > 0) corner = CornerCoverage(radius);
  }
  int At(int x, int y) const {
    if (!rect.Contains(x, y)) return 0;
    const int i = x < rect.Left + radius ? x - rect.Left : x >= rect.Right - radius ? rect.Right - 1 - x : -1;
    const int j = y < rect.Top + radius ? y - rect.Top : y >= rect.Bottom - radius ? rect.Bottom - 1 - y : -1;
    if (i < 0 || j < 0) return 255;
    return corner[static_cast<std::size_t>(j * radius + i)];
  }
};

}  // namespace

TCanvas::TCanvas(TBitmap& target, TScale scale) : target_(&target), scale_(scale), clip_(target.Bounds()) {}

void TCanvas::Translate(int dx, int dy) {
  origin_.X += dx;
  origin_.Y += dy;
}

void TCanvas::IntersectClip(const TRect& r) {
  clip_ = Visible(r);
  if (clip_.Empty()) clip_ = {clip_.Left, clip_.Top, clip_.Left, clip_.Top};
}

void TCanvas::Save() { saved_.push_back({origin_, clip_}); }

void TCanvas::Restore() {
  if (saved_.empty()) throw std::logic_error("TCanvas::Restore without Save");
  origin_ = saved_.back().origin;
  clip_ = saved_.back().clip;
  saved_.pop_back();
}

void TCanvas::SetPixel(int x, int y, TColor c) {
  if (!scale_.Identity()) {
    FillRect({x, y, x + 1, y + 1}, c);
    return;
  }
  x += origin_.X;
  y += origin_.Y;
  if (clip_.Contains(x, y)) PutPixel(target_->Row(y)[x], c);
}

TColor TCanvas::GetPixel(int x, int y) const {
  x = AbsX(x);
  y = AbsY(y);
  return target_->Bounds().Contains(x, y) ? target_->Pixel(x, y) : 0;
}

void TCanvas::BlendAbs(int x, int y, TColor c, int coverage) {
  if (coverage <= 0 || !clip_.Contains(x, y)) return;
  TColor& p = target_->Row(y)[x];
  p = coverage >= 255 ? (AlphaOf(c) == 255 ? c : BlendOver(p, c)) : BlendCoverage(p, c, coverage);
}

void TCanvas::FillAbs(const TRect& abs, TColor c) {
  if (abs.Empty() || AlphaOf(c) == 0) return;
  for (int y = abs.Top; y < abs.Bottom; ++y) FillSpan(target_->Row(y) + abs.Left, abs.Width(), c);
}

void TCanvas::FillRect(const TRect& r, TColor c) { FillAbs(Visible(r), c); }

void TCanvas::FrameRect(const TRect& r, TColor c, int penWidth) {
  if (r.Empty() || penWidth <= 0) return;
  const int w = penWidth;
  if (2 * w >= r.Width() || 2 * w >= r.Height()) {
    FillRect(r, c);
    return;
  }
  FillRect({r.Left, r.Top, r.Right, r.Top + w}, c);
  FillRect({r.Left, r.Bottom - w, r.Right, r.Bottom}, c);
  FillRect({r.Left, r.Top + w, r.Left + w, r.Bottom - w}, c);
  FillRect({r.Right - w, r.Top + w, r.Right, r.Bottom - w}, c);
}

void TCanvas::HLine(int x0, int x1, int y, TColor c) { FillRect({x0, y, x1, y + 1}, c); }

void TCanvas::VLine(int x, int y0, int y1, TColor c) { FillRect({x, y0, x + 1, y1}, c); }

void TCanvas::Line(int x0, int y0, int x1, int y1, TColor c, TLineEnd end) {
  const bool inclusive = end == TLineEnd::Inclusive;
  if (y0 == y1) {  // spans, in either direction
    if (x1 >= x0) {
      HLine(x0, x1 + (inclusive ? 1 : 0), y0, c);
    } else {
      HLine(x1 + (inclusive ? 0 : 1), x0 + 1, y0, c);
    }
    return;
  }
  if (x0 == x1) {
    if (y1 >= y0) {
      VLine(x0, y0, y1 + (inclusive ? 1 : 0), c);
    } else {
      VLine(x0, y1 + (inclusive ? 0 : 1), y0 + 1, c);
    }
    return;
  }
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  int x = x0, y = y0;
  for (;;) {
    const bool last = x == x1 && y == y1;
    if (!last || inclusive) SetPixel(x, y, c);
    if (last) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void TCanvas::FillRoundRect(const TRect& r, int radius, TColor c) { RoundRectCoverage(r, radius, 0, c); }

void TCanvas::FrameRoundRect(const TRect& r, int radius, TColor c, int penWidth) {
  if (penWidth <= 0) return;
  RoundRectCoverage(r, radius, penWidth, c);
}

// Fills a rounded rectangle (penWidth 0) or its frame. Pixels outside the corner squares are whole
// spans; only the corner squares are blended pixel by pixel.
void TCanvas::RoundRectCoverage(const TRect& local, int radius, int penWidth, TColor c) {
  if (local.Empty() || AlphaOf(c) == 0) return;
  const TRect r = Abs(local);
  const TRect vis = r.Intersect(clip_);
  if (vis.Empty()) return;
  const TRoundShape outer(r, scale_.Pen(radius));
  const int rad = outer.radius;
  const int w = scale_.Pen(penWidth);
  const bool frame = w > 0 && 2 * w < r.Width() && 2 * w < r.Height();
  const TRoundShape inner(frame ? r.Inflate(-w, -w) : TRect{}, std::max(0, rad - w));

  const auto span = [&](int y, int x0, int x1) {
    x0 = std::max(x0, vis.Left);
    x1 = std::min(x1, vis.Right);
    if (x1 > x0) FillSpan(target_->Row(y) + x0, x1 - x0, c);
  };
  const auto perPixel = [&](int y, int x0, int x1) {
    x0 = std::max(x0, vis.Left);
    x1 = std::min(x1, vis.Right);
    for (int x = x0; x < x1; ++x) {
      const int cov = frame ? std::max(0, outer.At(x, y) - inner.At(x, y)) : outer.At(x, y);
      BlendAbs(x, y, c, cov);
    }
  };
  for (int y = vis.Top; y < vis.Bottom; ++y) {
    const bool cornerRow = y < r.Top + rad || y >= r.Bottom - rad;
    if (cornerRow) {
      perPixel(y, r.Left, r.Left + rad);
      perPixel(y, r.Right - rad, r.Right);
    }
    const int left = cornerRow ? r.Left + rad : r.Left;
    const int right = cornerRow ? r.Right - rad : r.Right;
    if (!frame || y < r.Top + w || y >= r.Bottom - w) {
      span(y, left, right);
    } else {
      // Between the top and bottom bands of the frame only its sides are drawn; beside the corner
      // squares the inner edge is straight.
      span(y, left, std::max(left, r.Left + w));
      span(y, std::min(right, r.Right - w), right);
    }
  }
}

void TCanvas::FillArrow(const TRect& local, TArrowDirection direction, TColor c) {
  const TRect r = Abs(local);
  const bool vertical = direction == TArrowDirection::Up || direction == TArrowDirection::Down;
  const int depth = vertical ? r.Height() : r.Width();
  for (int j = 0; j < depth; ++j) {
    if (vertical) {
      const int y = direction == TArrowDirection::Down ? r.Top + j : r.Bottom - 1 - j;
      if (r.Left + j >= r.Right - j) break;
      FillAbs(TRect{r.Left + j, y, r.Right - j, y + 1}.Intersect(clip_), c);
    } else {
      const int x = direction == TArrowDirection::Right ? r.Left + j : r.Right - 1 - j;
      if (r.Top + j >= r.Bottom - j) break;
      FillAbs(TRect{x, r.Top + j, x + 1, r.Bottom - j}.Intersect(clip_), c);
    }
  }
}

void TCanvas::FillGradientV(const TRect& rect, TColor top, TColor bottom) {
  const TRect abs = Abs(rect);
  const TRect vis = abs.Intersect(clip_);
  if (vis.Empty()) return;
  const int top0 = abs.Top;
  const int n = abs.Height() - 1;
  for (int y = vis.Top; y < vis.Bottom; ++y) {
    const int j = y - top0;
    TColor c = top;
    if (n > 0) {
      const auto ch = [&](int a, int b) { return (a * (n - j) + b * j + n / 2) / n; };
      c = Argb(ch(AlphaOf(top), AlphaOf(bottom)), ch(RedOf(top), RedOf(bottom)), ch(GreenOf(top), GreenOf(bottom)),
               ch(BlueOf(top), BlueOf(bottom)));
    }
    FillSpan(target_->Row(y) + vis.Left, vis.Width(), c);
  }
}

void TCanvas::DrawBitmap(int x, int y, const TBitmap& src) { DrawBitmap(x, y, src, src.Bounds()); }

void TCanvas::DrawBitmap(int x, int y, const TBitmap& src, const TRect& srcRect) {
  DrawBitmapAbs(AbsX(x), AbsY(y), src, srcRect);
}

void TCanvas::DrawImage(int x, int y, const TImage& image) {
  const TBitmap& bitmap = image.At(scale_);
  DrawBitmapAbs(AbsX(x), AbsY(y), bitmap, bitmap.Bounds());
}

void TCanvas::DrawStitched(int x, int y, const TImage& strip, int count, int index) {
  const TBitmap& bitmap = strip.At(scale_);
  DrawBitmapAbs(AbsX(x), AbsY(y), bitmap, StitchedGlyphRect(bitmap, count, index));
}

void TCanvas::DrawBitmapAbs(int x, int y, const TBitmap& src, const TRect& srcRect) {
  const TRect s = srcRect.Intersect(src.Bounds());
  if (s.Empty()) return;
  // The destination of the whole (limited) source part, then clipped.
  const int dx = x + (s.Left - srcRect.Left), dy = y + (s.Top - srcRect.Top);
  const TRect vis = TRect::FromSize(dx, dy, s.Width(), s.Height()).Intersect(clip_);
  for (int ty = vis.Top; ty < vis.Bottom; ++ty) {
    const TColor* from = src.Row(s.Top + ty - dy) + s.Left + (vis.Left - dx);
    TColor* to = target_->Row(ty) + vis.Left;
    for (int i = 0; i < vis.Width(); ++i) PutPixel(to[i], from[i]);
  }
}

void TCanvas::DrawBitmapKeyed(int x, int y, const TBitmap& src, const TRect& srcRect, TColor key) {
  const TRect s = srcRect.Intersect(src.Bounds());
  if (s.Empty()) return;
  const int dx = AbsX(x) + (s.Left - srcRect.Left), dy = AbsY(y) + (s.Top - srcRect.Top);
  const TRect vis = TRect::FromSize(dx, dy, s.Width(), s.Height()).Intersect(clip_);
  const TColor k = RgbOf(key);
  for (int ty = vis.Top; ty < vis.Bottom; ++ty) {
    const TColor* from = src.Row(s.Top + ty - dy) + s.Left + (vis.Left - dx);
    TColor* to = target_->Row(ty) + vis.Left;
    for (int i = 0; i < vis.Width(); ++i) {
      if (RgbOf(from[i]) != k) PutPixel(to[i], from[i]);
    }
  }
}

void TCanvas::DrawStitched(int x, int y, const TBitmap& strip, int count, int index) {
  DrawBitmap(x, y, strip, StitchedGlyphRect(strip, count, index));
}

void TCanvas::StretchBitmap(const TRect& dst, const TBitmap& src, const TRect& srcRect) {
  const TRect s = srcRect.Intersect(src.Bounds());
  const TRect d = Abs(dst);
  if (d.Empty() || s.Empty()) return;
  const TRect vis = d.Intersect(clip_);
  for (int y = vis.Top; y < vis.Bottom; ++y) {
    const int sy = srcRect.Top + static_cast<int>(static_cast<long long>(y - d.Top) * srcRect.Height() / d.Height());
    if (sy < s.Top || sy >= s.Bottom) continue;
    TColor* to = target_->Row(y);
    const TColor* from = src.Row(sy);
    for (int x = vis.Left; x < vis.Right; ++x) {
      const int sx = srcRect.Left + static_cast<int>(static_cast<long long>(x - d.Left) * srcRect.Width() / d.Width());
      if (sx >= s.Left && sx < s.Right) PutPixel(to[x], from[sx]);
    }
  }
}

void TCanvas::FillTiled(const TRect& r, const TBitmap& tile) { FillTiledAbs(Visible(r), tile, 0, 0); }

void TCanvas::FillTiled(const TRect& r, const TImage& tile) { FillTiledAbs(Visible(r), tile.At(scale_), 0, 0); }

void TCanvas::FillTiled(const TRect& r, const TBitmap& tile, TPoint anchor) {
  FillTiledAbs(Visible(r), tile, AbsX(anchor.X), AbsY(anchor.Y));
}

void TCanvas::FillTiledAbs(const TRect& vis, const TBitmap& tile, int ax, int ay) {
  if (vis.Empty() || tile.Empty()) return;
  const int tw = tile.Width(), th = tile.Height();
  for (int y = vis.Top; y < vis.Bottom; ++y) {
    const TColor* from = tile.Row(Mod(y - ay, th));
    TColor* to = target_->Row(y) + vis.Left;
    int tx = Mod(vis.Left - ax, tw);
    for (int left = vis.Width(); left > 0;) {
      const int n = std::min(left, tw - tx);
      std::copy_n(from + tx, n, to);
      to += n;
      left -= n;
      tx = 0;
    }
  }
}

void TCanvas::DrawCoverage(int x, int y, const unsigned char* mask, int w, int h, TColor c) {
  DrawCoverageAbs(AbsX(x), AbsY(y), mask, w, h, c);
}

void TCanvas::DrawCoverageAbs(int ax, int ay, const unsigned char* mask, int w, int h, TColor c) {
  const TRect vis = TRect::FromSize(ax, ay, w, h).Intersect(clip_);
  if (vis.Empty() || AlphaOf(c) == 0) return;
  const bool opaque = AlphaOf(c) == 255;
  for (int ty = vis.Top; ty < vis.Bottom; ++ty) {
    const unsigned char* m = mask + static_cast<std::size_t>(ty - ay) * static_cast<std::size_t>(w) + (vis.Left - ax);
    TColor* to = target_->Row(ty) + vis.Left;
    for (int i = 0; i < vis.Width(); ++i) {
      const int cov = m[i];
      if (cov == 0) continue;
      if (cov == 255 && opaque) {
        to[i] = c;
      } else {
        to[i] = BlendCoverage(to[i], c, cov);
      }
    }
  }
}

void TCanvas::TextOut(int x, int y, std::string_view utf8, const TFont& font) {
  TextOutAbs(AbsX(x), AbsY(y), utf8, scale_.Font(font));
}

void TCanvas::TextOutAbs(int x, int y, std::string_view utf8, const TFont& font) {
  const auto& set = detail::GlyphSetFor(font);
  const TFontMetrics& m = set.Metrics();
  const int baseline = y + m.Ascent;
  int pen = x;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const detail::TGlyph& g = set.Glyph(NextCodepoint(utf8, pos));
    if (!g.Coverage.empty())
      DrawCoverageAbs(pen + g.Left, baseline + g.Top, g.Coverage.data(), g.Width, g.Height, font.Color);
    pen += g.Advance;
  }
  if (font.Underline && pen > x) {
    const TRect line{x, baseline + m.UnderlineOffset, pen, baseline + m.UnderlineOffset + m.UnderlineThickness};
    FillAbs(line.Intersect(clip_), font.Color);
  }
}

// Aligned on the bitmap's pixels, with the scaled font's own measures.
void TCanvas::DrawText(const TRect& r, std::string_view utf8, const TFont& font, THAlign h, TVAlign v) {
  if (r.Empty()) return;
  const TRect box = Abs(r);
  const TFont scaled = scale_.Font(font);
  const int width = TextWidth(scaled, utf8);
  const int height = FontMetrics(scaled).LineHeight;
  // Centring rounds towards the left and the top, as Windows' DrawText does.
  const auto half = [](int n) { return FloorDiv(n, 2); };
  const int x = h == THAlign::Left    ? box.Left
                : h == THAlign::Right ? box.Right - width
                                      : box.Left + half(box.Width() - width);
  const int y = v == TVAlign::Top      ? box.Top
                : v == TVAlign::Bottom ? box.Bottom - height
                                       : box.Top + half(box.Height() - height);
  const TRect saved = clip_;
  clip_ = box.Intersect(clip_);
  if (clip_.Empty()) clip_ = {clip_.Left, clip_.Top, clip_.Left, clip_.Top};
  TextOutAbs(x, y, utf8, scaled);
  clip_ = saved;
}

void TCanvas::DrawCheckMark(const TRect& r, TColor c) {
  const TRect box = Abs(r);
  if (box.Empty()) return;
  const auto mask = detail::CheckMarkCoverage(box.Width(), box.Height());
  DrawCoverageAbs(box.Left, box.Top, mask.data(), box.Width(), box.Height(), c);
}

TBitmap RecolorBitmap(const TBitmap& src, TColor c) {
  TBitmap out = src;
  TColor* p = out.Data();
  const std::size_t n = static_cast<std::size_t>(out.Width()) * static_cast<std::size_t>(out.Height());
  for (std::size_t i = 0; i < n; ++i) {
    const TColor rgb = RgbOf(p[i]);
    if (rgb == 0 && AlphaOf(p[i]) != 0) {
      p[i] = c;
    } else if (rgb == RgbOf(kMagenta)) {
      p[i] = kTransparent;
    }
  }
  return out;
}

TImage RecolorImage(const TImage& src, TColor c) {
  return src.Map([c](const TBitmap& b) { return RecolorBitmap(b, c); });
}

TRect StitchedGlyphRect(const TBitmap& strip, int count, int index) {
  if (count <= 0) return {};
  const int h = strip.Height() / count;
  const int i = std::clamp(index, 0, count - 1);
  return {0, i * h, strip.Width(), (i + 1) * h};
}

TBitmap CropBitmap(const TBitmap& src, const TRect& r) {
  const TRect s = r.Intersect(src.Bounds());
  if (s.Empty()) return {};
  TBitmap out(s.Width(), s.Height());
  for (int y = 0; y < s.Height(); ++y) std::copy_n(src.Row(s.Top + y) + s.Left, s.Width(), out.Row(y));
  return out;
}

}  // namespace vornix::gfx
