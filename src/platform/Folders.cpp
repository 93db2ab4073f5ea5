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

}  // namespace vornix::platform
