#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "gfx/Canvas.h"
#include "gfx/Font.h"

namespace vornix::gfx {
namespace {

constexpr TColor kBack = Rgb(255, 255, 255);

// The columns and rows that received ink.
struct TInk {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  bool Any() const { return right >= 0; }
};

TInk InkOf(const TBitmap& b, TColor back = kBack) {
  TInk ink;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      if (b.Pixel(x, y) == back) continue;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x + 1);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y + 1);
    }
  }
  return ink;
}

TInk Draw(const TFont& font, const std::string& text, int width, int height, int x = 0, int y = 0) {
  TBitmap b(width, height, kBack);
  TCanvas c(b);
  c.TextOut(x, y, text, font);
  return InkOf(b);
}

TEST(TextTest, WidthIsTheSumOfTheCharactersWidths) {
  for (const TFont& font : {TFont::SegoeUI(13, true), TFont::SegoeUI(12), TFont::Tahoma(11), TFont::Tahoma(15, true)}) {
    const std::string parts[] = {"Sequence", " #1", " \u2013 ", "\u00c4\u00df\u0141", "&", "\u2026", "x"};
    std::string all;
    int sum = 0;
    for (const auto& p : parts) {
      all += p;
      sum += TextWidth(font, p);
      EXPECT_GT(TextWidth(font, p), 0) << p;
    }
    EXPECT_EQ(TextWidth(font, all), sum);
    EXPECT_EQ(TextWidth(font, all), TextWidth(font, all));  // stable
  }
  EXPECT_EQ(TextWidth(TFont::SegoeUI(12), ""), 0);
}

TEST(TextTest, WidthGrowsWithSizeAndWeight) {
  const std::string text = "Note Retrigger One Shot";
  int last = 0;
  for (int size : {11, 12, 13, 15, 16, 21}) {
    const int regular = TextWidth(TFont::SegoeUI(size), text);
    EXPECT_GT(regular, last) << size;
    EXPECT_GT(TextWidth(TFont::SegoeUI(size, true), text), regular) << size;
    last = regular;
  }
}

struct TFitCase {
  int width;
  const char* text;
  TFont font;
};

