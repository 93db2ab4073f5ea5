// The error every platform service raises when the operating system refuses a request.
#pragma once

#include <stdexcept>
#include <string>

namespace vornix::platform {

// The message is meant for the user: it names the action, the path and the system's reason.
class EOSError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "<action> <path>: <reason of errno>".
[[noreturn]] void RaiseLastOSError(const std::string& action, const std::string& path, int error);

}  // namespace vornix::platform
