// Vornix.clap's editor inside a CLAP host's Win32 window (the test command runs it under Wine with
// Xvfb as the display): embedded at its size, idled from the host's timer or, without one, from a
// thread timer that the host's message loop dispatches; a click reaches the host as a gesture; a
// hundred openings leave nothing behind.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "../platform/TempEnvironment.h"
#include "../platform/Win32Input.h"
#include "ClapTestHost.h"

namespace vornix::claptest {
namespace {

using namespace clap;
using win32test::ChildrenOf;
using win32test::CountWindow;

LRESULT CALLBACK FrameProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::size_t ThreadWindowCount() {
  std::size_t count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

class ClapEditorWin32 : public ::testing::TestWithParam<TOptions> {
 protected:
  void SetUp() override {
    static const ATOM frameClass = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &FrameProcedure;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
      wc.lpszClassName = L"VornixClapTestFrame";
      return RegisterClassExW(&wc);
    }();
    host = std::make_unique<TClapHost>(VORNIX_CLAP_PATH, GetParam());
    ASSERT_NE(host->Create(), nullptr);
    gui = host->Extension<clap_plugin_gui>(CLAP_EXT_GUI);
    ASSERT_NE(gui, nullptr);
    frame = CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(frameClass)), L"Host",
                            WS_POPUP | WS_CLIPCHILDREN, 0, 0, 786, 421, nullptr, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
    ShowWindow(frame, SW_SHOW);
    SetForegroundWindow(frame);
  }
  void TearDown() override {
    host.reset();
    DestroyWindow(frame);
  }

  void Open() {
    ASSERT_TRUE(gui->is_api_supported(host->Plugin(), CLAP_WINDOW_API_WIN32, false));
    ASSERT_TRUE(gui->create(host->Plugin(), CLAP_WINDOW_API_WIN32, false));
    std::uint32_t w = 0, h = 0;
    ASSERT_TRUE(gui->get_size(host->Plugin(), &w, &h));
    clap_window window{};
    window.api = CLAP_WINDOW_API_WIN32;
    window.win32 = frame;
    ASSERT_TRUE(gui->set_parent(host->Plugin(), &window));
    ASSERT_TRUE(gui->show(host->Plugin()));
  }
  void Close() {
    gui->hide(host->Plugin());
    gui->destroy(host->Plugin());
  }
  // One turn of the host's loop: its messages (the editor's, and a thread timer's), then its timers.
  void Turn() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    host->RunTimers();
  }

  platform::test::TTempFolder home;
  platform::test::TScopedUserFolders user{home.Path(), home.Path() / "config"};
  HWND frame = nullptr;
  std::unique_ptr<TClapHost> host;
  const clap_plugin_gui* gui = nullptr;
};

TEST_P(ClapEditorWin32, OpensInTheHostsWindowIdlesFromItsLoopAndClosesWithoutATrace) {
  const std::size_t windows = ThreadWindowCount();
  Open();
  EXPECT_EQ(host->timers.size(), GetParam().timers ? 1u : 0u);
  const auto children = ChildrenOf(frame);
  ASSERT_EQ(children.size(), 1u);
  EXPECT_TRUE(GetWindowLongW(children[0], GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(children[0]));
  RECT r{};
  GetClientRect(children[0], &r);
  EXPECT_EQ(r.right, 786);
  EXPECT_EQ(r.bottom, 421);

  // A click on the Active switch while the host runs its loop: the host hears the edit as a
  // gesture, through the flush the plug-in asks for; the release ends it at an idle call.
  std::atomic<bool> done{false};
  std::thread clicking([&] {
    win32test::MoveTo(52, 65);
    win32test::Button(1, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    win32test::Button(1, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    done = true;
  });
  while (!done) {
    Turn();
    Sleep(5);
  }
  clicking.join();
  // A busy machine may deliver the synthesised input late: the host's loop goes on until the
  // plug-in asks for its flush (a few seconds at most).
  for (int i = 0; i < 10 || (host->flushRequests == 0 && i < 200); ++i) {
    Sleep(25);
    Turn();
  }
  EXPECT_GT(host->flushRequests, 0);
  TOutput out;
  host->Flush({}, out);
  std::vector<std::string> heard;
  for (std::size_t i = 0; i < out.Size(); ++i) {
    const std::uint16_t type = out.Header(i).type;
    heard.push_back(type == CLAP_EVENT_PARAM_GESTURE_BEGIN ? "begin"
                    : type == CLAP_EVENT_PARAM_GESTURE_END ? "end"
                    : type == CLAP_EVENT_PARAM_VALUE        ? "value " + std::to_string(out.As<clap_event_param_value>(i).value)
                                                            : "other");
  }
  EXPECT_THAT(heard, ::testing::ElementsAre("begin", "value 0.000000", "end")) << "Seq1 Active switched off";

  Close();
  EXPECT_TRUE(ChildrenOf(frame).empty());
  EXPECT_TRUE(host->timers.empty());
  EXPECT_EQ(ThreadWindowCount(), windows);
}

TEST_P(ClapEditorWin32, OpeningAndClosingAHundredTimesLeavesNothing) {
  for (int i = 0; i < 3; ++i) {  // fonts, skins and images are made once per process
    Open();
    Turn();
    Close();
  }
  const std::size_t windows = ThreadWindowCount();
  DWORD handles = 0, handlesAfter = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  for (int i = 0; i < 100; ++i) {
    Open();
    Turn();
    Close();
  }
  Turn();
  EXPECT_TRUE(ChildrenOf(frame).empty());
  EXPECT_TRUE(host->timers.empty());
  EXPECT_EQ(host->timersRegistered, GetParam().timers ? 103 : 0);
  EXPECT_EQ(ThreadWindowCount(), windows);
  GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
  EXPECT_LE(handlesAfter, handles + 8);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi + 8);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user + 8);
}

INSTANTIATE_TEST_SUITE_P(Idle, ClapEditorWin32,
                         ::testing::Values(TOptions{.timers = true, .fds = false}, TOptions{.timers = false, .fds = false}),
                         [](const auto& info) { return info.param.timers ? "FromTheHostsTimer" : "FromAThreadTimer"; });

}  // namespace
}  // namespace vornix::claptest
