// The Win32 windows against a real window system (the test command runs them under Wine, with
// Xvfb as its display). The test plays the host: it makes the parent window with a procedure of
// its own that records what reaches it, synthesises input with SendInput (or posts messages where
// the input cannot be typed), and reads pixels back with GetPixel.
#include <windows.h>
// <windows.h> names a function CreateDialog.
#undef CreateDialog

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "EventRecorder.h"
#include "Win32Input.h"
#include "platform/WinText.h"
#include "platform/Window.h"

namespace vornix::platform {
namespace {

using namespace std::chrono_literals;
using namespace win32test;
using ::testing::IsEmpty;
using ::testing::Not;

// What reached the host's window procedure.
thread_local std::vector<UINT>* hostMessages = nullptr;
// What the host does when a timer of its window fires.
thread_local std::function<void(HWND, WPARAM)> onHostTimer;

LRESULT CALLBACK HostProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hostMessages != nullptr) hostMessages->push_back(message);
  if (message == WM_TIMER && onHostTimer) {
    onHostTimer(hwnd, wParam);
    return 0;
  }
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

const wchar_t* HostClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &HostProcedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"VornixTestHost";
    return RegisterClassExW(&wc);
  }();
  return reinterpret_cast<const wchar_t*>(static_cast<std::uintptr_t>(atom));
}

// A host's frame without decoration, so that its client area is where it stands.
HWND MakeHostWindow(int x, int y, int width, int height) {
  const HWND w = CreateWindowExW(0, HostClass(), L"Host", WS_POPUP | WS_CLIPCHILDREN, x, y, width, height, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  UpdateWindow(w);
  return w;
}

// The host's own loop: every message of the thread, dispatched as a host does.
void RunHostLoop(std::chrono::milliseconds time) {
  const auto end = std::chrono::steady_clock::now() + time;
  while (std::chrono::steady_clock::now() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(2);
  }
}

void ClickAt(int x, int y, int button = 1) {
  MoveTo(x, y);
  Button(button, true);
  Button(button, false);
}

void WheelNotch(int delta) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = MOUSEEVENTF_WHEEL;
  in.mi.mouseData = static_cast<DWORD>(delta);
  Send(in);
}

HWND Handle(const TWindow& w) { return reinterpret_cast<HWND>(w.NativeHandle()); }

// This thread's windows of every kind: top-level, owned, and message-only ones of our class.
std::size_t ThreadWindowCount(const std::wstring& ourClass) {
  std::size_t count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
  for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, ourClass.c_str(), nullptr)) != nullptr;) ++count;
  return count;
}

std::wstring ClassOf(HWND w) {
  wchar_t name[256] = {};
  GetClassNameW(w, name, 256);
  return name;
}

COLORREF PixelAt(HWND w, int x, int y) {
  HDC dc = GetDC(w);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(w, dc);
  return c;
}

// gfx colours are 0xRRGGBB, COLORREF 0xBBGGRR.
COLORREF ColorRef(gfx::TColor c) { return RGB(gfx::RedOf(c), gfx::GreenOf(c), gfx::BlueOf(c)); }

class Win32Windows : public ::testing::Test {
 protected:
  static constexpr int kParentX = 100, kParentY = 100;

  void SetUp() override {
    parent_ = MakeHostWindow(kParentX, kParentY, 800, 600);
    ASSERT_NE(parent_, nullptr);
    // Input left over from the test before goes nowhere, and Wine takes in the display's focus
    // change (which sets its key state from the display's) before the test types.
    RunHostLoop(50ms);
    hostMessages = &host_;
  }
  void TearDown() override {
    // Never leave a button or key held for the next test.
    Button(1, false);
    for (WORD vk : {VK_SHIFT, VK_CONTROL}) Key(vk, false);
    if (IsWindow(parent_)) DestroyWindow(parent_);
    hostMessages = nullptr;
    onHostTimer = nullptr;
  }

  // Pumps until the condition holds (true) or two seconds pass (false).
  static bool PumpUntil(TWindowSystem& system, const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    for (;;) {
      system.Pump();
      if (condition()) return true;
      if (std::chrono::steady_clock::now() > deadline) return false;
      Sleep(2);
    }
  }

  std::vector<UINT> host_;
  HWND parent_ = nullptr;
};

