// vornix-specimen FILE.png [SCALE [X Y W H]]: a sheet of everything the drawing layer makes, for looking at:
// the five skins' colours with a sample of controls in each, both faces at the editor's sizes,
// rounded rectangles, and the images enlarged. SCALE (default 1) enlarges the sheet
// or the part of it at X, Y of W × H pixels.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "ImageGenerator.h"
#include "gfx/Canvas.h"
#include "gfx/Png.h"
#include "gfx/Resources.h"
#include "gfx/Skin.h"

namespace {

using namespace vornix::gfx;

constexpr int kWidth = 1500;
constexpr int kHeight = 1460;

void Heading(TCanvas& c, int x, int y, const std::string& text, TColor colour) {
  c.TextOut(x, y, text, TFont::Tahoma(15, true, colour));
}

// A button as the toolkit will draw it: rounded, a vertical gradient, a border, a centred caption.
void Button(TCanvas& c, const TRect& r, const std::string& caption, const TSkin& s, bool down, bool underline = false) {
  const TColor face = down ? s.ButtonFaceDown : s.ButtonFace;
  c.FillRoundRect(r, 3, s.ButtonBorder);
  c.FillGradientV(r.Inflate(-1, -1), LightenColor(face, down ? 0 : 8), DarkenColor(face, down ? 0 : 6));
  c.FrameRoundRect(r, 3, s.ButtonBorder);
  TFont font = TFont::SegoeUI(12, true, down ? s.ButtonTextDown : s.sfButtonTextNormal);
  font.Underline = underline;
  c.DrawText(r, caption, font, THAlign::Center);
}

void SkinColumn(TCanvas& c, const TSkin& s, int x, int y) {
  const TRect panel = TRect::FromSize(x, y, 280, 600);
  c.FillRoundRect(panel, 10, s.scHintGradientBase);
  c.FillRoundRect(panel.Inflate(-1, -1), 9, s.scPanel);
  Heading(c, x + 12, y + 10, s.Name, s.LabelText);

  // Swatches: every element with its name.
  const auto names = SkinElementNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const int col = static_cast<int>(i) / 18, row = static_cast<int>(i) % 18;
    const int sx = x + 12 + col * 134, sy = y + 36 + row * 15;
    const TRect sw = TRect::FromSize(sx, sy, 12, 12);
    c.FillRect(sw, *SkinElement(s, names[i]));
    c.FrameRect(sw, s.scBorder);
    std::string label = names[i];
    const TFont font = TFont::Tahoma(11, false, s.LabelText);
    label.resize(TextFit(font, label, 114));
    c.TextOut(sx + 16, sy - 1, label, font);
  }

