// The X11 windows against a real X server (the test command runs Xvfb). The test plays the host:
// it makes the parent window on a connection of its own, synthesises input with XTest and reads
// pixels back with XGetImage. Its error handler stands for the host's: no error of ours may reach
// it. Our connections drop their errors, and none may be one that our code did not expect.
//
// Without DISPLAY these tests fail, unless VORNIX_HEADLESS=1 says that the run is deliberately
// without an X server; then they are skipped.
#include <dirent.h>

#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "EventRecorder.h"
#include "XvfbServer.h"
#include "platform/Window.h"
#include "platform/X11Errors.h"

namespace vornix::platform {
namespace {
constexpr TEventKind kFocusInKind = TEventKind::FocusIn;
constexpr TMouseButton kNoButton = TMouseButton::None;
}  // namespace
}  // namespace vornix::platform

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's allocator keeps freed memory aside; ask it what is in use.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace vornix::platform {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::IsEmpty;
using ::testing::Not;

std::atomic<int> hostErrors{0};
std::string lastHostError;

int HostErrorHandler(Display* display, XErrorEvent* error) {
  char text[256] = {};
  XGetErrorText(display, error->error_code, text, sizeof text);
  lastHostError = std::string(text) + " (request " + std::to_string(error->request_code) + ")";
  ++hostErrors;
  return 0;
}

std::size_t OpenFileDescriptors() {
  std::size_t count = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir) != nullptr) ++count;
    closedir(dir);
  }
  return count;
}

std::size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

class X11Windows : public ::testing::Test {
 protected:
  static constexpr int kParentX = 100, kParentY = 100;

  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
      const char* headless = std::getenv("VORNIX_HEADLESS");
      if (headless != nullptr && std::strcmp(headless, "1") == 0) GTEST_SKIP() << "VORNIX_HEADLESS=1: no X server";
      FAIL() << "DISPLAY is not set: run the tests under xvfb-run (scripts/test.sh does), or set VORNIX_HEADLESS=1 "
                "to skip the X11 tests deliberately";
    }
    hostErrors = 0;
    unexpectedErrors_ = X11UnexpectedErrors();
    previousHandler_ = XSetErrorHandler(HostErrorHandler);
    host_ = XOpenDisplay(nullptr);
    ASSERT_NE(host_, nullptr) << "cannot open " << display;
    int event = 0, error = 0, major = 0, minor = 0;
    ASSERT_TRUE(XTestQueryExtension(host_, &event, &error, &major, &minor)) << "the X server has no XTest";
    parent_ = MakeParent(kParentX, kParentY, 800, 600);
  }

  void TearDown() override {
    if (host_ != nullptr) {
      XTestFakeButtonEvent(host_, 1, False, 0);  // never leave a button held for the next test
      XCloseDisplay(host_);
    }
    XSetErrorHandler(previousHandler_);
    EXPECT_EQ(hostErrors.load(), 0) << "an X error reached the process's handler: " << lastHostError;
    EXPECT_EQ(X11UnexpectedErrors() - unexpectedErrors_, 0u)
        << "our connection had an X error that no code expected (VORNIX_X11_TRACE_ERRORS=1 names it)";
  }

  ::Window MakeParent(int x, int y, int width, int height) {
    ::Window w = XCreateSimpleWindow(host_, DefaultRootWindow(host_), x, y, static_cast<unsigned>(width),
                                     static_cast<unsigned>(height), 0, 0, 0x203040);
    XMapWindow(host_, w);
    XSync(host_, False);
    return w;
  }

  // Pumps until the condition holds (true) or two seconds pass (false).
  static bool PumpUntil(TWindowSystem& system, const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    for (;;) {
      system.Pump();
      if (condition()) return true;
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(2ms);
    }
  }

  void MoveTo(int x, int y) {
    XTestFakeMotionEvent(host_, -1, x, y, CurrentTime);
    XSync(host_, False);
  }
  void Button(unsigned button, bool down) {
    XTestFakeButtonEvent(host_, button, down ? True : False, CurrentTime);
    XSync(host_, False);
  }
  void ClickAt(int x, int y, unsigned button = 1) {
    MoveTo(x, y);
    Button(button, true);
    Button(button, false);
  }
  void Key(KeySym sym, bool down) {
    XTestFakeKeyEvent(host_, XKeysymToKeycode(host_, sym), down ? True : False, CurrentTime);
    XSync(host_, False);
  }

  // Text beyond Latin-1 comes through the input method: a spare key made to type the euro sign.
  void TypeEuroSign(TWindowSystem& system, TRecorder& editor) {
    int minCode = 0, maxCode = 0, perCode = 0;
    XDisplayKeycodes(host_, &minCode, &maxCode);
    KeySym* map = XGetKeyboardMapping(host_, static_cast<KeyCode>(minCode), maxCode - minCode + 1, &perCode);
    int spare = 0;
    for (int code = maxCode; code >= minCode && spare == 0; --code) {
      bool empty = true;
      for (int k = 0; k < perCode; ++k) empty = empty && map[(code - minCode) * perCode + k] == NoSymbol;
      if (empty) spare = code;
    }
    XFree(map);
    ASSERT_NE(spare, 0);
    KeySym euro[] = {XK_EuroSign, XK_EuroSign};
    XChangeKeyboardMapping(host_, spare, 2, euro, 1);
    XSync(host_, False);
    system.Pump();  // the mapping change reaches our connection
    editor.Events.clear();
    XTestFakeKeyEvent(host_, static_cast<unsigned>(spare), True, CurrentTime);
    XTestFakeKeyEvent(host_, static_cast<unsigned>(spare), False, CurrentTime);
    XSync(host_, False);
    ASSERT_TRUE(PumpUntil(system, [&] { return !editor.Of(TEventKind::Char).empty(); }));
    EXPECT_EQ(editor.Of(TEventKind::Char)[0].Char, U'\u20AC');
    KeySym none[] = {NoSymbol, NoSymbol};
    XChangeKeyboardMapping(host_, spare, 2, none, 1);
    XSync(host_, False);
  }

  std::vector<::Window> ChildrenOf(::Window w) {
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    std::vector<::Window> result;
    if (XQueryTree(host_, w, &root, &parent, &children, &count)) {
      result.assign(children, children + count);
      if (children != nullptr) XFree(children);
    }
    return result;
  }

  unsigned long PixelAt(::Window w, int x, int y) {
    XImage* image = XGetImage(host_, w, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return ~0ul;
    const unsigned long p = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return p & 0xFFFFFF;
  }

  Display* host_ = nullptr;
  ::Window parent_ = 0;
  XErrorHandler previousHandler_ = nullptr;
  unsigned long unexpectedErrors_ = 0;
};

