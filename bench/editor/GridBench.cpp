// The step grid at its place on the 786 × 421 sequence page (tiled background, main panel, 64
// steps with random bands, the playing step lit), shown in a memory window: a full repaint of the
// page, the grid's own full repaint, one step's redraw and a wheel notch from the event to the
// screen, and a new playing step, at 100 % and zoomed to 200 %. Budgets: a full repaint ≤ 2 ms, a
// step ≤ 50 µs (at 200 %: ≤ 4 ms and ≤ 100 µs).
#include <benchmark/benchmark.h>

#include <cmath>

#include "editor/grid/OrvCCSequencer.h"
#include "editor/toolkit/Form.h"
#include "editor/toolkit/OrvGuiPanel.h"
#include "gfx/Resources.h"
#include "gfx/Skin.h"
#include "platform/MemoryWindowSystem.h"

namespace {

using namespace vornix;
using namespace vornix::editor;

class TPage final : public TForm {
 public:
  using TForm::TForm;
  void Paint(gfx::TCanvas& canvas) override { canvas.FillTiled(ClientRect(), gfx::ScaledImage("EditorBackground")); }
};

struct TPageFixture {
  platform::TMemoryWindowSystem system;
  TPage page{system, &gfx::SkinByName("Carbon")};
  TOrvCCSequencer* grid = nullptr;
  platform::TMemoryWindow* window = nullptr;

  explicit TPageFixture(int zoom) {
    page.SetScale(gfx::TScale(zoom));
    page.SetBounds(0, 0, 786, 421);
    auto& panel = page.Add<TOrvGuiPanel>();
    panel.SetBounds(3, 44, 780, 373);
    grid = &panel.Add<TOrvCCSequencer>();
    grid->SetBounds(37, 38, 705, 272);
    grid->SetStepCount(64);
    sequencer::TCCStepList steps(64);
    for (int i = 0; i < 64; ++i) {
      steps[i].SetValue(static_cast<float>(std::round(64 + 60 * std::sin(i * 0.1))));
      steps[i].SetRandomRange(i % 3 == 0 ? 12.0f : 0.0f);
    }
    grid->SetStepList(steps);
    page.ShowEmbedded(0x1000);
    window = system.Find(*page.Window());
    grid->SetStepNo(7);
    grid->SetFocus();
    page.Update();
  }
};

void BM_PageFullRepaint(benchmark::State& state) {
  TPageFixture f(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    f.page.Invalidate();
    f.page.Update();
    benchmark::DoNotOptimize(f.window->Screen().Data());
  }
}
BENCHMARK(BM_PageFullRepaint)->ArgName("zoom")->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_GridFullRepaint(benchmark::State& state) {
  TPageFixture f(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    f.grid->Invalidate();
    f.page.Update();
    benchmark::DoNotOptimize(f.window->Screen().Data());
  }
}
BENCHMARK(BM_GridFullRepaint)->ArgName("zoom")->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_GridStepRedraw(benchmark::State& state) {
  TPageFixture f(static_cast<int>(state.range(0)));
  int i = 0;
  for (auto _ : state) {
    f.grid->DrawStep(i);
    f.page.Update();
    i = (i + 1) % 64;
    benchmark::DoNotOptimize(f.window->Screen().Data());
  }
}
BENCHMARK(BM_GridStepRedraw)->ArgName("zoom")->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

// A notch over step 10, up and down in turn: hit test, value change, change event, repaint.
void BM_GridWheelNotch(benchmark::State& state) {
  TPageFixture f(static_cast<int>(state.range(0)));
  const gfx::TPoint p = f.page.Scale().Px(f.grid->ClientToForm({f.grid->Layout().ColumnLeft(10) + 5, 100}));
  int delta = 120;
  for (auto _ : state) {
    f.system.MouseWheel(*f.window, p.X, p.Y, delta);
    delta = -delta;
    benchmark::DoNotOptimize(f.window->Screen().Data());
  }
}
BENCHMARK(BM_GridWheelNotch)->ArgName("zoom")->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_GridStepNo(benchmark::State& state) {
  TPageFixture f(static_cast<int>(state.range(0)));
  int i = 0;
  for (auto _ : state) {
    f.grid->SetStepNo(i);
    f.page.Update();
    i = (i + 1) % 64;
    benchmark::DoNotOptimize(f.window->Screen().Data());
  }
}
BENCHMARK(BM_GridStepNo)->ArgName("zoom")->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
