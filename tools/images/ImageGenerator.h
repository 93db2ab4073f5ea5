// The editor's images, drawn by program so they can be made again exactly: the tiled background,
// the two LED switch strips, the four arrow glyphs and the menu glyph, each drawn anew for every
// zoom step of the editor. vornix-images writes them to resources/images; a test checks that the
// files there are what this code draws.
#pragma once

#include <string>
#include <vector>

#include "gfx/Bitmap.h"

namespace vornix::tools {

struct TGeneratedImage {
  std::string Name;  // resource name, also the file name without ".png"
  gfx::TBitmap Bitmap;
};

// The images as drawn for a zoom step (a percentage of gfx::kZoomSteps).
std::vector<TGeneratedImage> GenerateImages(int percent = 100);

}  // namespace vornix::tools