TEST_F(X11Windows, TheEditorIsAShownChildOfTheHostsWindowWithItsSize) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  auto child = system->CreateChild(parent_, 656, 396, editor);
  const auto xid = static_cast<::Window>(child->NativeHandle());
  system->Pump();
  XSync(host_, False);
  EXPECT_THAT(ChildrenOf(parent_), Contains(xid));
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(host_, xid, &a));
  EXPECT_EQ(a.x, 0);
  EXPECT_EQ(a.y, 0);
  EXPECT_EQ(a.width, 656);
  EXPECT_EQ(a.height, 396);
  EXPECT_EQ(a.map_state, IsViewable);
  EXPECT_EQ(child->Width(), 656);
  EXPECT_EQ(child->Surface().Height(), 396);
  EXPECT_EQ(child->ClientToScreen({5, 6}), (gfx::TPoint{kParentX + 5, kParentY + 6}));

  // A zero size is never asked of the server.
  auto tiny = system->CreateChild(parent_, 0, -5, editor);
  ASSERT_TRUE(XGetWindowAttributes(host_, static_cast<::Window>(tiny->NativeHandle()), &a));
  EXPECT_EQ(a.width, 1);
  EXPECT_EQ(a.height, 1);
  tiny->SetBounds({0, 0, 0, 0});
  system->Pump();
  XSync(host_, False);
}

TEST_F(X11Windows, AMissingParentIsAnErrorOfOursNotOfTheHost) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  EXPECT_THROW(system->CreateChild(0x7FFFFF0, 100, 100, editor), std::runtime_error);
  EXPECT_THROW(system->CreateChild(0, 100, 100, editor), std::runtime_error);
}

// The count the checks above rely on: a parent that cannot hold our window (input only) makes an
// error no code of ours expects. It is counted, and the host still sees none.
TEST_F(X11Windows, AnErrorNoCodeExpectsIsCountedAndStillDropped) {
  const ::Window inputOnly = XCreateWindow(host_, parent_, 0, 0, 10, 10, 0, 0, InputOnly, CopyFromParent, 0, nullptr);
  XSync(host_, False);
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  EXPECT_THROW(system->CreateChild(inputOnly, 10, 10, editor), std::runtime_error);
  system.reset();
  EXPECT_GT(X11UnexpectedErrors(), unexpectedErrors_);
  unexpectedErrors_ = X11UnexpectedErrors();
}

TEST_F(X11Windows, NoDisplayIsAnError) {
  const std::string saved = std::getenv("DISPLAY");
  setenv("DISPLAY", ":4093", 1);
  EXPECT_THROW(CreateNativeWindowSystem(), std::runtime_error);
  setenv("DISPLAY", saved.c_str(), 1);
}

