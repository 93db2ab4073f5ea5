#include <windows.h>

#include "platform/DateText.h"
#include "platform/WinText.h"

namespace vornix::platform {

std::string ShortDateText(std::chrono::system_clock::time_point time) {
  // FILETIME counts 100 ns intervals since 1601; the system clock counts from 1970.
  constexpr long long kEpochDifference = 116444736000000000LL;
  const auto ticks =
      std::chrono::duration_cast<std::chrono::duration<long long, std::ratio<1, 10000000>>>(time.time_since_epoch())
          .count() +
      kEpochDifference;
  FILETIME utc{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME universal{}, local{};
  if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
    return {};
  wchar_t buffer[128] = {};
  const int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, buffer, 128, nullptr);
  return n > 1 ? Utf8FromWide(std::wstring_view(buffer, static_cast<std::size_t>(n - 1))) : std::string();
}

}  // namespace vornix::platform
