// Texts cross the host boundary as zero-terminated 8-bit strings. Ours are UTF-8; Linux hosts
// use UTF-8 too, Windows hosts the system's ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace vornix::host {

// Our text as the host reads it. On Windows a character the ANSI code page lacks becomes "?".
std::string ToHostText(std::string_view text);

// A host's text as ours.
std::string FromHostText(std::string_view hostText);

// The longest start of a UTF-8 text that takes at most `maxBytes` bytes and ends on a whole
// character.
std::string CutText(std::string_view text, std::size_t maxBytes);

// Our text as the host reads it, cut on a character boundary to fit a buffer of `bufferSize` bytes
// with its terminating zero.
std::string HostTextFitting(std::string_view text, std::size_t bufferSize);

}  // namespace vornix::host
