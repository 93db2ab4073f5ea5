#include "editor/dialogs/MessageIcons.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace vornix::editor {

namespace {

using platform::TMsgDlgType;

struct TVec {
  double X = 0, Y = 0;
};
TVec operator-(TVec a, TVec b) { return {a.X - b.X, a.Y - b.Y}; }
TVec operator*(TVec a, double s) { return {a.X * s, a.Y * s}; }
double Dot(TVec a, TVec b) { return a.X * b.X + a.Y * b.Y; }
double Length(TVec a) { return std::sqrt(Dot(a, a)); }

// Signed distances in pixels: negative inside a shape.
using TShape = std::function<double(TVec)>;

TShape Circle(TVec centre, double radius) {
  return [=](TVec p) { return Length(p - centre) - radius; };
}

// A bar with round ends from a to b.
TShape Capsule(TVec a, TVec b, double radius) {
  return [=](TVec p) {
    const TVec pa = p - a, ba = b - a;
    const double h = std::clamp(Dot(pa, ba) / Dot(ba, ba), 0.0, 1.0);
    return Length(pa - ba * h) - radius;
  };
}

// A triangle whose corners are rounded with the radius (the corners given are the tips' circles'
// centres, so the shape reaches `radius` beyond them).
TShape RoundedTriangle(TVec p0, TVec p1, TVec p2, double radius) {
  return [=](TVec p) {
    const TVec e0 = p1 - p0, e1 = p2 - p1, e2 = p0 - p2;
    const TVec v0 = p - p0, v1 = p - p1, v2 = p - p2;
    const TVec q0 = v0 - e0 * std::clamp(Dot(v0, e0) / Dot(e0, e0), 0.0, 1.0);
    const TVec q1 = v1 - e1 * std::clamp(Dot(v1, e1) / Dot(e1, e1), 0.0, 1.0);
    const TVec q2 = v2 - e2 * std::clamp(Dot(v2, e2) / Dot(e2, e2), 0.0, 1.0);
    const double s = e0.X * e2.Y - e0.Y * e2.X > 0 ? 1.0 : -1.0;
    const double d = std::min({Dot(q0, q0), Dot(q1, q1), Dot(q2, q2)});
    const double inside =
        std::min({s * (v0.X * e0.Y - v0.Y * e0.X), s * (v1.X * e1.Y - v1.Y * e1.X), s * (v2.X * e2.Y - v2.Y * e2.X)});
    return (inside > 0 ? -std::sqrt(d) : std::sqrt(d)) - radius;
  };
}

TShape Union(TShape a, TShape b) {
  return [=](TVec p) { return std::min(a(p), b(p)); };
}

TShape Grown(TShape shape, double by) {
  return [=](TVec p) { return shape(p) - by; };
}

// Fills the shape (in coordinates of r, a square of `size` units scaled to r) with a vertical
// gradient, its edge anti-aliased over one pixel of the bitmap (at the canvas's zoom too).
void FillShape(gfx::TCanvas& canvas, const gfx::TRect& local, double size, const TShape& shape, gfx::TColor top,
               gfx::TColor bottom) {
  const gfx::TRect r = canvas.OnBitmap(local);
  const double scale = r.Width() / size;
  std::vector<unsigned char> row(static_cast<std::size_t>(r.Width()));
  for (int y = 0; y < r.Height(); ++y) {
    bool any = false;
    for (int x = 0; x < r.Width(); ++x) {
      const TVec p{(x + 0.5) / scale, (y + 0.5) / scale};
      const double coverage = std::clamp(0.5 - shape(p) * scale, 0.0, 1.0);
      row[static_cast<std::size_t>(x)] = static_cast<unsigned char>(std::lround(coverage * 255));
      any = any || coverage > 0;
    }
    if (!any) continue;
    const int t = r.Height() > 1 ? y * 255 / (r.Height() - 1) : 0;
    canvas.DrawCoverageOnBitmap(r.Left, r.Top + y, row.data(), r.Width(), 1, gfx::MixColors(top, bottom, t));
  }
}

// The glyphs on a 32-unit square.
TShape Exclamation() { return Union(Capsule({16, 11.5}, {16, 19.5}, 1.9), Circle({16, 24.6}, 2.1)); }
TShape LetterI() { return Union(Capsule({16, 14.5}, {16, 24}, 2.0), Circle({16, 9.2}, 2.2)); }
TShape Cross() { return Union(Capsule({11, 11}, {21, 21}, 1.9), Capsule({21, 11}, {11, 21}, 1.9)); }

void DrawCircleIcon(gfx::TCanvas& canvas, const gfx::TRect& r, gfx::TColor top, gfx::TColor bottom, gfx::TColor edge) {
  FillShape(canvas, r, 32, Circle({16, 16}, 15), edge, edge);
  FillShape(canvas, r, 32, Circle({16, 16}, 14), top, bottom);
}

}  // namespace

bool HasMessageIcon(TMsgDlgType type) { return type != TMsgDlgType::mtCustom; }

void DrawMessageIcon(gfx::TCanvas& canvas, const gfx::TRect& r, TMsgDlgType type) {
  constexpr gfx::TColor kGlyph = gfx::kWhite;
  switch (type) {
    case TMsgDlgType::mtWarning: {
      const TShape triangle = RoundedTriangle({16, 4.5}, {3.6, 26.5}, {28.4, 26.5}, 2.5);
      FillShape(canvas, r, 32, Grown(triangle, 1), gfx::Rgb(214, 148, 16), gfx::Rgb(188, 120, 8));
      FillShape(canvas, r, 32, triangle, gfx::Rgb(255, 214, 92), gfx::Rgb(245, 170, 28));
      FillShape(canvas, r, 32, Exclamation(), gfx::Rgb(52, 40, 20), gfx::Rgb(52, 40, 20));
      break;
    }
    case TMsgDlgType::mtInformation:
      DrawCircleIcon(canvas, r, gfx::Rgb(78, 160, 240), gfx::Rgb(28, 104, 204), gfx::Rgb(22, 86, 170));
      FillShape(canvas, r, 32, LetterI(), kGlyph, kGlyph);
      break;
    case TMsgDlgType::mtConfirmation: {
      DrawCircleIcon(canvas, r, gfx::Rgb(78, 160, 240), gfx::Rgb(28, 104, 204), gfx::Rgb(22, 86, 170));
      const gfx::TFont font = gfx::TFont::SegoeUI(r.Height() * 3 / 4, true, kGlyph);
      canvas.DrawText(r, "?", font, gfx::THAlign::Center, gfx::TVAlign::Center);
      break;
    }
    case TMsgDlgType::mtError:
      DrawCircleIcon(canvas, r, gfx::Rgb(238, 92, 80), gfx::Rgb(200, 44, 38), gfx::Rgb(168, 32, 28));
      FillShape(canvas, r, 32, Cross(), kGlyph, kGlyph);
      break;
    case TMsgDlgType::mtCustom: break;
  }
}

}  // namespace vornix::editor
