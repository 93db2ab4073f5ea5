// The X11 windows when their X server goes away: the system turns into a dead one whose every call
// returns, and the process lives on. Each test runs an X server of its own (Xvfb) and ends it.
//
// A connection of the process that finds its server gone calls Xlib's process-wide I/O error
// handler, whose default exits: the tests hold no connection of their own when the server goes
// (the host's window stays, RetainedFrame.h).
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "EventRecorder.h"
#include "TempEnvironment.h"
#include "XvfbServer.h"
#include "platform/Window.h"

#include "RetainedFrame.h"  // last

namespace vornix::platform {
namespace {

using test::MakeRetainedFrame;
using test::TScopedEnv;
using test::TXvfbServer;

// Every call of a dead system and its windows returns; no window can be made.
void ExpectDead(TWindowSystem& system, TWindow& child, std::uintptr_t frame) {
  TRecorder other;
  system.Pump();
  system.RunModal([] { return false; });
  system.FlushMouseInput();
  (void)system.PointerPosition();
  (void)system.ModifierState();
  (void)system.ScreenBounds();
  system.ReplayPress();
  EXPECT_THROW(system.CreateChild(frame, 10, 10, other), std::runtime_error);
  EXPECT_THROW(system.CreatePopup(child, {0, 0, 10, 10}, other), std::runtime_error);
  EXPECT_THROW(system.CreateDialog(child, {0, 0, 10, 10}, "Gone", other), std::runtime_error);
  system.SetClipboard("VornixStepData", {1, 2, 3});
  EXPECT_FALSE(system.HasClipboard("VornixStepData"));
  EXPECT_EQ(system.GetClipboard("VornixStepData"), std::nullopt);
  system.SetClipboardText("gone");
  EXPECT_EQ(system.GetClipboardText(), std::nullopt);
  child.Present({0, 0, 10, 10});
  child.SetBounds({0, 0, 20, 20});
  child.Hide();
  child.Show();
  child.SetTitle("gone");
  child.SetCursor(TCursor::IBeam);
  child.TakeFocus();
  (void)child.ClientToScreen({1, 1});
  child.StartTimer(2, 5);
  child.StopTimer(2);
  system.Pump();
}

// The usual case: the server goes between two turns of the editor (here, while a modal loop waits
// for it, with a menu open that holds the pointer grab). The process keeps Xlib's default handler.
TEST(X11ServerLoss, TheServerGoingEndsAWaitingModalLoopAndLeavesADeadSystem) {
  TXvfbServer server;
  const TScopedEnv display("DISPLAY", server.Name());
  const ::Window frame = MakeRetainedFrame(server.Name(), 400, 300);
  ASSERT_NE(frame, 0u);
  auto system = CreateNativeWindowSystem();
  TRecorder editor, menu;
  auto child = system->CreateChild(frame, 300, 200, editor);
  auto popup = system->CreatePopup(*child, {10, 10, 60, 60}, menu);
  popup->Show();
  int turns = 0;
  editor.OnEvent = [&](TWindow&, const TEvent& e) {
    if (e.Kind == TEventKind::Timer && ++turns == 2) server.Stop();
  };
  child->StartTimer(1, 10);
  system->RunModal([] { return false; });  // returns only because the server went
  EXPECT_FALSE(server.Running());

  ExpectDead(*system, *child, frame);
  popup.reset();
  child.reset();
  system.reset();
}

// Whether the thread sleeps in the kernel, as one waiting for the server's answer does.
bool Sleeping(pid_t thread) {
  std::ifstream stat("/proc/self/task/" + std::to_string(thread) + "/stat");
  const std::string text{std::istreambuf_iterator<char>(stat), std::istreambuf_iterator<char>()};
  const auto name = text.rfind(')');
  return name != std::string::npos && name + 2 < text.size() && text[name + 2] == 'S';
}

int Returning(Display*) { return 0; }

// The server goes while a call of ours waits for its answer, so that Xlib finds out first and
// calls the process's I/O error handler: a host whose handler returns (Xlib's default one exits)
// keeps running, and our connection does not exit either.
TEST(X11ServerLoss, TheServerGoingWhileACallWaitsForItLeavesADeadSystemWhenTheHostsHandlerReturns) {
  TXvfbServer server;
  const TScopedEnv display("DISPLAY", server.Name());
  struct TRestore {
    XIOErrorHandler previous = XSetIOErrorHandler(Returning);
    ~TRestore() { XSetIOErrorHandler(previous); }
  } restore;
  const ::Window frame = MakeRetainedFrame(server.Name(), 400, 300);
  ASSERT_NE(frame, 0u);
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  auto child = system->CreateChild(frame, 300, 200, editor);
  system->Pump();

  server.Pause();
  const pid_t caller = gettid();
  std::atomic<bool> calling{false};
  std::thread end([&] {
    while (!calling || !Sleeping(caller)) std::this_thread::yield();
    server.Stop();
  });
  calling = true;
  system->FlushMouseInput();  // waits for the server's answer (a round trip)
  end.join();

  ExpectDead(*system, *child, frame);
  child.reset();
  system.reset();
}

}  // namespace
}  // namespace vornix::platform
