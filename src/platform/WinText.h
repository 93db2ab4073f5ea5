// Text conversions at the Windows API: our strings are UTF-8, the "W" functions take UTF-16 and
// 8-bit texts of the system are in the ANSI code page.
#pragma once

#ifdef _WIN32

#include <string>
#include <string_view>

namespace vornix::platform {

// Ill-formed input becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// Characters the ANSI code page cannot hold become its default character ("?").
std::string AnsiFromUtf8(std::string_view utf8);
std::string Utf8FromAnsi(std::string_view ansi);

}  // namespace vornix::platform

#endif
