// A full repaint of the 786 × 421 editor as the sequence page draws it: tiled background, rounded
// panels, buttons with gradients and captions, labels, inputs, the step grid's 64 bars, switches
// and glyphs. The budget is well under 2 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "gfx/Canvas.h"
#include "gfx/Resources.h"
#include "gfx/Skin.h"

namespace {

using namespace vornix::gfx;

void Button(TCanvas& c, const TRect& r, const std::string& caption, const TSkin& s, bool down) {
  const TColor face = down ? s.ButtonFaceDown : s.ButtonFace;
  c.FillRoundRect(r, 3, s.ButtonBorder);
  c.FillGradientV(r.Inflate(-1, -1), LightenColor(face, 8), DarkenColor(face, 6));
  c.FrameRoundRect(r, 3, s.ButtonBorder);
  c.DrawText(r, caption, TFont::SegoeUI(12, true, down ? s.ButtonTextDown : s.sfButtonTextNormal), THAlign::Center);
}

void Repaint(TCanvas& c, const TSkin& s) {
  const TBitmap& background = ImageResource("EditorBackground");
  const TBitmap& strip = ImageResource("STITCHED_ONOFF_DARK");
  static const TBitmap up = RecolorBitmap(ImageResource("ARROWUP"), s.sfButtonTextNormal);
  c.FillTiled({0, 0, 786, 421}, background);
  // Heading: product name, preset button, info line.
  c.TextOut(10, 12, "Vornix", TFont::Tahoma(21, true, s.LabelText));
  Button(c, TRect::FromSize(275, 10, 237, 25), "Demo Ramp", s, false);
  c.FillRoundRect(TRect::FromSize(546, 10, 234, 25), 6, s.scPanel);
  c.DrawText(TRect::FromSize(551, 10, 223, 25), "Step: 32  Value: 127 <=> 127", TFont::Tahoma(11, false, s.LabelText));
  // The main panel and its controls.
  TCanvasScope panel(c, TRect::FromSize(3, 44, 780, 373));
  c.FillRoundRect({0, 0, 780, 373}, 10, s.scHintGradientBase);
  c.FillRoundRect({1, 1, 779, 372}, 9, s.scPanel);
  c.DrawStitched(37, 8, strip, 2, 1);
  c.TextOut(67, 10, "Sequence #1", TFont::Tahoma(15, true, s.LabelText));
  for (int k = 0; k < 8; ++k) Button(c, TRect::FromSize(6, 38 + 26 * k, 24, 24), std::to_string(k + 1), s, k == 0);
  {
    TCanvasScope grid(c, TRect::FromSize(37, 38, 705, 272));
    c.FillRect({0, 0, 705, 272}, s.scWindow);
    for (int i = 0; i < 64; ++i) {
      const int x = 1 + i * 11;
      c.FillRect({x, 272 - 2 * i - 20, x + 10, 262}, s.scButtonFocused);
      c.VLine(x + 10, 0, 272, s.scGenericGradientBase);
    }
    c.FrameRect({0, 0, 705, 272}, s.sfButtonTextDisabled);
  }
  for (int k = 0; k < 5; ++k) {
    Button(c, TRect::FromSize(749, 37 + 26 * k, 24, 24), "", s, false);
    c.DrawBitmap(753, 41 + 26 * k, up);
  }
  const char* labels[] = {"Steps", "Ch", "CC#", "Rate", "Type", "Order", "Trigger", "Smooth"};
  const int lx[] = {37, 84, 131, 178, 287, 402, 531, 695};
  for (int k = 0; k < 8; ++k) {
    c.DrawText(TRect::FromSize(lx[k], 319, 60, 21), labels[k], TFont::SegoeUI(13, true, s.LabelText));
  }
  for (int k = 0; k < 3; ++k) {
    const TRect r = TRect::FromSize(37 + 47 * k, 341, 40, 24);
    c.FillRect(r, s.scButtonDisabled);
    c.FrameRect(r, s.sfButtonTextDisabled);
    c.DrawText(r, "127", TFont::SegoeUI(12, true, s.sfCaptionTextNormal), THAlign::Center);
  }
  Button(c, TRect::FromSize(178, 341, 103, 25), "1/16", s, false);
  Button(c, TRect::FromSize(288, 341, 107, 25), "Normal", s, false);
  Button(c, TRect::FromSize(402, 341, 122, 25), "Forward", s, false);
  Button(c, TRect::FromSize(531, 341, 159, 25), "Note Retrigger One Shot", s, false);
  c.DrawStitched(718, 341, strip, 2, 0);
}

void BM_FullRepaint(benchmark::State& state) {
  TBitmap window(786, 421);
  TCanvas canvas(window);
  const TSkin& skin = SkinByName("Carbon");
  Repaint(canvas, skin);  // glyphs and images made before timing
  for (auto _ : state) {
    Repaint(canvas, skin);
    benchmark::DoNotOptimize(window.Data());
  }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

void BM_TiledBackground(benchmark::State& state) {
  TBitmap window(786, 421);
  TCanvas canvas(window);
  const TBitmap& tile = ImageResource("EditorBackground");
  for (auto _ : state) {
    canvas.FillTiled(window.Bounds(), tile);
    benchmark::DoNotOptimize(window.Data());
  }
}
BENCHMARK(BM_TiledBackground)->Unit(benchmark::kMicrosecond);

void BM_TextLine(benchmark::State& state) {
  TBitmap window(300, 30);
  TCanvas canvas(window);
  const TFont font = TFont::SegoeUI(13, true);
  for (auto _ : state) {
    canvas.TextOut(2, 2, "Note Retrigger One Shot", font);
    benchmark::DoNotOptimize(window.Data());
  }
}
BENCHMARK(BM_TextLine)->Unit(benchmark::kMicrosecond);

}  // namespace