TEST_F(X11Windows, ClicksDragsWheelAndDoubleClicksReachTheHandler) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  auto child = system->CreateChild(parent_, 400, 300, editor);
  system->Pump();
  MoveTo(kParentX + 10, kParentY + 20);
  Key(XK_Shift_L, true);
  Button(1, true);
  MoveTo(kParentX + 10, kParentY + 15);
  ASSERT_TRUE(PumpUntil(*system, [&] {
    return !editor.Of(TEventKind::MouseMove).empty() && editor.Of(TEventKind::MouseMove).back().Y == 15;
  }));
  MoveTo(kParentX + 12, kParentY + 400);  // dragged outside: still ours while the button is held
  Button(1, false);
  Key(XK_Shift_L, false);
  ASSERT_TRUE(PumpUntil(*system, [&] { return !editor.Of(TEventKind::MouseUp).empty(); }));

  const auto downs = editor.Of(TEventKind::MouseDown);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].X, 10);
  EXPECT_EQ(downs[0].Y, 20);
  EXPECT_EQ(downs[0].Button, TMouseButton::Left);
  EXPECT_EQ(downs[0].Shift, ssShift | ssLeft);
  const auto moves = editor.Of(TEventKind::MouseMove);
  EXPECT_EQ(moves.back().Shift, ssShift | ssLeft);
  const auto ups = editor.Of(TEventKind::MouseUp);
  EXPECT_EQ(ups[0].X, 12);
  EXPECT_EQ(ups[0].Y, 400);
  EXPECT_EQ(ups[0].Shift, ssShift);

  editor.Events.clear();
  MoveTo(kParentX + 50, kParentY + 60);
  Button(4, true);
  Button(4, false);
  Button(5, true);
  Button(5, false);
  Button(6, true);  // horizontal: not used
  Button(6, false);
  ClickAt(kParentX + 50, kParentY + 60, 3);
  ASSERT_TRUE(PumpUntil(*system, [&] { return !editor.Of(TEventKind::MouseUp).empty(); }));
  const auto wheels = editor.Of(TEventKind::MouseWheel);
  ASSERT_EQ(wheels.size(), 2u);
  EXPECT_EQ(wheels[0].WheelDelta, 120);
  EXPECT_EQ(wheels[1].WheelDelta, -120);
  EXPECT_EQ(wheels[0].X, 50);
  EXPECT_EQ(editor.Of(TEventKind::MouseDown).at(0).Button, TMouseButton::Right);

  editor.Events.clear();
  ClickAt(kParentX + 70, kParentY + 70);
  ClickAt(kParentX + 71, kParentY + 70);
  ClickAt(kParentX + 71, kParentY + 70);
  ASSERT_TRUE(PumpUntil(*system, [&] { return editor.Of(TEventKind::MouseUp).size() == 3; }));
  const auto clicks = editor.Of(TEventKind::MouseDown);
  EXPECT_EQ(clicks[0].Shift & ssDouble, 0u);
  EXPECT_EQ(clicks[1].Shift & ssDouble, ssDouble);
  EXPECT_EQ(clicks[2].Shift & ssDouble, 0u);  // a third press starts over
}

TEST_F(X11Windows, KeysAndTypedTextReachTheFocusedEditor) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  auto child = system->CreateChild(parent_, 400, 300, editor);
  system->Pump();
  child->TakeFocus();
  ASSERT_TRUE(PumpUntil(*system, [&] { return !editor.Of(kFocusInKind).empty(); }));
  Key(XK_Shift_L, true);
  Key(XK_a, true);
  Key(XK_a, false);
  Key(XK_Shift_L, false);
  Key(XK_7, true);
  Key(XK_7, false);
  Key(XK_Return, true);
  Key(XK_Return, false);
  ASSERT_TRUE(PumpUntil(*system, [&] {
    const auto ups = editor.Of(TEventKind::KeyUp);
    return !ups.empty() && ups.back().Key == kKeyReturn;
  }));
  std::vector<int> downs;
  for (const TEvent& e : editor.Of(TEventKind::KeyDown)) downs.push_back(e.Key);
  EXPECT_EQ(downs, (std::vector<int>{kKeyShift, 'A', '7', kKeyReturn}));
  EXPECT_EQ(editor.Of(TEventKind::KeyDown)[1].Shift, ssShift);
  std::u32string typed;
  for (const TEvent& e : editor.Of(TEventKind::Char)) typed.push_back(e.Char);
  EXPECT_EQ(typed, U"A7\r");

  TypeEuroSign(*system, editor);
}

// Hosts usually run in the user's UTF-8 locale (setlocale at start-up); the input method follows it.
TEST_F(X11Windows, TypedTextInTheHostsUtf8Locale) {
  ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  auto child = system->CreateChild(parent_, 400, 300, editor);
  system->Pump();
  child->TakeFocus();
  ASSERT_TRUE(PumpUntil(*system, [&] { return !editor.Of(kFocusInKind).empty(); }));
  TypeEuroSign(*system, editor);
  system.reset();
  std::setlocale(LC_ALL, "C");
}