  // A few controls in the skin's colours.
  int cy = y + 320;
  const TRect inner = TRect::FromSize(x + 10, cy, 260, 270);
  c.FillRoundRect(inner, 8, s.scCategoryPanelGroup);
  c.FrameRoundRect(inner, 8, s.scHintGradientBase);
  const bool darkImages = s.Name == "Carbon" || s.Name == "Amakrits";
  const TBitmap& strip = ImageResource(darkImages ? "STITCHED_ONOFF_DARK" : "STITCHED_ONOFF_BRIGHT");
  c.DrawStitched(x + 20, cy + 10, strip, 2, 1);
  c.TextOut(x + 50, cy + 12, "Sequence #1", TFont::Tahoma(15, true, s.LabelText));
  c.DrawStitched(x + 160, cy + 10, strip, 2, 0);
  for (int k = 0; k < 4; ++k) {
    Button(c, TRect::FromSize(x + 20 + k * 26, cy + 42, 24, 24), std::to_string(k + 1), s, k == 1, k != 2);
  }
  const TBitmap up = RecolorBitmap(ImageResource("ARROWUP"), s.sfButtonTextNormal);
  const TBitmap menu = RecolorBitmap(ImageResource("menu16"), s.sfButtonTextNormal);
  Button(c, TRect::FromSize(x + 130, cy + 42, 24, 24), "", s, false);
  c.DrawBitmap(x + 134, cy + 46, up);
  Button(c, TRect::FromSize(x + 160, cy + 42, 24, 24), "", s, false);
  c.DrawBitmap(x + 164, cy + 46, menu);
  const TFont label = TFont::SegoeUI(13, true, s.LabelText);
  c.TextOut(x + 20, cy + 76, "Steps", label);
  c.TextOut(x + 70, cy + 76, "CC#", label);
  c.TextOut(x + 110, cy + 76, "Rate", label);
  const TRect input = TRect::FromSize(x + 20, cy + 96, 40, 24);
  c.FillRect(input, s.scButtonDisabled);
  c.FrameRect(input, s.sfButtonTextDisabled);
  c.DrawText(input, "32", TFont::SegoeUI(12, true, s.sfCaptionTextNormal), THAlign::Center);
  const TRect hot = TRect::FromSize(x + 66, cy + 96, 40, 24);
  c.FillRect(hot, s.scButtonHot);
  c.FrameRect(hot, s.sfButtonTextDisabled);
  c.DrawText(hot, "127", TFont::SegoeUI(12, true, s.sfCaptionTextNormal), THAlign::Center);
  Button(c, TRect::FromSize(x + 110, cy + 96, 103, 25), "1/128", s, false);
  Button(c, TRect::FromSize(x + 20, cy + 128, 159, 25), "Note Retrigger One Shot", s, false);

  // A menu.
  const TRect m = TRect::FromSize(x + 20, cy + 162, 180, 96);
  c.FillRect(m, s.MenuBackground);
  c.FrameRect(m, s.scBorder);
  const TFont mf = TFont::SegoeUI(12, false, s.MenuText);
  c.DrawCheckMark(TRect::FromSize(m.Left + 6, m.Top + 6, 12, 12), s.MenuText);
  c.DrawText(TRect::FromSize(m.Left + 24, m.Top + 3, 150, 18), "Carbon", mf);
  c.FillRect(TRect::FromSize(m.Left + 2, m.Top + 23, m.Width() - 4, 20), s.MenuHighlight);
  c.DrawText(TRect::FromSize(m.Left + 24, m.Top + 24, 150, 18), "Dark", TFont::SegoeUI(12, false, s.MenuHighlightText));
  c.HLine(m.Left + 4, m.Right - 4, m.Top + 48, s.MenuSeparator);
  c.DrawText(TRect::FromSize(m.Left + 24, m.Top + 52, 150, 18), "17 \u2013 32 \u2026",
             TFont::SegoeUI(12, false, s.MenuTextDisabled));
  c.DrawText(TRect::FromSize(m.Left + 24, m.Top + 72, 150, 18), "Edit Title...", mf);
  (void)cy;
}

void TextSamples(TCanvas& c, int x, int y, TColor back, TColor ink) {
  c.FillRect(TRect::FromSize(x, y, 735, 510), back);
  int ty = y + 8;
  for (TFontFace face : {TFontFace::SegoeUI, TFontFace::Tahoma}) {
    for (int size : {11, 12, 13, 15, 16, 21}) {
      for (bool bold : {false, true}) {
        const TFont font{face, size, bold, false, ink};
        std::string text = std::string(FontFaceName(face)) + " " + std::to_string(size) + (bold ? " bold" : "") +
                           ": Sequence #1 \u2013 Step: 32  Value: 127 <=> 127";
        if (size < 16)
          text += " 1/128 \u00c4\u00d6\u00dc\u00df \u0141\u017d\u0151 \u2026 \u2022 \u2713 \u20ac &Amp \u4e2d";
        c.TextOut(x + 8, ty, text, font);
        ty += size + 6;
      }
    }
  }
}

