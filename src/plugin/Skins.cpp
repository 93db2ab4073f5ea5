#include "plugin/Skins.h"

#include <array>
#include <atomic>

namespace vornix::plugin {

namespace {

struct Skin {
  const char* caption;
  const char* style;
};

constexpr std::array<Skin, kSkinCount> kSkins = {{
    {"Carbon", "Carbon"},
    {"Dark", "Amakrits"},
    {"Light", "Light"},
    {"Luna", "Luna"},
    {"Smokey", "Smokey Quartz Kamri"},
}};

std::atomic<std::int8_t> lowestOctave{-2};

}  // namespace

const char* SkinStyleName(int style) {
  return style >= 0 && style < kSkinCount ? kSkins[static_cast<std::size_t>(style)].style : kSkins[0].style;
}

const char* SkinMenuCaption(int style) {
  return style >= 0 && style < kSkinCount ? kSkins[static_cast<std::size_t>(style)].caption : nullptr;
}

std::int8_t ProcessLowestOctave() { return lowestOctave.load(); }
void SetProcessLowestOctave(std::int8_t octave) { lowestOctave.store(octave); }

}  // namespace vornix::plugin
