#include "plugin/stream/Extended80.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace vornix {
namespace {

using Ext = Extended80;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kDblMax = std::numeric_limits<double>::max();
constexpr double kDblMin = std::numeric_limits<double>::min();
constexpr double kDblTrueMin = std::numeric_limits<double>::denorm_min();

// Builds the 10 bytes from the significand and the sign/exponent word.
Ext Make(std::uint64_t significand, unsigned signExponent) {
  Ext e{};
  for (int i = 0; i < 8; ++i) e[i] = static_cast<std::uint8_t>(significand >> (8 * i));
  e[8] = static_cast<std::uint8_t>(signExponent);
  e[9] = static_cast<std::uint8_t>(signExponent >> 8);
  return e;
}

std::uint64_t Bits(double d) { return std::bit_cast<std::uint64_t>(d); }

struct KnownPattern {
  double value;
  Ext bytes;
};

// Patterns as an x87 FPU stores them.
const KnownPattern kKnown[] = {
    {0.0, {0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00}},
    {-0.0, {0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x80}},
    {1.0, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
    {0.5, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F}},
    {-2.0, {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}},
    {32.0, {0, 0, 0, 0, 0, 0, 0, 0x80, 0x04, 0x40}},
    {63.0, {0, 0, 0, 0, 0, 0, 0, 0xFC, 0x04, 0x40}},
    {127.0, {0, 0, 0, 0, 0, 0, 0, 0xFE, 0x05, 0x40}},
    {0.1, {0x00, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F}},
    {1e-310, {0x00, 0x00, 0x58, 0x31, 0x87, 0x5B, 0x44, 0x93, 0xF9, 0x3B}},
    {kDblMax, {0x00, 0xF8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x43}},
    {-kDblMax, {0x00, 0xF8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xC3}},
    {kDblMin, {0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x3C}},
    {kDblTrueMin, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xCD, 0x3B}},
    {kInf, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}},
    {-kInf, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}},
};

TEST(Extended80, KnownValuesConvertBothWaysBitExactly) {
  for (const auto& [value, bytes] : kKnown) {
    SCOPED_TRACE(value);
    EXPECT_EQ(DoubleToExtended(value), bytes);
    EXPECT_EQ(Bits(ExtendedToDouble(bytes)), Bits(value));
  }
}

TEST(Extended80, NaNKeepsSignAndPayloadAndIsQuiet) {
  const Ext quiet = {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F};
  EXPECT_EQ(DoubleToExtended(std::numeric_limits<double>::quiet_NaN()), quiet);
  EXPECT_EQ(DoubleToExtended(-std::numeric_limits<double>::quiet_NaN())[9], 0xFF);
  // A signalling NaN with a payload: quieted, payload kept in the top fraction bits.
  const Ext fromSignalling = DoubleToExtended(std::bit_cast<double>(std::uint64_t{0x7FF0000000000123}));
  EXPECT_EQ(fromSignalling, Make(0xC000000000000000 | (std::uint64_t{0x123} << 11), 0x7FFF));

  const double back = ExtendedToDouble(Make(0xC000000000000000 | (std::uint64_t{0x123} << 11), 0xFFFF));
  EXPECT_EQ(Bits(back), 0xFFF8000000000123);
  // Payload only below double precision, signalling: must still be NaN, not infinity.
  EXPECT_TRUE(std::isnan(ExtendedToDouble(Make(0x8000000000000001, 0x7FFF))));
  EXPECT_TRUE(std::isnan(ExtendedToSingle(Make(0x8000000000000001, 0x7FFF))));
}

TEST(Extended80, EveryDoubleSurvivesTheRoundTrip) {
  std::mt19937_64 random(12345);
  for (int i = 0; i < 200000; ++i) {
    const std::uint64_t bits = random();
    const double d = std::bit_cast<double>(bits);
    if (std::isnan(d)) continue;
    ASSERT_EQ(Bits(ExtendedToDouble(DoubleToExtended(d))), bits) << std::hexfloat << d;
    // Exact in single too when the double came from a single.
    const auto f = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
    if (!std::isnan(f)) {
      ASSERT_EQ(ExtendedToSingle(DoubleToExtended(f)), f) << std::hexfloat << f;
    }
  }
}

struct Narrowing {
  const char* what;
  Ext bytes;
  double expected;
};