TEST_F(Win32Windows, TheEditorIsAShownChildOfTheHostsWindowWithItsSize) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  auto child = system->CreateChild(reinterpret_cast<std::uintptr_t>(parent_), 656, 396, editor);
  const HWND hwnd = Handle(*child);
  EXPECT_EQ(GetParent(hwnd), parent_);
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, kParentX);
  EXPECT_EQ(r.top, kParentY);
  GetClientRect(hwnd, &r);
  EXPECT_EQ(r.right, 656);
  EXPECT_EQ(r.bottom, 396);
  EXPECT_EQ(child->Width(), 656);
  EXPECT_EQ(child->Surface().Height(), 396);
  EXPECT_EQ(child->ClientToScreen({5, 6}), (gfx::TPoint{kParentX + 5, kParentY + 6}));

  // The class is this module's (not the host program's), registered once for every window.
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&CreateNativeWindowSystem), &self);
  EXPECT_EQ(reinterpret_cast<HMODULE>(GetClassLongPtrW(hwnd, GCLP_HMODULE)), self);
  auto tiny = system->CreateChild(reinterpret_cast<std::uintptr_t>(parent_), 0, -5, editor);
  EXPECT_EQ(ClassOf(Handle(*tiny)), ClassOf(hwnd));
  GetClientRect(Handle(*tiny), &r);
  EXPECT_EQ(r.right, 1);
  EXPECT_EQ(r.bottom, 1);
  tiny->SetBounds({0, 0, 0, 0});
  EXPECT_EQ(tiny->Width(), 1);
}

TEST_F(Win32Windows, AMissingParentIsAnErrorOfOursNotOfTheHost) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  EXPECT_THROW(system->CreateChild(0x7FFFFF0, 100, 100, editor), std::runtime_error);
  EXPECT_THROW(system->CreateChild(0, 100, 100, editor), std::runtime_error);
}

TEST_F(Win32Windows, ClicksDragsWheelAndDoubleClicksReachTheHandler) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  auto child = system->CreateChild(reinterpret_cast<std::uintptr_t>(parent_), 400, 300, editor);
  child->TakeFocus();  // the wheel goes to the focused window first
  system->Pump();
  // Wine takes the modifier keys from the display again whenever the pointer moves, and the
  // display never saw the keys that SendInput typed: Shift is held for the press alone.
  MoveTo(kParentX + 10, kParentY + 20);
  RunHostLoop(20ms);
  Key(VK_SHIFT, true);
  Button(1, true);
  Key(VK_SHIFT, false);
  MoveTo(kParentX + 10, kParentY + 15);
  ASSERT_TRUE(PumpUntil(*system, [&] {
    return !editor.Of(TEventKind::MouseMove).empty() && editor.Of(TEventKind::MouseMove).back().Y == 15;
  }));
  MoveTo(kParentX + 12, kParentY + 400);  // dragged outside: still ours while the button is held
  Button(1, false);
  ASSERT_TRUE(PumpUntil(*system, [&] { return !editor.Of(TEventKind::MouseUp).empty(); }));

  const auto downs = editor.Of(TEventKind::MouseDown);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].X, 10);
  EXPECT_EQ(downs[0].Y, 20);
  EXPECT_EQ(downs[0].Button, TMouseButton::Left);
  EXPECT_EQ(downs[0].Shift, ssShift | ssLeft);
  EXPECT_EQ(editor.Of(TEventKind::MouseMove).back().Shift, ssLeft);
  const auto ups = editor.Of(TEventKind::MouseUp);
  EXPECT_EQ(ups[0].X, 12);
  EXPECT_EQ(ups[0].Y, 400);
  EXPECT_EQ(ups[0].Shift, 0u);

  editor.Events.clear();
  MoveTo(kParentX + 50, kParentY + 60);
  WheelNotch(120);
  WheelNotch(-120);
  ClickAt(kParentX + 50, kParentY + 60, 3);
  ASSERT_TRUE(PumpUntil(*system, [&] { return !editor.Of(TEventKind::MouseUp).empty(); }));
  const auto wheels = editor.Of(TEventKind::MouseWheel);
  ASSERT_EQ(wheels.size(), 2u);
  EXPECT_EQ(wheels[0].WheelDelta, 120);
  EXPECT_EQ(wheels[1].WheelDelta, -120);
  EXPECT_EQ(wheels[0].X, 50);  // client coordinates, though Windows gives the screen's
  EXPECT_EQ(wheels[0].Y, 60);
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

