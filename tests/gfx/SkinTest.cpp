#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "gfx/Skin.h"

namespace vornix::gfx {
namespace {

using ::testing::HasSubstr;

TEST(SkinTest, AllFiveSkinsParseWithEveryElement) {
  const auto skins = AllSkins();
  ASSERT_EQ(skins.size(), 5u);
  const char* names[] = {"Carbon", "Amakrits", "Light", "Luna", "Smokey Quartz Kamri"};
  for (std::size_t i = 0; i < skins.size(); ++i) {
    EXPECT_EQ(skins[i].Name, names[i]);
    EXPECT_EQ(&SkinByName(names[i]), &skins[i]);
    for (const char* element : SkinElementNames()) {
      const TColor* c = SkinElement(skins[i], element);
      ASSERT_NE(c, nullptr) << element;
      EXPECT_EQ(AlphaOf(*c), 255) << names[i] << " " << element;  // set: every colour is opaque
    }
  }
  EXPECT_EQ(SkinElementNames().size(), 18u + 17u);
}

TEST(SkinTest, ColoursAreTheTablesOnes) {
  const TSkin& carbon = SkinByName("Carbon");
  EXPECT_EQ(carbon.scWindow, Rgb(42, 42, 43));
  EXPECT_EQ(carbon.scButtonFocused, Rgb(37, 95, 120));
  EXPECT_EQ(carbon.sfButtonTextDisabled, Rgb(110, 110, 112));
  EXPECT_EQ(carbon.ButtonFaceHot, carbon.scButtonHot);
  EXPECT_EQ(carbon.DialogBackground, carbon.scPanel);
  const TSkin& amakrits = SkinByName("Amakrits");
  EXPECT_EQ(amakrits.scHintGradientEnd, Rgb(104, 204, 189));
  EXPECT_EQ(amakrits.ButtonTextDown, Rgb(20, 24, 28));
  EXPECT_EQ(SkinByName("Light").scButtonPressed, Rgb(96, 140, 190));
  const TSkin& luna = SkinByName("Luna");
  EXPECT_EQ(luna.ButtonBorder, Rgb(0, 60, 116));
  EXPECT_EQ(luna.sfWindowTextDisabled, Rgb(172, 168, 153));
  const TSkin& smokey = SkinByName("Smokey Quartz Kamri");
  EXPECT_EQ(smokey.ButtonFaceDown, Rgb(237, 112, 59));
  EXPECT_EQ(smokey.MenuTextDisabled, Rgb(190, 182, 172));
  EXPECT_EQ(smokey.LabelText, Rgb(50, 44, 40));
  EXPECT_EQ(smokey.TextBoxText, Rgb(40, 34, 30));
}

TEST(SkinTest, UnknownNamesFallBackToCarbon) {
  EXPECT_EQ(SkinByName("").Name, "Carbon");
  EXPECT_EQ(SkinByName("Dark").Name, "Carbon");  // a menu caption, not a style name
  EXPECT_EQ(SkinByName("carbon").Name, "Carbon");
  EXPECT_EQ(&SkinByName("No such skin"), &SkinByName("Carbon"));
}

// A complete skin text whose line `line` (1-based) is replaced.
std::string SkinText(int line = 0, const std::string& replacement = "") {
  std::string text = "# test skin\nName = Test\n";
  int n = 2;
  for (const char* element : SkinElementNames()) {
    ++n;
    text += n == line ? replacement : std::string(element) + " = 1, 2, 3  # comment";
    text += "\n";
  }
  return text;
}

std::string ParseError(const std::string& text) {
  try {
    ParseSkin(text, "Broken.skin");
  } catch (const TSkinError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(SkinTest, AWellFormedTextParses) {
  const TSkin skin = ParseSkin(SkinText(), "Test.skin");
  EXPECT_EQ(skin.Name, "Test");
  EXPECT_EQ(skin.MenuText, Rgb(1, 2, 3));
  // A reference takes the colour of an element above it; blank lines and comments are allowed.
  std::string text = SkinText();
  text.replace(text.find("scWindow = 1, 2, 3"), 18, "\n  // the window\n\tscWindow=9,8,7");
  text.replace(text.find("DialogBackground = 1, 2, 3"), 26, "DialogBackground = scWindow ; as the window");
  const TSkin ref = ParseSkin(text + "\n\n", "Test.skin");
  EXPECT_EQ(ref.DialogBackground, Rgb(9, 8, 7));
}

TEST(SkinTest, BrokenTextsNameTheFileAndLine) {
  EXPECT_EQ(ParseError(SkinText(3, "scWindow = 1, 2")),
            "Broken.skin:3: scWindow: expected three numbers separated by commas");
  EXPECT_THAT(ParseError(SkinText(5, "scCategoryPanelGroup = 1, 256, 3")), HasSubstr("Broken.skin:5: "));
  EXPECT_THAT(ParseError(SkinText(5, "scCategoryPanelGroup = 1, 256, 3")), HasSubstr("outside 0..255"));
  EXPECT_THAT(ParseError(SkinText(4, "scPanel = 1, x, 3")),
              HasSubstr("Broken.skin:4: scPanel: 'x' is not a whole number"));
  EXPECT_THAT(ParseError(SkinText(4, "scPanel 1, 2, 3")), HasSubstr("Broken.skin:4: expected 'element = R, G, B'"));
  EXPECT_THAT(ParseError(SkinText(6, "scBorderline = 1, 2, 3")),
              HasSubstr("Broken.skin:6: unknown element 'scBorderline'"));
  EXPECT_THAT(ParseError(SkinText(7, "scWindow = 4, 5, 6")),
              HasSubstr("Broken.skin:7: element scWindow is given twice"));
  EXPECT_THAT(ParseError(SkinText(3, "scWindow = LabelText")),
              HasSubstr("Broken.skin:3: element LabelText is used before"));
  // A missing element is reported at the end of the text.
  const int lines = 2 + static_cast<int>(SkinElementNames().size());
  EXPECT_EQ(ParseError(SkinText(lines, "")), "Broken.skin:" + std::to_string(lines) + ": element LabelText is missing");
  EXPECT_THAT(ParseError("scWindow = 1, 2, 3\n"), HasSubstr("has no Name"));
  EXPECT_THAT(ParseError(""), HasSubstr("Broken.skin:1: the skin has no Name"));
}

TEST(SkinTest, ErrorsCarryFileAndLine) {
  try {
    ParseSkin(SkinText(9, "oops"), "X.skin");
    FAIL();
  } catch (const TSkinError& e) {
    EXPECT_EQ(e.File(), "X.skin");
    EXPECT_EQ(e.Line(), 9);
  }
}

}  // namespace
}  // namespace vornix::gfx
