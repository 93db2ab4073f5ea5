#include "editor/dialogs/TextLines.h"

namespace vornix::editor {

namespace {

std::string_view TrimEnd(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

void WrapParagraph(const gfx::TFont& font, std::string_view rest, int width, gfx::TScale scale,
                   std::vector<std::string>& lines) {
  const std::size_t first = lines.size();
  while (scale.TextWidth(font, rest) > width) {
    const std::size_t fit = scale.TextFit(font, rest, width);
    // A blank just past what fits ends the line as well as one inside it.
    const std::size_t blank = rest.substr(0, std::min(fit + 1, rest.size())).rfind(' ');
    std::size_t next = 0;
    if (blank != std::string_view::npos && blank > 0 && !TrimEnd(rest.substr(0, blank)).empty()) {
      lines.emplace_back(TrimEnd(rest.substr(0, blank)));
      next = blank;
      while (next < rest.size() && rest[next] == ' ') ++next;
    } else {
      // One word wider than the line: as much of it as fits, at least one character.
      next = fit;
      if (next == 0) gfx::NextCodepoint(rest, next);
      lines.emplace_back(rest.substr(0, next));
    }
    rest.remove_prefix(next);
  }
  // What is left, unless the breaks took it all.
  if (!rest.empty() || lines.size() == first) lines.emplace_back(TrimEnd(rest));
}

}  // namespace

std::vector<std::string> WrapText(const gfx::TFont& font, std::string_view text, int width, gfx::TScale scale) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find_first_of("\r\n", start);
    WrapParagraph(font, text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start), width,
                  scale, lines);
    if (end == std::string_view::npos) break;
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

}  // namespace vornix::editor
