// Vornix.clap's editor inside a CLAP host's X11 window (the test command runs Xvfb): embedded at its
// size, idled from the host's timer or, without timers, from a descriptor in the host's loop; a
// click in it reaches the host as a gesture; a hundred openings leave nothing behind.
#include <dirent.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "../platform/TempEnvironment.h"
#include "ClapTestHost.h"

// Last: Xlib's macros clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace vornix::claptest {
namespace {

using namespace clap;

int hostErrors = 0;
int CountError(Display*, XErrorEvent*) {
  ++hostErrors;
  return 0;
}

int OpenFileDescriptors() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d) != nullptr) ++n;
    closedir(d);
  }
  return n;
}

long AllocatedBytes() {
#if defined(__SANITIZE_ADDRESS__)
  return static_cast<long>(__sanitizer_get_current_allocated_bytes());
#else
  return static_cast<long>(mallinfo2().uordblks);
#endif
}

class ClapEditorX11 : public ::testing::TestWithParam<TOptions> {
 protected:
  void SetUp() override {
    if (std::getenv("DISPLAY") == nullptr) {
      if (std::getenv("VORNIX_HEADLESS") != nullptr) GTEST_SKIP() << "deliberately without an X server";
      FAIL() << "no DISPLAY: run under an X server (the test command uses xvfb-run)";
    }
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XSetErrorHandler(&CountError);
    hostErrors = 0;
    host = std::make_unique<TClapHost>(VORNIX_CLAP_PATH, GetParam());
    ASSERT_NE(host->Create(), nullptr);
    gui = host->Extension<clap_plugin_gui>(CLAP_EXT_GUI);
    ASSERT_NE(gui, nullptr);
    frame = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 786, 421, 0, 0, 0);
    XMapWindow(display, frame);
    XSync(display, False);
  }
  void TearDown() override {
    host.reset();
    if (display != nullptr) {
      XDestroyWindow(display, frame);
      XSync(display, False);
      XCloseDisplay(display);
    }
    EXPECT_EQ(hostErrors, 0);
  }

  // The host's embedding: create, size, parent, show.
  void Open() {
    ASSERT_TRUE(gui->is_api_supported(host->Plugin(), CLAP_WINDOW_API_X11, false));
    ASSERT_TRUE(gui->create(host->Plugin(), CLAP_WINDOW_API_X11, false));
    std::uint32_t w = 0, h = 0;
    ASSERT_TRUE(gui->get_size(host->Plugin(), &w, &h));
    clap_window window{};
    window.api = CLAP_WINDOW_API_X11;
    window.x11 = frame;
    ASSERT_TRUE(gui->set_parent(host->Plugin(), &window));
    ASSERT_TRUE(gui->show(host->Plugin()));
  }
  void Close() {
    gui->hide(host->Plugin());
    gui->destroy(host->Plugin());
  }
  // One turn of the host's loop: its timers or its descriptors, as it offers them.
  void Turn() {
    host->RunTimers();
    host->RunFds();
  }
  std::vector<Window> Children() {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    XSync(display, False);
    XQueryTree(display, frame, &root, &parent, &children, &count);
    std::vector<Window> list(children, children + count);
    if (children != nullptr) XFree(children);
    return list;
  }

  platform::test::TTempFolder home;
  platform::test::TScopedUserFolders user{home.Path(), home.Path() / "config"};
  Display* display = nullptr;
  Window frame = 0;
  std::unique_ptr<TClapHost> host;
  const clap_plugin_gui* gui = nullptr;
};

TEST_P(ClapEditorX11, OpensInTheHostsWindowIdlesFromItsLoopAndClosesWithoutATrace) {
  const int descriptors = OpenFileDescriptors();
  Open();
  if (GetParam().timers) {
    ASSERT_EQ(host->timers.size(), 1u);
    EXPECT_EQ(host->timers.begin()->second, 20u);
    EXPECT_TRUE(host->fds.empty());
  } else {
    ASSERT_EQ(host->fds.size(), 1u) << "a timer descriptor in the host's loop";
    EXPECT_EQ(host->fds.begin()->second, CLAP_POSIX_FD_READ);
  }
  const auto children = Children();
  ASSERT_EQ(children.size(), 1u);
  XWindowAttributes a{};
  XGetWindowAttributes(display, children[0], &a);
  EXPECT_EQ(a.width, 786);
  EXPECT_EQ(a.height, 421);
  EXPECT_EQ(a.map_state, IsViewable);

  // A click on the Active switch while the host runs its loop: the host hears the edit as a
  // gesture, through the flush the plug-in asks for.
  Display* userDisplay = XOpenDisplay(nullptr);
  ASSERT_NE(userDisplay, nullptr);
  std::atomic<bool> done{false};
  std::thread clicking([&] {
    XTestFakeMotionEvent(userDisplay, -1, 52, 65, CurrentTime);
    XTestFakeButtonEvent(userDisplay, 1, True, CurrentTime);
    XSync(userDisplay, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    XTestFakeButtonEvent(userDisplay, 1, False, CurrentTime);
    XSync(userDisplay, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    done = true;
  });
  while (!done) {
    Turn();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  clicking.join();
  XCloseDisplay(userDisplay);
  // A busy machine may deliver the synthesised input late: the host's loop goes on until the
  // plug-in asks for its flush (a few seconds at most).
  for (int i = 0; i < 10 || (host->flushRequests == 0 && i < 200); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
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
                    : type == CLAP_EVENT_PARAM_VALUE
                        ? "value " + std::to_string(out.As<clap_event_param_value>(i).value)
                        : "other");
  }
  EXPECT_THAT(heard, ::testing::ElementsAre("begin", "value 0.000000", "end")) << "Seq1 Active switched off";

  Close();
  EXPECT_TRUE(Children().empty());
  EXPECT_TRUE(host->timers.empty());
  EXPECT_TRUE(host->fds.empty());
  EXPECT_EQ(OpenFileDescriptors(), descriptors) << "the editor's connection and timer are closed";
}

TEST_P(ClapEditorX11, OpeningAndClosingAHundredTimesLeavesNothing) {
  for (int i = 0; i < 3; ++i) {  // fonts, skins and images are made once per process
    Open();
    Turn();
    Close();
  }
  const int descriptors = OpenFileDescriptors();
  const long bytes = AllocatedBytes();
  for (int i = 0; i < 100; ++i) {
    Open();
    Turn();
    Close();
  }
  EXPECT_TRUE(Children().empty());
  EXPECT_TRUE(host->timers.empty());
  EXPECT_TRUE(host->fds.empty());
  EXPECT_EQ(host->timersRegistered + host->fdsRegistered, 103);
  EXPECT_EQ(OpenFileDescriptors(), descriptors);
  // An editor holds well over a megabyte (its pixels alone are 1.3 MB): a leak of one shows.
  EXPECT_LT(AllocatedBytes() - bytes, 512 * 1024);
}

INSTANTIATE_TEST_SUITE_P(Idle, ClapEditorX11,
                         ::testing::Values(TOptions{.timers = true, .fds = true},
                                           TOptions{.timers = false, .fds = true}),
                         [](const auto& info) { return info.param.timers ? "FromTheHostsTimer" : "FromADescriptor"; });

}  // namespace
}  // namespace vornix::claptest