TEST_F(Win32Windows, KeysAndTypedTextReachTheFocusedEditor) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  auto child = system->CreateChild(reinterpret_cast<std::uintptr_t>(parent_), 400, 300, editor);
  child->TakeFocus();
  ASSERT_TRUE(PumpUntil(*system, [&] { return !editor.Of(TEventKind::FocusIn).empty(); }));
  EXPECT_EQ(GetFocus(), Handle(*child));
  Key(VK_SHIFT, true);
  Key('A', true);
  Key('A', false);
  Key(VK_SHIFT, false);
  Key('7', true);
  Key('7', false);
  Key(VK_RETURN, true);
  Key(VK_RETURN, false);
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

  // Text beyond the keyboard: the euro sign typed as a character, and a character beyond the
  // first plane, which comes as two UTF-16 messages.
  editor.Events.clear();
  TypeUnit(L'\u20AC');
  ASSERT_TRUE(PumpUntil(*system, [&] { return !editor.Of(TEventKind::Char).empty(); }));
  PostMessageW(Handle(*child), WM_CHAR, 0xD83C, 0);  // U+1F3B9, a keyboard
  PostMessageW(Handle(*child), WM_CHAR, 0xDFB9, 0);
  PostMessageW(Handle(*child), WM_CHAR, 0xDFB9, 0);  // a low surrogate alone
  ASSERT_TRUE(PumpUntil(*system, [&] { return editor.Of(TEventKind::Char).size() >= 3; }));
  typed.clear();
  for (const TEvent& e : editor.Of(TEventKind::Char)) typed.push_back(e.Char);
  EXPECT_EQ(typed, U"\u20AC\U0001F3B9\uFFFD");
}

TEST_F(Win32Windows, PresentedPixelsAreOnTheScreenAndComeBackWhenRepainted) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  auto child = system->CreateChild(reinterpret_cast<std::uintptr_t>(parent_), 64, 48, editor);
  const HWND hwnd = Handle(*child);
  gfx::TBitmap& surface = child->Surface();
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) surface.SetPixel(x, y, gfx::Rgb(x * 4, y * 5, (x + y) & 0xFF));
  child->Present({0, 0, 32, 48});
  EXPECT_EQ(PixelAt(hwnd, 3, 7), ColorRef(gfx::Rgb(12, 35, 10)));
  EXPECT_EQ(PixelAt(hwnd, 31, 47), ColorRef(gfx::Rgb(31 * 4, 47 * 5, 78)));
  child->Present({16, 10, 64, 48});  // an area that starts inside the surface
  EXPECT_EQ(PixelAt(hwnd, 63, 47), ColorRef(gfx::Rgb(63 * 4, 47 * 5, 110)));
  EXPECT_EQ(PixelAt(hwnd, 40, 30), ColorRef(gfx::Rgb(160, 150, 70)));

  // Something else painted over it: a repaint brings the pixels back from the surface, without
  // the handler being asked to paint.
  HDC dc = GetDC(hwnd);
  RECT all{0, 0, 64, 48};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ReleaseDC(hwnd, dc);
  ASSERT_EQ(PixelAt(hwnd, 40, 30), RGB(255, 255, 255));
  InvalidateRect(hwnd, nullptr, TRUE);
  EXPECT_TRUE(PumpUntil(*system, [&] { return PixelAt(hwnd, 40, 30) == ColorRef(gfx::Rgb(160, 150, 70)); }));
  EXPECT_EQ(PixelAt(hwnd, 3, 7), ColorRef(gfx::Rgb(12, 35, 10)));
  EXPECT_THAT(editor.Of(TEventKind::Timer), IsEmpty());
  EXPECT_THAT(editor.Of(TEventKind::MouseDown), IsEmpty());
}

