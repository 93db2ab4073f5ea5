#pragma once

// Text conversions at the edges of the tagged value stream. Inside the program strings are UTF-8;
// anything that is not well-formed becomes U+FFFD, so decoded text is always valid UTF-8.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vornix {

// Ill-formed sequences (overlong forms, surrogates, values above U+10FFFF, truncated sequences)
// become one U+FFFD per maximal ill-formed part.
std::u16string Utf8ToUtf16(std::string_view utf8);

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// Code points that are no characters (surrogates, values above U+10FFFF) become U+FFFD.
std::string Utf32ToUtf8(std::u32string_view text);

// Re-encodes `utf8`, replacing what is ill-formed.
std::string SanitizeUtf8(std::string_view utf8);

// 8-bit strings of older files are in the Windows ANSI code page 1252. Its five unassigned bytes
// map to the C1 controls of the same value, as Windows itself maps them.
std::string Windows1252ToUtf8(std::span<const std::uint8_t> bytes);

}  // namespace vornix
