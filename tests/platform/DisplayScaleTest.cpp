// The desktop's scale as GDK_SCALE and the X server's Xft.dpi tell it.
#include <gtest/gtest.h>

#include "platform/DisplayScale.h"

namespace vornix::platform {
namespace {

TEST(DisplayScale, GdkScaleIsAWholeFactor) {
  EXPECT_EQ(GdkScalePercent(nullptr), 0);
  EXPECT_EQ(GdkScalePercent("1"), 100);
  EXPECT_EQ(GdkScalePercent("2"), 200);
  for (const char* refused : {"", "0", "-1", "1.5", "2x", "two"}) EXPECT_EQ(GdkScalePercent(refused), 0) << refused;
}

TEST(DisplayScale, XftDpiOf96IsOneHundredPercent) {
  struct TCase {
    const char* resources;
    double percent;
  };
  for (const TCase c : {TCase{"", 0},
                        {"Xft.dpi:\t96\n", 100},
                        {"Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n", 150},
                        {"Xft.dpi: 192", 200},
                        {"Xft.dpi:\t120.5\n", 120.5 / 96 * 100},
                        {"Xft.dpi:\t96\nXft.dpi:\t168\n", 175},  // the last one counts
                        {"Xft.dpiX:\t144\n*dpi:\t144\nXft.dpi:\tlarge\n", 0}}) {
    EXPECT_DOUBLE_EQ(XftDpiPercent(c.resources), c.percent) << c.resources;
  }
}

}  // namespace
}  // namespace vornix::platform
