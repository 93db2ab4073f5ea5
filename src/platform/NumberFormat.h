// How the user writes numbers.
#pragma once

namespace vornix::platform {

// The decimal separator of the user's number format: ',' or '.' (any other reads as '.', so that
// a number's text stays plain ASCII). POSIX: the locale of the environment (LC_ALL, LC_NUMERIC,
// LANG); Windows: the user's regional settings.
char UserDecimalSeparator() noexcept;

}  // namespace vornix::platform
