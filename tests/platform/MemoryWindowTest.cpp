#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/MemoryWindowSystem.h"

namespace vornix::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Records every event; an optional reaction runs after recording.
struct TRecorder : TWindowHandler {
  std::vector<TEvent> Events;
  std::function<void(TWindow&, const TEvent&)> OnEvent;
  bool UsesKeys = true;  // false: every key goes on to the host's window
  bool HandleEvent(TWindow& window, const TEvent& event) override {
    Events.push_back(event);
    if (OnEvent) OnEvent(window, event);
    const bool key =
        event.Kind == TEventKind::KeyDown || event.Kind == TEventKind::KeyUp || event.Kind == TEventKind::Char;
    return !key || UsesKeys;
  }
  std::vector<TEventKind> Kinds() const {
    std::vector<TEventKind> kinds;
    for (const TEvent& e : Events) kinds.push_back(e.Kind);
    return kinds;
  }
};

constexpr std::uintptr_t kParent = 0x4200001;

// Keys the editor inside the host's window does not use go on to the host's window; a release
// only follows its press there. Popups and dialogs are ours alone.
TEST(MemoryWindows, KeysAChildDoesNotUseGoToTheHost) {
  TMemoryWindowSystem system;
  TRecorder editor, dialog;
  auto child = system.CreateChild(kParent, 656, 396, editor);
  system.KeyDown(*child, 'A');  // used
  editor.UsesKeys = false;
  system.KeyUp(*child, 'A');  // its press was the editor's: the release is too
  system.KeyDown(*child, kKeySpace);
  system.Type(*child, " ");
  system.KeyUp(*child, kKeySpace);
  dialog.UsesKeys = false;
  auto box = system.CreateDialog(*child, {10, 10, 100, 80}, "Question", dialog);
  box->Show();
  system.KeyDown(*box, kKeyReturn);
  const auto& forwarded = system.KeysForTheHost();
  ASSERT_EQ(forwarded.size(), 3u);
  EXPECT_EQ(forwarded[0].Kind, TEventKind::KeyDown);
  EXPECT_EQ(forwarded[0].Key, kKeySpace);
  EXPECT_EQ(forwarded[1].Kind, TEventKind::Char);
  EXPECT_EQ(forwarded[1].Char, U' ');
  EXPECT_EQ(forwarded[2].Kind, TEventKind::KeyUp);
  EXPECT_EQ(editor.Events.size(), 5u) << "the editor saw every key first";
}

TEST(MemoryWindows, InjectedInputReachesTheHandlerWithPositionsAndShiftState) {
  TMemoryWindowSystem system;
  TRecorder editor;
  auto child = system.CreateChild(kParent, 656, 396, editor);
  system.MouseMove(*child, 10, 20);
  system.MouseDown(*child, 11, 21, TMouseButton::Left, ssShift);
  system.MouseMove(*child, 12, 15, ssShift);
  system.MouseUp(*child, 12, 15, TMouseButton::Left);
  system.MouseWheel(*child, 30, 40, -120, ssCtrl);
  system.KeyDown(*child, 'A', ssShift);
  system.Type(*child, "A\xC3\xA9");
  system.KeyUp(*child, 'A');
  system.DoubleClick(*child, 5, 6);

  ASSERT_EQ(editor.Events.size(), 13u);
  const auto& e = editor.Events;
  EXPECT_EQ(e[0].Kind, TEventKind::MouseMove);
  EXPECT_EQ(e[0].X, 10);
  EXPECT_EQ(e[0].Y, 20);
  EXPECT_EQ(e[0].Shift, 0u);
  EXPECT_EQ(e[1].Kind, TEventKind::MouseDown);
  EXPECT_EQ(e[1].Button, TMouseButton::Left);
  EXPECT_EQ(e[1].Shift, ssShift | ssLeft);
  EXPECT_EQ(e[2].Shift, ssShift | ssLeft);  // a drag holds the button
  EXPECT_EQ(e[2].Y, 15);
  EXPECT_EQ(e[3].Kind, TEventKind::MouseUp);
  EXPECT_EQ(e[3].Shift, 0u);
  EXPECT_EQ(e[4].Kind, TEventKind::MouseWheel);
  EXPECT_EQ(e[4].WheelDelta, -120);
  EXPECT_EQ(e[4].Shift, ssCtrl);
  EXPECT_EQ(e[5].Kind, TEventKind::KeyDown);
  EXPECT_EQ(e[5].Key, 'A');
  EXPECT_EQ(e[5].Shift, ssShift);
  EXPECT_EQ(e[6].Char, U'A');
  EXPECT_EQ(e[7].Char, U'\u00E9');
  EXPECT_EQ(e[8].Kind, TEventKind::KeyUp);
  EXPECT_EQ(e[9].Kind, TEventKind::MouseDown);
  EXPECT_EQ(e[9].Shift & ssDouble, 0u);
  EXPECT_EQ(e[11].Kind, TEventKind::MouseDown);
  EXPECT_EQ(e[11].Shift, ssLeft | ssDouble);
  EXPECT_EQ(system.PointerPosition(), (gfx::TPoint{5, 6}));
}

