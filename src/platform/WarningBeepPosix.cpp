#include "platform/WarningBeep.h"

namespace vornix::platform {

TWarningBeepOff::TWarningBeepOff() = default;
TWarningBeepOff::~TWarningBeepOff() = default;

}  // namespace vornix::platform
