#include "platform/Folders.h"

namespace vornix::platform {

std::string DataFolder(std::string_view documentsFolder, std::string_view productName) {
  std::string folder(documentsFolder);
  if (!folder.empty() && folder.back() != PathDelim) folder += PathDelim;
  folder += "Orvane";
  folder += PathDelim;
  folder += productName;
  folder += PathDelim;
  return folder;
}

std::string PresetsFolder(std::string_view dataFolder) {
  std::string folder(dataFolder);
  folder += "Presets";
  folder += PathDelim;
  return folder;
}

std::string ModuleFolder() {
  const std::string file = ModuleFileName();
#ifdef _WIN32
  const std::size_t delim = file.find_last_of("\\/");
#else
  const std::size_t delim = file.rfind(PathDelim);
#endif
  return delim == std::string::npos ? std::string() : file.substr(0, delim + 1);
}

}  // namespace vornix::platform