void Shapes(TCanvas& c, int x, int y, TColor back, TColor ink, TColor accent) {
  c.FillRect(TRect::FromSize(x, y, 760, 150), back);
  for (int r = 2; r <= 10; ++r) {
    const int sx = x + 10 + (r - 2) * 82;
    c.FillRoundRect(TRect::FromSize(sx, y + 10, 70, 36), r, accent);
    c.FrameRoundRect(TRect::FromSize(sx, y + 56, 70, 36), r, ink);
    c.FrameRoundRect(TRect::FromSize(sx, y + 102, 70, 36), r, ink, 2);
    c.DrawText(TRect::FromSize(sx, y + 10, 70, 36), "r " + std::to_string(r), TFont::SegoeUI(12, true, back),
               THAlign::Center);
  }
}

void Images(TCanvas& c, int x, int y) {
  // The background tile over a wide area (seams would show as lines every 64 pixels).
  c.FillTiled(TRect::FromSize(x, y, 700, 150), ImageResource("EditorBackground"));
  c.StretchBitmap(TRect::FromSize(x + 10, y + 10, 128, 128), ImageResource("EditorBackground"), {0, 0, 64, 64});
  int ix = x + 160;
  for (const char* name : {"STITCHED_ONOFF_DARK", "STITCHED_ONOFF_BRIGHT"}) {
    const TBitmap& strip = ImageResource(name);
    c.FillRect(TRect::FromSize(ix, y + 5, 70, 140),
               std::string(name).find("DARK") != std::string::npos ? Rgb(56, 56, 58) : Rgb(236, 236, 236));
    c.StretchBitmap(TRect::FromSize(ix + 11, y + 8, 48, 96), strip, strip.Bounds());
    c.DrawStitched(ix + 10, y + 112, strip, 2, 0);
    c.DrawStitched(ix + 36, y + 112, strip, 2, 1);
    ix += 80;
  }
  for (const char* name : {"ARROWUP", "ARROWDOWN", "ARROWLEFT", "ARROWRIGHT", "menu16"}) {
    c.StretchBitmap(TRect::FromSize(ix, y + 10, 48, 48), ImageResource(name), {0, 0, 16, 16});
    c.FillRect(TRect::FromSize(ix, y + 70, 48, 48), Rgb(56, 56, 58));
    c.DrawBitmap(ix + 16, y + 86, RecolorBitmap(ImageResource(name), Rgb(220, 220, 220)));
    ix += 56;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: vornix-specimen FILE.png [SCALE [X Y W H]]\n");
    return 2;
  }
  try {
    TBitmap sheet(kWidth, kHeight, Rgb(30, 30, 31));
    TCanvas c(sheet);
    c.FillTiled(sheet.Bounds(), ImageResource("EditorBackground"));
    int x = 10;
    for (const TSkin& s : AllSkins()) {
      SkinColumn(c, s, x, 10);
      x += 296;
    }
    TextSamples(c, 10, 620, Rgb(250, 250, 250), Rgb(20, 20, 20));
    TextSamples(c, 755, 620, Rgb(42, 42, 43), Rgb(220, 220, 220));
    Shapes(c, 10, 1140, Rgb(42, 42, 43), Rgb(200, 200, 200), Rgb(37, 95, 120));
    Shapes(c, 10, 1300, Rgb(236, 236, 236), Rgb(90, 90, 94), Rgb(96, 140, 190));
    Images(c, 790, 1140);
    {
      // Clipping and a child's origin: the text and the frame are cut at the child's edges.
      TCanvasScope child(c, TRect::FromSize(790, 1310, 300, 40));
      c.FillRect({0, 0, 300, 40}, Rgb(20, 60, 80));
      c.FrameRect({0, 0, 300, 40}, Rgb(255, 200, 0), 2);
      c.TextOut(-20, 4, "Clipped at the child's edges, both ends of this line", TFont::SegoeUI(21, true, kWhite));
    }
    const int scale = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    TRect part = sheet.Bounds();
    if (argc > 6)
      part = TRect::FromSize(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]));
    part = part.Intersect(sheet.Bounds());
    TBitmap big(part.Width() * scale, part.Height() * scale);
    TCanvas bc(big);
    bc.StretchBitmap(big.Bounds(), sheet, part);
    SavePng(big, argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vornix-specimen: %s\n", e.what());
    return 1;
  }
  return 0;
}
