// Dates as the user writes them.
#pragma once

#include <chrono>
#include <string>

namespace vornix::platform {

// The local date of a moment in the user's short date format (POSIX: the LC_TIME locale's %x;
// Windows: the user's short date).
std::string ShortDateText(std::chrono::system_clock::time_point time);

}  // namespace vornix::platform
