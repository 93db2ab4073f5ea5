// The plug-in file loaded into this process: dlopen on POSIX systems, LoadLibraryW on Windows.
#pragma once

#include <string>

namespace vornix::hostkit {

class PluginLibrary {
 public:
  // `path` is UTF-8. Throws std::runtime_error with the system's reason when it cannot be loaded.
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // The exported function of that name, or null.
  void* Symbol(const char* name) const;

 private:
  void* handle_ = nullptr;
};

}  // namespace vornix::hostkit
