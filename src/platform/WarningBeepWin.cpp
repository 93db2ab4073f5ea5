#include <windows.h>

#include "platform/WarningBeep.h"

namespace vornix::platform {

TWarningBeepOff::TWarningBeepOff() {
  BOOL on = FALSE;
  if (!SystemParametersInfoW(SPI_GETBEEP, 0, &on, 0) || !on) return;
  // Broadcast so that every program hears of it, but not written to the profile.
  wasOn_ = SystemParametersInfoW(SPI_SETBEEP, FALSE, nullptr, SPIF_SENDCHANGE) != 0;
}

TWarningBeepOff::~TWarningBeepOff() {
  if (wasOn_) SystemParametersInfoW(SPI_SETBEEP, TRUE, nullptr, SPIF_SENDCHANGE);
}

}  // namespace vornix::platform
