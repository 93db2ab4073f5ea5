#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "editor/toolkit/OrvPopupMenu.h"

namespace vornix::editor::test {
namespace {

using platform::TMemoryWindow;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TPoint Center(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// The shown window on top at a screen point: popups before the others, the last shown first.
TMemoryWindow* WindowAt(platform::TMemoryWindowSystem& system, TPoint p) {
  auto windows = system.Windows();
  std::stable_partition(windows.begin(), windows.end(),
                        [](TMemoryWindow* w) { return w->Kind() == platform::TWindowKind::Popup; });
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    if ((*it)->Visible() && (*it)->ScreenBounds().Contains(p) && (*it)->Kind() == platform::TWindowKind::Popup)
      return *it;
  }
  for (TMemoryWindow* w : windows) {
    if (w->Visible() && w->ScreenBounds().Contains(p)) return w;
  }
  return nullptr;
}

// A form of 300 × 200 at (100, 100) on the screen with a probe filling it, and a menu of
// "One", "Two" (disabled), "-", "Three", "More" > {"Four", "Five"}.
struct MenuFixture : TFormFixture {
  Log log;
  TOrvPopupMenu menu;
  TProbe& probe = form.Add<TProbe>(log, "probe");
  TMenuItem* more = nullptr;
  TMemoryWindow* window = nullptr;

  MenuFixture() : TFormFixture(nullptr, 300, 200) {
    probe.SetBounds(0, 0, 300, 200);
    for (const char* caption : {"One", "Two", "-", "Three"}) {
      menu.Items.Add(caption, 0, [this](TMenuItem& item) { Chosen(item); });
    }
    menu.Items.Item(1).Enabled = false;
    more = &menu.Items.AddSubmenu("More");
    for (const char* caption : {"Four", "Five"}) more->Add(caption, 0, [this](TMenuItem& item) { Chosen(item); });
    system.SetParentOrigin({100, 100});
    window = &Show();
    log.clear();
  }

