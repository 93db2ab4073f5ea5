// The editor's windows on Windows: not written yet.
#include <stdexcept>

#include "platform/Window.h"

namespace vornix::platform {

std::unique_ptr<TWindowSystem> CreateNativeWindowSystem() {
  throw std::runtime_error("no native windows on this platform yet");
}

}  // namespace vornix::platform
