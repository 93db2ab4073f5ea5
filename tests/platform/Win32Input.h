// A user and a window list for the Win32 tests: input synthesised with SendInput as a user gives
// it, and the windows Windows reports. Include after <windows.h>.
#pragma once

#include <cstddef>
#include <vector>

namespace vornix::win32test {

inline void Send(INPUT input) { SendInput(1, &input, sizeof input); }

inline void MoveTo(int x, int y) {
  SetCursorPos(x, y);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = MOUSEEVENTF_MOVE;  // no distance: a move message where the pointer stands
  Send(in);
}

// 1 left, 2 middle, 3 right.
inline void Button(int button, bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  switch (button) {
    case 1: in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP; break;
    case 2: in.mi.dwFlags = down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP; break;
    default: in.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP; break;
  }
  Send(in);
}

inline void Key(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  Send(in);
}

// One UTF-16 unit as typed text, the way input methods send it.
inline void TypeUnit(wchar_t unit) {
  INPUT in[2]{};
  for (int i = 0; i < 2; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wScan = static_cast<WORD>(unit);
    in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
  }
  SendInput(2, in, sizeof in[0]);
}

// Window enumeration callbacks (stdcall on x86, which lambdas are not).
inline BOOL CALLBACK CollectWindow(HWND w, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
  return TRUE;
}

inline BOOL CALLBACK CountWindow(HWND, LPARAM n) {
  ++*reinterpret_cast<std::size_t*>(n);
  return TRUE;
}

inline std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, &CollectWindow, reinterpret_cast<LPARAM>(&children));
  return children;
}

}  // namespace vornix::win32test
