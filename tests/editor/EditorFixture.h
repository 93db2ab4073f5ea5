// What the editor toolkit's tests share: a form shown in memory and a control that records what
// reaches it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/toolkit/Form.h"
#include "platform/MemoryWindowSystem.h"

namespace vornix::editor::test {

constexpr std::uintptr_t kHost = 0x4200001;

using Log = std::vector<std::string>;

inline std::string ButtonName(TMouseButton b) {
  switch (b) {
    case TMouseButton::Left: return "L";
    case TMouseButton::Right: return "R";
    case TMouseButton::Middle: return "M";
    case TMouseButton::None: break;
  }
  return "-";
}

// Records its input as "name:what" lines; fills itself with Fill and counts its paints.
class TProbe : public TControl {
 public:
  TProbe(Log& log, std::string name) : log_(log) { Name = std::move(name); }

  TColor Fill = gfx::kWhite;
  bool TakesWheel = false;
  bool TakesKeys = false;
  int Paints = 0;

  void Paint(gfx::TCanvas& canvas) override {
    ++Paints;
    canvas.FillRect(ClientRect(), Fill);
  }
  void MouseDown(TMouseButton b, TShiftState shift, int x, int y) override {
    Record("down " + ButtonName(b) + " " + std::to_string(x) + "," + std::to_string(y) +
           ((shift & platform::ssDouble) != 0 ? " double" : ""));
    TControl::MouseDown(b, shift, x, y);
  }
  void MouseMove(TShiftState shift, int x, int y) override {
    Record("move " + std::to_string(x) + "," + std::to_string(y));
    TControl::MouseMove(shift, x, y);
  }
  void MouseUp(TMouseButton b, TShiftState shift, int x, int y) override {
    Record("up " + ButtonName(b) + " " + std::to_string(x) + "," + std::to_string(y));
    TControl::MouseUp(b, shift, x, y);
  }
  bool MouseWheel(TShiftState, int delta, TPoint) override {
    Record("wheel " + std::to_string(delta));
    return TakesWheel;
  }
  void MouseEnter() override { Record("enter"); }
  void MouseLeave() override { Record("leave"); }
  void Click() override {
    Record("click");
    TControl::Click();
  }
  void DblClick() override {
    Record("dblclick");
    TControl::DblClick();
  }
  bool KeyDown(int key, TShiftState) override {
    Record("key " + std::to_string(key));
    return TakesKeys;
  }
  bool KeyPress(char32_t c) override {
    Record("char " + std::to_string(static_cast<int>(c)));
    return TakesKeys;
  }
  void FocusIn() override { Record("focus in"); }
  void FocusOut() override { Record("focus out"); }
  void Loaded() override { Record("loaded"); }

 private:
  void Record(const std::string& what) { log_.push_back(Name + ":" + what); }
  Log& log_;
};

struct TFormFixture {
  explicit TFormFixture(const gfx::TSkin* skin = nullptr, int width = 200, int height = 100) : form(system, skin) {
    form.SetBounds(0, 0, width, height);
  }
  platform::TMemoryWindow& Show() {
    form.ShowEmbedded(kHost);
    return *system.Find(*form.Window());
  }

  platform::TMemoryWindowSystem system;
  TForm form;
};

}  // namespace vornix::editor::test