  void Chosen(TMenuItem& item) {
    // The menu's windows are gone when the command runs.
    log.push_back("chose " + item.Caption + (system.ActivePopup() == nullptr ? "" : " while open"));
  }
  TMenuItem& Item(const char* caption) {
    for (const auto& level : {&menu.Items, more}) {
      for (const auto& item : level->Items()) {
        if (item->Caption == caption) return *item;
      }
    }
    throw std::logic_error(caption);
  }
  TPoint ItemCenter(const char* caption) {
    const auto r = menu.ItemScreenRect(Item(caption));
    if (!r) throw std::logic_error(std::string(caption) + " does not show");
    return Center(*r);
  }
  void ClickScreen(TPoint p) {
    TMemoryWindow* w = WindowAt(system, p);
    ASSERT_NE(w, nullptr);
    const TRect b = w->ScreenBounds();
    system.Click(*w, p.X - b.Left, p.Y - b.Top);
  }
  void MoveScreen(TPoint p) {
    TMemoryWindow* w = WindowAt(system, p);
    ASSERT_NE(w, nullptr);
    const TRect b = w->ScreenBounds();
    system.MouseMove(*w, p.X - b.Left, p.Y - b.Top);
  }
  void Key(int key) { system.KeyDown(*system.ActivePopup(), key); }
  // Opens the menu at (120, 110) on the screen and runs the steps, one per turn of its loop.
  void Run(std::vector<std::function<void()>> steps) {
    for (auto& step : steps) system.QueueModalAction(std::move(step));
    menu.Popup(probe, 120, 110);
    EXPECT_EQ(system.PendingModalActions(), 0u);
    EXPECT_EQ(system.ActivePopup(), nullptr);
    EXPECT_EQ(system.Windows().size(), 1u);
  }
};

TEST(Menus, AClickOnAnItemChoosesItAndItsCommandRunsAfterTheMenuClosed) {
  MenuFixture f;
  f.Run({[&] { f.ClickScreen(f.ItemCenter("Three")); }});
  EXPECT_THAT(f.log, ElementsAre("chose Three"));
}

TEST(Menus, KeysMoveOverSeparatorsAndReturnChooses) {
  MenuFixture f;
  // Down lights One, then Two (disabled, but it can be lit), then Three past the separator.
  f.Run({[&] {
    for (int key : {platform::kKeyDown, platform::kKeyDown, platform::kKeyDown, platform::kKeyReturn}) f.Key(key);
  }});
  EXPECT_THAT(f.log, ElementsAre("chose Three"));
}

TEST(Menus, UpFromNothingStartsAtTheLastItem) {
  MenuFixture f;
  f.Run({[&] {
    f.Key(platform::kKeyUp);
    f.Key(platform::kKeyUp);
    f.Key(platform::kKeySpace);
  }});
  EXPECT_THAT(f.log, ElementsAre("chose Three"));
}

TEST(Menus, KeysThatReachTheOwnerWindowStillSteerTheMenu) {
  MenuFixture f;
  int ownerEvents = 0;
  f.form.OnWindowEvent = [&](TForm&, const platform::TEvent&) {
    ++ownerEvents;
    return false;
  };
  f.Run({[&] {
    f.system.KeyDown(*f.window, platform::kKeyDown);
    f.system.KeyDown(*f.window, platform::kKeyReturn);
  }});
  EXPECT_THAT(f.log, ElementsAre("chose One"));
  EXPECT_EQ(ownerEvents, 0);
  f.system.KeyDown(*f.window, platform::kKeyDown);  // the owner's own hook is back
  EXPECT_EQ(ownerEvents, 1);
}

TEST(Menus, ADisabledItemIsNotChosen) {
  MenuFixture f;
  f.Run({[&] { f.ClickScreen(f.ItemCenter("Two")); },
         [&] {
           f.Key(platform::kKeyDown);
           f.Key(platform::kKeyDown);
           f.Key(platform::kKeyReturn);  // Two is lit
         },
         [&] {
           ASSERT_NE(f.system.ActivePopup(), nullptr);  // still open
           f.Key(platform::kKeyEscape);
         }});
  EXPECT_THAT(f.log, IsEmpty());
}

TEST(Menus, APressOutsideDismissesTheMenuAndGoesNoFurther) {
  MenuFixture f;
  f.Run({[&] { f.system.Click(*f.window, 280, 180); }});
  EXPECT_THAT(f.log, IsEmpty());  // neither a choice nor the probe's press
  f.system.Click(*f.window, 280, 180);
  EXPECT_THAT(f.log, ElementsAre("probe:enter", "probe:down L 280,180", "probe:up L 280,180", "probe:click"));
}

TEST(Menus, EscapeDismissesTheMenu) {
  MenuFixture f;
  f.Run({[&] { f.Key(platform::kKeyEscape); }});
  EXPECT_THAT(f.log, IsEmpty());
}

TEST(Menus, ASubmenuOpensBesideItsItemOnHoverAndItsItemsCanBeChosen) {
  MenuFixture f;
  f.Run({[&] { f.MoveScreen(f.ItemCenter("More")); },
         [&] {
           TMemoryWindow* sub = f.system.ActivePopup();
           ASSERT_NE(sub, nullptr);
           const TRect more = *f.menu.ItemScreenRect(*f.more);
           EXPECT_GE(sub->ScreenBounds().Left, more.Right - 3);
           EXPECT_LE(std::abs(f.menu.ItemScreenRect(f.Item("Four"))->Top - more.Top), 1);
           f.ClickScreen(f.ItemCenter("Five"));
         }});
  EXPECT_THAT(f.log, ElementsAre("chose Five"));
}

TEST(Menus, RightOpensASubmenuAndLeftClosesIt) {
  MenuFixture f;
  f.Run({[&] {
    f.Key(platform::kKeyUp);  // More
    f.Key(platform::kKeyRight);
    EXPECT_TRUE(f.menu.ItemScreenRect(f.Item("Four")).has_value());
    f.Key(platform::kKeyLeft);
    EXPECT_FALSE(f.menu.ItemScreenRect(f.Item("Four")).has_value());
    f.Key(platform::kKeyRight);
    f.Key(platform::kKeyDown);  // Five
    f.Key(platform::kKeyReturn);
  }});
  EXPECT_THAT(f.log, ElementsAre("chose Five"));
}

TEST(Menus, APressOnTheParentLevelClosesTheSubmenuAndActsThere) {
  MenuFixture f;
  f.Run({[&] { f.MoveScreen(f.ItemCenter("More")); },
         [&] {
           // The submenu watches presses now; one on "One" of the top level must still choose it.
           f.ClickScreen(f.ItemCenter("One"));
         }});
  EXPECT_THAT(f.log, ElementsAre("chose One"));
}

TEST(Menus, MovingToAnotherItemClosesTheOpenSubmenu) {
  MenuFixture f;
  f.Run({[&] { f.MoveScreen(f.ItemCenter("More")); },
         [&] {
           f.MoveScreen(f.ItemCenter("Three"));
           EXPECT_FALSE(f.menu.ItemScreenRect(f.Item("Four")).has_value());
           f.Key(platform::kKeyEscape);
         }});
  EXPECT_THAT(f.log, IsEmpty());
}

TEST(Menus, OnPopupRunsFirstAndHiddenItemsFoldTheirSeparators) {
  MenuFixture f;
  f.menu.OnPopup = [&](TPopupMenu&) {
    f.log.push_back("popup");
    f.Item("Three").Visible = false;
    f.more->Visible = false;
  };
  f.Run({[&] {
    EXPECT_FALSE(f.menu.ItemScreenRect(f.Item("Three")).has_value());
    // One and Two remain; the separator before the hidden items is gone, so Two is the last row.
    const TRect two = *f.menu.ItemScreenRect(f.Item("Two"));
    EXPECT_LE(f.system.ActivePopup()->ScreenBounds().Bottom - two.Bottom, 6);
    f.Key(platform::kKeyEscape);
  }});
  EXPECT_THAT(f.log, ElementsAre("popup"));
}

TEST(Menus, AMenuWithoutVisibleItemsDoesNotOpen) {
  MenuFixture f;
  for (const auto& item : f.menu.Items.Items()) item->Visible = item->IsSeparator();
  f.menu.Popup(f.probe, 120, 110);  // no modal action queued: a loop would throw
  EXPECT_EQ(f.system.Windows().size(), 1u);
}

struct TPlacementCase {
  const char* name;
  TPoint at;
  bool dropDown;
};

class MenuPlacement : public ::testing::TestWithParam<TPlacementCase> {};

TEST_P(MenuPlacement, MenusStayOnTheScreen) {
  MenuFixture f;
  const TRect screen = {0, 0, 500, 400};
  f.system.SetScreenBounds(screen);
  f.probe.SetBounds(GetParam().at.X - 100, GetParam().at.Y - 100, 40, 20);  // the form lies at (100, 100)
  f.system.QueueModalAction([&] {
    f.Key(platform::kKeyUp);
    f.Key(platform::kKeyRight);  // the submenu too
    for (TMemoryWindow* w : f.system.Windows()) {
      if (w->Kind() != platform::TWindowKind::Popup) continue;
      const TRect b = w->ScreenBounds();
      EXPECT_EQ(b.Intersect(screen), b) << b.Left << "," << b.Top << " " << b.Width() << "x" << b.Height();
    }
    if (GetParam().dropDown) {
      // Below the control, or above it: never over it.
      const TRect b = f.system.Windows()[1]->ScreenBounds();
      const TPoint origin = f.probe.ClientToScreen({0, 0});
      EXPECT_TRUE(b.Top == origin.Y + 20 || b.Bottom == origin.Y) << b.Top;
      EXPECT_EQ(b.Left, std::min(origin.X, screen.Right - b.Width()));
    }
    f.Key(platform::kKeyEscape);
    f.Key(platform::kKeyEscape);
  });
  if (GetParam().dropDown) {
    f.menu.DropDown(f.probe);
  } else {
    f.menu.Popup(f.probe, GetParam().at.X, GetParam().at.Y);
  }
  EXPECT_EQ(f.system.PendingModalActions(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, MenuPlacement,
                         ::testing::Values(TPlacementCase{"TopLeft", {120, 110}, false},
                                           TPlacementCase{"BottomRight", {490, 390}, false},
                                           TPlacementCase{"DropDownRoomBelow", {150, 120}, true},
                                           TPlacementCase{"DropDownAtTheBottom", {150, 370}, true},
                                           TPlacementCase{"DropDownAtTheRight", {480, 120}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Menus, CheckItemByTagChecksTheMatchAndItsParents) {
  TOrvPopupMenu menu;
  auto& low = menu.Items.AddSubmenu("1 - 2");
  low.Add("1", 1);
  low.Add("2", 2);
  auto& high = menu.Items.AddSubmenu("3 - 4");
  high.Add("3", 3);
  high.Add("4", 4);
  menu.Items.Add("5", 5);
  const auto checked = [&] {
    std::string s;
    for (const auto& group : menu.Items.Items()) {
      s += group->Checked ? "[x]" : "[ ]";
      for (const auto& item : group->Items()) s += item->Checked ? "x" : ".";
    }
    return s;
  };
  menu.CheckItemByTag(nullptr, 4, true);
  EXPECT_EQ(checked(), "[ ]..[x].x[ ]");
  menu.CheckItemByTag(nullptr, 1, false);
  EXPECT_EQ(checked(), "[ ]x.[ ]..[ ]");
  menu.CheckItemByTag(nullptr, 5, true);
  EXPECT_EQ(checked(), "[ ]..[ ]..[x]");
  menu.CheckItemByTag(nullptr, 77, true);  // no item has it: nothing stays checked
  EXPECT_EQ(checked(), "[ ]..[ ]..[ ]");
  menu.CheckItemByTag(nullptr, kSubmenuTag, false);  // submenus are -999 by default
  EXPECT_EQ(checked(), "[x]..[x]..[ ]");
  menu.CheckItemByTag(&high, 3, true);  // one level; its parent chain is checked too
  EXPECT_EQ(checked(), "[x]..[x]x.[ ]");
}

}  // namespace
}  // namespace vornix::editor::test
