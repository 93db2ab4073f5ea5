// The decisions about presses while popups are shown, which every window backend follows.
#include <stdexcept>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "EventRecorder.h"
#include "platform/MemoryWindowSystem.h"
#include "platform/PopupPresses.h"

namespace vornix::platform {
namespace {

using detail::TPopupPresses;
using detail::TPressRoute;

class PopupPresses : public ::testing::Test {
 protected:
  TMemoryWindowSystem system;
  TRecorder handler;
  std::unique_ptr<TWindow> child = system.CreateChild(1, 100, 100, handler);
  std::unique_ptr<TWindow> menu = system.CreatePopup(*child, {0, 0, 50, 50}, handler);
  std::unique_ptr<TWindow> submenu = system.CreatePopup(*child, {50, 0, 100, 50}, handler);
  TPopupPresses<TWindow> presses;
};

TEST_F(PopupPresses, TheLastShownPopupThatStillWatchesTakesThePresses) {
  EXPECT_EQ(presses.Watching(), nullptr);
  presses.Shown(*menu);
  presses.Shown(*submenu);
  EXPECT_EQ(presses.Watching(), submenu.get());
  EXPECT_EQ(presses.Watching([&](const TWindow& w) { return &w != submenu.get(); }), menu.get());
  presses.Shown(*menu);  // shown again: last
  EXPECT_EQ(presses.Watching(), menu.get());
  presses.Hidden(*menu);
  EXPECT_EQ(presses.Watching(), submenu.get());
  EXPECT_FALSE(presses.IsWatching(*menu));
  EXPECT_TRUE(presses.IsWatching(*submenu));
}

TEST_F(PopupPresses, APressOutsideGoesNoFurtherWithItsReleaseUnlessReplayed) {
  struct TCase {
    const char* name;
    bool replay;
    bool held;  // the press came to us
    bool releaseDropped;
    bool stillWatching;
  };
  const TCase cases[] = {
      {"dropped", false, true, true, true},
      {"replayed", true, true, false, false},
      {"on another program's window", false, false, false, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    presses.Shown(*menu);
    int settled = 0;
    const bool replayed = presses.Offer(
        *menu, TMouseButton::Right, c.held,
        [&] {
          EXPECT_EQ(presses.Closing(), menu.get());
          if (c.replay) {
            EXPECT_TRUE(presses.Replay());
            EXPECT_FALSE(presses.Replay()) << "a press goes on once";
          }
        },
        [&](bool r) {
          ++settled;
          EXPECT_EQ(r, c.replay);
        });
    EXPECT_EQ(replayed, c.replay);
    EXPECT_EQ(settled, 1);
    EXPECT_EQ(presses.Closing(), nullptr);
    EXPECT_FALSE(presses.DropRelease(TMouseButton::Left));
    EXPECT_EQ(presses.DropRelease(TMouseButton::Right), c.releaseDropped);
    EXPECT_FALSE(presses.DropRelease(TMouseButton::Right)) << "only the one release";
    EXPECT_EQ(presses.IsWatching(*menu), c.stillWatching);
    presses.Hidden(*menu);
  }
}

// A handler that opens a submenu meets the next outside press in a modal loop of its own; the
// press it handles stays its own. A popup hidden while it handles a press can no longer replay it.
TEST_F(PopupPresses, APressHandledInsideAnotherLeavesTheOuterOneAsItWas) {
  presses.Shown(*menu);
  presses.Offer(*menu, TMouseButton::Left, true, [&] {
    presses.Shown(*submenu);
    presses.Offer(*submenu, TMouseButton::Left, true, [&] { EXPECT_TRUE(presses.Replay()); });
    EXPECT_EQ(presses.Closing(), menu.get());
    presses.Hidden(*menu);
    EXPECT_FALSE(presses.Replay());
  });
  EXPECT_TRUE(presses.DropRelease(TMouseButton::Left));
  EXPECT_FALSE(presses.Replay()) << "outside a CloseRequest";
}

TEST_F(PopupPresses, AHandlerThatThrowsLeavesNoPressBeingHandled) {
  presses.Shown(*menu);
  bool settled = false;
  EXPECT_THROW(
      presses.Offer(
          *menu, TMouseButton::Left, true, [] { throw std::runtime_error("handler"); }, [&](bool) { settled = true; }),
      std::runtime_error);
  EXPECT_TRUE(settled);
  EXPECT_EQ(presses.Closing(), nullptr);
  EXPECT_TRUE(presses.DropRelease(TMouseButton::Left));
}

TEST_F(PopupPresses, WhereAPressGoesAndTheCloseRequestItBecomes) {
  using enum TPressRoute;
  EXPECT_EQ(detail::RouteOfPress(nullptr, false, false), Deliver);
  EXPECT_EQ(detail::RouteOfPress(nullptr, false, true), Deliver);
  EXPECT_EQ(detail::RouteOfPress(menu.get(), true, false), Deliver);
  EXPECT_EQ(detail::RouteOfPress(menu.get(), true, true), Deliver);
  EXPECT_EQ(detail::RouteOfPress(menu.get(), false, false), CloseRequest);
  EXPECT_EQ(detail::RouteOfPress(menu.get(), false, true), Drop);

  const TEvent close = detail::CloseRequestOf({130, 40}, {100, 20}, TMouseButton::Middle, ssCtrl);
  EXPECT_EQ(close.Kind, TEventKind::CloseRequest);
  EXPECT_EQ(close.X, 30);
  EXPECT_EQ(close.Y, 20);
  EXPECT_EQ(close.Button, TMouseButton::Middle);
  EXPECT_EQ(close.Shift, ssCtrl | ssMiddle);
}

}  // namespace
}  // namespace vornix::platform
