// Where a POSIX system keeps the configuration: an INI file under the XDG configuration folder.
#include <cstdlib>

#include "platform/Folders.h"
#include "platform/OrvRegistry.h"

namespace vornix::platform {

std::filesystem::path ConfigFilePath(std::string_view productName) {
  std::filesystem::path base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
    base = config;
  } else {
    const auto home = HomeFolder();
    if (home.empty()) return {};
    base = std::filesystem::path(home) / ".config";
  }
  return base / "Orvane" / (std::string(productName) + ".ini");
}

std::unique_ptr<TOrvRegIniFile> OpenConfigKey(std::string_view productName) {
  return std::make_unique<TOrvIniFile>(ConfigFilePath(productName));
}

}  // namespace vornix::platform
