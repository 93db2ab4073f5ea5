// Another program at the Windows clipboard, for the window tests: plain Win32, none of our code.
//   vornix_clipboard_peer read FORMAT        prints the bytes under the format in hex, or "none"
//   vornix_clipboard_peer write FORMAT HEX   puts the bytes there and prints "done"
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool Open(HWND owner) {
  for (int i = 0; i < 50; ++i) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

int Read(UINT format) {
  if (!Open(nullptr)) return std::puts("busy"), 1;
  HANDLE data = GetClipboardData(format);
  if (data == nullptr) {
    CloseClipboard();
    return std::puts("none"), 0;
  }
  const auto* p = static_cast<const unsigned char*>(GlobalLock(data));
  const SIZE_T size = GlobalSize(data);
  for (SIZE_T i = 0; i < size; ++i) std::printf("%02x", p[i]);
  std::puts("");
  GlobalUnlock(data);
  CloseClipboard();
  return 0;
}

int Write(UINT format, const char* hex) {
  std::vector<unsigned char> bytes;
  for (std::size_t i = 0; hex[i] != '\0' && hex[i + 1] != '\0'; i += 2)
    bytes.push_back(static_cast<unsigned char>(std::strtoul(std::string(hex + i, 2).c_str(), nullptr, 16)));
  // The clipboard needs an owner window for the data to be taken.
  const HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  if (!Open(owner)) return std::puts("busy"), 1;
  EmptyClipboard();
  const bool taken = SetClipboardData(format, block) != nullptr;
  CloseClipboard();
  DestroyWindow(owner);
  std::puts(taken ? "done" : "refused");
  return taken ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return std::puts("usage: vornix_clipboard_peer read|write FORMAT [HEX]"), 2;
  const UINT format = RegisterClipboardFormatA(argv[2]);
  if (std::strcmp(argv[1], "read") == 0) return Read(format);
  if (std::strcmp(argv[1], "write") == 0 && argc > 3) return Write(format, argv[3]);
  return 2;
}
