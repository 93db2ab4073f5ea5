// vornix-images FOLDER: draws the editor's images for every zoom step and writes them there as PNG
// files (resources/images in the repository).
#include <cstdio>
#include <exception>
#include <filesystem>

#include "ImageGenerator.h"
#include "gfx/Png.h"
#include "gfx/Resources.h"
#include "gfx/Scale.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vornix-images FOLDER\n");
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const int percent : vornix::gfx::kZoomSteps) {
      for (const auto& image : vornix::tools::GenerateImages(percent)) {
        const auto path = folder / (vornix::gfx::ImageFileStem(image.Name, percent) + ".png");
        vornix::gfx::SavePng(image.Bitmap, path);
        std::printf("%s (%d x %d)\n", path.string().c_str(), image.Bitmap.Width(), image.Bitmap.Height());
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vornix-images: %s\n", e.what());
    return 1;
  }
  return 0;
}
