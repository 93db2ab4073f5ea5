// The built plug-in's editor inside a host's window on a real X server (the test command runs
// Xvfb), as a Linux host opens it: the host asks the size, makes its frame, opens the editor with
// the frame's window id, calls effEditIdle, and closes. The host's error handler counts every X
// error; a host whose default handler exits would die of one. The plug-in drops every error on its
// own connection; with VORNIX_X11_TRACE_ERRORS=1 it names each on stderr, which the test reads: none
// may be one that its code did not expect.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "EditorTransport.h"
#include "PluginFixture.h"
#include "XUser.h"

// Last: Xlib defines macros (None, Bool, Status) that clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace vornix::testing {
namespace {

using namespace vst;

// Errors on the host's own connection, or on the plug-in's: the user's connection (TUser) may give
// the focus to a window that is not shown yet, which is its own affair.
int hostErrors = 0;
int CountError(Display* d, XErrorEvent*) {
  if (d != TUser::Connection()) ++hostErrors;
  return 0;
}

long AllocatedBytes() {
#if defined(__SANITIZE_ADDRESS__)
  return static_cast<long>(__sanitizer_get_current_allocated_bytes());
#else
  return static_cast<long>(mallinfo2().uordblks);
#endif
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
    CaptureStderr();
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
    ReleaseStderr();
  }

  // No X error reached the host's handler, and the plug-in dropped none that it did not expect.
  void ExpectNoXErrors() {
    EXPECT_EQ(hostErrors, 0);
    EXPECT_EQ(UnexpectedPluginErrors(), 0u) << Captured();
  }
  // The X errors the plug-in named as dropped without expecting them.
  std::size_t UnexpectedPluginErrors() const {
    const std::string said = Captured();
    std::size_t count = 0;
    for (std::size_t at = said.find(kUnexpected); at != std::string::npos; at = said.find(kUnexpected, at + 1)) ++count;
    return count;
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

  void SetTimeAndStepped() { testing::SetTimeAndStepped(*host); }
  std::vector<int> FirstValues(int count) { return testing::FirstValues(*host, count); }

  Display* display = nullptr;
  Window frame = 0;

 private:
  static constexpr const char* kUnexpected = "vornix: unexpected X error";
  void CaptureStderr() {
    std::fflush(stderr);
    savedStderr_ = dup(2);
    const int file = open(stderrFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    dup2(file, 2);
    close(file);
  }
  void ReleaseStderr() {
    if (savedStderr_ < 0) return;
    std::fflush(stderr);
    dup2(savedStderr_, 2);
    close(savedStderr_);
    savedStderr_ = -1;
    std::fputs(Captured().c_str(), stderr);  // nothing said is lost
  }
  std::string Captured() const {
    std::ifstream in(stderrFile_);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  platform::test::TScopedEnv trace_{"VORNIX_X11_TRACE_ERRORS", "1"};
  std::filesystem::path stderrFile_ = home.Path() / "stderr.txt";
  int savedStderr_ = -1;
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
  ExpectNoXErrors();
}

TEST_F(EditorWindow, OpeningAndClosingAHundredTimesLeavesNothing) {
  const Window parent = MakeFrame();
  for (int i = 0; i < 3; ++i) {  // fonts, skins and images are made once per process
    ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, Handle(parent)), 1);
    host->Dispatch(effEditIdle);
    host->Dispatch(effEditClose);
  }
  const int descriptors = OpenFileDescriptors();
  const long bytes = AllocatedBytes();
  for (int i = 0; i < 100; ++i) {
    ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, Handle(parent)), 1);
    host->Dispatch(effEditIdle);
    host->Dispatch(effEditClose);
  }
  EXPECT_TRUE(ChildrenOf(parent).empty());
  EXPECT_EQ(OpenFileDescriptors(), descriptors);
  // An editor holds well over a megabyte (its pixels alone are 1.3 MB): a leak of one shows.
  EXPECT_LT(AllocatedBytes() - bytes, 512 * 1024);
  ExpectNoXErrors();
}

// Runs the host's side (effEditIdle every few milliseconds) until the user's actions are done.
void IdleWhile(hostkit::PluginHost& host, const std::function<void()>& user) {
  std::atomic<bool> done{false};
  std::thread acting([&] {
    user();
    done = true;
  });
  while (!done) {
    host.Dispatch(effEditIdle);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  acting.join();
  for (int i = 0; i < 5; ++i) host.Dispatch(effEditIdle);
}

// Clicks and drags on the real screen reach the controls: a sequence button shows another
// sequence (the host hears of it), and a press at the top of the first step column sets that
// step, which the next processed block plays.
TEST_F(EditorWindow, ClicksAndDragsReachTheControls) {
  const Window parent = MakeFrame();
  ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, Handle(parent)), 1);
  SetTimeAndStepped();
  TUser user;
  host->requests.clear();
  IdleWhile(*host, [&] { user.Click(21, 147); });  // sequence button 3: main panel (3, 45) + (6, 90) + half
  EXPECT_GE(host->CountRequests(audioMasterAutomate), 1u) << "selecting a sequence is a change of the state";
  IdleWhile(*host, [&] { user.Click(21, 95); });  // and back to sequence 1

  // The grid lies at (40, 83); its bar area starts one pixel down and is 254 pixels high. A press at
  // the top of column 1 gives step 1 the value 126; the drag (a human's takes many idle calls) gives
  // step 2 the value of its height, and leaving the bar area below gives step 3 the minimum.
  IdleWhile(*host, [&] {
    const auto pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(40)); };
    user.Press(50, 84);
    pause();
    user.MoveTo(72, 200);
    pause();
    user.MoveTo(95, 400);
    pause();
    user.Release();
  });
  EXPECT_EQ(FirstValues(3), (std::vector<int>{126, 68, 0}));
  host->Dispatch(effEditClose);
  ExpectNoXErrors();
}

