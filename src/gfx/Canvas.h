// Drawing into a TBitmap. A canvas has an origin (where its local point 0, 0 lies on the bitmap) and
// a clip rectangle; every operation takes local coordinates and touches only pixels inside the clip.
// A control paints itself in its own coordinates inside a TCanvasScope that moves the origin to the
// control's corner and clips to it.
//
// Rectangles include their left and top edge and exclude their right and bottom edge (TRect).
// Lines exclude their end point unless asked otherwise (like the Windows LineTo), so consecutive
// segments of a polyline touch each pixel once; HLine and VLine cover [from, to).
//
// A colour with alpha 255 replaces the pixels it covers, alpha 0 draws nothing, anything between is
// blended over them ("source over"; the target may itself carry alpha). Anti-aliased edges and text
// blend the same way with their coverage.
//
// A canvas may draw at a scale (Scale.h): coordinates, clips and sizes are then logical pixels, and
// every shape lands on the bitmap's pixels at its scaled position. Rectangles, lines and frames
// cover exactly the pixels of their scaled edges, so what two neighbours draw meets without gap or
// overlap; rounded corners and pens take whole scaled pixels; text is drawn from the font at its
// scaled size; images (TImage) are drawn as made for the scale. A plain TBitmap is drawn pixel for
// pixel, its top left corner at the scaled position.
#pragma once

#include <string_view>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gfx/Image.h"
#include "gfx/Scale.h"

// <windows.h> defines TextOut and DrawText as macros for its own functions; in files that include
// this header the names are the canvas's (the Windows ones remain as TextOutW and DrawTextW).
#ifdef TextOut
#undef TextOut
#endif
#ifdef DrawText
#undef DrawText
#endif

namespace vornix::gfx {

enum class TLineEnd { Exclusive, Inclusive };
enum class THAlign { Left, Center, Right };
enum class TVAlign { Top, Center, Bottom };
enum class TArrowDirection { Up, Down, Left, Right };

class TCanvas {
 public:
  explicit TCanvas(TBitmap& target, TScale scale = {});

  TBitmap& Target() { return *target_; }
  const TBitmap& Target() const { return *target_; }
  TScale Scale() const { return scale_; }

  // Where the local point (0, 0) lies, in logical pixels of the bitmap.
  TPoint Origin() const { return origin_; }
  // The clip rectangle in local coordinates (always inside the bitmap); at a scale, the logical
  // pixels that cover it.
  TRect ClipRect() const { return scale_.LogicalCover(clip_).Offset(-origin_.X, -origin_.Y); }
  // Moves the origin by (dx, dy) local pixels.
  void Translate(int dx, int dy);
  // Narrows the clip to its intersection with r (local coordinates).
  void IntersectClip(const TRect& r);
  // Saves the origin and clip; Restore brings back the last saved pair.
  void Save();
  void Restore();

  // Pixels
  void SetPixel(int x, int y, TColor c);
  // The pixel at a local point (at a scale: the top left one of its pixels), or 0 outside the
  // bitmap (the clip does not matter).
  TColor GetPixel(int x, int y) const;

  // Rectangles and lines
  void FillRect(const TRect& r, TColor c);
  // A frame of penWidth pixels lying inside r; a pen as wide as half of r fills it.
  void FrameRect(const TRect& r, TColor c, int penWidth = 1);
  void HLine(int x0, int x1, int y, TColor c);  // pixels x0 .. x1 − 1
  void VLine(int x, int y0, int y1, TColor c);  // pixels y0 .. y1 − 1
  // A one-pixel line from (x0, y0) towards (x1, y1), Bresenham; the end point is drawn only with
  // TLineEnd::Inclusive.
  void Line(int x0, int y0, int x1, int y1, TColor c, TLineEnd end = TLineEnd::Exclusive);

  // Rounded rectangles: the corners are quarter circles of the given radius (in pixels, limited to
  // half the shorter side) with anti-aliased edges; the frame lies inside r. At a scale the radius
  // and the pen are scaled to whole pixels.
  void FillRoundRect(const TRect& r, int radius, TColor c);
  void FrameRoundRect(const TRect& r, int radius, TColor c, int penWidth = 1);

  // An arrow head with its base along one side of r, pointing away from it: each pixel row (or
  // column) one pixel shorter at both ends than the one before, until it is gone or r ends. At a
  // scale the steps are the bitmap's pixels, so the edges stay clean.
  void FillArrow(const TRect& r, TArrowDirection direction, TColor c);

  // Top row in `top`, bottom row in `bottom`, rows between interpolated (all four channels).
  void FillGradientV(const TRect& r, TColor top, TColor bottom);

  // Images: the bitmap made for the canvas's scale, drawn with its alpha, its top left corner at
  // (x, y); a strip's glyph `index` of `count` stacked vertically.
  void DrawImage(int x, int y, const TImage& image);
  void DrawStitched(int x, int y, const TImage& strip, int count, int index);
  // Fills r with the image made for the scale as a tile (see FillTiled below).
  void FillTiled(const TRect& r, const TImage& tile);

