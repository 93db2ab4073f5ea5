// The Windows clipboard for the window system: our formats registered by name, data in movable
// global memory, text as UTF-16.
#pragma once

#ifdef _WIN32

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vornix::platform::detail {

// The format registered under the name (the same number in every process of the session).
UINT ClipboardFormat(const std::string& name);

// Empties the clipboard and puts the bytes there under the format, owned by `owner`. The clipboard
// may be held by another program for a moment: it is tried for a few hundred milliseconds. Throws
// std::runtime_error when it cannot be opened or cannot take the data.
void PutClipboard(HWND owner, UINT format, const std::vector<std::uint8_t>& data);
// The bytes under the format, or nothing when the clipboard holds none (or cannot be opened).
std::optional<std::vector<std::uint8_t>> ReadClipboard(UINT format);

}  // namespace vornix::platform::detail

#endif