TEST_F(Win32Windows, APopupGetsTheOutsidePressAsCloseRequestAndMayReplayIt) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor, menu;
  auto child = system->CreateChild(reinterpret_cast<std::uintptr_t>(parent_), 600, 400, editor);
  auto popup = system->CreatePopup(*child, {500, 300, 600, 400}, menu);
  const HWND popupHwnd = Handle(*popup);
  EXPECT_TRUE(GetWindowLongW(popupHwnd, GWL_STYLE) & WS_POPUP);
  EXPECT_TRUE(GetWindowLongW(popupHwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(popupHwnd, GW_OWNER), parent_);
  EXPECT_FALSE(IsWindowVisible(popupHwnd));  // hidden until shown
  popup->Show();
  EXPECT_TRUE(IsWindowVisible(popupHwnd));
  EXPECT_EQ(GetCapture(), popupHwnd);

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

  // On the host's window, beside the editor: the host does not see it either.
  host_.clear();
  ClickAt(kParentX + 700, kParentY + 500);
  ASSERT_TRUE(PumpUntil(*system, [&] { return menu.Of(TEventKind::CloseRequest).size() == 2; }));
  RunHostLoop(50ms);
  EXPECT_THAT(host_, Not(::testing::Contains(WM_LBUTTONDOWN)));

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
  EXPECT_FALSE(IsWindowVisible(popupHwnd));

  // The pointer is free again: the next click is the editor's, and the capture is nobody's.
  ClickAt(kParentX + 36, kParentY + 46);
  ASSERT_TRUE(PumpUntil(*system, [&] { return editor.Of(TEventKind::MouseUp).size() == 2; }));
  EXPECT_EQ(menu.Of(TEventKind::CloseRequest).size(), 3u);
  EXPECT_EQ(GetCapture(), nullptr);

  // A press replayed onto the host's window reaches the host.
  popup->Show();
  host_.clear();
  ClickAt(kParentX + 700, kParentY + 500);
  ASSERT_TRUE(PumpUntil(*system, [&] { return menu.Of(TEventKind::CloseRequest).size() == 4; }));
  RunHostLoop(50ms);
  EXPECT_THAT(host_, ::testing::Contains(WM_LBUTTONDOWN));
}

