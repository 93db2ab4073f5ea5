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

}  // namespace vornix::host
