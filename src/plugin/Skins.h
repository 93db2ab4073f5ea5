// The editor's visual styles and the process-wide choices every instance shares.
#pragma once

#include <cstdint>

namespace vornix::plugin {

constexpr int kSkinCount = 5;

// The style selected for a stored style index; anything unknown selects "Carbon".
const char* SkinStyleName(int style);
// The menu caption of a style index ("Carbon", "Dark", ...), or null when no item shows it.
const char* SkinMenuCaption(int style);

// The style all plug-in windows of the process use, as last selected by an opening editor.
const char* SelectedSkinStyle();
void SelectSkinStyle(const char* name);

// The lowest-octave setting the editor menu shows, shared by every instance of the process.
std::int8_t ProcessLowestOctave();
void SetProcessLowestOctave(std::int8_t octave);

}  // namespace vornix::plugin
