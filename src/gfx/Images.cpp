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

using TImages = std::map<std::string, TImage, std::less<>>;

// The images of every step are known on first use, once per process; each step's is decoded when
// it is first drawn.
TImages LoadImages() {
  TImages m;
  for (const char* image : kImages) {
    m.emplace(image, TImage([image](int percent) {
                const std::string resource = "images/" + ImageFileStem(image, percent) + ".png";
                const auto bytes = FindResource(resource);
                if (bytes.empty()) throw std::runtime_error("image resource missing: " + resource);
                return LoadPng(bytes);
              }));
  }
  return m;
}

TMadeOnce<TImages> decodedImages(&LoadImages);

}  // namespace

const TImage& ScaledImage(std::string_view name) {
  const TImages& all = decodedImages.Get();
  const auto found = all.find(name);
  if (found == all.end()) throw std::invalid_argument("unknown image resource: " + std::string(name));
  return found->second;
}

const TBitmap& ImageResource(std::string_view name) { return ScaledImage(name).At(TScale()); }

std::string ImageFileStem(std::string_view name, int percent) {
  std::string stem(name);
  if (percent != 100) stem += "@" + std::to_string(percent);
  return stem;
}

}  // namespace vornix::gfx
