// Handing a document to the desktop, which opens it with the program the user chose for its kind.
#pragma once

#include <string>

namespace vornix::platform {

// Starts the program that opens the document: on POSIX systems xdg-open (run directly, not
// through a shell), on Windows the shell's "open" verb. False when that could not be started; on
// POSIX systems also when xdg-open fails within a second (no program opens the kind, or that
// program cannot start), which is as long as the call may wait. An opener still running then is
// left to itself.
bool OpenDocument(const std::string& fileName);

}  // namespace vornix::platform
