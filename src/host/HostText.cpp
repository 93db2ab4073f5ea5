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

std::string CutText(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  std::size_t n = maxBytes;
  // Back off over continuation bytes (10xxxxxx) to the start of the character that did not fit.
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return std::string(text.substr(0, n));
}

std::string HostTextFitting(std::string_view text, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  // The host's form of a character may take more or fewer bytes than ours: drop whole characters
  // of our text until the host's form fits.
  std::string cut(text);
  std::string hostText = ToHostText(cut);
  while (hostText.size() > bufferSize - 1) {
    cut = CutText(cut, cut.size() - 1);
    hostText = ToHostText(cut);
  }
  return hostText;
}

}  // namespace vornix::host