TEST(MemoryWindows, ScreenShowsWhatWasPresentedAndResizingKeepsWhatFits) {
  TMemoryWindowSystem system;
  system.SetParentOrigin({100, 50});
  TRecorder editor;
  auto child = system.CreateChild(kParent, 4, 3, editor);
  gfx::TBitmap& surface = child->Surface();
  ASSERT_EQ(surface.Width(), 4);
  ASSERT_EQ(surface.Height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) surface.SetPixel(x, y, gfx::Rgb(x * 10, y * 10, 7));
  TMemoryWindow& shown = *system.Find(*child);
  EXPECT_EQ(shown.Pixel(1, 1), 0u);
  child->Present({1, 1, 3, 2});
  EXPECT_EQ(shown.Pixel(1, 1), gfx::Rgb(10, 10, 7));
  EXPECT_EQ(shown.Pixel(2, 1), gfx::Rgb(20, 10, 7));
  EXPECT_EQ(shown.Pixel(3, 1), 0u);
  child->Present({-5, -5, 100, 100});  // clipped to the window
  EXPECT_EQ(shown.Pixel(3, 2), gfx::Rgb(30, 20, 7));
  EXPECT_EQ(shown.PresentCount(), 2);

  child->SetBounds({0, 0, 2, 5});
  EXPECT_EQ(child->Width(), 2);
  EXPECT_EQ(child->Height(), 5);
  EXPECT_EQ(child->Surface().Pixel(1, 2), gfx::Rgb(10, 20, 7));
  EXPECT_EQ(child->Surface().Pixel(1, 4), 0u);
  child->SetBounds({0, 0, 0, -3});  // never zero
  EXPECT_EQ(child->Width(), 1);
  EXPECT_EQ(child->Height(), 1);
  EXPECT_EQ(child->ClientToScreen({3, 4}), (gfx::TPoint{103, 54}));
}

TEST(MemoryWindows, TimersFireAtTheVirtualClockUntilStopped) {
  TMemoryWindowSystem system;
  TRecorder editor;
  auto child = system.CreateChild(kParent, 10, 10, editor);
  std::vector<std::pair<std::int64_t, int>> fired;
  editor.OnEvent = [&](TWindow& w, const TEvent& e) {
    if (e.Kind != TEventKind::Timer) return;
    fired.emplace_back(system.Now(), e.TimerId);
    if (e.TimerId == 1) w.StopTimer(1);  // a one-shot, like the delayed focus
  };
  child->StartTimer(1, 100);
  child->StartTimer(2, 3000);
  system.AdvanceTime(99);
  EXPECT_THAT(fired, IsEmpty());
  system.AdvanceTime(6000);
  EXPECT_THAT(fired, ElementsAre(std::pair<std::int64_t, int>{100, 1}, std::pair<std::int64_t, int>{3000, 2},
                                 std::pair<std::int64_t, int>{6000, 2}));
  EXPECT_EQ(system.Now(), 6099);
  // Starting again restarts the interval from now.
  fired.clear();
  system.AdvanceTime(2000);
  child->StartTimer(2, 3000);
  system.AdvanceTime(2999);
  EXPECT_THAT(fired, IsEmpty());
  system.AdvanceTime(1);
  EXPECT_EQ(fired.size(), 1u);
  EXPECT_THAT(system.Find(*child)->Timers(), ElementsAre(std::pair<const int, int>{2, 3000}));
  child.reset();
  system.AdvanceTime(10000);  // a destroyed window's timers are gone
  EXPECT_EQ(fired.size(), 1u);
}

