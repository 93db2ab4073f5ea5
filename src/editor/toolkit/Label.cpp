#include "editor/toolkit/Label.h"

#include <vector>

namespace vornix::editor {

namespace {

// Greedy lines of whole words; a word longer than the width stands on a line of its own.
std::vector<std::string> WrapLines(const gfx::TFont& font, const std::string& text, int width, gfx::TScale scale) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t end = std::min(text.find(' ', pos), text.size());
    const std::string word = text.substr(pos, end - pos);
    const std::string candidate = line.empty() ? word : line + ' ' + word;
    if (!line.empty() && scale.TextWidth(font, candidate) > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = candidate;
    }
    pos = end + 1;
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

void TLabel::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Invalidate();
}

void TLabel::Loaded() {
  if (const gfx::TSkin* skin = Skin(); skin != nullptr && UseSkinColor) Font.Color = skin->LabelText;
}

void TLabel::Paint(gfx::TCanvas& canvas) {
  if (!Transparent) canvas.FillRect(ClientRect(), Color);
  if (caption_.empty()) return;
  if (!WordWrap) {
    canvas.DrawText(ClientRect(), caption_, Font, Alignment, Layout);
    return;
  }
  const std::vector<std::string> lines = WrapLines(Font, caption_, Width(), canvas.Scale());
  const int lineHeight = canvas.Scale().LineHeight(Font);
  const int total = lineHeight * static_cast<int>(lines.size());
  int y = Layout == gfx::TVAlign::Top ? 0 : Layout == gfx::TVAlign::Bottom ? Height() - total : (Height() - total) / 2;
  for (const std::string& line : lines) {
    canvas.DrawText({0, y, Width(), y + lineHeight}, line, Font, Alignment, gfx::TVAlign::Top);
    y += lineHeight;
  }
}

}  // namespace vornix::editor
