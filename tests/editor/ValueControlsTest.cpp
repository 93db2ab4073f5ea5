#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "editor/toolkit/OrvGuiPanel.h"
#include "editor/toolkit/OrvGuiStitchedSwitch.h"
#include "editor/toolkit/OrvMenuButton.h"
#include "editor/toolkit/OrvNumericInput.h"
#include "editor/toolkit/OrvSpTBXSpeedButton.h"
#include "gfx/Resources.h"

namespace vornix::editor::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const gfx::TSkin& SkinNamed(const char* name) { return gfx::SkinByName(name); }

// A numeric input at (10, 10), 40 × 24, range 1..64, showing whole numbers like the editor's.
struct InputFixture : TFormFixture {
  TOrvNumericInput& input = form.Add<TOrvNumericInput>();
  platform::TMemoryWindow* window = nullptr;
  int changes = 0;
  explicit InputFixture(const gfx::TSkin* skin = nullptr) : TFormFixture(skin, 200, 60) {
    input.SetBounds(10, 10, 40, 24);
    input.SetMinValue(1);
    input.SetMaxValue(64);
    input.SetValue(1);
    input.OnGetText = [](TOrvNumericInput&, float v, std::string& text) { text = std::to_string(RoundHalfEven(v)); };
    input.OnChange = [this](TControl&) { ++changes; };
  }
  void Show() { window = &TFormFixture::Show(); }
  void Drag(int moves, TShiftState shift = 0) {
    system.MouseDown(*window, 20, 20, TMouseButton::Left, shift);
    for (int i = 1; i <= moves; ++i) system.MouseMove(*window, 20, 20 - i, shift | platform::ssLeft);
    system.MouseUp(*window, 20, 20 - moves, TMouseButton::Left, shift);
  }
};

TEST(NumericInput, OneWheelNotchChangesByAnEighthAndTheTextRounds) {
  InputFixture f;
  f.Show();
  f.input.SetFocus();
  f.system.MouseWheel(*f.window, 20, 20, 120);
  EXPECT_FLOAT_EQ(f.input.Value(), 1.125f);
  EXPECT_EQ(f.input.Text(), "1");
  for (int i = 0; i < 3; ++i) f.system.MouseWheel(*f.window, 20, 20, 120);
  EXPECT_FLOAT_EQ(f.input.Value(), 1.5f);
  EXPECT_EQ(f.input.Text(), "2");
  f.system.MouseWheel(*f.window, 20, 20, -120);
  EXPECT_FLOAT_EQ(f.input.Value(), 1.375f);
}

TEST(NumericInput, TheWheelActsOnlyWhileThePointerIsOverTheInput) {
  InputFixture f;
  f.Show();
  f.input.SetFocus();
  f.system.MouseWheel(*f.window, 150, 40, 120);
  EXPECT_FLOAT_EQ(f.input.Value(), 1.0f);
  EXPECT_EQ(f.changes, 0);
}

struct TDragCase {
  const char* name;
  TShiftState shift;
  float expected;
};

class NumericInputDrag : public ::testing::TestWithParam<TDragCase> {};

