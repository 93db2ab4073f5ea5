// vornix-images FOLDER: draws the editor's images and writes them there as PNG files
// (resources/images in the repository).
#include <cstdio>
#include <exception>
#include <filesystem>

#include "ImageGenerator.h"
#include "gfx/Png.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vornix-images FOLDER\n");
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const auto& image : vornix::tools::GenerateImages()) {
      const auto path = folder / (image.Name + ".png");
      vornix::gfx::SavePng(image.Bitmap, path);
      std::printf("%s (%d x %d)\n", path.string().c_str(), image.Bitmap.Width(), image.Bitmap.Height());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vornix-images: %s\n", e.what());
    return 1;
  }
  return 0;
}