TEST_F(X11Windows, PresentedPixelsAreOnTheScreenAndComeBackAfterAnExpose) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  auto child = system->CreateChild(parent_, 64, 48, editor);
  const auto xid = static_cast<::Window>(child->NativeHandle());
  gfx::TBitmap& surface = child->Surface();
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) surface.SetPixel(x, y, gfx::Rgb(x * 4, y * 5, (x + y) & 0xFF));
  // The editor's connection only flushes, so the server may serve our reading connection first.
  const auto shows = [&](int x, int y, unsigned long pixel) {
    return PumpUntil(*system, [&] { return PixelAt(xid, x, y) == pixel; });
  };
  child->Present({0, 0, 32, 48});
  EXPECT_TRUE(shows(3, 7, 0x0C230Au));
  EXPECT_TRUE(shows(31, 47, (31u * 4) << 16 | (47u * 5) << 8 | 78u));
  child->Present({0, 0, 64, 48});
  EXPECT_TRUE(shows(63, 0, (63u * 4) << 16 | 63u));

  // The host hides and shows its window: the pixels come back from the surface, without the
  // handler being asked to paint.
  XUnmapWindow(host_, parent_);
  XSync(host_, False);
  XMapWindow(host_, parent_);
  XSync(host_, False);
  EXPECT_TRUE(shows(40, 30, 40u * 4 << 16 | 30u * 5 << 8 | 70u));
  EXPECT_THAT(editor.Events, IsEmpty());
}

TEST_F(X11Windows, APopupGetsTheOutsidePressAsCloseRequestAndMayReplayIt) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor, menu;
  auto child = system->CreateChild(parent_, 600, 400, editor);
  auto popup = system->CreatePopup(*child, {500, 300, 600, 400}, menu);
  const auto popupXid = static_cast<::Window>(popup->NativeHandle());
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(host_, popupXid, &a));
  EXPECT_TRUE(a.override_redirect);
  EXPECT_EQ(a.map_state, IsUnmapped);  // hidden until shown
  popup->Show();
  system->Pump();
  ASSERT_TRUE(XGetWindowAttributes(host_, popupXid, &a));
  EXPECT_EQ(a.map_state, IsViewable);

  ClickAt(510, 320);  // inside
  ASSERT_TRUE(PumpUntil(*system, [&] { return !menu.Of(TEventKind::MouseUp).empty(); }));
  EXPECT_EQ(menu.Of(TEventKind::MouseDown).at(0).X, 10);
  EXPECT_EQ(menu.Of(TEventKind::MouseDown).at(0).Y, 20);

  menu.Events.clear();
  ClickAt(kParentX + 30, kParentY + 40);  // outside, on the editor
  ASSERT_TRUE(PumpUntil(*system, [&] { return !menu.Of(TEventKind::CloseRequest).empty(); }));
  const TEvent close = menu.Of(TEventKind::CloseRequest)[0];
  EXPECT_EQ(close.X, kParentX + 30 - 500);
  EXPECT_EQ(close.Y, kParentY + 40 - 300);
  EXPECT_EQ(close.Button, TMouseButton::Left);
  EXPECT_EQ(close.Shift & ssLeft, ssLeft);
  system->Pump();
  // Not replayed: the press went no further, nor its release.
  EXPECT_THAT(editor.Of(TEventKind::MouseDown), IsEmpty());
  EXPECT_THAT(editor.Of(TEventKind::MouseUp), IsEmpty());

  ClickAt(20, 20);  // outside every window of ours
  ASSERT_TRUE(PumpUntil(*system, [&] { return menu.Of(TEventKind::CloseRequest).size() == 2; }));

  // Now the owner replays the press and hides the popup: the editor gets it.
  menu.OnEvent = [&](TWindow& w, const TEvent& e) {
    if (e.Kind != TEventKind::CloseRequest) return;
    system->ReplayPress();
    w.Hide();
  };
  ClickAt(kParentX + 35, kParentY + 45);
  ASSERT_TRUE(PumpUntil(*system, [&] { return !editor.Of(TEventKind::MouseUp).empty(); }));
  ASSERT_EQ(editor.Of(TEventKind::MouseDown).size(), 1u);
  EXPECT_EQ(editor.Of(TEventKind::MouseDown)[0].X, 35);
  EXPECT_EQ(editor.Of(TEventKind::MouseDown)[0].Y, 45);
  EXPECT_EQ(menu.Of(TEventKind::CloseRequest).size(), 3u);

  // The pointer is free again: the next click is the editor's.
  ClickAt(kParentX + 36, kParentY + 46);
  ASSERT_TRUE(PumpUntil(*system, [&] { return editor.Of(TEventKind::MouseUp).size() == 2; }));
  EXPECT_EQ(menu.Of(TEventKind::CloseRequest).size(), 3u);
}

