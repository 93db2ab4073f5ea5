#include "plugin/stream/Extended80.h"

#include <bit>
#include <limits>

namespace vornix {
namespace {

constexpr int kExtendedBias = 16383;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;

struct Unpacked {
  bool negative;
  int exponent;  // biased, 15 bits
  std::uint64_t significand;
};

Unpacked Unpack(std::span<const std::uint8_t, 10> b) {
  std::uint64_t significand = 0;
  for (int i = 7; i >= 0; --i) significand = (significand << 8) | b[i];
  const unsigned signExponent = b[8] | (unsigned{b[9]} << 8);
  return {(signExponent & 0x8000u) != 0, static_cast<int>(signExponent & 0x7FFFu), significand};
}

// Parameters of an IEEE 754 binary format with its bit pattern held in Bits.
template <typename Float, typename Bits>
struct Binary {
  static constexpr int kPrecision = std::numeric_limits<Float>::digits;  // incl. hidden bit
  static constexpr int kMinExponent = std::numeric_limits<Float>::min_exponent - 1;
  static constexpr int kMaxExponent = std::numeric_limits<Float>::max_exponent - 1;
  static constexpr int kBias = kMaxExponent;
  static constexpr int kSignShift = sizeof(Bits) * 8 - 1;
  static constexpr int kFractionBits = kPrecision - 1;
  static constexpr Bits kExponentMask = static_cast<Bits>((Bits{1} << (kSignShift - kFractionBits)) - 1);
};

// Keeps the top (64 - shift) bits of `m`, rounding the rest to nearest, ties to even.
// A shift of 64 or more leaves only the rounding of the dropped part.
std::uint64_t ShiftRightRounded(std::uint64_t m, int shift) {
  if (shift <= 0) return m;
  if (shift > 64) return 0;  // m < 2^64 <= half of the lowest kept unit
  const std::uint64_t q = shift == 64 ? 0 : m >> shift;
  const std::uint64_t rest = shift == 64 ? m : m & ((std::uint64_t{1} << shift) - 1);
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  if (rest > half || (rest == half && (q & 1) != 0)) return q + 1;
  return q;
}

template <typename Float, typename Bits>
Float Narrow(std::span<const std::uint8_t, 10> bytes) {
  using F = Binary<Float, Bits>;
  const Unpacked x = Unpack(bytes);
  const Bits sign = x.negative ? static_cast<Bits>(Bits{1} << F::kSignShift) : Bits{0};
  const Bits infinity = static_cast<Bits>(F::kExponentMask) << F::kFractionBits;

  if (x.exponent == 0x7FFF) {
    if (x.significand == kIntegerBit) return std::bit_cast<Float>(static_cast<Bits>(sign | infinity));
    // NaN: keep the payload's top bits and make it quiet, as the FPU does.
    const Bits quiet = Bits{1} << (F::kFractionBits - 1);
    const Bits payload = static_cast<Bits>((x.significand << 1) >> (64 - F::kFractionBits));
    return std::bit_cast<Float>(static_cast<Bits>(sign | infinity | quiet | payload));
  }
  if (x.significand == 0) return std::bit_cast<Float>(sign);

  // value = significand * 2^(e - 63); denormals (exponent 0) share the exponent of the smallest
  // normals.
  const int e = (x.exponent == 0 ? 1 : x.exponent) - kExtendedBias;
  const int leadingZeros = std::countl_zero(x.significand);
  const std::uint64_t m = x.significand << leadingZeros;
  const int exponent = e - leadingZeros;  // of the leading one bit

  if (exponent > F::kMaxExponent) return std::bit_cast<Float>(static_cast<Bits>(sign | infinity));

  // Normals keep kPrecision bits; below the normal range fewer, counted from the smallest
  // denormal's unit.
  const int shift = (64 - F::kPrecision) + (exponent < F::kMinExponent ? F::kMinExponent - exponent : 0);
  std::uint64_t q = ShiftRightRounded(m, shift);
  int biased = exponent < F::kMinExponent ? 0 : exponent + F::kBias;
  if (biased > 0) {
    if (q >> F::kPrecision != 0) {  // rounding carried into a new leading bit
      q >>= 1;
      ++biased;
      if (biased > F::kMaxExponent + F::kBias) return std::bit_cast<Float>(static_cast<Bits>(sign | infinity));
    }
    q &= (std::uint64_t{1} << F::kFractionBits) - 1;
  }
  // For a denormal that rounded up to the smallest normal, the carry lands in the exponent field.
  const Bits bits = static_cast<Bits>((static_cast<std::uint64_t>(biased) << F::kFractionBits) + q);
  return std::bit_cast<Float>(static_cast<Bits>(sign | bits));
}

}  // namespace

Extended80 DoubleToExtended(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const bool negative = (bits >> 63) != 0;
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);

  int outExponent = 0;
  std::uint64_t significand = 0;
  if (exponent == 0x7FF) {
    outExponent = 0x7FFF;
    significand = kIntegerBit | (fraction << 11);
    if (fraction != 0) significand |= std::uint64_t{1} << 62;  // loading a NaN quiets it
  } else if (exponent != 0) {
    outExponent = exponent - 1023 + kExtendedBias;
    significand = kIntegerBit | (fraction << 11);
  } else if (fraction != 0) {  // denormal double: normal in extended
    const int leadingZeros = std::countl_zero(fraction);
    significand = fraction << leadingZeros;
    outExponent = kExtendedBias - 1022 - 52 + 63 - leadingZeros;
  }

  Extended80 out{};
  for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(significand >> (8 * i));
  const unsigned signExponent = (negative ? 0x8000u : 0u) | static_cast<unsigned>(outExponent);
  out[8] = static_cast<std::uint8_t>(signExponent);
  out[9] = static_cast<std::uint8_t>(signExponent >> 8);
  return out;
}

double ExtendedToDouble(std::span<const std::uint8_t, 10> bytes) { return Narrow<double, std::uint64_t>(bytes); }

float ExtendedToSingle(std::span<const std::uint8_t, 10> bytes) { return Narrow<float, std::uint32_t>(bytes); }

}  // namespace vornix
