// What the step grid's tests share: the grid at its place and size on the sequence page, in a
// form shown in memory, with its events logged and helpers that speak in grid coordinates.
//
// On the page (705 × 272, range 0..127) the bar area is rows 1..254, its bottom edge B is row 255,
// the indicator cells are rows 256..270, and a value v is a bar of 2·v pixels.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/grid/OrvCCSequencer.h"
#include "editor/toolkit/Form.h"
#include "platform/MemoryWindowSystem.h"

namespace vornix::editor::test {

constexpr std::uintptr_t kHostWindow = 0x4200001;

constexpr int kGridLeft = 37;
constexpr int kGridTop = 38;
constexpr int kGridWidth = 705;
constexpr int kGridHeight = 272;
constexpr int kB = 255;  // bottom edge of the bar area on the page
// What the form paints around the grid, and what marks pixels nobody painted.
constexpr gfx::TColor kPageColor = gfx::Rgb(12, 200, 90);
constexpr gfx::TColor kUnpainted = gfx::Rgb(1, 2, 3);

using Log = std::vector<std::string>;

struct TStepSetting {
  int Index;
  float Value;
  float RandomRange = 0.0f;
};

struct TGridFixture {
  explicit TGridFixture(const gfx::TSkin* skin = nullptr, int stepCount = 32, int width = kGridWidth,
                        int height = kGridHeight)
      : form(system, skin), grid(form.Add<TOrvCCSequencer>()) {
    form.SetBounds(0, 0, 786, 340);
    form.Color = kPageColor;
    grid.SetBounds(kGridLeft, kGridTop, width, height);
    grid.SetMaxValue(127);
    grid.SetMinValue(0);
    grid.SetWheelStep(0.2f);
    grid.SetStepCount(stepCount);
    grid.OnDisplayValue = [this](TOrvCCSequencer& sender, int step) {
      EXPECT_EQ(&sender, &grid);
      log.push_back("display " + std::to_string(step));
    };
    grid.OnModifiedValue = [this](TOrvCCSequencer& sender, int step) {
      EXPECT_EQ(&sender, &grid);
      log.push_back("modified " + std::to_string(step));
    };
  }

  platform::TMemoryWindow& Show() {
    form.ShowEmbedded(kHostWindow);
    window = system.Find(*form.Window());
    return *window;
  }

  // Steps of a fresh list of 64 defaults (value 63), with these ones set.
  void SetSteps(const std::vector<TStepSetting>& settings) {
    sequencer::TCCStepList steps(64);
    for (const TStepSetting& s : settings) {
      steps[s.Index].SetValue(s.Value);
      steps[s.Index].SetRandomRange(s.RandomRange);
    }
    grid.SetStepList(steps);
    form.Update();
  }
  float Value(int i) const { return grid.StepList()[i].Value(); }
  float Random(int i) const { return grid.StepList()[i].RandomRange(); }
  std::vector<float> Values(int from, int to) const {
    std::vector<float> v;
    for (int i = from; i < to; ++i) v.push_back(Value(i));
    return v;
  }

  // Geometry in grid coordinates.
  int X(int column) const { return grid.Layout().ColumnLeft(column); }
  int Mid(int column) const { return X(column) + grid.Layout().BarWidth / 2; }
  int W() const { return grid.Layout().BarWidth; }

  // A pixel shown on the screen, in grid coordinates.
  gfx::TColor Pixel(int x, int y) const { return window->Pixel(kGridLeft + x, kGridTop + y); }

  // Input in grid coordinates.
  void Press(int x, int y, TShiftState shift = 0, TMouseButton button = TMouseButton::Left) {
    system.MouseDown(*window, kGridLeft + x, kGridTop + y, button, shift);
  }
  void Move(int x, int y, TShiftState shift = 0) { system.MouseMove(*window, kGridLeft + x, kGridTop + y, shift); }
  void Release(int x, int y, TShiftState shift = 0, TMouseButton button = TMouseButton::Left) {
    system.MouseUp(*window, kGridLeft + x, kGridTop + y, button, shift);
  }
  void Wheel(int x, int y, int delta, TShiftState shift = 0) {
    system.MouseWheel(*window, kGridLeft + x, kGridTop + y, delta, shift);
  }

  // Marks the whole window surface as unpainted, so that a later paint shows where it went.
  void ForgetPaint() {
    gfx::TBitmap& surface = window->Surface();
    surface.Resize(surface.Width(), surface.Height(), kUnpainted);
  }
  // Form pixels painted since ForgetPaint that lie outside every one of `areas` (form coordinates),
  // and pixels of the areas that were not painted.
  struct TPaintCheck {
    int Outside = 0;
    int Missed = 0;
  };
  TPaintCheck PaintedOnly(const std::vector<gfx::TRect>& areas) const {
    const gfx::TBitmap& surface = window->Surface();
    TPaintCheck check;
    for (int y = 0; y < surface.Height(); ++y) {
      for (int x = 0; x < surface.Width(); ++x) {
        const bool painted = surface.Pixel(x, y) != kUnpainted;
        bool inside = false;
        for (const gfx::TRect& r : areas) inside = inside || r.Contains(x, y);
        if (painted && !inside) ++check.Outside;
        if (!painted && inside) ++check.Missed;
      }
    }
    return check;
  }
  // A rectangle of grid coordinates in form coordinates.
  static gfx::TRect OnForm(const gfx::TRect& r) { return r.Offset(kGridLeft, kGridTop); }

  platform::TMemoryWindowSystem system;
  TForm form;
  TOrvCCSequencer& grid;
  platform::TMemoryWindow* window = nullptr;
  Log log;
};

}  // namespace vornix::editor::test