TEST_F(X11Windows, ADialogIsTransientFixedAndTitledAndItsModalLoopEndsOnAClick) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor, dialogHandler;
  auto child = system->CreateChild(parent_, 600, 400, editor);
  const std::string title = "Delete \xE2\x80\x9CPr\xC3\xA9set\xE2\x80\x9D";
  auto dialog = system->CreateDialog(*child, {300, 250, 500, 370}, title, dialogHandler);
  const auto xid = static_cast<::Window>(dialog->NativeHandle());
  ::Window transientFor = 0;
  ASSERT_TRUE(XGetTransientForHint(host_, xid, &transientFor));
  EXPECT_EQ(transientFor, parent_);
  XSizeHints hints{};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(host_, xid, &hints, &supplied));
  EXPECT_EQ(hints.flags & (PMinSize | PMaxSize), PMinSize | PMaxSize);
  EXPECT_EQ(hints.min_width, 200);
  EXPECT_EQ(hints.max_width, 200);
  EXPECT_EQ(hints.min_height, 120);
  EXPECT_EQ(hints.max_height, 120);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  ASSERT_EQ(XGetWindowProperty(host_, xid, XInternAtom(host_, "_NET_WM_NAME", False), 0, 100, False,
                               XInternAtom(host_, "UTF8_STRING", False), &type, &format, &items, &after, &data),
            Success);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data), items), title);
  XFree(data);
  ASSERT_EQ(XGetWindowProperty(host_, xid, XInternAtom(host_, "_NET_WM_WINDOW_TYPE", False), 0, 1, False, XA_ATOM,
                               &type, &format, &items, &after, &data),
            Success);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(*reinterpret_cast<Atom*>(data), XInternAtom(host_, "_NET_WM_WINDOW_TYPE_DIALOG", False));
  XFree(data);

  dialog->TakeFocus();  // before it is shown: it takes the focus when it appears
  dialog->Show();
  // The click comes from a timer inside the modal loop; a second timer ends a stuck loop.
  bool done = false, timedOut = false;
  dialogHandler.OnEvent = [&](TWindow& w, const TEvent& e) {
    if (e.Kind == TEventKind::Timer && e.TimerId == 1) {
      w.StopTimer(1);
      ClickAt(300 + 20, 250 + 30);
    } else if (e.Kind == TEventKind::Timer && e.TimerId == 2) {
      timedOut = done = true;
    } else if (e.Kind == TEventKind::MouseDown) {
      done = e.X == 20 && e.Y == 30;
    }
  };
  dialog->StartTimer(1, 50);
  dialog->StartTimer(2, 5000);
  system->RunModal([&] { return done; });
  EXPECT_FALSE(timedOut);
  EXPECT_THAT(dialogHandler.Of(kFocusInKind), Not(IsEmpty()));

  // The window manager's close box.
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = xid;
  message.xclient.message_type = XInternAtom(host_, "WM_PROTOCOLS", False);
  message.xclient.format = 32;
  message.xclient.data.l[0] = static_cast<long>(XInternAtom(host_, "WM_DELETE_WINDOW", False));
  XSendEvent(host_, xid, False, NoEventMask, &message);
  XSync(host_, False);
  ASSERT_TRUE(PumpUntil(*system, [&] { return !dialogHandler.Of(TEventKind::CloseRequest).empty(); }));
  EXPECT_EQ(dialogHandler.Of(TEventKind::CloseRequest)[0].Button, kNoButton);
  dialog->Hide();
  system->Pump();
}

TEST_F(X11Windows, TimersFireThroughPumpUntilStopped) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  auto child = system->CreateChild(parent_, 100, 100, editor);
  child->StartTimer(1, 100);
  child->StartTimer(2, 20);
  const auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < 350ms) {
    system->Pump();
    std::this_thread::sleep_for(1ms);
  }
  int slow = 0, fast = 0;
  for (const TEvent& e : editor.Of(TEventKind::Timer)) (e.TimerId == 1 ? slow : fast)++;
  EXPECT_GE(slow, 2);
  EXPECT_LE(slow, 4);
  EXPECT_GE(fast, 8);
  EXPECT_LE(fast, 18);
  child->StopTimer(1);
  child->StopTimer(2);
  editor.Events.clear();
  std::this_thread::sleep_for(150ms);
  system->Pump();
  EXPECT_THAT(editor.Events, IsEmpty());
}