// Init asks first: the menu opens in a popup, its item "Init" asks in a modal dialog, and Enter (the
// default button, Yes) puts the state back to its defaults.
TEST_F(EditorWindow, AModalQuestionRunsAndAnswers) {
  const Window parent = MakeFrame();
  ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, Handle(parent)), 1);
  effect().setParameter(&effect(), 18, 1.0f);  // Seq3 Active on; its default is off
  ASSERT_EQ(host->DispatchText(effGetParamDisplay, 18), "On");
  TUser user;
  bool asked = false;
  IdleWhile(*host, [&] {
    user.Click(19, 21);  // the main menu button
    const Window menu = user.WaitForTopLevel([](const XWindowAttributes& a) { return a.override_redirect != 0; });
    if (menu == 0) return;
    const XWindowAttributes m = user.Attributes(menu);
    user.Click(m.x + 30, m.y + 69);  // "Init", below Undo, Redo and a separator
    const Window dialog = user.WaitForTopLevel(
        [&](const XWindowAttributes& a) { return a.override_redirect == 0 && a.width < 700 && a.height < 400; });
    if (dialog == 0) return;
    asked = true;
    user.Key(XK_Return, dialog);
  });
  EXPECT_TRUE(asked) << "no question came up";
  EXPECT_EQ(host->DispatchText(effGetParamDisplay, 18), "Off");
  host->Dispatch(effEditClose);
  EXPECT_TRUE(ChildrenOf(parent).empty());
  ExpectNoXErrors();
}

// Zooming on a real X server, as a host that resizes its frame on audioMasterSizeWindow: the main
// menu's Zoom submenu, 200 %, asks the host for 1572 × 842, the frame and then the editor's window
// take that size, and the editor draws itself anew at it (the page at twice its pixels). A host that
// refuses keeps 1572 × 842 when the user then asks for 100 %.
TEST_F(EditorWindow, ZoomingAsksTheHostAndResizesTheEditorsWindow) {
  const Window parent = MakeFrame();
  bool takes = true;
  host->override = [&](const hostkit::HostRequest& request, void*) -> std::optional<VstIntPtr> {
    if (request.opcode != audioMasterSizeWindow) return std::nullopt;
    if (!takes) return 0;
    XResizeWindow(display, frame, static_cast<unsigned>(request.index), static_cast<unsigned>(request.value));
    XSync(display, False);
    return 1;
  };
  ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, Handle(parent)), 1);
  const auto children = ChildrenOf(parent);
  ASSERT_EQ(children.size(), 1u);
  const Window editor = children[0];
  const auto size = [&](Window w) {
    XSync(display, False);
    XWindowAttributes a{};
    XGetWindowAttributes(display, w, &a);
    return std::pair{a.width, a.height};
  };
  // The main menu's rows are 24 pixels high below its 5-pixel border at 100 %; "Zoom" is the 13th
  // (after Undo, Redo, Init, Load Preset, Save Preset, MIDI CC Teach, Learn, Set CC, Remove and
  // Skin, and five separators of 9), its submenu's rows start level with it.
  // `refused`: the editor then says so, and Enter closes the message.
  const auto chooseZoom = [&](int row, int zoom, bool refused) {
    TUser user;
    bool chosen = false;
    IdleWhile(*host, [&] {
      user.Click(zoom * 19 / 100, zoom * 21 / 100);  // the main menu button
      const auto popup = [](const XWindowAttributes& a) { return a.override_redirect != 0; };
      const Window menu = user.WaitForTopLevel(popup);
      if (menu == 0) return;
      const XWindowAttributes m = user.Attributes(menu);
      const int zoomRow = (5 + 10 * 24 + 5 * 9 + 12) * zoom / 100;
      user.MoveTo(m.x + 30, m.y + zoomRow);
      const Window submenu = user.WaitForTopLevel([&](const XWindowAttributes& a) { return popup(a) && a.x > m.x; });
      if (submenu == 0) return;
      const XWindowAttributes z = user.Attributes(submenu);
      user.MoveTo(z.x + 20, m.y + zoomRow);
      user.Click(z.x + 20, m.y + zoomRow + row * 24 * zoom / 100);
      chosen = !refused;
      if (!refused) return;
      const Window message = user.WaitForTopLevel(
          [](const XWindowAttributes& a) { return a.override_redirect == 0 && a.width < 1500 && a.height < 800; });
      if (message == 0) return;
      user.Key(XK_Return, message);
      chosen = true;
    });
    return chosen;
  };
  ASSERT_TRUE(chooseZoom(4, 100, false)) << "the menu did not open";
  host->Dispatch(effEditIdle);
  EXPECT_EQ(host->CountRequests(audioMasterSizeWindow), 1u);
  EXPECT_EQ(size(frame), std::pair(1572, 842));
  EXPECT_EQ(size(editor), std::pair(1572, 842));
  ERect* rect = nullptr;
  host->Dispatch(effEditGetRect, 0, 0, &rect);
  EXPECT_EQ(std::pair(static_cast<int>(rect->right), static_cast<int>(rect->bottom)), std::pair(1572, 842));
  // (What lies on the screen of the test's X server, 1280 × 1024.)
  XImage* image = XGetImage(display, editor, 0, 0, 400, 400, AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  // The grid's frame lies at (40, 83) of the design: at (80, 166) and (81, 167) now, and the grid's
  // inside starts two pixels further in.
  EXPECT_EQ(XGetPixel(image, 80, 300), XGetPixel(image, 81, 300));
  EXPECT_NE(XGetPixel(image, 80, 300), XGetPixel(image, 82, 300));
  XDestroyImage(image);

  takes = false;
  EXPECT_TRUE(chooseZoom(0, 200, true)) << "no message came up";
  EXPECT_EQ(host->CountRequests(audioMasterSizeWindow), 2u);
  EXPECT_EQ(size(editor), std::pair(1572, 842)) << "a host that refuses keeps the editor's size";
  host->Dispatch(effEditClose);
  ExpectNoXErrors();
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
  ExpectNoXErrors();
}

