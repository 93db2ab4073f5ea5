// vornix-grid-gallery FOLDER: draws the step grid where the sequence page has it, on the page's
// background and main panel, in each of the five skins: 64 steps of a swelling curve with random
// bands, and 27 of 32 columns with a few extreme steps. Writes one PNG file per skin and view.
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "editor/OrvCCSequencer.h"
#include "editor/toolkit/Form.h"
#include "editor/toolkit/OrvGuiPanel.h"
#include "gfx/Png.h"
#include "gfx/Resources.h"
#include "platform/MemoryWindowSystem.h"

namespace {

using namespace vornix;
using namespace vornix::editor;

class TPage final : public TForm {
 public:
  using TForm::TForm;
  void Paint(gfx::TCanvas& canvas) override { canvas.FillTiled(ClientRect(), gfx::ImageResource("EditorBackground")); }
};

sequencer::TCCStepList Curve() {
  sequencer::TCCStepList steps(64);
  for (int i = 0; i < 64; ++i) {
    const double phase = i * 2 * 3.14159265358979 / 64;
    const float value = static_cast<float>(std::round(64 + 50 * std::sin(phase) * (0.4 + 0.6 * i / 63.0)));
    steps[i].SetValue(value);
    steps[i].SetRandomRange(i % 5 == 2 ? 18.0f : i % 7 == 0 ? 9.0f : 0.0f);
  }
  return steps;
}

sequencer::TCCStepList Extremes() {
  sequencer::TCCStepList steps(64);
  const float values[] = {0, 127, 63, 100, 20,  110, 40,  90, 127, 0,  64, 64, 30, 80,
                          5, 120, 70, 50,  100, 10,  127, 90, 60,  30, 45, 75, 96};
  for (int i = 0; i < 27; ++i) steps[i].SetValue(values[i]);
  steps[2].SetRandomRange(64);
  steps[3].SetRandomRange(60);  // reaches the top
  steps[12].SetRandomRange(25);
  steps[19].SetRandomRange(40);
  for (int i = 27; i < 64; ++i) steps[i].SetValue(100);  // beyond the count: not shown
  return steps;
}

void Render(const gfx::TSkin& skin, const sequencer::TCCStepList& steps, int stepCount, int stepNo,
            const std::filesystem::path& file) {
  platform::TMemoryWindowSystem system;
  TPage page(system, &skin);
  page.SetBounds(0, 0, 786, 421);
  auto& panel = page.Add<TOrvGuiPanel>();
  panel.SetBounds(3, 44, 780, 373);
  auto& grid = panel.Add<TOrvCCSequencer>();
  grid.SetBounds(37, 38, 705, 272);
  grid.SetStepCount(stepCount);
  grid.SetStepList(steps);
  page.ShowEmbedded(0x1000);
  grid.SetStepNo(stepNo);
  gfx::TBitmap bitmap;
  page.PaintTo(bitmap);
  gfx::SavePng(bitmap, file);
  std::printf("%s\n", file.string().c_str());
  // The bottom left corner four times as large, where frame, bars, separators and cells meet.
  const gfx::TRect corner = gfx::TRect::FromSize(30, 250, 200, 120);
  gfx::TBitmap zoom(corner.Width() * 4, corner.Height() * 4);
  gfx::TCanvas canvas(zoom);
  canvas.StretchBitmap(zoom.Bounds(), bitmap, corner);
  std::filesystem::path zoomFile = file;
  zoomFile.replace_extension(".zoom.png");
  gfx::SavePng(zoom, zoomFile);
}

std::string FileStem(const std::string& skinName) { return skinName.substr(0, skinName.find(' ')); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vornix-grid-gallery FOLDER\n");
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const gfx::TSkin& skin : gfx::AllSkins()) {
      Render(skin, Curve(), 64, 21, folder / ("grid-" + FileStem(skin.Name) + "-64.png"));
      Render(skin, Extremes(), 27, 5, folder / ("grid-" + FileStem(skin.Name) + "-27.png"));
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vornix-grid-gallery: %s\n", e.what());
    return 1;
  }
  return 0;
}
