#include <gtest/gtest.h>

#include "TempEnvironment.h"
#include "platform/NumberFormat.h"

namespace vornix::platform::test {
namespace {

#ifndef _WIN32
TEST(NumberFormatTest, TheEnvironmentsLocaleOrAPoint) {
  for (const char* locale : {"C", "POSIX", "no_SUCH.locale"}) {
    const TScopedEnv all("LC_ALL", locale);
    EXPECT_EQ(UserDecimalSeparator(), '.') << locale;
  }
}
#endif

TEST(NumberFormatTest, AlwaysAPointOrAComma) {
  const char separator = UserDecimalSeparator();
  EXPECT_TRUE(separator == '.' || separator == ',');
}

}  // namespace
}  // namespace vornix::platform::test
