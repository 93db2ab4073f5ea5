#include "host/HostText.h"

#ifdef _WIN32
#include <windows.h>

#include <climits>
#endif

namespace vornix::host {

#ifdef _WIN32

namespace {

std::wstring Widen(UINT codePage, std::string_view text) {
  if (text.empty() || text.size() > INT_MAX / 2) return {};
  const int size = static_cast<int>(text.size());
  std::wstring wide(text.size(), L'\0');  // never more UTF-16 units than bytes
  const int n = MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), size);
  wide.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return wide;
}

std::string Narrow(UINT codePage, std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), n, nullptr, nullptr);
  return text;
}

bool IsAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

// Nearly every text is ASCII, the same in every code page: those pass through untouched.
std::string ToHostText(std::string_view text) {
  return IsAscii(text) ? std::string(text) : Narrow(CP_ACP, Widen(CP_UTF8, text));
}

std::string FromHostText(std::string_view hostText) {
  return IsAscii(hostText) ? std::string(hostText) : Narrow(CP_UTF8, Widen(CP_ACP, hostText));
}

#else

std::string ToHostText(std::string_view text) { return std::string(text); }
std::string FromHostText(std::string_view hostText) { return std::string(hostText); }

#endif

}  // namespace vornix::host