// 1.0 has the exponent word 0x3FFF; the double keeps the top 53 of the 64 significand bits.
const Narrowing kNarrowing[] = {
    {"tie rounds to even (down)", Make(0x8000000000000400, 0x3FFF), 1.0},
    {"tie rounds to even (up)", Make(0x8000000000000C00, 0x3FFF), 1.0 + 0x1p-51},
    {"above the tie rounds up", Make(0x8000000000000401, 0x3FFF), 1.0 + 0x1p-52},
    {"below the tie rounds down", Make(0x80000000000003FF, 0x3FFF), 1.0},
    {"negative rounds by magnitude", Make(0x8000000000000C00, 0xBFFF), -(1.0 + 0x1p-51)},
    {"carry into the exponent", Make(0xFFFFFFFFFFFFFFFF, 0x3FFF), 2.0},
    {"largest extended overflows", Make(0xFFFFFFFFFFFFFFFF, 0x7FFE), kInf},
    {"negative overflow", Make(0x8000000000000000, 0x8000 | (16383 + 1024)), -kInf},
    {"just below the overflow tie", Make(0xFFFFFFFFFFFFFBFF, 16383 + 1023), kDblMax},
    {"overflow tie rounds up to infinity", Make(0xFFFFFFFFFFFFFC00, 16383 + 1023), kInf},
    {"smallest extended denormal", Make(1, 0), 0.0},
    {"negative underflow keeps sign", Make(1, 0x8000), -0.0},
    {"half the smallest denormal is a tie to zero", Make(0x8000000000000000, 16383 - 1075), 0.0},
    {"just above that tie", Make(0x8000000000000001, 16383 - 1075), kDblTrueMin},
    {"three quarters of the smallest denormal", Make(0xC000000000000000, 16383 - 1075), kDblTrueMin},
    {"one and a half denormal units tie to two", Make(0xC000000000000000, 16383 - 1074), 2 * kDblTrueMin},
    {"denormal rounds up to the smallest normal", Make(0xFFFFFFFFFFFFFFFF, 16383 - 1023), kDblMin},
    {"denormal keeps its bits", Make(0x8000000000000000, 16383 - 1030), 0x1p-1030},
    {"pseudo-denormal", Make(0x8000000000000000, 0), 0.0},
    {"unnormal reads as its value", Make(0x4000000000000000, 0x3FFF), 0.5},
};

TEST(Extended80, NarrowingToDoubleRoundsToNearestEven) {
  for (const auto& c : kNarrowing) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Bits(ExtendedToDouble(c.bytes)), Bits(c.expected)) << std::hexfloat << ExtendedToDouble(c.bytes);
  }
  EXPECT_TRUE(std::isnan(ExtendedToDouble(Make(0, 0x7FFF)))) << "pseudo-infinity";
}

TEST(Extended80, NarrowingToSingleRoundsOnce) {
  struct Case {
    Ext bytes;
    float expected;
  };
  const Case cases[] = {
      {DoubleToExtended(63.0), 63.0f},
      // 1 + 2^-24 + 2^-60: via double it would become the tie 1 + 2^-24 and then 1.0.
      {Make(0x8000008000000008, 0x3FFF), 1.0f + 0x1p-23f},
      {Make(0x8000008000000000, 0x3FFF), 1.0f},
      {DoubleToExtended(0x1p-149), 0x1p-149f},
      {DoubleToExtended(0x1p-150), 0.0f},
      {DoubleToExtended(0x1.8p-150), 0x1p-149f},
      {DoubleToExtended(std::numeric_limits<float>::max()), std::numeric_limits<float>::max()},
      {DoubleToExtended(0x1p128), std::numeric_limits<float>::infinity()},
      {DoubleToExtended(-1e300), -std::numeric_limits<float>::infinity()},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtendedToSingle(c.bytes), c.expected) << std::hexfloat << c.expected;
}

// Where the compiler's long double is the x87 format, the FPU is an independent reference for
// random patterns, weighted towards the edges of the double and single ranges.
TEST(Extended80, AgreesWithTheFpuOnRandomPatterns) {
  if constexpr (std::numeric_limits<long double>::digits != 64 || sizeof(long double) < 10) {
    GTEST_SKIP() << "long double is not the x87 format here";
  } else {
    std::mt19937_64 random(777);
    const int edges[] = {0, 1, 16383, 16383 - 1022, 16383 - 1074, 16383 + 1023, 16383 - 126, 16383 - 149, 16383 + 127};
    for (int i = 0; i < 500000; ++i) {
      std::uint64_t significand = random();
      int exponent = static_cast<int>(random() % 0x7FFF);
      if (i % 2 == 0) exponent = edges[random() % std::size(edges)] + static_cast<int>(random() % 5) - 2;
      if (exponent < 0) exponent = 0;
      // The FPU refuses unnormals; those are covered above.
      if (exponent != 0) significand |= std::uint64_t{1} << 63;
      if (i % 3 == 0) significand &= ~std::uint64_t{0x3FF};  // make ties likely
      if (i % 5 == 0) significand &= ~std::uint64_t{0xFFFFFFFFFF};
      const unsigned word = static_cast<unsigned>(exponent) | (random() % 2 ? 0x8000u : 0u);
      const Ext bytes = Make(significand, word);
      long double reference = 0;
      std::memcpy(&reference, bytes.data(), bytes.size());
      ASSERT_EQ(Bits(ExtendedToDouble(bytes)), Bits(static_cast<double>(reference)))
          << std::hex << significand << " " << word;
      ASSERT_EQ(std::bit_cast<std::uint32_t>(ExtendedToSingle(bytes)),
                std::bit_cast<std::uint32_t>(static_cast<float>(reference)))
          << std::hex << significand << " " << word;
    }
  }
}

}  // namespace
}  // namespace vornix
