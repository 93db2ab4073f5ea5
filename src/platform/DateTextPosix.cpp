#include <locale.h>
#include <time.h>

#include "platform/DateText.h"

namespace vornix::platform {

std::string ShortDateText(std::chrono::system_clock::time_point time) {
  const std::time_t t = std::chrono::system_clock::to_time_t(time);
  std::tm local{};
  if (localtime_r(&t, &local) == nullptr) return {};
  // The user's locale from the environment, whatever the host set for its own process.
  locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) user = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
  char buffer[128] = {};
  const std::size_t n = user != static_cast<locale_t>(0) ? strftime_l(buffer, sizeof buffer, "%x", &local, user)
                                                         : strftime(buffer, sizeof buffer, "%x", &local);
  if (user != static_cast<locale_t>(0)) freelocale(user);
  return std::string(buffer, n);
}

}  // namespace vornix::platform
