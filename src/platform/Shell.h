// Handing a document to the desktop, which opens it with the program the user chose for its kind.
#pragma once

#include <string>

namespace vornix::platform {

// Starts the program that opens the document and returns at once, without waiting for it: on
// POSIX systems xdg-open (run directly, not through a shell), on Windows the shell's "open" verb.
// False when that could not be started; a program that starts and then fails is not seen here.
bool OpenDocument(const std::string& fileName);

}  // namespace vornix::platform
