// Showing a folder in the desktop's file browser.
#pragma once

#include <filesystem>

namespace vornix::platform {

// Opens the folder in the desktop's file browser and returns at once: the browser is started
// without a shell and without waiting for it (POSIX: xdg-open, found in PATH; Windows: Explorer
// with the folder in its tree view). Throws EOSError when it cannot be started.
void OpenInFileBrowser(const std::filesystem::path& folder);

}  // namespace vornix::platform