TEST_F(Win32Windows, ADialogIsOwnedFixedAndTitledAndItsModalLoopKeepsTheHostPainted) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor, dialogHandler;
  auto child = system->CreateChild(reinterpret_cast<std::uintptr_t>(parent_), 600, 400, editor);
  const std::string title = "Delete \xE2\x80\x9CPr\xC3\xA9set\xE2\x80\x9D";
  auto dialog = system->CreateDialog(*child, {300, 250, 500, 370}, title, dialogHandler);
  const HWND hwnd = Handle(*dialog);
  EXPECT_EQ(GetWindow(hwnd, GW_OWNER), parent_);
  EXPECT_EQ(GetParent(hwnd), parent_);  // the owner, for an owned top-level window
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_CHILD);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  wchar_t text[100] = {};
  GetWindowTextW(hwnd, text, 100);
  EXPECT_EQ(Utf8FromWide(text), title);

  dialog->TakeFocus();  // before it is shown: it takes the focus when it appears
  dialog->Show();
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 120);
  EXPECT_EQ(dialog->ClientToScreen({0, 0}), (gfx::TPoint{300, 250}));

  // The click comes from a timer inside the modal loop; a second timer ends a stuck loop. The
  // host's window keeps painting meanwhile, but takes no input.
  bool done = false, timedOut = false;
  host_.clear();
  dialogHandler.OnEvent = [&](TWindow& w, const TEvent& e) {
    if (e.Kind == TEventKind::Timer && e.TimerId == 1) {
      w.StopTimer(1);
      InvalidateRect(parent_, nullptr, TRUE);
      PostMessageW(parent_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(700, 500));
      PostMessageW(parent_, WM_KEYDOWN, VK_SPACE, 0);
      w.StartTimer(3, 100);
    } else if (e.Kind == TEventKind::Timer && e.TimerId == 3) {
      w.StopTimer(3);
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
  EXPECT_THAT(dialogHandler.Of(TEventKind::FocusIn), Not(IsEmpty()));
  EXPECT_THAT(host_, ::testing::Contains(WM_PAINT));
  EXPECT_THAT(host_, Not(::testing::Contains(WM_LBUTTONDOWN)));
  EXPECT_THAT(host_, Not(::testing::Contains(WM_KEYDOWN)));

  // The close box.
  PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(PumpUntil(*system, [&] { return !dialogHandler.Of(TEventKind::CloseRequest).empty(); }));
  EXPECT_EQ(dialogHandler.Of(TEventKind::CloseRequest)[0].Button, TMouseButton::None);
  EXPECT_TRUE(IsWindow(hwnd));  // it asks; its owner closes it
  dialog->Hide();
  EXPECT_FALSE(IsWindowVisible(hwnd));

  // A quit message ends the loop and stays for the host's own loop.
  PostQuitMessage(3);
  system->RunModal([] { return false; });
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

// The host's loop runs a handler of ours, which runs a modal loop; there a host timer closes the
// editor: it lets its reference go and ends our loops. The loop ends, and what the entry guard
// held (the windows and their system) goes only once the handler has returned.
TEST_F(Win32Windows, AHostTimerUnderAModalLoopEndsItAndTheSystemGoesOnceTheHandlerHasReturned) {
  struct TEditor {
    std::unique_ptr<TWindowSystem> system = CreateNativeWindowSystem();
    TRecorder handler;
    std::unique_ptr<TWindow> child;
    ~TEditor() { child.reset(); }
  };
  auto editor = std::make_shared<TEditor>();
  const std::weak_ptr<TEditor> alive = editor;
  editor->system->SetEntryGuard([alive]() -> std::shared_ptr<void> { return alive.lock(); });
  editor->child = editor->system->CreateChild(reinterpret_cast<std::uintptr_t>(parent_), 200, 100, editor->handler);
  TWindowSystem* system = editor->system.get();
  bool loopEnded = false, aliveAfterTheLoop = false;
  editor->handler.OnEvent = [&](TWindow&, const TEvent& e) {
    if (e.Kind != TEventKind::Char) return;
    SetTimer(parent_, 7, 20, nullptr);
    system->RunModal([] { return false; });
    loopEnded = true;
    aliveAfterTheLoop = !alive.expired();
  };
  onHostTimer = [&](HWND hwnd, WPARAM id) {
    KillTimer(hwnd, id);
    editor.reset();
    system->EndModalLoops();
  };
  PostMessageW(Handle(*editor->child), WM_CHAR, 'x', 0);
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!alive.expired() && std::chrono::steady_clock::now() < deadline) RunHostLoop(10ms);
  EXPECT_TRUE(loopEnded);
  EXPECT_TRUE(aliveAfterTheLoop) << "the windows went under the handler";
  EXPECT_TRUE(alive.expired());
  EXPECT_THAT(ChildrenOf(parent_), IsEmpty());
}

// A host that closes the editor on another thread: the work is handed to the windows' own thread,
// which runs it from whatever loop it is in (the host's, or a modal one of ours). On the owner
// thread it runs at once; when that thread has ended (taking its windows along), never.
TEST_F(Win32Windows, WorkIsRunOnTheWindowsOwnThreadOrNotAtAll) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  auto child = system->CreateChild(reinterpret_cast<std::uintptr_t>(parent_), 200, 100, editor);
  const DWORD self = GetCurrentThreadId();
  DWORD ranOn = 0;
  EXPECT_TRUE(system->RunOnOwnerThread([&] { ranOn = GetCurrentThreadId(); }));
  EXPECT_EQ(ranOn, self);

  for (const bool inModalLoop : {false, true}) {
    SCOPED_TRACE(inModalLoop ? "in a modal loop of ours" : "in the host's loop");
    ranOn = 0;
    std::atomic<bool> handed{false};
    bool ran = false;
    std::thread other([&] {
      ran = system->RunOnOwnerThread([&] { ranOn = GetCurrentThreadId(); });
      handed = true;
    });
    if (inModalLoop) {
      system->RunModal([&] { return handed.load(); });
    } else {
      while (!handed) RunHostLoop(5ms);
    }
    other.join();
    EXPECT_TRUE(ran);
    EXPECT_EQ(ranOn, self);
  }

  std::unique_ptr<TWindowSystem> orphan;
  TRecorder handler;
  std::unique_ptr<TWindow> window;
  std::thread([&] {
    orphan = CreateNativeWindowSystem();
    window = orphan->CreateChild(reinterpret_cast<std::uintptr_t>(MakeHostWindow(400, 400, 100, 100)), 50, 50, handler);
  }).join();
  bool ran = false;
  EXPECT_FALSE(orphan->RunOnOwnerThread([&] { ran = true; }));
  EXPECT_FALSE(ran);
  window.reset();
  orphan.reset();
}

