// Files built into the plug-in: fonts, skins and images (resources/, embedded by the build).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include <string>

#include "gfx/Bitmap.h"
#include "gfx/Image.h"

// <windows.h> defines FindResource as a macro for its own function; in files that include this
// header the name is ours (the Windows one remains as FindResourceW).
#ifdef FindResource
#undef FindResource
#endif

namespace vornix::gfx {

// The bytes of an embedded file by its name ("fonts/OpenSans-Regular.ttf", "skins/Carbon.skin",
// "images/ARROWUP.png"), or an empty span for an unknown name. The bytes live as long as the module
// and are followed by a zero byte the span does not count.
std::span<const std::uint8_t> FindResource(std::string_view name);

// An embedded image by its resource name without folder and extension ("EditorBackground",
// "STITCHED_ONOFF_DARK", "STITCHED_ONOFF_BRIGHT", "ARROWUP", "ARROWDOWN", "ARROWLEFT", "ARROWRIGHT",
// "menu16"), drawn for every zoom step and decoded once per process. An unknown name throws
// std::invalid_argument.
const TImage& ScaledImage(std::string_view name);
// The image as drawn for 100 %.
const TBitmap& ImageResource(std::string_view name);
// The file name of an image drawn for a zoom step, without folder and extension: the name itself
// at 100 %, else the name, "@" and the percentage ("ARROWUP@150").
std::string ImageFileStem(std::string_view name, int percent);

}  // namespace vornix::gfx
