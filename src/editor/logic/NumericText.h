// Numbers as the numeric edit shows and reads them: a fixed count of decimals after a decimal
// separator chosen by the caller ('.' or the user's ',').
#pragma once

#include <string>
#include <string_view>

namespace vornix::editor {

// The display format "0" (no decimals) or "0.00…": `decimals` digits (0..9) after the separator,
// rounded half away from zero on the number's exact value, as the platform's number formatting
// rounds. A result that rounds to zero has no sign; non-finite numbers show as 0.
std::string FormatFixed(double value, int decimals, char separator);

// The number in text of the form [-]digits[separator digits] (digits on at least one side);
// empty text and anything else, too large numbers included, read as 0.
double ParseNumber(std::string_view text, char separator);

}  // namespace vornix::editor
