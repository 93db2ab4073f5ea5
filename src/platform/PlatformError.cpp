#include "platform/PlatformError.h"

#include <system_error>

namespace vornix::platform {

void RaiseLastOSError(const std::string& action, const std::string& path, int error) {
  throw EOSError(action + " " + path + ": " + std::system_category().message(error));
}

}  // namespace vornix::platform