TEST_F(X11Windows, TheClipboardRoundTripsBetweenTwoInstancesAndOtherPrograms) {
  auto first = CreateNativeWindowSystem();
  auto second = CreateNativeWindowSystem();
  std::vector<std::uint8_t> steps(300);
  for (std::size_t i = 0; i < steps.size(); ++i) steps[i] = static_cast<std::uint8_t>(i * 7);
  first->SetClipboard("VornixStepData", steps);
  EXPECT_TRUE(first->HasClipboard("VornixStepData"));
  EXPECT_EQ(first->GetClipboard("VornixStepData"), steps);
  // The second instance reads it without the first one pumping (they may share a thread).
  EXPECT_TRUE(second->HasClipboard("VornixStepData"));
  EXPECT_FALSE(second->HasClipboard("SomethingElse"));
  EXPECT_EQ(second->GetClipboard("VornixStepData"), steps);
  EXPECT_EQ(second->GetClipboardText(), std::nullopt);

  second->SetClipboardText("Seq 1 \xC3\xA9");
  EXPECT_EQ(first->GetClipboardText(), "Seq 1 \xC3\xA9");
  EXPECT_FALSE(first->HasClipboard("VornixStepData"));  // the second instance owns the clipboard now
  EXPECT_EQ(first->GetClipboard("VornixStepData"), std::nullopt);

  // Another program asks the owner, which answers from Pump.
  first->SetClipboard("VornixStepData", steps);
  const ::Window requestor = XCreateSimpleWindow(host_, DefaultRootWindow(host_), 0, 0, 1, 1, 0, 0, 0);
  const Atom clipboard = XInternAtom(host_, "CLIPBOARD", False);
  const Atom format = XInternAtom(host_, "VornixStepData", False);
  const Atom property = XInternAtom(host_, "TEST_PASTE", False);
  XConvertSelection(host_, clipboard, format, property, requestor, CurrentTime);
  XSync(host_, False);
  XEvent notify{};
  ASSERT_TRUE(PumpUntil(*first, [&] { return XCheckTypedWindowEvent(host_, requestor, SelectionNotify, &notify); }));
  ASSERT_EQ(notify.xselection.property, property);
  Atom type = 0;
  int bits = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  ASSERT_EQ(XGetWindowProperty(host_, requestor, property, 0, 1000, True, AnyPropertyType, &type, &bits, &items, &after,
                               &data),
            Success);
  EXPECT_EQ(type, format);
  EXPECT_EQ(std::vector<std::uint8_t>(data, data + items), steps);
  XFree(data);

  // Another program owns the clipboard and answers on its own thread.
  Display* other = XOpenDisplay(nullptr);
  ASSERT_NE(other, nullptr);
  const ::Window owner = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(other, XInternAtom(other, "CLIPBOARD", False), owner, CurrentTime);
  XSync(other, False);
  std::atomic<bool> stop{false};
  std::thread answering([&] {
    const Atom utf8 = XInternAtom(other, "UTF8_STRING", False);
    const Atom targets = XInternAtom(other, "TARGETS", False);
    while (!stop) {
      while (XPending(other) > 0) {
        XEvent ev;
        XNextEvent(other, &ev);
        if (ev.type != SelectionRequest) continue;
        const XSelectionRequestEvent& req = ev.xselectionrequest;
        XSelectionEvent reply{};
        reply.type = SelectionNotify;
        reply.requestor = req.requestor;
        reply.selection = req.selection;
        reply.target = req.target;
        reply.time = req.time;
        if (req.target == utf8) {
          const char text[] = "from elsewhere";
          XChangeProperty(other, req.requestor, req.property, utf8, 8, PropModeReplace,
                          reinterpret_cast<const unsigned char*>(text), sizeof text - 1);
          reply.property = req.property;
        } else if (req.target == targets) {
          const long list[] = {static_cast<long>(targets), static_cast<long>(utf8)};
          XChangeProperty(other, req.requestor, req.property, XA_ATOM, 32, PropModeReplace,
                          reinterpret_cast<const unsigned char*>(list), 2);
          reply.property = req.property;
        }
        XSendEvent(other, req.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
        XFlush(other);
      }
      std::this_thread::sleep_for(1ms);
    }
  });
  EXPECT_EQ(first->GetClipboardText(), "from elsewhere");
  EXPECT_FALSE(first->HasClipboard("VornixStepData"));
  stop = true;
  answering.join();

  // An owner that never answers costs a few hundred milliseconds, not a hang.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(first->GetClipboard("VornixStepData"), std::nullopt);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  XCloseDisplay(other);
  XDestroyWindow(host_, requestor);
}

// Held means some program owns CLIPBOARD, whatever it holds; the data goes with its owner.
TEST_F(X11Windows, TheClipboardIsHeldWhileItsOwnerLives) {
  auto first = CreateNativeWindowSystem();
  auto second = CreateNativeWindowSystem();
  first->SetClipboardText("held");
  EXPECT_TRUE(first->ClipboardHasOwner());
  EXPECT_TRUE(second->ClipboardHasOwner());
  first.reset();
  EXPECT_FALSE(second->ClipboardHasOwner());
  EXPECT_FALSE(second->HasClipboard("VornixStepData"));

  Display* other = XOpenDisplay(nullptr);
  ASSERT_NE(other, nullptr);
  const ::Window owner = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(other, XInternAtom(other, "CLIPBOARD", False), owner, CurrentTime);
  XSync(other, False);
  EXPECT_TRUE(second->ClipboardHasOwner()) << "another program's, though it never answers";
  XDestroyWindow(other, owner);
  XSync(other, False);
  EXPECT_FALSE(second->ClipboardHasOwner());
  XCloseDisplay(other);
}

TEST_F(X11Windows, TwoEditorsOnTwoThreadsAtOnce) {
  const ::Window parents[2] = {parent_, MakeParent(950, 100, 300, 200)};
  std::atomic<int> failures{0};
  auto run = [&](::Window parent, gfx::TColor color) {
    Display* check = XOpenDisplay(nullptr);
    if (check == nullptr) {
      ++failures;
      return;
    }
    for (int round = 0; round < 15; ++round) {
      auto system = CreateNativeWindowSystem();
      TRecorder editor;
      auto child = system->CreateChild(parent, 200, 100, editor);
      auto popup = system->CreatePopup(*child, {0, 0, 10, 10}, editor);
      for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) child->Surface().SetPixel(x, y, color);
      child->Present({0, 0, 200, 100});
      child->StartTimer(1, 5);
      system->SetClipboardText("thread");
      const auto start = std::chrono::steady_clock::now();
      while (editor.Of(TEventKind::Timer).size() < 2 && std::chrono::steady_clock::now() - start < 2s) {
        system->Pump();
        std::this_thread::sleep_for(1ms);
      }
      XImage* image = XGetImage(check, static_cast<::Window>(child->NativeHandle()), 100, 50, 1, 1, AllPlanes, ZPixmap);
      if (image == nullptr || (XGetPixel(image, 0, 0) & 0xFFFFFF) != (color & 0xFFFFFF)) ++failures;
      if (image != nullptr) XDestroyImage(image);
      if (editor.Of(TEventKind::Timer).size() < 2) ++failures;
    }
    XCloseDisplay(check);
  };
  std::thread a(run, parents[0], gfx::Rgb(200, 10, 10));
  std::thread b(run, parents[1], gfx::Rgb(10, 10, 200));
  a.join();
  b.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_THAT(ChildrenOf(parents[0]), IsEmpty());
  EXPECT_THAT(ChildrenOf(parents[1]), IsEmpty());
}

