#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "editor/toolkit/PopupMenu.h"

namespace vornix::editor::test {
namespace {

using platform::TEvent;
using platform::TEventKind;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr TColor kRed = gfx::Rgb(255, 0, 0);
constexpr TColor kBlue = gfx::Rgb(0, 0, 255);

// Two probes side by side: a at (0, 0), b at (100, 0), each 50 × 50.
struct TwoProbes : TFormFixture {
  Log log;
  TProbe& a = form.Add<TProbe>(log, "a");
  TProbe& b = form.Add<TProbe>(log, "b");
  TwoProbes() {
    a.SetBounds(0, 0, 50, 50);
    b.SetBounds(100, 0, 50, 50);
  }
  platform::TMemoryWindow& Show() {
    auto& w = TFormFixture::Show();
    log.clear();
    return w;
  }
};

TEST(FormRouting, APressCapturesTheMouseUntilEveryButtonIsUp) {
  TwoProbes f;
  auto& w = f.Show();
  f.system.MouseDown(w, 10, 10);
  f.system.MouseMove(w, 120, 10, platform::ssLeft);
  f.system.MouseDown(w, 120, 10, TMouseButton::Right);
  f.system.MouseUp(w, 120, 10, TMouseButton::Left);
  f.system.MouseMove(w, 121, 10, platform::ssRight);
  f.system.MouseUp(w, 121, 10, TMouseButton::Right);
  f.log.clear();
  f.system.MouseMove(w, 122, 10);
  // Everything went to a until the last button came up; a release outside is no click.
  EXPECT_THAT(f.log, ElementsAre("b:move 22,10"));
  EXPECT_EQ(f.form.CapturedControl(), nullptr);
}

TEST(FormRouting, CapturedInputIsInTheCapturingControlsCoordinates) {
  TwoProbes f;
  auto& w = f.Show();
  f.system.MouseDown(w, 10, 10);
  f.system.MouseMove(w, 120, 15, platform::ssLeft);
  f.system.MouseUp(w, 130, 20);
  EXPECT_THAT(f.log, ElementsAre("a:enter", "a:down L 10,10", "a:leave", "a:move 120,15", "a:up L 130,20", "b:enter"));
}

TEST(FormRouting, AClickNeedsPressAndReleaseOnTheSameControl) {
  TwoProbes f;
  auto& w = f.Show();
  f.system.Click(w, 10, 10);
  f.system.Click(w, 110, 10, TMouseButton::Right);
  EXPECT_THAT(f.log, ElementsAre("a:enter", "a:down L 10,10", "a:up L 10,10", "a:click", "a:leave", "b:enter",
                                 "b:down R 10,10", "b:up R 10,10"));
}

TEST(FormRouting, HoverFollowsThePointerAndEndsWhenItLeavesTheWindow) {
  TFormFixture f;
  Log log;
  auto& panel = f.form.Add<TProbe>(log, "panel");
  panel.SetBounds(0, 0, 100, 100);
  auto& child = panel.Add<TProbe>(log, "child");
  child.SetBounds(10, 10, 20, 20);
  auto& w = f.Show();
  f.system.MouseMove(w, 50, 50);
  f.system.MouseMove(w, 15, 15);
  f.system.MouseMove(w, 16, 15);
  f.system.Send(w, TEvent{.Kind = TEventKind::MouseLeave});
  EXPECT_THAT(log, ElementsAre("panel:loaded", "child:loaded", "panel:enter", "panel:move 50,50", "panel:leave",
                               "child:enter", "child:move 5,5", "child:move 6,5", "child:leave"));
  EXPECT_EQ(f.form.HoveredControl(), nullptr);
}

TEST(FormRouting, APressFocusesAControlThatCanTakeTheFocus) {
  TwoProbes f;
  f.a.SetCanFocus(true);
  auto& w = f.Show();
  f.system.Click(w, 10, 10);
  f.system.Click(w, 110, 10);  // b cannot take it: a keeps it
  EXPECT_EQ(f.form.FocusedControl(), &f.a);
  EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "a:focus in"), 1);
  f.system.Pump();
  EXPECT_TRUE(w.Focused());  // the window asked for the keyboard
  f.a.SetVisible(false);
  EXPECT_EQ(f.form.FocusedControl(), nullptr);
  EXPECT_EQ(f.log.back(), "a:focus out");
}

struct TBubbleCase {
  const char* name;
  bool childTakes;
  bool parentTakes;
  std::vector<std::string> expected;
};

class FormBubbling : public ::testing::TestWithParam<TBubbleCase> {};

