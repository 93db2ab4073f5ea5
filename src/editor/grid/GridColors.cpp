#include "editor/grid/GridColors.h"

#include "gfx/Color.h"

namespace vornix::editor {

using gfx::DarkenColor;
using gfx::LightenColor;
using gfx::Rgb;

TGridColors SkinGridColors(const gfx::TSkin& skin) {
  TGridColors c;
  c.FrameColor = skin.sfButtonTextDisabled;
  c.BackColor = skin.scWindow;
  c.SeparatorColor = skin.scGenericGradientBase;
  c.InactiveSeparatorColor = skin.scGenericGradientEnd;
  c.RandomColor = skin.scHintGradientEnd;
  c.BarColor = skin.scButtonFocused;
  c.InactiveColor = DarkenColor(c.BackColor, 10);
  // The order within a skin matters: later touches build on earlier ones.
  if (skin.Name == "Carbon") {
    c.RandomColor = Rgb(80, 117, 29);
    c.BarColor = Rgb(37, 95, 120);
    c.CurrentStepColor = DarkenColor(Rgb(192, 192, 192), 30);
    c.InactiveColor = skin.scGenericGradientEnd;
    c.InactiveSeparatorColor = LightenColor(c.InactiveSeparatorColor, 4);
  } else if (skin.Name == "Amakrits") {
    c.BarColor = Rgb(61, 177, 160);
    c.RandomColor = Rgb(104, 204, 189);
    c.CurrentStepColor = Rgb(134, 134, 134);
    c.InactiveColor = skin.scGenericGradientEnd;
    c.InactiveSeparatorColor = LightenColor(c.InactiveSeparatorColor, 4);
  } else if (skin.Name == "Light") {
    c.BarColor = skin.scButtonPressed;
    c.RandomColor = skin.scButtonFocused;
    c.CurrentStepColor = Rgb(192, 192, 192);
    c.SeparatorColor = skin.sfButtonTextDisabled;
    c.InactiveSeparatorColor = DarkenColor(c.InactiveSeparatorColor, 8);
  } else if (skin.Name == "Luna") {
    c.BarColor = Rgb(250, 210, 98);
    c.RandomColor = Rgb(252, 223, 144);
    c.CurrentStepColor = Rgb(173, 173, 173);
    c.SeparatorColor = skin.sfButtonTextDisabled;
    c.InactiveSeparatorColor = DarkenColor(skin.scGenericGradientBase, 10);
  } else if (skin.Name == "Smokey Quartz Kamri") {
    c.RandomColor = skin.scButtonFocused;
    c.BarColor = Rgb(237, 112, 59);
    c.CurrentStepColor = Rgb(182, 182, 182);
    c.SeparatorColor = skin.sfWindowTextDisabled;
    c.InactiveSeparatorColor = LightenColor(c.SeparatorColor, 50);
  }
  return c;
}

TColumnShades::TColumnShades(const TGridColors& colors)
    : dark_{DarkenColor(colors.BackColor, 5), DarkenColor(colors.BarColor, 10), DarkenColor(colors.RandomColor, 10),
            colors.SeparatorColor},
      plain_{colors.BackColor, colors.BarColor, colors.RandomColor, colors.SeparatorColor},
      inactive_{colors.InactiveColor, colors.BarColor, colors.RandomColor, colors.InactiveSeparatorColor} {}

}  // namespace vornix::editor
