// The bundle's description in Turtle, made from the module itself at build time, so the ports'
// names, ranges, defaults and list texts are always those of the VST 2.x parameters.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "formats/common/ParameterInfo.h"

namespace vornix::formats::lv2 {

// A factory preset: its name, the settings' values (in parameter units, in parameter order) and
// its state, the bytes of a preset file.
struct TPresetDescription {
  std::string Name;
  std::vector<float> Values;
  std::vector<std::uint8_t> Chunk;
};

// manifest.ttl: the plug-in, its UI and the presets, with the files that describe them.
std::string ManifestTurtle(const std::string& binary, const std::vector<TPresetDescription>& presets);
// The plug-in's own file: its ports, features, state and UI.
std::string PluginTurtle(const std::vector<TParameterInfo>& parameters);
std::string PresetsTurtle(const std::vector<TParameterInfo>& parameters,
                          const std::vector<TPresetDescription>& presets);

inline constexpr const char* kPluginFile = "vornix.ttl";
inline constexpr const char* kPresetsFile = "presets.ttl";

// Exposed for tests.
std::string Base64(std::span<const std::uint8_t> bytes);
// "demo-motion" for "Demo Motion": the part of a preset's URI after the presets' prefix.
std::string PresetSlug(const std::string& name);

}  // namespace vornix::formats::lv2