TEST_P(FormBubbling, WheelAndKeysGoToTheFocusedControlThenUpItsParents) {
  const TBubbleCase& c = GetParam();
  TFormFixture f;
  Log log;
  auto& parent = f.form.Add<TProbe>(log, "parent");
  parent.SetBounds(0, 0, 100, 100);
  parent.TakesWheel = parent.TakesKeys = c.parentTakes;
  auto& child = parent.Add<TProbe>(log, "child");
  child.SetBounds(10, 10, 20, 20);
  child.SetCanFocus(true);
  child.TakesWheel = child.TakesKeys = c.childTakes;
  auto& w = f.Show();
  child.SetFocus();
  log.clear();
  // The wheel goes to the focused control wherever the pointer is.
  f.system.MouseWheel(w, 90, 90, -120);
  f.system.KeyDown(w, platform::kKeyUp);
  f.system.Type(w, "x");
  EXPECT_EQ(log, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormBubbling,
    ::testing::Values(TBubbleCase{"ChildTakes", true, false, {"child:wheel -120", "child:key 38", "child:char 120"}},
                      TBubbleCase{"ParentTakes",
                                  false,
                                  true,
                                  {"child:wheel -120", "parent:wheel -120", "child:key 38", "parent:key 38",
                                   "child:char 120", "parent:char 120"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormRouting, ASecondPressIsADoubleClickAfterTheFirstClick) {
  TwoProbes f;
  auto& w = f.Show();
  f.system.DoubleClick(w, 10, 10);
  EXPECT_THAT(f.log, ElementsAre("a:enter", "a:down L 10,10", "a:up L 10,10", "a:click", "a:dblclick",
                                 "a:down L 10,10 double", "a:up L 10,10"));
}

TEST(FormRouting, ADoublePressOnAnotherControlIsAPlainPress) {
  TwoProbes f;
  auto& w = f.Show();
  f.system.Click(w, 10, 10);
  f.log.clear();
  f.system.Click(w, 110, 10, TMouseButton::Left, platform::ssDouble);
  EXPECT_THAT(f.log, ElementsAre("a:leave", "b:enter", "b:down L 10,10 double", "b:up L 10,10", "b:click"));
}

TEST(FormRouting, ARightClickOpensTheContextMenuOfTheControlOrItsParentAfterTheRelease) {
  TFormFixture f;
  Log log;
  TPopupMenu menu;
  menu.Items.Add("Item");
  menu.OnPopup = [&](TPopupMenu& m) { log.push_back("popup from " + m.PopupComponent()->Name); };
  auto& parent = f.form.Add<TProbe>(log, "parent");
  parent.SetBounds(0, 0, 100, 100);
  parent.PopupMenu = &menu;
  auto& child = parent.Add<TProbe>(log, "child");
  child.SetBounds(10, 10, 20, 20);
  f.system.SetParentOrigin({300, 200});
  auto& w = f.Show();
  log.clear();
  f.system.QueueModalAction([&] {
    auto* popup = f.system.ActivePopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->ScreenBounds().Left, 315);  // at the pointer
    EXPECT_EQ(popup->ScreenBounds().Top, 216);
    f.system.KeyDown(*popup, platform::kKeyEscape);
  });
  f.system.Click(w, 15, 16, TMouseButton::Right);
  EXPECT_THAT(log, ElementsAre("child:enter", "child:down R 5,6", "child:up R 5,6", "popup from parent"));
  EXPECT_EQ(f.system.PendingModalActions(), 0u);
}

TEST(FormRouting, AControlMayRemoveItselfInItsOwnHandler) {
  TwoProbes f;
  auto& w = f.Show();
  f.a.OnClick = [&](TControl& sender) { f.form.Remove(sender); };
  f.system.Click(w, 10, 10);
  EXPECT_EQ(f.form.FindControl("a"), nullptr);
  f.system.MouseMove(w, 11, 10);
  f.system.Click(w, 110, 10);
  EXPECT_EQ(f.log.back(), "b:click");
}

TEST(FormRouting, TheCursorIsTheHoveredControlsUnlessOverridden) {
  TwoProbes f;
  f.b.Cursor = TCursor::IBeam;
  auto& w = f.Show();
  f.system.MouseMove(w, 110, 10);
  EXPECT_EQ(w.Cursor(), TCursor::IBeam);
  f.form.SetCursorOverride(TCursor::SizeNS);
  f.system.MouseMove(w, 10, 10);
  EXPECT_EQ(w.Cursor(), TCursor::SizeNS);
  f.form.SetCursorOverride(std::nullopt);
  EXPECT_EQ(w.Cursor(), TCursor::Default);
}

// ---- painting ----

TEST(FormPainting, AChangeRepaintsOnlyItsControl) {
  TwoProbes f;
  f.form.Color = gfx::kBlack;
  auto& w = f.Show();
  EXPECT_EQ(w.Pixel(10, 10), gfx::kWhite);
  EXPECT_EQ(w.Pixel(75, 10), gfx::kBlack);
  const int presents = w.PresentCount();
  f.a.Paints = f.b.Paints = 0;
  f.a.Fill = kRed;
  f.b.Fill = kBlue;  // not invalidated: must not show
  f.a.Invalidate();
  f.form.Update();
  EXPECT_EQ(f.a.Paints, 1);
  EXPECT_EQ(f.b.Paints, 0);
  EXPECT_EQ(w.PresentCount(), presents + 1);
  EXPECT_EQ(w.Pixel(10, 10), kRed);
  EXPECT_EQ(w.Pixel(110, 10), gfx::kWhite);
  f.form.Update();  // nothing left to paint
  EXPECT_EQ(w.PresentCount(), presents + 1);
}

TEST(FormPainting, APartOfAControlRepaintsOnlyThatPart) {
  TwoProbes f;
  auto& w = f.Show();
  f.a.Fill = kRed;
  f.a.InvalidateRect({0, 0, 10, 10});
  f.form.Update();
  EXPECT_EQ(w.Pixel(9, 9), kRed);
  EXPECT_EQ(w.Pixel(10, 10), gfx::kWhite);
}

TEST(FormPainting, AHiddenControlShowsItsParentAgain) {
  TwoProbes f;
  f.form.Color = gfx::kBlack;
  auto& w = f.Show();
  f.a.SetVisible(false);
  f.form.Update();
  EXPECT_EQ(w.Pixel(10, 10), gfx::kBlack);
  f.b.SetBounds(0, 0, 50, 50);  // moved: both places repaint
  f.form.Update();
  EXPECT_EQ(w.Pixel(10, 10), gfx::kWhite);
  EXPECT_EQ(w.Pixel(110, 10), gfx::kBlack);
}

TEST(FormPainting, ChangesMadeOutsideAnEventPaintOnATimer) {
  TwoProbes f;
  auto& w = f.Show();
  f.a.Fill = kRed;
  f.a.Invalidate();
  EXPECT_EQ(w.Pixel(10, 10), gfx::kWhite);
  f.system.AdvanceTime(1);
  EXPECT_EQ(w.Pixel(10, 10), kRed);
  EXPECT_THAT(w.Timers(), IsEmpty());
}

TEST(FormPainting, ChangesMadeByAnEventShowWhenItIsHandled) {
  TwoProbes f;
  auto& w = f.Show();
  f.a.OnMouseDown = [&](TControl&, TMouseButton, TShiftState, int, int) {
    f.a.Fill = kRed;
    f.a.Invalidate();
  };
  f.system.MouseDown(w, 5, 5);
  EXPECT_EQ(w.Pixel(10, 10), kRed);
}

// ---- life cycle ----

TEST(FormLifeCycle, ControlsLoadOnceParentsFirstBeforeTheFormShows) {
  TFormFixture f;
  Log log;
  auto& parent = f.form.Add<TProbe>(log, "parent");
  parent.Add<TProbe>(log, "child");
  f.form.Add<TProbe>(log, "second");
  f.form.OnShow = [&](TForm&) { log.push_back("shown"); };
  f.Show();
  f.form.Add<TProbe>(log, "late");
  EXPECT_THAT(log, ElementsAre("parent:loaded", "child:loaded", "second:loaded", "shown", "late:loaded"));
}

TEST(FormLifeCycle, TimersFireWhileEnabledThroughTheWindow) {
  TFormFixture f;
  int fired = 0;
  TTimer timer(f.form, 100);
  timer.OnTimer = [&](TTimer&) { ++fired; };
  timer.SetEnabled(true);  // before the window exists
  f.Show();
  f.system.AdvanceTime(250);
  EXPECT_EQ(fired, 2);
  timer.SetEnabled(false);
  f.system.AdvanceTime(250);
  EXPECT_EQ(fired, 2);
}

TEST(FormLifeCycle, AModalFormRunsUntilItHasAResultAndTheWindowGoes) {
  TFormFixture owner;
  owner.Show();
  TForm dialog(owner.system, nullptr);
  dialog.SetBounds(50, 60, 120, 80);
  owner.system.QueueModalAction([&] {
    auto* d = owner.system.FindDialog("Question");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->ScreenBounds(), TRect::FromSize(50, 60, 120, 80));
    dialog.SetModalResult(TModalResult::mrOk);
  });
  EXPECT_EQ(dialog.ShowModal(owner.form, "Question"), TModalResult::mrOk);
  EXPECT_EQ(dialog.Window(), nullptr);
  EXPECT_EQ(owner.system.Windows().size(), 1u);

  owner.system.QueueModalAction(
      [&] { owner.system.Send(*owner.system.FindDialog("Again"), TEvent{.Kind = TEventKind::CloseRequest}); });
  EXPECT_EQ(dialog.ShowModal(owner.form, "Again"), TModalResult::mrCancel);  // the close box
}

TEST(FormLifeCycle, APopupClosesWithCancelOnAPressOutsideIt) {
  TFormFixture owner;
  auto& w = owner.Show();
  TForm popup(owner.system, nullptr);
  popup.SetBounds(10, 10, 40, 40);
  popup.ShowPopup(owner.form);
  owner.system.MouseDown(w, 150, 80);
  EXPECT_EQ(popup.ModalResult(), TModalResult::mrCancel);
  EXPECT_EQ(popup.Window(), nullptr);
}

}  // namespace
}  // namespace vornix::editor::test