TEST(MemoryWindows, ModalLoopRunsTheScriptUntilDone) {
  TMemoryWindowSystem system;
  TRecorder editor, dialogHandler;
  auto child = system.CreateChild(kParent, 656, 396, editor);
  auto dialog = system.CreateDialog(*child, {300, 200, 500, 300}, "Delete Preset", dialogHandler);
  bool closed = false;
  dialogHandler.OnEvent = [&](TWindow&, const TEvent& e) {
    if (e.Kind == TEventKind::MouseDown) closed = true;
  };
  EXPECT_FALSE(system.Find(*dialog)->Visible());
  dialog->Show();
  int steps = 0;
  system.QueueModalAction([&] { ++steps; });
  system.QueueModalAction([&] {
    ++steps;
    EXPECT_EQ(system.ModalDepth(), 1);
    TMemoryWindow* shown = system.FindDialog("Delete Preset");
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Owner(), child.get());
    EXPECT_EQ(shown->ScreenBounds(), (gfx::TRect{300, 200, 500, 300}));
    system.Click(*shown, 20, 30);
  });
  system.QueueModalAction([&] { ++steps; });
  system.RunModal([&] { return closed; });
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(system.PendingModalActions(), 1u);
  EXPECT_EQ(system.ModalDepth(), 0);
}

TEST(MemoryWindows, AStuckModalLoopThrowsAndNamesTheShownWindows) {
  TMemoryWindowSystem system;
  TRecorder editor, dialogHandler;
  auto child = system.CreateChild(kParent, 656, 396, editor);
  auto dialog = system.CreateDialog(*child, {10, 20, 110, 70}, "Init", dialogHandler);
  dialog->Show();
  system.QueueModalAction([] {});
  try {
    system.RunModal([] { return false; });
    FAIL() << "RunModal returned";
  } catch (const std::logic_error& e) {
    EXPECT_THAT(e.what(), HasSubstr("modal loop stuck"));
    EXPECT_THAT(e.what(), HasSubstr("dialog \"Init\" at (10, 20) 100x50"));
  }
  EXPECT_EQ(system.ModalDepth(), 0);
}

// The editor closes under its questions: every loop on the stack unwinds, and a question asked
// while they unwind ends at once (with nothing queued for it, a stuck loop would throw).
TEST(MemoryWindows, EndingTheModalLoopsUnwindsEveryNestedOneAndLaterOnesEndAtOnce) {
  TMemoryWindowSystem system;
  std::vector<int> unwound;
  system.QueueModalAction([&] {
    system.QueueModalAction([&] {
      system.QueueModalAction([] { ADD_FAILURE() << "a loop went on after the end"; });
      system.EndModalLoops();
    });
    system.RunModal([] { return false; });
    unwound.push_back(2);
    system.RunModal([] { return false; });
    unwound.push_back(3);
  });
  EXPECT_FALSE(system.ModalLoopsEnded());
  system.RunModal([] { return false; });
  unwound.push_back(1);
  EXPECT_THAT(unwound, ElementsAre(2, 3, 1));
  EXPECT_TRUE(system.ModalLoopsEnded());
  EXPECT_EQ(system.ModalDepth(), 0);
  EXPECT_EQ(system.PendingModalActions(), 1u);
}

