#pragma once

// 80-bit x87 extended precision numbers as stored in tagged value streams, converted in software
// because `long double` is not that format on every target.
//
// Layout (little-endian): bytes 0..7 the 64-bit significand with an explicit integer bit,
// bytes 8..9 the sign (bit 15) and the exponent biased by 16383.

#include <array>
#include <cstdint>
#include <span>

namespace vornix {

using Extended80 = std::array<std::uint8_t, 10>;

// Exact: every double, denormals included, is representable.
Extended80 DoubleToExtended(double value);

// Round to nearest, ties to even; too large values become infinity, too small ones denormals or
// zero; NaN keeps its sign and the top of its payload. Unnormals (integer bit clear with a non-zero
// exponent) are read for the value they denote; pseudo-infinities and pseudo-NaNs become NaN.
double ExtendedToDouble(std::span<const std::uint8_t, 10> bytes);

// Rounds once, straight to single precision, so no value is rounded twice on its way from
// extended to single.
float ExtendedToSingle(std::span<const std::uint8_t, 10> bytes);

}  // namespace vornix