// The labels and buttons of the sequence page were laid out for Segoe UI and Tahoma; the faces that
// stand for them must fit the same boxes, by advance and by ink.
TEST(TextTest, EditorLabelsFitTheirBoxes) {
  const TFitCase cases[] = {
      {98, "Sequence #1", TFont::Tahoma(15, true)},
      {37, "Steps", TFont::SegoeUI(13, true)},
      {20, "Ch", TFont::SegoeUI(13, true)},
      {28, "CC#", TFont::SegoeUI(13, true)},
      {31, "Rate", TFont::SegoeUI(13, true)},
      {34, "Type", TFont::SegoeUI(13, true)},
      {39, "Order", TFont::SegoeUI(13, true)},
      {49, "Trigger", TFont::SegoeUI(13, true)},
      {52, "Smooth", TFont::SegoeUI(13, true)},
      {186, "Step: 32  Value: 127 <=> 127", TFont::Tahoma(11)},
      {186, "Sequence title with 33 letters!", TFont::Tahoma(11)},
      // Buttons, less a border and a little room on each side.
      {103 - 8, "1/128", TFont::SegoeUI(12, true)},
      {159 - 8, "Note Retrigger One Shot", TFont::SegoeUI(12, true)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_LE(TextWidth(c.font, c.text), c.width);
    const TInk ink = Draw(c.font, c.text, c.width + 20, 40);
    ASSERT_TRUE(ink.Any());
    EXPECT_GE(ink.left, 0);
    EXPECT_LE(ink.right, c.width);
  }
}

TEST(TextTest, LinesAreAsHighAsTheFaceNeedsAndInkStaysInThem) {
  for (TFontFace face : {TFontFace::SegoeUI, TFontFace::Tahoma}) {
    for (int size : {11, 12, 13, 15, 16, 21}) {
      const TFont font{face, size, true, false, kBlack};
      const TFontMetrics m = FontMetrics(font);
      SCOPED_TRACE(std::string(FontFaceName(face)) + " " + std::to_string(size));
      EXPECT_EQ(m.LineHeight, m.Ascent + m.Descent);
      EXPECT_GE(m.LineHeight, size);
      EXPECT_LE(m.LineHeight, size * 3 / 2 + 1);
      EXPECT_GT(m.CapHeight, m.XHeight);
      const TInk ink = Draw(font, "Hxgjy\u00c4\u00c9|", 200, 60, 0, 10);
      EXPECT_GE(ink.top, 10);
      EXPECT_LE(ink.bottom, 10 + m.LineHeight);
      // The baseline: "H" stands on it and reaches the cap height exactly (fitted to the grid).
      const TInk h = Draw(font, "H", 60, 60, 0, 10);
      EXPECT_EQ(h.bottom, 10 + m.Ascent);
      EXPECT_EQ(h.bottom - h.top, m.CapHeight);
    }
  }
}

TEST(TextTest, GlyphStemsAreCrisp) {
  // The stem of "l" falls on whole pixels: its rows hold dark pixels and no mid-grey ones.
  for (const TFont& font : {TFont::SegoeUI(12, true), TFont::SegoeUI(13), TFont::Tahoma(11)}) {
    TBitmap b(20, 30, kBack);
    TCanvas c(b);
    c.TextOut(2, 2, "l", font);
    const TFontMetrics m = FontMetrics(font);
    const int baseline = 2 + m.Ascent;
    for (int y = baseline - m.XHeight; y < baseline; ++y) {
      int dark = 0, grey = 0;
      for (int x = 0; x < b.Width(); ++x) {
        const int v = RedOf(b.Pixel(x, y));
        dark += v < 64;
        grey += v >= 64 && v < 192;
      }
      EXPECT_GE(dark, 1) << font.Height << " row " << y;
      EXPECT_EQ(grey, 0) << font.Height << " row " << y;
    }
  }
}

TEST(TextTest, DrawTextAlignsInItsRectangle) {
  const TFont font = TFont::SegoeUI(12, true);
  const std::string text = "1/128";
  const int w = TextWidth(font, text);
  const TRect r{10, 5, 113, 30};
  for (THAlign h : {THAlign::Left, THAlign::Center, THAlign::Right}) {
    TBitmap b(130, 40, kBack), ref(130, 40, kBack);
    TCanvas c(b), cr(ref);
    c.DrawText(r, text, font, h);
    const int x = h == THAlign::Left ? r.Left : h == THAlign::Right ? r.Right - w : r.Left + (r.Width() - w) / 2;
    cr.TextOut(x, r.Top + (r.Height() - FontMetrics(font).LineHeight) / 2, text, font);
    for (int y = 0; y < 40; ++y) {
      for (int xx = 0; xx < 130; ++xx) ASSERT_EQ(b.Pixel(xx, y), ref.Pixel(xx, y)) << xx << "," << y;
    }
  }
}

TEST(TextTest, DrawTextClipsToItsRectangle) {
  TBitmap b(60, 30, kBack);
  TCanvas c(b);
  const TRect r{5, 5, 25, 20};
  c.DrawText(r, "Note Retrigger One Shot", TFont::SegoeUI(16, true), THAlign::Center);
  const TInk ink = InkOf(b);
  ASSERT_TRUE(ink.Any());
  EXPECT_GE(ink.left, r.Left);
  EXPECT_LE(ink.right, r.Right);
  EXPECT_GE(ink.top, r.Top);
  EXPECT_LE(ink.bottom, r.Bottom);
}

TEST(TextTest, AmpersandIsAnOrdinaryCharacter) {
  const TFont font = TFont::SegoeUI(12);
  EXPECT_EQ(TextWidth(font, "A&B"), TextWidth(font, "A") + TextWidth(font, "&") + TextWidth(font, "B"));
  EXPECT_GT(TextWidth(font, "&"), 0);
  EXPECT_TRUE(Draw(font, "&", 30, 30).Any());
}

TEST(TextTest, MissingGlyphsShowAsABoxAndTheCheckMarkIsDrawn) {
  const TFont font = TFont::SegoeUI(13);
  EXPECT_FALSE(FontHasGlyph(font, 0x4E2D));
  EXPECT_GT(TextWidth(font, "\u4e2d"), 0);
  EXPECT_TRUE(Draw(font, "\u4e2d", 40, 40).Any());
  EXPECT_GT(TextWidth(font, "\u2713"), 0);
  EXPECT_TRUE(Draw(font, "\u2713", 40, 40).Any());
  for (char32_t c : {U'\u2013', U'\u2026', U'\u2022', U'\u00e9', U'\u0142', U'\u017e'}) {
    EXPECT_TRUE(FontHasGlyph(font, c)) << static_cast<int>(c);
    EXPECT_TRUE(FontHasGlyph(TFont::Tahoma(11), c)) << static_cast<int>(c);
  }
  // Controls take no room.
  EXPECT_EQ(TextWidth(font, "a\tb"), TextWidth(font, "ab"));
}

TEST(TextTest, UnderlineRunsBelowTheBaseline) {
  TFont font = TFont::SegoeUI(12, true);
  font.Underline = true;
  const TFontMetrics m = FontMetrics(font);
  TBitmap b(40, 30, kBack);
  TCanvas c(b);
  c.TextOut(0, 0, "1", font);
  const int y = m.Ascent + m.UnderlineOffset;
  for (int x = 0; x < TextWidth(font, "1"); ++x) EXPECT_EQ(b.Pixel(x, y), kBlack) << x;
}

TEST(TextTest, FitFindsTheLongestStartOnACharacterBoundary) {
  const TFont font = TFont::SegoeUI(12);
  const std::string text = "\u00c4bc\u2026def";
  const int upToEllipsis = TextWidth(font, "\u00c4bc\u2026");
  EXPECT_EQ(TextFit(font, text, upToEllipsis), std::string("\u00c4bc\u2026").size());
  EXPECT_EQ(TextFit(font, text, upToEllipsis - 1), std::string("\u00c4bc").size());
  EXPECT_EQ(TextFit(font, text, 0), 0u);
  EXPECT_EQ(TextFit(font, text, 10000), text.size());
}

TEST(TextTest, Utf8DecodingReplacesBrokenSequences) {
  const std::string text = "a\xC3\xA4\xE2\x80\x93\xF0\x9F\x8E\xB9\xC3z\xFF\xE2\x80";
  std::vector<char32_t> cps;
  for (std::size_t pos = 0; pos < text.size();) cps.push_back(NextCodepoint(text, pos));
  EXPECT_EQ(cps, (std::vector<char32_t>{U'a', 0xE4, 0x2013, 0x1F3B9, 0xFFFD, U'z', 0xFFFD, 0xFFFD, 0xFFFD}));
  // Overlong forms and surrogates are not characters.
  const std::string overlong = "\xC0\xAF\xED\xA0\x80";
  std::size_t pos = 0;
  EXPECT_EQ(NextCodepoint(overlong, pos), 0xFFFDu);
  EXPECT_EQ(pos, 1u);
}

TEST(TextTest, FaceNames) {
  EXPECT_EQ(FontFaceByName("Tahoma"), TFontFace::Tahoma);
  EXPECT_EQ(FontFaceByName("tahoma"), TFontFace::Tahoma);
  EXPECT_EQ(FontFaceByName("Segoe UI"), TFontFace::SegoeUI);
  EXPECT_EQ(FontFaceByName("Comic Sans"), TFontFace::SegoeUI);
}

TEST(TextTest, GlyphsAreMadeOnceWhateverThreadAsksFirst) {
  // Sizes no other test uses, asked for by several threads at once.
  const std::string text = "Sequence #1 \u2013 \u00c4\u00d6\u00dc \u2026 \u4e2d";
  std::vector<int> widths(8);
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      int w = 0;
      for (int size = 30; size < 40; ++size) w += TextWidth(TFont::Tahoma(size, t % 2 == 0), text);
      TBitmap b(200, 60);
      TCanvas c(b);
      c.TextOut(0, 0, text, TFont::Tahoma(33, t % 2 == 0));
      widths[static_cast<std::size_t>(t)] = w;
    });
  }
  for (auto& t : threads) t.join();
  for (int t = 2; t < 8; ++t) EXPECT_EQ(widths[static_cast<std::size_t>(t)], widths[static_cast<std::size_t>(t % 2)]);
}

}  // namespace
}  // namespace vornix::gfx
