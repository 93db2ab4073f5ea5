// The error every platform service raises when the operating system refuses a request.
#pragma once

#include <stdexcept>
#include <string>
#include <system_error>

namespace vornix::platform {

// The message is meant for the user: it names the action, the path and the system's reason.
class EOSError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "<action> <path>: <reason of errno>".
[[noreturn]] void RaiseLastOSError(const std::string& action, const std::string& path, int error);

// "<action> <path>: <reason>", for errors that come with their category (std::filesystem).
[[noreturn]] void RaiseOSError(const std::string& action, const std::string& path, const std::error_code& error);

#ifdef _WIN32
// "<action> <path>: <the system's text for the Windows error code>".
[[noreturn]] void RaiseWindowsError(const std::string& action, const std::string& path, unsigned long error);
#endif

}  // namespace vornix::platform