// Input reaches a handler from outside, as the host's loop brings it on Win32: the guard is held
// while the handler runs and let go once it has returned, even when the handler destroys its
// own window.
TEST(MemoryWindows, HandlersHoldTheEntryGuardUntilTheyHaveReturned) {
  TMemoryWindowSystem system;
  TRecorder editor;
  auto child = system.CreateChild(kParent, 100, 100, editor);
  std::weak_ptr<void> held;
  int entries = 0;
  system.SetEntryGuard([&] {
    ++entries;
    auto token = std::make_shared<int>(0);
    held = token;
    return std::shared_ptr<void>(token);
  });
  std::vector<bool> heldInside;
  editor.OnEvent = [&](TWindow&, const TEvent& e) {
    heldInside.push_back(!held.expired());
    if (e.Kind == TEventKind::MouseUp) child.reset();
  };
  system.Click(*child, 5, 5);
  EXPECT_THAT(heldInside, ElementsAre(true, true));
  EXPECT_EQ(entries, 2);
  EXPECT_TRUE(held.expired());
  EXPECT_EQ(child, nullptr);
}

TEST(MemoryWindows, APressOutsideAShownPopupBecomesItsCloseRequest) {
  TMemoryWindowSystem system;
  system.SetParentOrigin({100, 100});
  TRecorder editor, menu;
  auto child = system.CreateChild(kParent, 656, 396, editor);
  auto popup = system.CreatePopup(*child, {200, 150, 300, 250}, menu);
  EXPECT_EQ(system.ActivePopup(), nullptr);  // hidden until shown
  popup->Show();
  EXPECT_EQ(system.ActivePopup(), system.Find(*popup));

  system.Click(*popup, 5, 6);  // inside: the popup's own press
  EXPECT_THAT(menu.Kinds(), ElementsAre(TEventKind::MouseDown, TEventKind::MouseUp));

  menu.Events.clear();
  system.MouseDown(*child, 10, 20, TMouseButton::Right, ssCtrl);  // outside, on the editor
  ASSERT_THAT(menu.Kinds(), ElementsAre(TEventKind::CloseRequest));
  EXPECT_EQ(menu.Events[0].X, 100 + 10 - 200);
  EXPECT_EQ(menu.Events[0].Y, 100 + 20 - 150);
  EXPECT_EQ(menu.Events[0].Button, TMouseButton::Right);
  EXPECT_EQ(menu.Events[0].Shift, ssCtrl | ssRight);
  system.MouseUp(*child, 10, 20, TMouseButton::Right);
  EXPECT_THAT(editor.Events, IsEmpty());  // not replayed: the press went no further, nor its release

  // The owner replays it: the editor gets the press, the popup no longer watches.
  editor.Events.clear();
  menu.Events.clear();
  menu.OnEvent = [&](TWindow& w, const TEvent& e) {
    if (e.Kind != TEventKind::CloseRequest) return;
    system.ReplayPress();
    w.Hide();
  };
  system.MouseDown(*child, 30, 40);
  EXPECT_THAT(menu.Kinds(), ElementsAre(TEventKind::CloseRequest));
  ASSERT_THAT(editor.Kinds(), ElementsAre(TEventKind::MouseDown));
  EXPECT_EQ(editor.Events[0].X, 30);
  EXPECT_EQ(editor.Events[0].Y, 40);
  EXPECT_EQ(system.ActivePopup(), nullptr);
  EXPECT_THROW(system.ReplayPress(), std::logic_error);
}

TEST(MemoryWindows, FlushMouseInputDropsOnlyQueuedMouseEvents) {
  TMemoryWindowSystem system;
  TRecorder editor;
  auto child = system.CreateChild(kParent, 100, 100, editor);
  system.Post(*child, {.Kind = TEventKind::MouseDown, .X = 1, .Y = 2, .Button = TMouseButton::Left});
  system.Post(*child, {.Kind = TEventKind::KeyDown, .Key = kKeyEscape});
  system.Post(*child, {.Kind = TEventKind::MouseUp, .X = 1, .Y = 2, .Button = TMouseButton::Left});
  system.FlushMouseInput();
  EXPECT_THAT(editor.Events, IsEmpty());
  system.Pump();
  EXPECT_THAT(editor.Kinds(), ElementsAre(TEventKind::KeyDown));
}

