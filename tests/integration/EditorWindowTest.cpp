// The built plug-in's editor inside a host's window on a real X server (the test command runs
// Xvfb), as a Linux host opens it: the host asks the size, makes its frame, opens the editor with
// the frame's window id, calls effEditIdle, and closes. The host's error handler counts every X
// error; a host whose default handler exits would die of one.
#include <dirent.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "PluginFixture.h"

// Last: Xlib defines macros (None, Bool, Status) that clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vornix::testing {
namespace {

using namespace vst;

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

class EditorWindow : public PluginTest {
 protected:
  void SetUp() override {
    if (std::getenv("DISPLAY") == nullptr) {
      if (std::getenv("VORNIX_HEADLESS") != nullptr) GTEST_SKIP() << "deliberately without an X server";
      FAIL() << "no DISPLAY: run under an X server (the test command uses xvfb-run)";
    }
    PluginTest::SetUp();
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XSetErrorHandler(&CountError);
    hostErrors = 0;
  }
  void TearDown() override {
    if (display != nullptr) {
      if (frame != 0) XDestroyWindow(display, frame);
      XSync(display, False);
      XCloseDisplay(display);
    }
  }

  // The host's frame, sized as the plug-in asked.
  Window MakeFrame() {
    ERect* rect = nullptr;
    EXPECT_EQ(host->Dispatch(effEditGetRect, 0, 0, &rect), 1);
    frame = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(rect->right),
                                static_cast<unsigned>(rect->bottom), 0, 0, 0);
    XMapWindow(display, frame);
    XSync(display, False);
    return frame;
  }
  std::vector<Window> ChildrenOf(Window w) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    XSync(display, False);
    XQueryTree(display, w, &root, &parent, &children, &count);
    std::vector<Window> list(children, children + count);
    if (children != nullptr) XFree(children);
    return list;
  }
  void* Handle(Window w) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(w)); }

  Display* display = nullptr;
  Window frame = 0;
};

TEST_F(EditorWindow, OpensInsideTheHostsFrameAtItsSizeAndClosesWithoutATrace) {
  const Window parent = MakeFrame();
  const int descriptors = OpenFileDescriptors();
  ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, Handle(parent)), 1);
  host->Dispatch(effEditIdle);
  const auto children = ChildrenOf(parent);
  ASSERT_EQ(children.size(), 1u);
  XWindowAttributes a{};
  XGetWindowAttributes(display, children[0], &a);
  EXPECT_EQ(a.width, 786);
  EXPECT_EQ(a.height, 421);
  EXPECT_EQ(a.x, 0);
  EXPECT_EQ(a.y, 0);
  EXPECT_EQ(a.map_state, IsViewable);
  host->Dispatch(effEditClose);
  EXPECT_TRUE(ChildrenOf(parent).empty());
  EXPECT_EQ(OpenFileDescriptors(), descriptors) << "the editor's connection stays open";
  EXPECT_EQ(hostErrors, 0);
}

TEST_F(EditorWindow, OpeningAndClosingAHundredTimesLeavesNothing) {
  const Window parent = MakeFrame();
  ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, Handle(parent)), 1);
  host->Dispatch(effEditClose);
  const int descriptors = OpenFileDescriptors();
  for (int i = 0; i < 100; ++i) {
    ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, Handle(parent)), 1);
    host->Dispatch(effEditIdle);
    host->Dispatch(effEditClose);
  }
  EXPECT_TRUE(ChildrenOf(parent).empty());
  EXPECT_EQ(OpenFileDescriptors(), descriptors);
  EXPECT_EQ(hostErrors, 0);
}

// The real editor, not a blank window: the tiled background shows around the main panel, and a
// tenth of a second after opening (the host keeps calling effEditIdle) it takes the keyboard focus.
TEST_F(EditorWindow, ShowsTheEditorAndTakesTheFocusWhileTheHostIdles) {
  const Window parent = MakeFrame();
  ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, Handle(parent)), 1);
  const auto children = ChildrenOf(parent);
  ASSERT_EQ(children.size(), 1u);
  Window focus = 0;
  int revert = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  do {
    host->Dispatch(effEditIdle);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    XGetInputFocus(display, &focus, &revert);
  } while (focus != children[0] && std::chrono::steady_clock::now() < deadline);
  EXPECT_EQ(focus, children[0]);

  XImage* image = XGetImage(display, children[0], 0, 0, 786, 421, AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  // The corner shows the background, the middle the step grid's area: two different colours, and
  // neither is the blank window's single colour all over.
  EXPECT_NE(XGetPixel(image, 1, 1), XGetPixel(image, 400, 200));
  XDestroyImage(image);
  host->Dispatch(effEditClose);
  EXPECT_EQ(hostErrors, 0);
}

// Hosts differ in what they tear down first; none of it may cost them an X error.
TEST_F(EditorWindow, ClosingThePluginOrLosingTheFrameWithTheEditorOpenIsSafe) {
  ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, Handle(MakeFrame())), 1);
  EXPECT_EQ(host->Close(), 1);
  EXPECT_TRUE(ChildrenOf(frame).empty());

  ASSERT_NE(host->Create(), nullptr);
  host->Dispatch(effOpen);
  ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, Handle(frame)), 1);
  XDestroyWindow(display, frame);
  XSync(display, False);
  frame = 0;
  host->Dispatch(effEditIdle);
  host->Dispatch(effEditClose);
  EXPECT_EQ(hostErrors, 0);
  // A frame that does not exist gives no editor.
  EXPECT_EQ(host->Dispatch(effEditOpen, 0, 0, Handle(0x7fffff0)), 0);
  EXPECT_EQ(hostErrors, 0);
}

}  // namespace
}  // namespace vornix::testing
