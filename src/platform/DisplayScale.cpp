#include "platform/DisplayScale.h"

#include <charconv>
#include <cstdlib>
#include <string>

namespace vornix::platform {

namespace {
constexpr double kBaseDpi = 96.0;
}

double GdkScalePercent(const char* gdkScale) {
  if (gdkScale == nullptr) return 0;
  const std::string_view text(gdkScale);
  int factor = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), factor);
  if (error != std::errc() || end != text.data() + text.size() || factor < 1) return 0;
  return factor * 100.0;
}

// Lines "name:\tvalue"; the last Xft.dpi wins, as in Xlib's resource database.
double XftDpiPercent(std::string_view resources) {
  double percent = 0;
  while (!resources.empty()) {
    const std::size_t end = resources.find('\n');
    std::string_view line = resources.substr(0, end);
    resources.remove_prefix(end == std::string_view::npos ? resources.size() : end + 1);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view name = line.substr(0, colon), value = line.substr(colon + 1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
    if (name != "Xft.dpi") continue;
    const std::string number(value);
    char* stop = nullptr;
    const double dpi = std::strtod(number.c_str(), &stop);
    if (stop != number.c_str() && dpi > 0 && dpi < 10000) percent = dpi / kBaseDpi * 100.0;
  }
  return percent;
}

}  // namespace vornix::platform