TEST_P(NumericInputDrag, EachMoveMessageChangesTheValueByOneStep) {
  InputFixture f;
  f.Show();
  f.input.SetValue(10);
  f.Drag(8, GetParam().shift);
  EXPECT_NEAR(f.input.Value(), 10 + GetParam().expected, 1e-5);
  // Downward the other way, and the distance of a move does not matter.
  f.system.MouseDown(*f.window, 20, 20, TMouseButton::Left, GetParam().shift);
  f.system.MouseMove(*f.window, 20, 200, GetParam().shift | platform::ssLeft);
  f.system.MouseUp(*f.window, 20, 200);
  EXPECT_NEAR(f.input.Value(), 10 + GetParam().expected * 7 / 8, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Cases, NumericInputDrag,
                         ::testing::Values(TDragCase{"Plain", 0, 2.0f}, TDragCase{"Shift", platform::ssShift, 0.4f}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NumericInput, DraggingShowsTheVerticalResizeCursorUntilTheRelease) {
  InputFixture f;
  f.Show();
  f.system.MouseDown(*f.window, 20, 20);
  f.system.MouseMove(*f.window, 120, 50, platform::ssLeft);  // outside the input: still dragging
  EXPECT_EQ(f.window->Cursor(), TCursor::SizeNS);
  EXPECT_FLOAT_EQ(f.input.Value(), 1.0f);  // downward at the minimum
  f.system.MouseMove(*f.window, 120, -30, platform::ssLeft);
  EXPECT_FLOAT_EQ(f.input.Value(), 1.25f);
  f.system.MouseUp(*f.window, 120, -30);
  EXPECT_EQ(f.window->Cursor(), TCursor::Default);
  EXPECT_EQ(f.form.FocusedControl(), &f.input);
}

TEST(NumericInput, TheSettersClampAndFireOnChangeOnlyForARealChange) {
  InputFixture f;
  f.input.SetValue(30);
  EXPECT_EQ(f.changes, 1);
  f.input.SetValue(30);
  EXPECT_EQ(f.changes, 1);
  f.input.SetValue(100);
  EXPECT_FLOAT_EQ(f.input.Value(), 64.0f);
  f.input.SetValue(-5);
  EXPECT_FLOAT_EQ(f.input.Value(), 1.0f);
  f.input.SetValue(std::nanf(""));
  EXPECT_FLOAT_EQ(f.input.Value(), 1.0f);
  EXPECT_EQ(f.changes, 3);
  f.input.SetValue(40);
  f.input.SetMaxValue(20);  // lowers the value without OnChange
  EXPECT_FLOAT_EQ(f.input.Value(), 20.0f);
  f.input.SetMinValue(25);  // raises it likewise
  EXPECT_FLOAT_EQ(f.input.Value(), 25.0f);
  EXPECT_EQ(f.changes, 4);
}

TEST(NumericInput, ARefusedPressStartsNoDragChangesNoCursorAndOpensNoPopup) {
  InputFixture f;
  int asked = 0;
  f.input.OnBeforeMouseDown = [&](TControl& sender, TMouseButton, TShiftState, int x, int y, bool& go) {
    EXPECT_EQ(&sender, &f.input);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 10);
    EXPECT_TRUE(go);
    ++asked;
    go = false;
  };
  Log log;
  f.input.OnMouseDown = [&](TControl&, TMouseButton, TShiftState, int, int) { log.push_back("down"); };
  f.Show();
  f.Drag(4);
  EXPECT_EQ(f.window->Cursor(), TCursor::Default);
  f.system.Click(*f.window, 20, 20, TMouseButton::Right);  // no modal action queued: a menu would throw
  EXPECT_EQ(asked, 2);
  EXPECT_FLOAT_EQ(f.input.Value(), 1.0f);
  EXPECT_THAT(log, IsEmpty());
}

TEST(NumericInput, TheTextIsTheShortestDecimalAndTheIntegerRoundsHalfToEven) {
  EXPECT_EQ(ShortestDecimal(1.125f), "1.125");
  EXPECT_EQ(ShortestDecimal(64.0f), "64");
  EXPECT_EQ(ShortestDecimal(0.05f), "0.05");
  InputFixture f;
  f.input.OnGetText = nullptr;
  f.input.SetValue(2.5f);
  EXPECT_EQ(f.input.Text(), "2.5");
  EXPECT_EQ(f.input.ValueAsInteger(), 2);
  f.input.SetValue(3.5f);
  EXPECT_EQ(f.input.ValueAsInteger(), 4);
  f.input.SetValue(3.25f);
  EXPECT_EQ(f.input.ValueAsInteger(), 3);
}

// ---- the value popup ----

struct TMenuShape {
  std::vector<std::string> groups;  // caption: count, in order
  std::vector<std::string> checked;
};

TMenuShape Shape(const TOrvPopupMenu& menu) {
  TMenuShape shape;
  for (const auto& item : menu.Items.Items()) {
    const std::string count = item->HasSubmenu() ? std::to_string(item->Count()) : "-";
    shape.groups.push_back(item->Caption + ":" + count + (item->HasSubmenu() ? ":" + std::to_string(item->Tag) : ""));
    if (item->Checked) shape.checked.push_back(item->Caption);
    for (const auto& child : item->Items()) {
      if (child->Checked) shape.checked.push_back(child->Caption);
    }
  }
  return shape;
}

TEST(NumericInputPopup, ValuesAreGroupedIntoSubmenusByTheirGroupCaption) {
  InputFixture f;
  int populated = 0;
  f.input.OnGetPopupGroup = [](TOrvNumericInput&, int v, std::string& caption) {
    caption = v <= 16 ? "1 \xE2\x80\x93 16" : v <= 32 ? "17 \xE2\x80\x93 32" : "33 \xE2\x80\x93 64";
  };
  f.input.OnPopulatePopupMenu = [&](TOrvNumericInput&, TOrvPopupMenu&) { ++populated; };
  f.Show();
  EXPECT_EQ(populated, 1);
  EXPECT_THAT(Shape(f.input.Popup()).groups,
              ElementsAre("1 \xE2\x80\x93 16:16:-999", "17 \xE2\x80\x93 32:16:-999", "33 \xE2\x80\x93 64:32:-999"));
  const TMenuItem& seventeen = f.input.Popup().Items.Item(1).Item(0);
  EXPECT_EQ(seventeen.Caption, "17");
  EXPECT_EQ(seventeen.Tag, 17);
  f.input.SetMaxValue(10);  // later changes do not rebuild it
  EXPECT_EQ(f.input.Popup().Items.Count(), 3u);
}

TEST(NumericInputPopup, ControllerNumbersMakeThirteenGroupsTheLastOfEight) {
  InputFixture f;
  f.input.SetMinValue(0);
  f.input.SetMaxValue(127);
  f.input.OnGetPopupGroup = [](TOrvNumericInput&, int v, std::string& caption) {
    const int low = 10 * (v / 10);
    caption = std::to_string(low) + " \xE2\x80\x93 " + std::to_string(std::min(low + 9, 127));
  };
  f.Show();
  const auto groups = Shape(f.input.Popup()).groups;
  ASSERT_EQ(groups.size(), 13u);
  EXPECT_EQ(groups.back(), "120 \xE2\x80\x93 127:8:-999");
}

TEST(NumericInputPopup, WithoutGroupsTheValuesStandOnTheTopLevel) {
  InputFixture f;
  f.input.SetMaxValue(16);
  f.Show();
  EXPECT_EQ(f.input.Popup().Items.Count(), 16u);
  EXPECT_FALSE(f.input.Popup().Items.Item(0).HasSubmenu());
}

TEST(NumericInputPopup, ARightClickOpensItWithTheValueAndItsGroupCheckedAndAChoiceSetsTheValue) {
  InputFixture f;
  f.input.OnGetPopupGroup = [](TOrvNumericInput&, int v, std::string& caption) { caption = v <= 16 ? "low" : "high"; };
  Log log;
  f.input.OnPopupPopupMenu = [&](TOrvNumericInput&, TOrvPopupMenu& menu) {
    const auto shape = Shape(menu);
    log.insert(log.end(), shape.checked.begin(), shape.checked.end());
  };
  f.input.SetValue(20.4f);
  f.Show();
  TOrvPopupMenu& menu = f.input.Popup();
  f.system.QueueModalAction([&] {
    f.system.KeyDown(*f.system.ActivePopup(), platform::kKeyDown);  // low
    f.system.KeyDown(*f.system.ActivePopup(), platform::kKeyRight);
    auto* sub = f.system.ActivePopup();
    const TRect five = *menu.ItemScreenRect(menu.Items.Item(0).Item(4));
    f.system.Click(*sub, five.Left + 4 - sub->ScreenBounds().Left, five.Top + 4 - sub->ScreenBounds().Top);
  });
  f.system.Click(*f.window, 20, 20, TMouseButton::Right);
  EXPECT_THAT(log, ElementsAre("high", "20"));
  EXPECT_FLOAT_EQ(f.input.Value(), 5.0f);
}

// ---- painting ----

class NumericInputBorder : public ::testing::TestWithParam<int> {};

// The border lies along the inside of the control, BorderWidth pixels wide, over the background.
TEST_P(NumericInputBorder, TheBorderIsAFrameOfItsWidthInsideTheControl) {
  const int w = GetParam();
  InputFixture f;
  const TColor border = gfx::Rgb(200, 0, 0), fill = gfx::Rgb(0, 0, 200), highlight = gfx::Rgb(0, 180, 0);
  f.input.SetBorderWidth(w);
  f.input.SetBorderColor(border);
  f.input.SetColor(fill);
  f.input.SetHighlightColor(highlight);
  f.input.OnGetText = [](TOrvNumericInput&, float, std::string& text) { text.clear(); };
  f.Show();
  for (const bool lit : {false, true}) {
    f.input.SetHighlight(lit);
    f.form.Update();
    const TColor inside = lit ? highlight : fill;
    for (int i = 0; i < 8; ++i) {
      const TColor expected = i < w ? border : inside;
      EXPECT_EQ(f.window->Pixel(10 + i, 22), expected) << "left " << i;
      EXPECT_EQ(f.window->Pixel(10 + 39 - i, 22), expected) << "right " << i;
      EXPECT_EQ(f.window->Pixel(30, 10 + i), expected) << "top " << i;
      EXPECT_EQ(f.window->Pixel(30, 10 + 23 - i), expected) << "bottom " << i;
    }
    EXPECT_EQ(f.window->Pixel(9, 22), 0u);  // nothing outside
  }
}

INSTANTIATE_TEST_SUITE_P(Widths, NumericInputBorder, ::testing::Values(0, 1, 2, 3));

// Columns of the control that hold text pixels.
std::pair<int, int> TextColumns(const platform::TMemoryWindow& w, TColor background) {
  int first = -1, last = -1;
  for (int x = 11; x < 49; ++x) {
    for (int y = 11; y < 33; ++y) {
      if (w.Pixel(x, y) != background) {
        if (first < 0) first = x;
        last = x;
        break;
      }
    }
  }
  return {first - 10, last - 10};
}

TEST(NumericInputPainting, TheTextIsCentredOrLeftAlignedFivePixelsIn) {
  InputFixture f;
  f.input.SetBorderWidth(0);
  f.input.SetColor(gfx::kWhite);
  f.input.SetValue(8);
  f.Show();
  const auto [first, last] = TextColumns(*f.window, gfx::kWhite);
  ASSERT_GE(first, 0);
  EXPECT_LE(std::abs((first + last) - 39), 3);  // around the middle
  f.input.SetCenter(false);
  f.form.Update();
  EXPECT_GE(TextColumns(*f.window, gfx::kWhite).first, 5);
  EXPECT_LE(TextColumns(*f.window, gfx::kWhite).first, 6);
}

// ---- skins ----

struct TSkinCase {
  const char* skin;
  TColor fixedHighlight;         // the expected highlight colour, unless
  const char* highlightElement;  // it is this element of the skin
  bool blackFont;                // the font is black instead of the caption colour
  const char* strip;             // the switch's image
  bool groupFromGenericBackground;
};

class SkinRules : public ::testing::TestWithParam<TSkinCase> {};

TEST_P(SkinRules, TheNumericInputTakesItsColoursFromTheSkin) {
  const gfx::TSkin& skin = SkinNamed(GetParam().skin);
  InputFixture f(&skin);
  f.input.SetBorderWidth(3);
  f.Show();
  EXPECT_EQ(f.input.BorderWidth(), 1);
  EXPECT_EQ(f.input.BorderColor(), skin.sfButtonTextDisabled);
  EXPECT_EQ(f.input.Color(), skin.scButtonDisabled);
  const TColor highlight = GetParam().highlightElement != nullptr ? *gfx::SkinElement(skin, GetParam().highlightElement)
                                                                  : GetParam().fixedHighlight;
  EXPECT_EQ(f.input.HighlightColor(), highlight);
  EXPECT_EQ(f.input.Font().Color, GetParam().blackFont ? gfx::kBlack : skin.sfCaptionTextNormal);
  // And paints them: the highlight fills the inside.
  f.input.SetHighlight(true);
  f.form.Update();
  EXPECT_EQ(f.window->Pixel(12, 12), highlight);
  EXPECT_EQ(f.window->Pixel(10, 12), skin.sfButtonTextDisabled);
}

TEST_P(SkinRules, TheSwitchShowsTheStripOfItsSkin) {
  const gfx::TSkin& skin = SkinNamed(GetParam().skin);
  TFormFixture f(&skin, 40, 40);
  auto& sw = f.form.Add<TOrvGuiStitchedSwitch>();
  sw.SetBounds(8, 8, 24, 24);
  sw.SetValue(true);
  auto& w = f.Show();
  const gfx::TBitmap& strip = gfx::ImageResource(GetParam().strip);
  gfx::TBitmap expected(40, 40, 0);
  gfx::TCanvas(expected).DrawBitmap(8, 8, strip, {0, 24, 24, 48});
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) ASSERT_EQ(w.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
  }
}

