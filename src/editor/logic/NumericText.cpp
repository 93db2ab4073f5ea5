#include "editor/logic/NumericText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace vornix::editor {

std::string FormatFixed(double value, int decimals, char separator) {
  decimals = std::clamp(decimals, 0, 9);
  if (!std::isfinite(value)) value = 0.0;
  // Every digit of the exact value: a double has at most 1074 binary, so decimal, places.
  char buffer[1500];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, 1100);
  const std::string exact(buffer, written.ptr);
  const std::size_t point = exact.find('.');
  std::string digits = exact.substr(0, point) + exact.substr(point + 1, static_cast<std::size_t>(decimals));
  // Half away from zero: the first dropped digit decides, ties included.
  if (exact[point + 1 + static_cast<std::size_t>(decimals)] >= '5') {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0)
      digits.insert(digits.begin(), '1');
    else
      ++digits[i - 1];
  }
  const bool zero = std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
  const std::size_t integerDigits = digits.size() - static_cast<std::size_t>(decimals);
  std::string text = (value < 0 && !zero ? "-" : "") + digits.substr(0, integerDigits);
  if (decimals > 0) text += separator + digits.substr(integerDigits);
  return text;
}

double ParseNumber(std::string_view text, char separator) {
  std::string plain(text);
  std::size_t i = 0;
  if (i < plain.size() && plain[i] == '-') ++i;
  bool digits = false;
  bool separatorSeen = false;
  for (; i < plain.size(); ++i) {
    const char c = plain[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == separator && !separatorSeen) {
      separatorSeen = true;
      plain[i] = '.';
    } else {
      return 0.0;
    }
  }
  if (!digits) return 0.0;
  double value = 0.0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error != std::errc() || end != plain.data() + plain.size()) return 0.0;
  return value;
}

}  // namespace vornix::editor