// Windows destroyed on another thread than theirs (where Windows will not destroy them) no longer
// reach this library and close on their own thread when it next takes its messages.
TEST_F(Win32Windows, WindowsDestroyedOnAnotherThreadCloseOnTheirOwn) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor, other;
  auto child = system->CreateChild(reinterpret_cast<std::uintptr_t>(parent_), 300, 200, editor);
  auto dialog = system->CreateDialog(*child, {20, 20, 120, 120}, "About", other);
  dialog->Show();
  const HWND childHwnd = Handle(*child), dialogHwnd = Handle(*dialog);
  editor.Events.clear();
  std::thread([&] {
    dialog.reset();
    child.reset();
    system.reset();
  }).join();
  EXPECT_TRUE(IsWindow(childHwnd)) << "destroyed on the wrong thread";
  PostMessageW(childHwnd, WM_CHAR, 'x', 0);
  RunHostLoop(50ms);
  EXPECT_FALSE(IsWindow(childHwnd));
  EXPECT_FALSE(IsWindow(dialogHwnd));
  EXPECT_THAT(ChildrenOf(parent_), IsEmpty());
  EXPECT_THAT(editor.Events, IsEmpty());
}

TEST_F(Win32Windows, TimersFireOnlyFromPumpAndRunModalUntilStopped) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  auto child = system->CreateChild(reinterpret_cast<std::uintptr_t>(parent_), 100, 100, editor);
  child->StartTimer(1, 100);
  child->StartTimer(2, 20);
  // The host's loop dispatches WM_TIMER to our window: the beats wait for Pump.
  RunHostLoop(150ms);
  EXPECT_THAT(editor.Of(TEventKind::Timer), IsEmpty());
  system->Pump();
  EXPECT_THAT(editor.Of(TEventKind::Timer), Not(IsEmpty()));

  editor.Events.clear();
  ASSERT_TRUE(PumpUntil(*system, [&] {
    int slow = 0;
    for (const TEvent& e : editor.Of(TEventKind::Timer)) slow += e.TimerId == 1;
    return slow >= 2;
  }));
  int slow = 0, fast = 0;
  for (const TEvent& e : editor.Of(TEventKind::Timer)) (e.TimerId == 1 ? slow : fast)++;
  EXPECT_GT(fast, slow);
  child->StopTimer(1);
  child->StopTimer(2);
  editor.Events.clear();
  Sleep(150);
  RunHostLoop(50ms);
  system->Pump();
  EXPECT_THAT(editor.Events, IsEmpty());
}

// Another program on the clipboard: a peer process (tests/platform/ClipboardPeer.cpp) that
// prints what it finds under a format, or puts bytes there.
std::string RunPeer(const std::string& arguments) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring peer = self;
  peer = peer.substr(0, peer.find_last_of(L"\\/") + 1) + L"vornix_clipboard_peer.exe";
  std::wstring command = L"\"" + peer + L"\" " + WideFromUtf8(arguments);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &inherit, 0)) return "no pipe";
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdOutput = write;
  start.hStdError = write;
  PROCESS_INFORMATION process{};
  const BOOL started =
      CreateProcessW(peer.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process);
  CloseHandle(write);
  std::string out;
  if (started) {
    char buffer[512];
    DWORD n = 0;
    while (ReadFile(read, buffer, sizeof buffer, &n, nullptr) && n > 0) out.append(buffer, n);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  } else {
    out = "cannot start the peer";
  }
  CloseHandle(read);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string s;
  char two[3];
  for (std::uint8_t b : bytes) {
    std::snprintf(two, sizeof two, "%02x", b);
    s += two;
  }
  return s;
}