TEST_P(SkinRules, TheMenuButtonsBarsTakeTheButtonTextColours) {
  const gfx::TSkin& skin = SkinNamed(GetParam().skin);
  TFormFixture f(&skin);
  auto& button = f.form.Add<TOrvMenuButton>();
  f.Show();
  const gfx::TBitmap& bars = gfx::ImageResource("menu16");
  ASSERT_EQ(button.Glyphs().Count(), 2);
  for (int i = 0; i < 2; ++i) {
    const TColor ink = i == 0 ? skin.sfButtonTextNormal : skin.sfButtonTextPressed;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const TColor src = bars.Pixel(x, y);
        const TColor got = button.Glyphs().Image(i).Pixel(x, y);
        if (gfx::RgbOf(src) == 0) {
          EXPECT_EQ(got, ink);
        } else if (gfx::RgbOf(src) == gfx::RgbOf(gfx::kMagenta)) {
          EXPECT_EQ(gfx::AlphaOf(got), 0);
        }
      }
    }
  }
}

TEST_P(SkinRules, ThePanelTakesThePanelOrGroupColourAndItsBorder) {
  const gfx::TSkin& skin = SkinNamed(GetParam().skin);
  TFormFixture f(&skin);
  auto& plain = f.form.Add<TOrvGuiPanel>();
  auto& group = f.form.Add<TOrvGuiPanel>();
  group.PanelGroupColor = true;
  auto& unstyled = f.form.Add<TOrvGuiPanel>();
  unstyled.UseStyles = false;
  f.Show();
  const bool light = std::string(GetParam().skin) == "Light";
  EXPECT_EQ(plain.PanelColor, skin.scPanel);
  EXPECT_EQ(group.PanelColor,
            GetParam().groupFromGenericBackground ? skin.scGenericBackground : skin.scCategoryPanelGroup);
  EXPECT_EQ(plain.BorderColor, light ? skin.scBorder : skin.scHintGradientBase);
  EXPECT_EQ(unstyled.PanelColor, gfx::kWhite);
  EXPECT_EQ(unstyled.BorderColor, gfx::kWhite);
}

