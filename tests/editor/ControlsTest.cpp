#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "EditorFixture.h"
#include "editor/toolkit/Edit.h"
#include "editor/toolkit/ListBox.h"
#include "editor/toolkit/PopupMenu.h"
#include "editor/toolkit/SpeedButton.h"

namespace vornix::editor::test {
namespace {

using platform::ssCtrl;
using platform::ssShift;
using ::testing::ElementsAre;

// ---- speed buttons ----

struct ButtonRow : TFormFixture {
  Log log;
  std::vector<TSpeedButton*> buttons;
  platform::TMemoryWindow* window = nullptr;

  // Three buttons of group 1 and one of group 2, 30 pixels apart.
  ButtonRow() {
    for (int i = 0; i < 4; ++i) {
      auto& b = form.Add<TSpeedButton>();
      b.SetBounds(30 * i, 0, 24, 24);
      b.GroupIndex = i < 3 ? 1 : 2;
      b.Name = std::to_string(i);
      b.OnClick = [this](TControl& sender) { log.push_back("click " + sender.Name); };
      buttons.push_back(&b);
    }
    window = &Show();
  }
  void ClickButton(int i) { system.Click(*window, 30 * i + 5, 5); }
  std::string Downs() const {
    std::string s;
    for (const TSpeedButton* b : buttons) s += b->Down() ? "D" : ".";
    return s;
  }
};

TEST(SpeedButtons, AGroupKeepsOneButtonDown) {
  ButtonRow f;
  f.ClickButton(1);
  EXPECT_EQ(f.Downs(), ".D..");
  f.ClickButton(0);
  EXPECT_EQ(f.Downs(), "D...");
  f.ClickButton(3);  // another group
  EXPECT_EQ(f.Downs(), "D..D");
  f.ClickButton(0);  // down already, and all up is not allowed: stays, still clicks
  EXPECT_EQ(f.Downs(), "D..D");
  EXPECT_THAT(f.log, ElementsAre("click 1", "click 0", "click 3", "click 0"));
}

TEST(SpeedButtons, AllowAllUpLetsTheDownButtonUp) {
  ButtonRow f;
  for (TSpeedButton* b : f.buttons) b->AllowAllUp = true;
  f.ClickButton(2);
  f.ClickButton(2);
  EXPECT_EQ(f.Downs(), "....");
}

TEST(SpeedButtons, AButtonWithoutGroupIsNeverDown) {
  ButtonRow f;
  f.buttons[1]->GroupIndex = 0;
  f.buttons[1]->SetDown(true);
  f.ClickButton(1);
  EXPECT_EQ(f.Downs(), "....");
}

TEST(SpeedButtons, ADropDownButtonOpensItsMenuBelowItsLowerLeftCornerInsteadOfClicking) {
  ButtonRow f;
  TPopupMenu menu;
  menu.Items.Add("Item", 0, [&](TMenuItem&) { f.log.push_back("item"); });
  TSpeedButton& b = *f.buttons[1];
  b.DropDownMenu = &menu;
  f.system.QueueModalAction([&] {
    auto* popup = f.system.ActivePopup();
    ASSERT_NE(popup, nullptr);
    const TPoint corner = b.ClientToScreen({0, b.Height()});
    EXPECT_EQ(popup->ScreenBounds().Left, corner.X);
    EXPECT_EQ(popup->ScreenBounds().Top, corner.Y);
    EXPECT_GE(popup->ScreenBounds().Width(), b.Width());
    const TRect item = *menu.ItemScreenRect(menu.Items.Item(0));
    f.system.Click(*popup, item.Left + 5 - popup->ScreenBounds().Left, item.Top + 5 - popup->ScreenBounds().Top);
  });
  f.ClickButton(1);
  EXPECT_THAT(f.log, ElementsAre("item"));
  EXPECT_FALSE(b.Down());
}

// Every state of a button shows its own face colour, in every skin.
TEST(SpeedButtons, RestHotPressedDownAndDisabledLookDifferentInEverySkin) {
  for (const gfx::TSkin& skin : gfx::AllSkins()) {
    SCOPED_TRACE(skin.Name);
    TFormFixture f(&skin, 200, 40);
    std::vector<TSpeedButton*> b;
    for (int i = 0; i < 5; ++i) {
      b.push_back(&f.form.Add<TSpeedButton>());
      b.back()->SetBounds(40 * i, 0, 30, 24);
      b.back()->GroupIndex = 1;
    }
    auto& w = f.Show();
    b[1]->MouseEnter();
    f.system.MouseDown(w, 85, 5);  // b[2] held
    b[3]->SetDown(true);
    b[4]->SetEnabled(false);
    f.form.Update();
    std::set<TColor> faces;
    for (int i = 0; i < 5; ++i) faces.insert(w.Pixel(40 * i + 25, 12));
    EXPECT_EQ(faces.size(), 5u);
  }
}

// ---- text box ----

class TTestEdit : public TEdit {
 public:
  using TEdit::PositionAt;
};

struct EditFixture : TFormFixture {
  TTestEdit& edit = form.Add<TTestEdit>();
  platform::TMemoryWindow* window = nullptr;
  int changes = 0;
  EditFixture() : TFormFixture(nullptr, 300, 40) {
    edit.SetBounds(10, 5, 150, 23);
    edit.OnChange = [this](TControl&) { ++changes; };
    window = &Show();
    system.Click(*window, 20, 10);  // focus
  }
  void Keys(std::initializer_list<int> keys, TShiftState shift = 0) {
    for (int k : keys) system.KeyDown(*window, k, shift);
  }
};

TEST(Edit, TypedTextGoesInAtTheCaretAndTheEditingKeysWork) {
  EditFixture f;
  f.system.Type(*f.window, "hello world");
  EXPECT_EQ(f.edit.Text(), "hello world");
  EXPECT_EQ(f.changes, 11);
  f.Keys({platform::kKeyHome, platform::kKeyRight});
  f.system.Type(*f.window, "E");
  f.Keys({platform::kKeyBackspace, platform::kKeyDelete});
  EXPECT_EQ(f.edit.Text(), "hllo world");
  f.Keys({platform::kKeyEnd});
  f.Keys({platform::kKeyLeft, platform::kKeyLeft}, ssShift);
  f.system.Type(*f.window, "LD!");
  EXPECT_EQ(f.edit.Text(), "hllo worLD!");
  f.Keys({platform::kKeyLeft}, ssCtrl);  // to the start of the word
  EXPECT_EQ(f.edit.CaretPos(), 5);
  f.Keys({platform::kKeyBackspace}, ssCtrl);  // the word before
  EXPECT_EQ(f.edit.Text(), "worLD!");
}

TEST(Edit, TheClipboardCutsCopiesAndPastesText) {
  EditFixture f;
  f.system.Type(*f.window, "abc def");
  f.Keys({'A'}, ssCtrl);
  f.Keys({'C'}, ssCtrl);
  EXPECT_EQ(f.system.Clipboard().Text, "abc def");
  f.Keys({platform::kKeyHome});
  f.Keys({platform::kKeyRight, platform::kKeyRight, platform::kKeyRight}, ssShift);
  f.Keys({'X'}, ssCtrl);
  EXPECT_EQ(f.system.Clipboard().Text, "abc");
  EXPECT_EQ(f.edit.Text(), " def");
  f.Keys({platform::kKeyEnd});
  f.Keys({'V'}, ssCtrl);
  EXPECT_EQ(f.edit.Text(), " defabc");
  // Only the first line of the clipboard, without control characters.
  f.system.SetClipboardText("x\ty\nsecond line");
  f.Keys({'V'}, ssCtrl);
  EXPECT_EQ(f.edit.Text(), " defabcxy");
}

TEST(Edit, MaxLengthCountsCharactersAndReadOnlyRefusesEdits) {
  EditFixture f;
  f.edit.MaxLength = 4;
  f.system.Type(*f.window, "\xC3\xA9t\xC3\xA9 long");  // "été long"
  EXPECT_EQ(f.edit.Text(), "\xC3\xA9t\xC3\xA9 ");
  f.system.SetClipboardText("zz");
  f.Keys({platform::kKeyLeft}, ssShift);
  f.Keys({'V'}, ssCtrl);  // replaces one: room for one
  EXPECT_EQ(f.edit.Text(), "\xC3\xA9t\xC3\xA9z");
  f.Keys({platform::kKeyBackspace});
  EXPECT_EQ(f.edit.Text(), "\xC3\xA9t\xC3\xA9");
  f.edit.ReadOnly = true;
  const int changes = f.changes;
  f.system.Type(*f.window, "x");
  f.Keys({platform::kKeyBackspace, platform::kKeyDelete});
  f.Keys({'X'}, ssCtrl);
  EXPECT_EQ(f.edit.Text(), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(f.changes, changes);
}

// A text set by the program may be longer than the limit, which holds for what the user types:
// an edit may replace characters but never lengthen the text beyond the limit or its length then.
TEST(Edit, ALongerTextIsKeptAndEditingMayNotLengthenIt) {
  EditFixture f;
  f.edit.MaxLength = 4;
  f.edit.SetText("abcdef");
  EXPECT_EQ(f.edit.Text(), "abcdef");
  f.system.Type(*f.window, "x");
  EXPECT_EQ(f.edit.Text(), "abcdef");
  f.Keys({platform::kKeyLeft, platform::kKeyLeft}, ssShift);
  f.system.SetClipboardText("xyz");
  f.Keys({'V'}, ssCtrl);  // replaces "ef": room for two
  EXPECT_EQ(f.edit.Text(), "abcdxy");
  f.Keys({platform::kKeyLeft, platform::kKeyLeft}, ssShift);
  f.system.Type(*f.window, "pq");  // "p" replaces "xy"; "q" would lengthen it again
  EXPECT_EQ(f.edit.Text(), "abcdp");
  f.Keys({platform::kKeyBackspace, platform::kKeyBackspace, platform::kKeyBackspace});
  f.system.Type(*f.window, "qrs");  // the limit again
  EXPECT_EQ(f.edit.Text(), "abqr");
}

TEST(Edit, TheMouseSetsTheCaretAndDragsASelection) {
  EditFixture f;
  f.edit.SetText("drag me");
  f.system.MouseDown(*f.window, 10 + 5, 10);  // before the first character
  f.system.MouseMove(*f.window, 150, 10, platform::ssLeft);
  f.system.MouseUp(*f.window, 150, 10);
  EXPECT_EQ(f.edit.SelStart(), 0);
  EXPECT_EQ(f.edit.SelLength(), 7);
  f.system.DoubleClick(*f.window, 16, 10);  // a word
  EXPECT_EQ(f.edit.SelStart(), 0);
  EXPECT_EQ(f.edit.SelLength(), 5);
}

TEST(Edit, ALongTextScrollsToKeepTheCaretInSight) {
  EditFixture f;
  f.system.Type(*f.window, std::string(60, 'w'));
  EXPECT_EQ(f.edit.PositionAt(f.edit.Width() - 6), 60);  // the end shows at the right
  f.Keys({platform::kKeyHome});
  EXPECT_EQ(f.edit.PositionAt(5), 0);
}

TEST(Edit, TheCaretBlinksWhileFocused) {
  EditFixture f;
  EXPECT_TRUE(f.edit.CaretVisible());
  f.system.AdvanceTime(530);
  EXPECT_FALSE(f.edit.CaretVisible());
  f.system.Type(*f.window, "a");  // typing shows it at once
  EXPECT_TRUE(f.edit.CaretVisible());
  f.form.FocusControl(nullptr);
  f.system.AdvanceTime(2000);
  EXPECT_FALSE(f.edit.CaretVisible());
}

// ---- list box ----

struct ListFixture : TFormFixture {
  TListBox& list = form.Add<TListBox>();
  platform::TMemoryWindow* window = nullptr;
  Log log;
  // 3 columns of 100 pixels, 5 rows of 20 (4 with a scroll bar).
  explicit ListFixture(int items) : TFormFixture(nullptr, 400, 200) {
    list.SetBounds(0, 0, 302, 102);
    list.Columns = 3;
    for (int i = 0; i < items; ++i) list.AddItem("item " + std::to_string(i), i);
    list.OnClick = [this](TControl&) { log.push_back("click " + std::to_string(list.ItemIndex())); };
    list.OnDblClick = [this](TControl&) { log.push_back("double " + std::to_string(list.ItemIndex())); };
    window = &Show();
  }
};

TEST(ListBox, ItemsRunDownTheColumnsOneAfterTheOther) {
  ListFixture f(12);
  EXPECT_FALSE(f.list.HasScrollBar());
  EXPECT_EQ(f.list.ItemRect(7), TRect::FromSize(101, 41, 100, 20));  // column 1, row 2
  EXPECT_EQ(f.list.ItemAt(150, 45), 7);
  EXPECT_EQ(f.list.ItemAt(250, 81), -1);  // past the last item
  f.system.Click(*f.window, 150, 45);
  f.system.DoubleClick(*f.window, 250, 25);
  EXPECT_THAT(f.log, ElementsAre("click 7", "click 11", "double 11"));
}

TEST(ListBox, KeysMoveTheSelectionAndScrollByColumns) {
  ListFixture f(30);  // 4 rows with the scroll bar: 8 columns
  ASSERT_TRUE(f.list.HasScrollBar());
  f.list.SetFocus();
  f.system.KeyDown(*f.window, platform::kKeyDown);
  f.system.KeyDown(*f.window, platform::kKeyRight);
  EXPECT_EQ(f.list.ItemIndex(), 4);
  f.system.KeyDown(*f.window, platform::kKeyEnd);
  EXPECT_EQ(f.list.ItemIndex(), 29);
  EXPECT_EQ(f.list.TopColumn(), 5);  // the last column shows at the right
  f.system.KeyDown(*f.window, platform::kKeyHome);
  EXPECT_EQ(f.list.TopColumn(), 0);
  f.system.MouseWheel(*f.window, 50, 50, -120);
  EXPECT_EQ(f.list.TopColumn(), 1);
  EXPECT_THAT(f.log, ElementsAre("click 0", "click 4", "click 29", "click 0"));
}

TEST(ListBox, TheScrollBarPagesAndDrags) {
  ListFixture f(30);
  const int track = 102 - 1 - 6;  // the middle of the scroll bar
  f.system.Click(*f.window, 290, track);
  EXPECT_EQ(f.list.TopColumn(), 3);
  f.system.MouseDown(*f.window, 150, track);  // on the thumb
  f.system.MouseMove(*f.window, 10, track, platform::ssLeft);
  f.system.MouseUp(*f.window, 10, track);
  EXPECT_EQ(f.list.TopColumn(), 0);
}

}  // namespace
}  // namespace vornix::editor::test