TEST_F(Win32Windows, TheClipboardRoundTripsBetweenTwoInstancesAndOtherPrograms) {
  auto first = CreateNativeWindowSystem();
  auto second = CreateNativeWindowSystem();
  std::vector<std::uint8_t> steps(300);
  for (std::size_t i = 0; i < steps.size(); ++i) steps[i] = static_cast<std::uint8_t>(i * 7);
  first->SetClipboard("VornixStepData", steps);
  EXPECT_TRUE(first->HasClipboard("VornixStepData"));
  EXPECT_EQ(first->GetClipboard("VornixStepData"), steps);
  EXPECT_TRUE(second->HasClipboard("VornixStepData"));
  EXPECT_FALSE(second->HasClipboard("SomethingElse"));
  EXPECT_EQ(second->GetClipboard("VornixStepData"), steps);
  EXPECT_EQ(second->GetClipboardText(), std::nullopt);

  // The format is registered under its name, so every program finds it.
  EXPECT_EQ(RunPeer("read VornixStepData"), Hex(steps));

  second->SetClipboardText("Seq 1 \xC3\xA9 \xF0\x9F\x8E\xB9");
  EXPECT_EQ(first->GetClipboardText(), "Seq 1 \xC3\xA9 \xF0\x9F\x8E\xB9");
  EXPECT_FALSE(first->HasClipboard("VornixStepData"));  // putting text replaced every format
  EXPECT_EQ(first->GetClipboard("VornixStepData"), std::nullopt);

  // Data another program put there, which stays after it has ended.
  EXPECT_EQ(RunPeer("write VornixStepData 0c000000010203"), "done");
  EXPECT_EQ(first->GetClipboard("VornixStepData"), (std::vector<std::uint8_t>{12, 0, 0, 0, 1, 2, 3}));

  // Ours stays after the system that put it there has gone.
  first->SetClipboard("VornixStepData", {9, 8, 7});
  first.reset();
  EXPECT_EQ(second->GetClipboard("VornixStepData"), (std::vector<std::uint8_t>{9, 8, 7}));
  EXPECT_EQ(RunPeer("read VornixStepData"), "090807");
}

// Data outlives the window that put it there, so the clipboard counts as held while it is not empty.
TEST_F(Win32Windows, TheClipboardIsHeldWhileItHoldsAnything) {
  auto first = CreateNativeWindowSystem();
  auto second = CreateNativeWindowSystem();
  first->SetClipboardText("held");
  EXPECT_TRUE(second->ClipboardHasOwner());
  first.reset();
  EXPECT_TRUE(second->ClipboardHasOwner());
  EXPECT_EQ(RunPeer("write SomethingElse 01"), "done");  // another program that has ended since
  EXPECT_TRUE(second->ClipboardHasOwner());
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_FALSE(second->ClipboardHasOwner());
}

// Hosts that run each editor on a GUI thread of its own.
TEST_F(Win32Windows, TwoEditorsOnTwoThreadsAtOnce) {
  std::atomic<int> failures{0};
  std::atomic<int> finished{0};
  auto run = [&](int x, gfx::TColor color) {
    const HWND parent = MakeHostWindow(x, 100, 300, 200);
    for (int round = 0; round < 15; ++round) {
      auto system = CreateNativeWindowSystem();
      TRecorder editor;
      auto child = system->CreateChild(reinterpret_cast<std::uintptr_t>(parent), 200, 100, editor);
      auto popup = system->CreatePopup(*child, {0, 0, 10, 10}, editor);
      for (int y = 0; y < 100; ++y)
        for (int xx = 0; xx < 200; ++xx) child->Surface().SetPixel(xx, y, color);
      child->Present({0, 0, 200, 100});
      child->StartTimer(1, 5);
      system->SetClipboardText("thread");
      const auto start = std::chrono::steady_clock::now();
      while (editor.Of(TEventKind::Timer).size() < 2 && std::chrono::steady_clock::now() - start < 2s) {
        system->Pump();
        Sleep(1);
      }
      if (PixelAt(Handle(*child), 100, 50) != ColorRef(color)) ++failures;
      if (editor.Of(TEventKind::Timer).size() < 2) ++failures;
    }
    if (!ChildrenOf(parent).empty()) ++failures;
    DestroyWindow(parent);
    ++finished;
  };
  std::thread a(run, 100, gfx::Rgb(200, 10, 10));
  std::thread b(run, 500, gfx::Rgb(10, 10, 200));
  // This thread stays a host's GUI thread: it keeps answering its messages.
  while (finished < 2) RunHostLoop(10ms);
  a.join();
  b.join();
  EXPECT_EQ(failures.load(), 0);
}

