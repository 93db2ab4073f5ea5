#include <array>
#include <map>
#include <stdexcept>
#include <string>

#include "gfx/MadeOnce.h"
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

using TImages = std::map<std::string, TBitmap, std::less<>>;

// All images are decoded together on first use, once per process.
TImages LoadImages() {
  TImages m;
  for (const char* image : kImages) {
    const std::string resource = std::string("images/") + image + ".png";
    const auto bytes = FindResource(resource);
    if (bytes.empty()) throw std::runtime_error("image resource missing: " + resource);
    m.emplace(image, LoadPng(bytes));
  }
  return m;
}

TMadeOnce<TImages> decodedImages(&LoadImages);

}  // namespace

const TBitmap& ImageResource(std::string_view name) {
  const TImages& all = decodedImages.Get();
  const auto found = all.find(name);
  if (found == all.end()) throw std::invalid_argument("unknown image resource: " + std::string(name));
  return found->second;
}

}  // namespace vornix::gfx