// The check of every test here can fail: a frame that cannot hold the editor (input only) makes an
// error the plug-in does not expect. It names it, and the host still sees none.
TEST_F(EditorWindow, AnErrorThePluginDidNotExpectIsNamed) {
  frame = XCreateWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, InputOnly, CopyFromParent, 0, nullptr);
  XSync(display, False);
  EXPECT_EQ(host->Dispatch(effEditOpen, 0, 0, Handle(frame)), 0);
  EXPECT_EQ(hostErrors, 0);
  EXPECT_GT(UnexpectedPluginErrors(), 0u);
}

// The editor uses no key on its page: with the keyboard it hands every key to the host's window
// that takes keys (the frame, or one around it, as toolkits embed plug-ins), naming that window as
// the toolkit expects, so Space still starts the host's transport; a key the host offers is answered
// "not used" too.
TEST_F(EditorWindow, KeysTheEditorDoesNotUseReachTheHostsWindow) {
  for (const bool outerTakesKeys : {false, true}) {
    SCOPED_TRACE(outerTakesKeys ? "a window around the frame takes keys" : "the frame takes keys");
    const Window outer = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 800, 440, 0, 0, 0);
    const Window frame = XCreateSimpleWindow(display, outer, 0, 0, 786, 421, 0, 0, 0);
    const Window taker = outerTakesKeys ? outer : frame;
    XSelectInput(display, taker, KeyPressMask | KeyReleaseMask);
    XMapWindow(display, frame);
    XMapWindow(display, outer);
    XSync(display, False);
    ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, Handle(frame)), 1);
    const auto children = ChildrenOf(frame);
    ASSERT_EQ(children.size(), 1u);
    TUser user;
    user.Key(XK_space, children[0]);
    std::vector<XKeyEvent> received;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (received.size() < 2 && std::chrono::steady_clock::now() < deadline) {
      host->Dispatch(effEditIdle);
      while (XPending(display) > 0) {
        XEvent e;
        XNextEvent(display, &e);
        if (e.type == KeyPress || e.type == KeyRelease) received.push_back(e.xkey);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].type, KeyPress);
    EXPECT_EQ(received[1].type, KeyRelease);
    EXPECT_EQ(XLookupKeysym(&received[0], 0), static_cast<KeySym>(XK_space));
    EXPECT_EQ(received[0].window, taker);
    EXPECT_EQ(host->Dispatch(effEditKeyDown, ' ', VKEY_SPACE, nullptr, 0.0f), 0);
    EXPECT_EQ(host->Dispatch(effEditKeyUp, ' ', VKEY_SPACE, nullptr, 0.0f), 0);
    host->Dispatch(effEditClose);
    XDestroyWindow(display, outer);
    XSync(display, False);
  }
  ExpectNoXErrors();
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
  ExpectNoXErrors();
  // A frame that does not exist gives no editor.
  EXPECT_EQ(host->Dispatch(effEditOpen, 0, 0, Handle(0x7fffff0)), 0);
  ExpectNoXErrors();
}

}  // namespace
}  // namespace vornix::testing
