#include "platform/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zr {
namespace {

TEST(RoundingTest, HalvesGoToEven) {
  struct Case {
    double x;
    int64_t expected;
  } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2},
               {2.4, 2}, {2.6, 3}, {-2.6, -3}, {-0.5, 0},  {7, 7},   {0.49999999999999994, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(round_half_even(c.x), c.expected) << c.x;
    EXPECT_EQ(round_half_even_to_int(c.x), c.expected) << c.x;
  }
  EXPECT_EQ(round_half_even(4503599627370497.0), 4503599627370497);  // odd beyond 2^52
}

TEST(RoundingTest, OutOfRangeSaturates) {
  EXPECT_EQ(round_half_even_to_int(3e9), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(round_half_even_to_int(-3e9), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(round_half_even(1e300), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(round_half_even(std::nan("")), 0);
  EXPECT_EQ(truncate_toward_zero(-1e300), std::numeric_limits<int64_t>::min());
}

TEST(RoundingTest, TruncationAndDivision) {
  EXPECT_EQ(truncate_toward_zero(2.9), 2);
  EXPECT_EQ(truncate_toward_zero(-2.9), -2);
  EXPECT_EQ(int_div(7, 2), 3);
  EXPECT_EQ(int_div(-7, 2), -3);
  EXPECT_EQ(int_div(7, -2), -3);
  EXPECT_EQ(int_div(std::numeric_limits<int64_t>::min(), -1), std::numeric_limits<int64_t>::max());
  EXPECT_THROW(int_div(1, 0), ZorelError);
}

}  // namespace
}  // namespace zr
