#include <windows.h>

#include "platform/NumberFormat.h"

namespace vornix::platform {

char UserDecimalSeparator() noexcept {
  wchar_t text[8] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, text, 8) <= 0) return '.';
  return text[0] == L',' && text[1] == 0 ? ',' : '.';
}

}  // namespace vornix::platform
