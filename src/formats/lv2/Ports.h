// The LV2 plug-in's names and ports, shared by the plug-in, its UI and the bundle's description.
//
// The URIs are the plug-in's identity in every saved session and preset, so they never change:
// the vendor's name and the product's, no version. The ".example" domain is reserved (RFC 2606),
// so no other vendor can ever publish a plug-in under the same URI.
#pragma once

#include <cstdint>

#include "host/VSTModuleWithMidi.h"
#include "plugin/ParameterTable.h"

namespace vornix::formats::lv2 {

inline constexpr const char* kPluginUri = "https://orvane.example/plugins/vornix";
inline constexpr const char* kUiUri = "https://orvane.example/plugins/vornix#ui";
// The state's one property: the program chunk, the very bytes of a preset file.
inline constexpr const char* kStateUri = "https://orvane.example/plugins/vornix#chunk";
inline constexpr const char* kPresetUriPrefix = "https://orvane.example/plugins/vornix/presets#";

// MIDI and the host's transport come in on port 0; MIDI goes out on port 1; the 72 settings follow
// in the order of the VST 2.x parameters.
inline constexpr std::uint32_t kEventsIn = 0;
inline constexpr std::uint32_t kEventsOut = 1;
inline constexpr std::uint32_t kFirstControl = 2;
inline constexpr std::uint32_t kPortCount = kFirstControl + plugin::kParameterCount;

// Room the output needs for a block's MIDI at most (an event takes 16 bytes of header and 8 of
// data), with a notification and the sequence's header.
inline constexpr std::uint32_t kEventsOutMinimumSize =
    24u * static_cast<std::uint32_t>(host::TVSTModuleWithMidi::kMaxMidiOut) + 256u;

}  // namespace vornix::formats::lv2