TEST_F(X11Windows, AParentDestroyedBeforeTheEditorCausesNoError) {
  for (bool pumpedFirst : {false, true}) {
    SCOPED_TRACE(pumpedFirst ? "the editor saw its window go" : "the editor closes at once");
    const ::Window parent = MakeParent(50, 50, 300, 200);
    auto system = CreateNativeWindowSystem();
    TRecorder editor, dialogHandler;
    auto child = system->CreateChild(parent, 200, 100, editor);
    auto dialog = system->CreateDialog(*child, {10, 10, 110, 60}, "Name", dialogHandler);
    child->StartTimer(1, 10);
    system->Pump();
    XDestroyWindow(host_, parent);
    XSync(host_, False);
    if (pumpedFirst) system->Pump();
    child->Present({0, 0, 200, 100});
    child->SetBounds({0, 0, 300, 300});
    child->SetCursor(TCursor::SizeNS);
    child->TakeFocus();
    (void)child->ClientToScreen({1, 1});
    system->Pump();
    dialog.reset();
    child.reset();
    system.reset();
    XSync(host_, False);
  }
}

// A library unloaded with an editor open may close the system before the windows.
TEST_F(X11Windows, ASystemClosedBeforeItsWindowsLeavesNothingOnTheServer) {
  const std::size_t fds = OpenFileDescriptors();
  auto system = CreateNativeWindowSystem();
  TRecorder editor, other;
  auto child = system->CreateChild(parent_, 300, 200, editor);
  auto popup = system->CreatePopup(*child, {10, 10, 60, 60}, other);
  auto dialog = system->CreateDialog(*child, {20, 20, 120, 120}, "About", other);
  popup->Show();  // holds the pointer grab
  dialog->Show();
  child->StartTimer(1, 10);
  system->Pump();
  system.reset();
  XSync(host_, False);
  EXPECT_THAT(ChildrenOf(parent_), IsEmpty());
  EXPECT_EQ(OpenFileDescriptors(), fds);
  // The grab went with the connection.
  EXPECT_EQ(XGrabPointer(host_, parent_, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None, None, CurrentTime),
            GrabSuccess);
  XUngrabPointer(host_, CurrentTime);
  child->Present({0, 0, 300, 200});
  child->SetBounds({0, 0, 10, 10});
  popup->Hide();
  EXPECT_EQ(child->NativeHandle(), 0u);
  dialog.reset();
  popup.reset();
  child.reset();
}

TEST_F(X11Windows, OpeningAndClosingAHundredTimesLeavesNothingBehind) {
  auto cycle = [&] {
    auto system = CreateNativeWindowSystem();
    TRecorder editor, other;
    auto child = system->CreateChild(parent_, 656, 396, editor);
    auto popup = system->CreatePopup(*child, {10, 10, 110, 210}, other);
    auto dialog = system->CreateDialog(*child, {20, 20, 220, 120}, "About", other);
    popup->Show();
    dialog->Show();
    child->SetCursor(TCursor::SizeNS);
    child->StartTimer(1, 100);
    child->Present({0, 0, 656, 396});
    system->SetClipboard("VornixStepData", {1, 2, 3});
    system->Pump();
    popup->Hide();
    system->Pump();
  };
  for (int i = 0; i < 3; ++i) cycle();
  XSync(host_, False);
  const std::size_t fds = OpenFileDescriptors();
  const std::size_t heap = HeapInUse();
  for (int i = 0; i < 100; ++i) cycle();
  XSync(host_, False);
  EXPECT_THAT(ChildrenOf(parent_), IsEmpty());
  EXPECT_EQ(OpenFileDescriptors(), fds);
  const std::size_t grown = HeapInUse() > heap ? HeapInUse() - heap : 0;
  EXPECT_LT(grown, 64u * 1024u) << "the heap grew by " << grown << " bytes over 100 editors";
}

