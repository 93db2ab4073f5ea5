#include <array>
#include <map>
#include <stdexcept>
#include <string>

#include "gfx/Png.h"
#include "gfx/Resources.h"

namespace vornix::gfx {

namespace {

constexpr std::array<const char*, 8> kImages = {"EditorBackground",
                                                "STITCHED_ONOFF_DARK",
                                                "STITCHED_ONOFF_BRIGHT",
                                                "ARROWUP",
                                                "ARROWDOWN",
                                                "ARROWLEFT",
                                                "ARROWRIGHT",
                                                "menu16"};

}  // namespace

const TBitmap& ImageResource(std::string_view name) {
  // All images are decoded together on first use, once per process.
  static const std::map<std::string, TBitmap, std::less<>> images = [] {
    std::map<std::string, TBitmap, std::less<>> m;
    for (const char* image : kImages) {
      const std::string resource = std::string("images/") + image + ".png";
      const auto bytes = FindResource(resource);
      if (bytes.empty()) throw std::runtime_error("image resource missing: " + resource);
      m.emplace(image, LoadPng(bytes));
    }
    return m;
  }();
  const auto found = images.find(name);
  if (found == images.end()) throw std::invalid_argument("unknown image resource: " + std::string(name));
  return found->second;
}

}  // namespace vornix::gfx
