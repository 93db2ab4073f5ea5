// Text broken into lines that fit a width.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gfx/Font.h"
#include "gfx/Scale.h"

namespace vornix::editor {

// CR LF, LF and CR end lines (an empty line stays). A line wider than `width` breaks at its last
// blank that fits; a word wider than the width breaks between characters. Blanks at the end of a
// broken line go. Widths are measured as the text is drawn at the zoom.
std::vector<std::string> WrapText(const gfx::TFont& font, std::string_view text, int width, gfx::TScale scale = {});

}  // namespace vornix::editor