INSTANTIATE_TEST_SUITE_P(
    Skins, SkinRules,
    ::testing::Values(TSkinCase{"Carbon", gfx::Rgb(37, 95, 120), nullptr, false, "STITCHED_ONOFF_DARK", false},
                      TSkinCase{"Amakrits", gfx::Rgb(61, 177, 160), nullptr, false, "STITCHED_ONOFF_DARK", false},
                      TSkinCase{"Light", 0, "scButtonPressed", false, "STITCHED_ONOFF_BRIGHT", true},
                      TSkinCase{"Luna", 0, "scButtonHot", true, "STITCHED_ONOFF_BRIGHT", false},
                      TSkinCase{"Smokey Quartz Kamri", 0, "scButtonHot", true, "STITCHED_ONOFF_BRIGHT", false}),
    [](const auto& info) {
      std::string name = info.param.skin;
      std::erase(name, ' ');
      return name;
    });

TEST(SkinRules, WithoutASkinTheControlsKeepTheirCreationColours) {
  InputFixture f;
  f.Show();
  EXPECT_EQ(f.input.Color(), gfx::kWhite);
  EXPECT_EQ(f.input.HighlightColor(), gfx::kBlack);
  EXPECT_EQ(f.input.Font().Color, gfx::kBlack);
}

