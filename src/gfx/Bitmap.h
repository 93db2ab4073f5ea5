// A picture in memory: 32-bit ARGB pixels (0xAARRGGBB, straight alpha), rows top to bottom with no
// padding. The canvas draws into it, windows show it, PNG files load into and save from it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vornix::gfx {

using TColor = std::uint32_t;

constexpr TColor Rgb(int r, int g, int b) {
  return 0xFF000000u | static_cast<TColor>(r & 0xFF) << 16 | static_cast<TColor>(g & 0xFF) << 8 |
         static_cast<TColor>(b & 0xFF);
}
constexpr TColor Argb(int a, int r, int g, int b) {
  return static_cast<TColor>(a & 0xFF) << 24 | (Rgb(r, g, b) & 0xFFFFFF);
}
constexpr int AlphaOf(TColor c) { return static_cast<int>(c >> 24 & 0xFF); }
constexpr int RedOf(TColor c) { return static_cast<int>(c >> 16 & 0xFF); }
constexpr int GreenOf(TColor c) { return static_cast<int>(c >> 8 & 0xFF); }
constexpr int BlueOf(TColor c) { return static_cast<int>(c & 0xFF); }

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Left and top inside, right and bottom outside.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  static constexpr TRect FromSize(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
  }
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr bool Empty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  constexpr bool Contains(TPoint p) const { return Contains(p.X, p.Y); }
  constexpr TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
  constexpr TRect Inflate(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }
  constexpr TRect Intersect(const TRect& o) const {
    return {std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right), std::min(Bottom, o.Bottom)};
  }
  // The smallest rectangle holding both; an empty one adds nothing.
  constexpr TRect Union(const TRect& o) const {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    return {std::min(Left, o.Left), std::min(Top, o.Top), std::max(Right, o.Right), std::max(Bottom, o.Bottom)};
  }
  friend bool operator==(const TRect&, const TRect&) = default;
};

class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height, TColor fill = 0) { Resize(width, height, fill); }

  void Resize(int width, int height, TColor fill = 0) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill);
  }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  TRect Bounds() const { return {0, 0, width_, height_}; }

  TColor Pixel(int x, int y) const { return pixels_[Index(x, y)]; }
  void SetPixel(int x, int y, TColor c) { pixels_[Index(x, y)] = c; }
  TColor* Row(int y) { return pixels_.data() + Index(0, y); }
  const TColor* Row(int y) const { return pixels_.data() + Index(0, y); }
  TColor* Data() { return pixels_.data(); }
  const TColor* Data() const { return pixels_.data(); }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<TColor> pixels_;
};

}  // namespace vornix::gfx