TEST(MemoryWindows, FocusMovesBetweenWindowsOnTheNextPump) {
  TMemoryWindowSystem system;
  TRecorder editor, dialogHandler;
  auto child = system.CreateChild(kParent, 100, 100, editor);
  auto dialog = system.CreateDialog(*child, {0, 0, 50, 50}, "Name", dialogHandler);
  child->TakeFocus();
  dialog->Show();
  dialog->TakeFocus();
  system.Pump();
  EXPECT_THAT(editor.Kinds(), ElementsAre(TEventKind::FocusIn, TEventKind::FocusOut));
  EXPECT_THAT(dialogHandler.Kinds(), ElementsAre(TEventKind::FocusIn));
  EXPECT_EQ(system.FocusedWindow(), system.Find(*dialog));
}

TEST(MemoryWindows, ClipboardIsSharedBetweenSystemsAndHoldsOneThingAtATime) {
  auto clipboard = std::make_shared<TMemoryClipboard>();
  TMemoryWindowSystem first(clipboard), second(clipboard);
  const std::vector<std::uint8_t> steps{1, 2, 3, 0, 255};
  EXPECT_FALSE(second.HasClipboard("VornixStepData"));
  first.SetClipboard("VornixStepData", steps);
  EXPECT_TRUE(second.HasClipboard("VornixStepData"));
  EXPECT_EQ(second.GetClipboard("VornixStepData"), steps);
  EXPECT_EQ(second.GetClipboard("Other"), std::nullopt);
  EXPECT_EQ(second.GetClipboardText(), std::nullopt);
  second.SetClipboardText("12.5");
  EXPECT_EQ(first.GetClipboardText(), "12.5");
  EXPECT_FALSE(first.HasClipboard("VornixStepData"));

  TMemoryWindowSystem alone;
  EXPECT_FALSE(alone.HasClipboard("VornixStepData"));
}

TEST(MemoryWindows, WindowsAreListedWithKindBoundsTitleAndVisibility) {
  TMemoryWindowSystem system;
  TRecorder handler;
  auto child = system.CreateChild(kParent, 656, 396, handler);
  auto popup = system.CreatePopup(*child, {10, 10, 60, 110}, handler);
  auto dialog = system.CreateDialog(*child, {0, 0, 0, 0}, "About", handler);
  auto windows = system.Windows();
  ASSERT_EQ(windows.size(), 3u);
  EXPECT_EQ(windows[0]->Kind(), TWindowKind::Child);
  EXPECT_TRUE(windows[0]->Visible());
  EXPECT_EQ(windows[0]->Parent(), kParent);
  EXPECT_EQ(windows[1]->Kind(), TWindowKind::Popup);
  EXPECT_EQ(windows[1]->Bounds(), (gfx::TRect{10, 10, 60, 110}));
  EXPECT_FALSE(windows[1]->Visible());
  EXPECT_EQ(windows[2]->Kind(), TWindowKind::Dialog);
  EXPECT_EQ(windows[2]->Title(), "About");
  EXPECT_EQ(windows[2]->Bounds(), (gfx::TRect{0, 0, 1, 1}));  // never zero
  popup->SetCursor(TCursor::SizeNS);
  EXPECT_EQ(windows[1]->Cursor(), TCursor::SizeNS);
  popup.reset();
  EXPECT_EQ(system.Windows().size(), 2u);
  EXPECT_THROW(system.CreateChild(0, 10, 10, handler), std::runtime_error);
}

TEST(MemoryWindows, AWindowOutlivingItsSystemIsHarmless) {
  std::unique_ptr<TWindow> child;
  TRecorder handler;
  {
    TMemoryWindowSystem system;
    child = system.CreateChild(kParent, 10, 10, handler);
    child->StartTimer(1, 100);
  }
  child->Present({0, 0, 10, 10});
  child->Show();
  child->TakeFocus();
  child.reset();
}

}  // namespace
}  // namespace vornix::platform
