#include "gfx/Color.h"

#include <algorithm>
#include <cstdlib>

namespace vornix::gfx {

namespace {

// x·p/100 rounded to nearest with halves away from zero (the Windows MulDiv rule).
int ScaledPercent(int x, int p) {
  const int n = x * p;
  const int q = (std::abs(n) + 50) / 100;
  return n < 0 ? -q : q;
}

TColor MapChannels(TColor c, int (*f)(int, int), int p) {
  const auto ch = [&](int x) { return std::clamp(f(x, p), 0, 255); };
  return Argb(AlphaOf(c), ch(RedOf(c)), ch(GreenOf(c)), ch(BlueOf(c)));
}

}  // namespace

TColor DarkenColor(TColor c, int percent) {
  return MapChannels(
      c, [](int x, int p) { return x - ScaledPercent(x, p); }, percent);
}

TColor LightenColor(TColor c, int percent) {
  return MapChannels(
      c, [](int x, int p) { return x + ScaledPercent(255 - x, p); }, percent);
}

}  // namespace vornix::gfx
