#include "editor/logic/NumericText.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace vornix::editor {
namespace {

TEST(NumericText, FormatsWithFixedDecimalsRoundingHalfAwayFromZero) {
  struct TCase {
    double Value;
    int Decimals;
    char Separator;
    std::string Expected;
  };
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  constexpr double inf = std::numeric_limits<double>::infinity();
  const TCase cases[] = {
      {0, 2, '.', "0.00"},
      {5.2, 2, '.', "5.20"},
      {5.2, 2, ',', "5,20"},
      {127, 0, '.', "127"},
      {0.125, 2, '.', "0.13"},  // an exact tie
      {-0.125, 2, '.', "-0.13"},
      {2.675, 2, '.', "2.67"},  // just below the tie in binary
      {0.5, 0, '.', "1"},
      {1.5, 0, '.', "2"},
      {2.5, 0, '.', "3"},
      {-2.5, 0, '.', "-3"},
      {9.999, 2, '.', "10.00"},
      {99.5, 0, '.', "100"},
      {-0.001, 2, '.', "0.00"},  // no "-0.00"
      {-0.0, 0, '.', "0"},
      {1.23456789, 9, '.', "1.234567890"},
      {1e20, 0, '.', "100000000000000000000"},
      {nan, 2, '.', "0.00"},
      {-inf, 1, '.', "0.0"},
      {3.14159, -1, '.', "3"},  // decimals limited to 0..9
      {3.14159, 12, '.', "3.141590000"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(FormatFixed(c.Value, c.Decimals, c.Separator), c.Expected) << c.Value << " with " << c.Decimals;
}

TEST(NumericText, ReadsOnlyPlainNumbers) {
  struct TCase {
    std::string Text;
    char Separator;
    double Expected;
  };
  const TCase cases[] = {
      {"", '.', 0},       {"0", '.', 0},        {"-", '.', 0},
      {"5.20", '.', 5.2}, {"-0.50", '.', -0.5}, {".5", '.', 0.5},
      {"5.", '.', 5},     {"-05", '.', -5},     {"5,20", ',', 5.2},
      {"5.20", ',', 0},   {"1.2.3", '.', 0},    {"1e5", '.', 0},
      {"inf", '.', 0},    {"nan", '.', 0},      {"--5", '.', 0},
      {"12a3", '.', 0},   {" 5", '.', 0},       {"5-", '.', 0},
      {"+5", '.', 0},     {".", '.', 0},        {std::string(400, '9'), '.', 0},  // beyond a double
  };
  for (const TCase& c : cases) EXPECT_EQ(ParseNumber(c.Text, c.Separator), c.Expected) << '"' << c.Text << '"';
}

}  // namespace
}  // namespace vornix::editor
