// The whole editor: the plug-in instantiated through its entry point, and the module made as the
// entry point makes it with its editor opened through effEditOpen on windows in memory (budget
// ≤ 10 ms), then a full repaint of the open editor in each skin (budget ≤ 2 ms; zoomed to 200 %,
// ≤ 4 ms), and the undo of a stroke across the whole grid (budget ≤ 1 ms).
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cmath>
#include <memory>
#include <string>

#include "editor/forms/EmbeddedEditor.h"
#include "host/VSTModule.h"
#include "platform/MemoryWindowSystem.h"
#include "plugin/Plugin.h"
#include "plugin/Skins.h"
#include "render/PictureModule.h"

namespace {

using namespace vornix;
using namespace vst;

VstIntPtr VSTCALLBACK Callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

// The built plug-in file: its entry point and effOpen, as a host instantiates it.
void BM_InstantiateThroughEntryPoint(benchmark::State& state) {
  void* library = dlopen(VORNIX_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    state.SkipWithError("cannot load the plug-in");
    return;
  }
  auto entry = reinterpret_cast<AEffect* (*)(audioMasterCallback)>(dlsym(library, "VSTPluginMain"));
  for (auto _ : state) {
    AEffect* e = entry(&Callback);
    e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
    state.PauseTiming();
    e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
    state.ResumeTiming();
  }
  dlclose(library);
}

// The module as the entry point makes it, its editor on the given windows.
AEffect* CreateInProcess(platform::TMemoryWindowSystem& windows, int skin = -1, plugin::TVSTPlugin** module = nullptr,
                         int zoom = 100) {
  return host::CreateEffect(
      [&] {
        auto plugin = std::make_unique<render::TPictureModule>(skin, zoom);
        editor::InstallEmbeddedEditor(*plugin, &windows);
        if (module != nullptr) *module = plugin.get();
        return plugin;
      },
      &Callback);
}

// Entry, effOpen and effEditOpen up to the first picture on the screen. The first run in a process
// also makes the fonts' glyphs and the skins' images, which every later editor shares.
void OpenEditor(benchmark::State& state) {
  platform::TMemoryWindowSystem windows;
  int parent = 0;
  for (auto _ : state) {
    AEffect* e = CreateInProcess(windows);
    e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
    e->dispatcher(e, effEditOpen, 0, 0, &parent, 0.0f);
    benchmark::DoNotOptimize(windows.Windows().front()->Screen().Data());
    state.PauseTiming();
    e->dispatcher(e, effEditClose, 0, 0, nullptr, 0.0f);
    e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
    state.ResumeTiming();
  }
}
BENCHMARK(OpenEditor)
    ->Name("BM_FirstEditorOpenInProcess")
    ->Iterations(1)
    ->Repetitions(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InstantiateThroughEntryPoint)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenEditor)->Name("BM_InstantiateAndOpenEditor")->Unit(benchmark::kMillisecond);

// The open editor in a skin, sequence 1 with 64 steps, random bands and the playing step lit.
struct TOpenEditor {
  explicit TOpenEditor(int skin, int zoom = 100) {
    effect = CreateInProcess(windows, skin, &module, zoom);
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    module->SetParameterByName("Seq1 Steps", 64);
    auto& steps = module->Sequencer().Items(0).Steps();
    for (int i = 0; i < 64; ++i) {
      steps[i].SetValue(static_cast<float>(std::round(64 + 50 * std::sin(i * 0.2))));
      steps[i].SetRandomRange(i % 4 == 3 ? 20.0f : 0.0f);
    }
    for (int s : {2, 4, 6}) module->SetParameterByName("Seq" + std::to_string(s) + " Active", 1);
    int parent = 0;
    effect->dispatcher(effect, effEditOpen, 0, 0, &parent, 0.0f);
    page = static_cast<editor::TEmbeddedEditor*>(module->EditorForm())->Form();
    page->SetGridStepNo(20);
    page->Update();
    window = windows.Find(*page->Window());
  }
  ~TOpenEditor() {
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  }
  platform::TMemoryWindowSystem windows;
  plugin::TVSTPlugin* module = nullptr;
  AEffect* effect = nullptr;
  editor::TfrmEditor* page = nullptr;
  platform::TMemoryWindow* window = nullptr;
};

void BM_EditorFullRepaint(benchmark::State& state) {
  TOpenEditor open(static_cast<int>(state.range(0)));
  state.SetLabel(plugin::SkinStyleName(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    open.page->Invalidate();
    open.page->Update();
    benchmark::DoNotOptimize(open.window->Screen().Data());
  }
}
BENCHMARK(BM_EditorFullRepaint)->DenseRange(0, plugin::kSkinCount - 1)->Unit(benchmark::kMicrosecond);

void BM_EditorFullRepaintZoomed(benchmark::State& state) {
  TOpenEditor open(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  state.SetLabel(plugin::SkinStyleName(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    open.page->Invalidate();
    open.page->Update();
    benchmark::DoNotOptimize(open.window->Screen().Data());
  }
}
BENCHMARK(BM_EditorFullRepaintZoomed)
    ->ArgNames({"skin", "zoom"})
    ->ArgsProduct({{0, 1, 2, 3, 4}, {200}})
    ->Unit(benchmark::kMicrosecond);

// One stroke over all 64 steps, drawn with the mouse, then undone (and, untimed, redone) again and
// again: the module's state put back, the page brought up to date with it and painted.
void BM_UndoFullGridDrag(benchmark::State& state) {
  TOpenEditor open(0);
  const auto& grid = *open.page->CCSequencer;
  const auto at = [&](int step, int y) { return grid.ClientToForm({grid.Layout().ColumnLeft(step) + 2, y}); };
  gfx::TPoint p = at(0, 30);
  open.windows.MouseDown(*open.window, p.X, p.Y);
  for (int step = 0; step < 64; ++step) {
    p = at(step, 30 + (step * 37) % 200);
    open.windows.MouseMove(*open.window, p.X, p.Y, platform::ssLeft);
  }
  open.windows.MouseUp(*open.window, p.X, p.Y);
  if (open.page->UndoName().empty()) {
    state.SkipWithError("the stroke made no edit");
    return;
  }
  for (auto _ : state) {
    open.page->UndoEdit();
    open.page->PullChanges();
    open.page->Update();
    benchmark::DoNotOptimize(open.window->Screen().Data());
    state.PauseTiming();
    open.page->RedoEdit();
    open.page->PullChanges();
    open.page->Update();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UndoFullGridDrag)->Unit(benchmark::kMicrosecond);

}  // namespace
