#include "platform/PlatformError.h"

#include <system_error>

namespace vornix::platform {

void RaiseLastOSError(const std::string& action, const std::string& path, int error) {
  throw EOSError(action + " " + path + ": " + std::generic_category().message(error));
}

void RaiseOSError(const std::string& action, const std::string& path, const std::error_code& error) {
  throw EOSError(action + " " + path + ": " + error.message());
}

}  // namespace vornix::platform