  // Bitmaps: drawn with their alpha, the top left corner at (x, y); srcRect in the bitmap's pixels.
  void DrawBitmap(int x, int y, const TBitmap& src);
  void DrawBitmap(int x, int y, const TBitmap& src, const TRect& srcRect);
  // Pixels whose RGB equals key are left out (their alpha does not matter); the others are drawn
  // with their alpha.
  void DrawBitmapKeyed(int x, int y, const TBitmap& src, const TRect& srcRect, TColor key = kMagenta);
  // Glyph `index` (0-based) of a strip of `count` glyphs stacked vertically, drawn at (x, y).
  void DrawStitched(int x, int y, const TBitmap& strip, int count, int index);
  // srcRect of src scaled into dst (nearest pixel), drawn with alpha.
  void StretchBitmap(const TRect& dst, const TBitmap& src, const TRect& srcRect);
  // Fills r with the tile repeated as a brush, pixel for pixel. Without an anchor the pattern is
  // fixed to the bitmap's corner (the window's origin), so controls painting it in their own
  // coordinates continue it seamlessly; with an anchor (local coordinates) one tile starts there.
  // Tile pixels replace the target's.
  void FillTiled(const TRect& r, const TBitmap& tile);
  void FillTiled(const TRect& r, const TBitmap& tile, TPoint anchor);

  // Text on one line in the font's colour. TextOut puts the top of the line at y (the baseline lies
  // FontMetrics(font).Ascent below it). DrawText aligns the text in r (vertically by its line
  // height) and clips it to r.
  void TextOut(int x, int y, std::string_view utf8, const TFont& font);
  void DrawText(const TRect& r, std::string_view utf8, const TFont& font, THAlign h = THAlign::Left,
                TVAlign v = TVAlign::Center);
  // An anti-aliased check mark centred in r, as menus show beside checked items.
  void DrawCheckMark(const TRect& r, TColor c);

  // Blends a coverage mask (w × h bytes, 0..255, rows without padding; the bitmap's pixels) in
  // colour c with its top left corner at (x, y).
  void DrawCoverage(int x, int y, const unsigned char* mask, int w, int h, TColor c);
  // For shapes computed at the bitmap's resolution: the bitmap's pixels a local rectangle covers
  // (not clipped), and a mask placed on them directly.
  TRect OnBitmap(const TRect& r) const { return Abs(r); }
  void DrawCoverageOnBitmap(int x, int y, const unsigned char* mask, int w, int h, TColor c) {
    DrawCoverageAbs(x, y, mask, w, h, c);
  }

 private:
  struct TState {
    TPoint origin;
    TRect clip;
  };
  // Local coordinates on the bitmap's pixels.
  int AbsX(int x) const { return scale_.Px(x + origin_.X); }
  int AbsY(int y) const { return scale_.Px(y + origin_.Y); }
  TRect Abs(const TRect& r) const { return scale_.Px(r.Offset(origin_.X, origin_.Y)); }
  // r in local coordinates, on the bitmap and clipped.
  TRect Visible(const TRect& r) const { return Abs(r).Intersect(clip_); }
  void FillAbs(const TRect& abs, TColor c);             // abs already clipped
  void BlendAbs(int x, int y, TColor c, int coverage);  // one pixel, clip tested
  void RoundRectCoverage(const TRect& r, int radius, int penWidth, TColor c);
  // These take the bitmap's pixels.
  void DrawBitmapAbs(int dx, int dy, const TBitmap& src, const TRect& srcRect);
  void FillTiledAbs(const TRect& vis, const TBitmap& tile, int ax, int ay);
  void DrawCoverageAbs(int ax, int ay, const unsigned char* mask, int w, int h, TColor c);
  void TextOutAbs(int x, int y, std::string_view utf8, const TFont& scaledFont);

  TBitmap* target_;
  TScale scale_;
  TPoint origin_;
  TRect clip_;
  std::vector<TState> saved_;
};

// Saves a canvas's origin and clip and restores them when it goes out of scope. With a rectangle
// (in the canvas's current coordinates) it also clips to it and moves the origin to its top left
// corner, so a child control paints in its own coordinates.
class TCanvasScope {
 public:
  explicit TCanvasScope(TCanvas& canvas) : canvas_(canvas) { canvas_.Save(); }
  TCanvasScope(TCanvas& canvas, const TRect& child) : canvas_(canvas) {
    canvas_.Save();
    canvas_.IntersectClip(child);
    canvas_.Translate(child.Left, child.Top);
  }
  ~TCanvasScope() { canvas_.Restore(); }
  TCanvasScope(const TCanvasScope&) = delete;
  TCanvasScope& operator=(const TCanvasScope&) = delete;

 private:
  TCanvas& canvas_;
};

// Bitmap helpers for glyph images.

// A copy in which every pure black pixel (RGB 0, 0, 0) takes colour c and every magenta pixel
// (255, 0, 255) becomes transparent; other pixels stay as they are.
TBitmap RecolorBitmap(const TBitmap& src, TColor c);
TImage RecolorImage(const TImage& src, TColor c);
// The rectangle of glyph `index` of a vertical strip of `count` glyphs; the index is limited to
// 0 .. count − 1.
TRect StitchedGlyphRect(const TBitmap& strip, int count, int index);
// The part r of src as a bitmap of its own (r limited to src).
TBitmap CropBitmap(const TBitmap& src, const TRect& r);

}  // namespace vornix::gfx