TEST_F(Win32Windows, AParentDestroyedBeforeTheEditorCausesNoError) {
  for (bool pumpedFirst : {false, true}) {
    SCOPED_TRACE(pumpedFirst ? "the editor pumped after its window went" : "the editor closes at once");
    const HWND parent = MakeHostWindow(50, 50, 300, 200);
    auto system = CreateNativeWindowSystem();
    TRecorder editor, dialogHandler;
    auto child = system->CreateChild(reinterpret_cast<std::uintptr_t>(parent), 200, 100, editor);
    auto dialog = system->CreateDialog(*child, {10, 10, 110, 60}, "Name", dialogHandler);
    child->StartTimer(1, 10);
    system->Pump();
    DestroyWindow(parent);  // takes our child and the dialog it owns with it
    if (pumpedFirst) system->Pump();
    EXPECT_EQ(child->NativeHandle(), 0u);
    EXPECT_EQ(dialog->NativeHandle(), 0u);
    child->Present({0, 0, 200, 100});
    child->SetBounds({0, 0, 300, 300});
    child->SetCursor(TCursor::SizeNS);
    child->TakeFocus();
    child->StartTimer(2, 10);
    (void)child->ClientToScreen({1, 1});
    dialog->Show();
    system->Pump();
    dialog.reset();
    child.reset();
    system.reset();
  }
}

// A library unloaded with an editor open may close the system before the windows.
TEST_F(Win32Windows, ASystemClosedBeforeItsWindowsLeavesNothingBehind) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor, other;
  auto child = system->CreateChild(reinterpret_cast<std::uintptr_t>(parent_), 300, 200, editor);
  auto popup = system->CreatePopup(*child, {10, 10, 60, 60}, other);
  auto dialog = system->CreateDialog(*child, {20, 20, 120, 120}, "About", other);
  popup->Show();  // holds the capture
  dialog->Show();
  child->StartTimer(1, 10);
  const HWND popupHwnd = Handle(*popup), dialogHwnd = Handle(*dialog);
  system->Pump();
  system.reset();
  EXPECT_THAT(ChildrenOf(parent_), IsEmpty());
  EXPECT_FALSE(IsWindow(popupHwnd));
  EXPECT_FALSE(IsWindow(dialogHwnd));
  EXPECT_EQ(GetCapture(), nullptr);
  child->Present({0, 0, 300, 200});
  child->SetBounds({0, 0, 10, 10});
  popup->Hide();
  EXPECT_EQ(child->NativeHandle(), 0u);
  dialog.reset();
  popup.reset();
  child.reset();
}

TEST_F(Win32Windows, OpeningAndClosingAHundredTimesLeavesNothingBehind) {
  std::wstring ourClass;
  auto cycle = [&] {
    auto system = CreateNativeWindowSystem();
    TRecorder editor, other;
    auto child = system->CreateChild(reinterpret_cast<std::uintptr_t>(parent_), 656, 396, editor);
    ourClass = ClassOf(Handle(*child));
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
  const std::size_t windows = ThreadWindowCount(ourClass);
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  for (int i = 0; i < 100; ++i) cycle();
  EXPECT_THAT(ChildrenOf(parent_), IsEmpty());
  EXPECT_EQ(ThreadWindowCount(ourClass), windows);
  DWORD handlesAfter = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
  EXPECT_LE(handlesAfter, handles + 8);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi + 8);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user + 8);
}

TEST_F(Win32Windows, PointerModifiersAndScreen) {
  auto system = CreateNativeWindowSystem();
  MoveTo(123, 234);
  EXPECT_EQ(system->PointerPosition(), (gfx::TPoint{123, 234}));
  RunHostLoop(20ms);  // the move is taken in before the keys (see the clicks and drags above)
  Key(VK_CONTROL, true);
  Button(1, true);
  EXPECT_EQ(system->ModifierState(), ssCtrl | ssLeft);
  Button(1, false);
  Key(VK_CONTROL, false);
  EXPECT_EQ(system->ModifierState(), 0u);
  const gfx::TRect screen = system->ScreenBounds();
  EXPECT_GE(screen.Width(), 640);
  EXPECT_GE(screen.Height(), 480);
}

TEST_F(Win32Windows, FlushMouseInputDropsQueuedClicks) {
  auto system = CreateNativeWindowSystem();
  TRecorder editor;
  auto child = system->CreateChild(reinterpret_cast<std::uintptr_t>(parent_), 300, 200, editor);
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