// Servers of the test's own with other depths, for the pixel conversions that the usual 24-bit
// server does not need.
TEST_F(X11Windows, PixelsReachServersOfOtherDepths) {
  const std::string saved = std::getenv("DISPLAY");
  for (int depth : {16, 8}) {
    SCOPED_TRACE("depth " + std::to_string(depth));
    test::TXvfbServer server(depth);
    Display* host = XOpenDisplay(server.Name().c_str());
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(DefaultDepth(host, DefaultScreen(host)), depth);
    const ::Window parent = XCreateSimpleWindow(host, DefaultRootWindow(host), 10, 10, 100, 50, 0, 0, 0);
    XMapWindow(host, parent);
    XSync(host, False);
    setenv("DISPLAY", server.Name().c_str(), 1);
    {
      auto system = CreateNativeWindowSystem();
      TRecorder editor;
      auto child = system->CreateChild(parent, 100, 50, editor);
      const gfx::TColor colors[] = {gfx::Rgb(255, 0, 0),     gfx::Rgb(0, 255, 0), gfx::Rgb(0, 0, 255),
                                    gfx::Rgb(255, 255, 255), gfx::Rgb(0, 0, 0),   gfx::Rgb(100, 150, 200)};
      for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) child->Surface().SetPixel(x, y, colors[x / 17]);
      child->Present({0, 0, 100, 50});
      // Our pixels come on the editor's connection, the test reads them on its own: the server
      // may answer the test first.
      const auto xid = static_cast<::Window>(child->NativeHandle());
      XImage* image = nullptr;
      const bool shown = PumpUntil(*system, [&] {
        if (image != nullptr) XDestroyImage(image);
        image = XGetImage(host, xid, 0, 0, 100, 50, AllPlanes, ZPixmap);
        return image != nullptr && XGetPixel(image, 3 * 17 + 8, 25) != XGetPixel(image, 4 * 17 + 8, 25);
      });
      ASSERT_NE(image, nullptr);
      EXPECT_TRUE(shown) << "white and black look the same: nothing was shown";
      const int tolerance = depth == 16 ? 8 : 26;  // 5-6-5 bits; a 6x6x6 colour cube
      for (int i = 0; i < 6; ++i) {
        XColor shown{};
        shown.pixel = XGetPixel(image, i * 17 + 8, 25);
        XQueryColor(host, DefaultColormap(host, DefaultScreen(host)), &shown);
        EXPECT_NEAR(shown.red >> 8, gfx::RedOf(colors[i]), tolerance) << "colour " << i;
        EXPECT_NEAR(shown.green >> 8, gfx::GreenOf(colors[i]), tolerance) << "colour " << i;
        EXPECT_NEAR(shown.blue >> 8, gfx::BlueOf(colors[i]), tolerance) << "colour " << i;
      }
      XDestroyImage(image);
    }
    setenv("DISPLAY", saved.c_str(), 1);
    XCloseDisplay(host);
  }
}

TEST_F(X11Windows, PointerModifiersAndScreen) {
  auto system = CreateNativeWindowSystem();
  MoveTo(123, 234);
  EXPECT_EQ(system->PointerPosition(), (gfx::TPoint{123, 234}));
  Key(XK_Control_L, true);
  Button(1, true);
  EXPECT_EQ(system->ModifierState(), ssCtrl | ssLeft);
  Button(1, false);
  Key(XK_Control_L, false);
  EXPECT_EQ(system->ModifierState(), 0u);
  const gfx::TRect screen = system->ScreenBounds();
  EXPECT_EQ(screen.Left, 0);
  EXPECT_GE(screen.Width(), 640);
  EXPECT_GE(screen.Height(), 480);
}

TEST_F(X11Windows, FlushMouseInputDropsQueuedClicks) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  auto child = system->CreateChild(parent_, 300, 200, editor);
  system->Pump();
  ClickAt(kParentX + 10, kParentY + 10);
  system->FlushMouseInput();
  system->Pump();
  EXPECT_THAT(editor.Of(TEventKind::MouseDown), IsEmpty());
  ClickAt(kParentX + 11, kParentY + 11);
  EXPECT_TRUE(PumpUntil(*system, [&] { return !editor.Of(TEventKind::MouseDown).empty(); }));
}

}  // namespace
}  // namespace vornix::platform
