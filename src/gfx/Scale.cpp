#include "gfx/Scale.h"

#include <algorithm>

namespace vornix::gfx {

// Never less than at 100 %: what is laid out by text keeps its design size when zoomed and grows
// only where the scaled text needs more.
int TScale::TextWidth(const TFont& font, std::string_view utf8) const {
  const int normal = gfx::TextWidth(font, utf8);
  if (Identity()) return normal;
  return std::max(normal, CeilLogical(gfx::TextWidth(Font(font), utf8)));
}

int TScale::LineHeight(const TFont& font) const {
  const int normal = FontMetrics(font).LineHeight;
  if (Identity()) return normal;
  return std::max(normal, CeilLogical(FontMetrics(Font(font)).LineHeight));
}

std::size_t TScale::TextFit(const TFont& font, std::string_view utf8, int maxWidth) const {
  const std::size_t normal = gfx::TextFit(font, utf8, maxWidth);
  if (Identity()) return normal;
  // A scaled width of at most this many screen pixels rounds up to at most maxWidth.
  return std::min(normal, gfx::TextFit(Font(font), utf8, FloorDiv(maxWidth * percent_, 100)));
}

}  // namespace vornix::gfx
