// The tags of effVendorSpecific calls that VST 2.x hosts make beyond the interface itself.
#pragma once

#include "host/VstAbi.h"

namespace vst {

// 'PreS' 'AeCs' (index, value): the host's UI scale, as a factor in opt.
inline constexpr VstInt32 kVendorScaleIndex = 0x50726553;
inline constexpr VstIntPtr kVendorScaleValue = 0x41654373;
// 'Whee' (value): the host saw the mouse wheel over the editor.
inline constexpr VstIntPtr kVendorWheelValue = 0x57686565;

}  // namespace vst
