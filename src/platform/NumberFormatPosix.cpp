#include <locale>

#include "platform/NumberFormat.h"

namespace vornix::platform {

char UserDecimalSeparator() noexcept {
  try {
    // The environment's locale, without touching the process's own (the host's).
    const char point = std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point();
    return point == ',' ? ',' : '.';
  } catch (...) {
    // A locale the C library does not know.
    return '.';
  }
}

}  // namespace vornix::platform
