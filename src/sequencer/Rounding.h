// Rounding rules of the model: nearest with halves to the even neighbour, independent of the
// floating-point environment the host leaves us in.
#pragma once

#include <cmath>
#include <cstdint>

namespace vornix::sequencer {

inline double RoundHalfEven(double v) {
  const double f = std::floor(v);
  const double d = v - f;
  if (d > 0.5) return f + 1.0;
  if (d < 0.5) return f;
  return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

// Floor of a quotient that is meant to be a whole number when the operands sit on a common grid:
// a quotient within a hair of a whole number is that number, so n * L / L never lands one below n.
inline std::int64_t GridIndex(double quotient) {
  const double r = RoundHalfEven(quotient);
  if (std::fabs(quotient - r) <= 1e-7) return static_cast<std::int64_t>(r);
  return static_cast<std::int64_t>(std::floor(quotient));
}

// Non-negative remainder, so that slots before position 0 still map onto steps 0..n-1.
inline std::int64_t Modulo(std::int64_t a, std::int64_t n) {
  const std::int64_t r = a % n;
  return r < 0 ? r + n : r;
}

}  // namespace vornix::sequencer
