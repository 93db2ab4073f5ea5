#include <dlfcn.h>

#include <stdexcept>

#include "hostkit/PluginLibrary.h"

namespace vornix::hostkit {

PluginLibrary::PluginLibrary(const std::string& path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) throw std::runtime_error(std::string("cannot load plug-in: ") + dlerror());
}

PluginLibrary::~PluginLibrary() { dlclose(handle_); }

void* PluginLibrary::Symbol(const char* name) const { return dlsym(handle_, name); }

}  // namespace vornix::hostkit
