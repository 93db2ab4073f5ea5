// The editor's visual styles (each instance opens its editor in its own), and the lowest-octave
// choice every instance of the process shares.
#pragma once

#include <cstdint>

namespace vornix::plugin {

constexpr int kSkinCount = 5;

// The style selected for a stored style index; anything unknown selects "Carbon".
const char* SkinStyleName(int style);
// The menu caption of a style index ("Carbon", "Dark", ...), or null when no item shows it.
const char* SkinMenuCaption(int style);

// The lowest-octave setting the editor menu shows, shared by every instance of the process.
std::int8_t ProcessLowestOctave();
void SetProcessLowestOctave(std::int8_t octave);

}  // namespace vornix::plugin
