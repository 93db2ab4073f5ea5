#include "platform/WinText.h"

#include <windows.h>

#include <climits>

namespace vornix::platform {

namespace {

std::wstring Widen(UINT codePage, std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), n);
  return wide;
}

std::string Narrow(UINT codePage, std::wstring_view wide) {
  if (wide.empty() || wide.size() > INT_MAX) return {};
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), n, nullptr, nullptr);
  return text;
}

}  // namespace

std::wstring WideFromUtf8(std::string_view utf8) { return Widen(CP_UTF8, utf8); }
std::string Utf8FromWide(std::wstring_view wide) { return Narrow(CP_UTF8, wide); }
std::string AnsiFromUtf8(std::string_view utf8) { return Narrow(CP_ACP, WideFromUtf8(utf8)); }
std::string Utf8FromAnsi(std::string_view ansi) { return Utf8FromWide(Widen(CP_ACP, ansi)); }

}  // namespace vornix::platform