// ---- switch ----

TEST(StitchedSwitch, EitherButtonTogglesAndAProgramChangeFiresOnChange) {
  TFormFixture f;
  auto& sw = f.form.Add<TOrvGuiStitchedSwitch>();
  Log log;
  sw.OnChange = [&](TControl& s) { log.push_back(static_cast<TOrvGuiStitchedSwitch&>(s).Value() ? "on" : "off"); };
  auto& w = f.Show();  // loading picks the strip without a change event
  f.system.Click(w, 5, 5);
  f.system.Click(w, 5, 5, TMouseButton::Right);
  f.system.Click(w, 5, 5, TMouseButton::Middle);  // nothing
  sw.SetValue(true);
  sw.SetValue(true);  // no change
  EXPECT_THAT(log, ElementsAre("on", "off", "on"));
}

TEST(StitchedSwitch, ARefusedPressDoesNotToggle) {
  TFormFixture f;
  auto& sw = f.form.Add<TOrvGuiStitchedSwitch>();
  sw.OnBeforeMouseDown = [](TControl&, TMouseButton, TShiftState, int, int, bool& go) { go = false; };
  int changes = 0;
  sw.OnChange = [&](TControl&) { ++changes; };
  auto& w = f.Show();
  f.system.Click(w, 5, 5);
  EXPECT_FALSE(sw.Value());
  EXPECT_EQ(changes, 0);
}

// ---- speed button and menu button ----

TEST(OrvSpeedButton, ARefusedDropDownPressOpensNoMenuAndTheNextPressWorks) {
  TFormFixture f;
  auto& button = f.form.Add<TOrvSpTBXSpeedButton>();
  EXPECT_EQ(button.Width(), 22);
  EXPECT_EQ(button.ItemValue, -1);
  TOrvPopupMenu menu;
  menu.Items.Add("Value", 7, [&](TMenuItem& item) { button.ItemValue = item.Tag; });
  button.DropDownMenu = &menu;
  bool refuse = true;
  button.OnBeforeMouseDown = [&](TControl&, TMouseButton, TShiftState, int, int, bool& go) { go = !refuse; };
  auto& w = f.Show();
  f.system.Click(w, 5, 5);  // no modal action queued: an opened menu would throw
  refuse = false;
  f.system.QueueModalAction([&] { f.system.KeyDown(*f.system.ActivePopup(), platform::kKeyDown); });
  f.system.QueueModalAction([&] { f.system.KeyDown(*f.system.ActivePopup(), platform::kKeyReturn); });
  f.system.Click(w, 5, 5);
  EXPECT_EQ(button.ItemValue, 7);
}

TEST(OrvSpeedButton, ARefusedPressSwallowsExactlyOneClick) {
  TFormFixture f;
  auto& button = f.form.Add<TOrvSpTBXSpeedButton>();
  int clicks = 0;
  button.OnClick = [&](TControl&) { ++clicks; };
  int presses = 0;
  button.OnBeforeMouseDown = [&](TControl&, TMouseButton, TShiftState, int, int, bool& go) { go = ++presses != 1; };
  auto& w = f.Show();
  f.system.Click(w, 5, 5);
  f.system.Click(w, 5, 5);
  EXPECT_EQ(clicks, 1);
}

TEST(OrvMenuButton, PressedItShowsTheSecondGlyphAndAClickOpensItsMenu) {
  TFormFixture f(&gfx::SkinByName("Carbon"));
  auto& button = f.form.Add<TOrvMenuButton>();
  EXPECT_EQ(button.Width(), 26);
  TOrvPopupMenu menu;
  menu.Items.Add("About");
  button.DropDownMenu = &menu;
  auto& w = f.Show();
  EXPECT_EQ(button.ImageIndex(), 0);
  f.system.MouseDown(w, 5, 5);
  EXPECT_EQ(button.ImageIndex(), 1);
  bool opened = false;
  f.system.QueueModalAction([&] {
    opened = f.system.ActivePopup() != nullptr;
    f.system.KeyDown(*f.system.ActivePopup(), platform::kKeyEscape);
  });
  f.system.MouseUp(w, 5, 5);
  EXPECT_TRUE(opened);
  EXPECT_EQ(button.ImageIndex(), 0);
}

}  // namespace
}  // namespace vornix::editor::test
