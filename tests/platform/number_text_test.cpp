#include "platform/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/errors.h"

namespace zr {
namespace {

TEST(NumberTextTest, IntegersDecimalAndHexadecimal) {
  struct Case {
    const char* text;
    int32_t expected;
  } cases[] = {
      {"0", 0},
      {"42", 42},
      {"  -17", -17},
      {"+5", 5},
      {"$10", 16},
      {"-$10", -16},
      {"$ff", 255},
      {"0x1F", 31},
      {"0X1f", 31},
      {"$FFFFFFFF", -1},
      {"$80000000", std::numeric_limits<int32_t>::min()},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<int32_t>::min()},
  };
  for (const auto& c : cases) EXPECT_EQ(str_to_int(c.text), c.expected) << c.text;
  EXPECT_EQ(str_to_int64("9223372036854775807"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(str_to_int64("-9223372036854775808"), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(str_to_int64("$FFFFFFFF"), 0xFFFFFFFF);
  EXPECT_EQ(str_to_int64("$FFFFFFFFFFFFFFFF"), -1);
}

TEST(NumberTextTest, InvalidIntegers) {
  for (const char* text : {"", " ", "-", "$", "0x", "1.5", "12 ", "1e3", "abc", "2147483648",
                           "-2147483649", "$100000000", "--1", "$-1", "1,000"}) {
    EXPECT_FALSE(try_str_to_int(text)) << text;
  }
  EXPECT_FALSE(try_str_to_int64("9223372036854775808"));
  EXPECT_FALSE(try_str_to_int64("$10000000000000000"));
  try {
    str_to_int("12a");
    FAIL();
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'12a' is not a valid integer value");
  }
}

TEST(NumberTextTest, Floats) {
  struct Case {
    const char* text;
    double expected;
  } cases[] = {
      {"1.5", 1.5},  {" -2.25 ", -2.25}, {"+3", 3},     {".5", 0.5},   {"5.", 5},
      {"1E3", 1000}, {"1.5e-3", 0.0015}, {"2E+2", 200}, {"1e-400", 0}, {"007", 7},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(str_to_float(c.text), c.expected) << c.text;
  for (const char* text : {"", ".", "-", "1e", "1e-", "1,5", "1.5.2", "1 5", "e5", "1e400", "$10",
                           "NAN", "INF", "0x10"}) {
    EXPECT_FALSE(try_str_to_float(text)) << text;
  }
  FormatSettings comma = FormatSettings::defaults();
  comma.decimal_separator = ',';
  EXPECT_DOUBLE_EQ(str_to_float("1,5", comma), 1.5);
  EXPECT_FALSE(try_str_to_float("1.5", comma));
  try {
    str_to_float("1e");
    FAIL();
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'1e' is not a valid floating point value");
  }
}

TEST(NumberTextTest, FloatToStrGeneralFormat) {
  struct Case {
    double value;
    const char* expected;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1, "1"},
      {-1.5, "-1.5"},
      {0.1, "0.1"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {0.1 + 0.2, "0.3"},  // 15 digits hide the binary noise
      {100, "100"},
      {123456789012345, "123456789012345"},
      {999999999999999, "999999999999999"},
      {1e15, "1E15"},
      {1e20, "1E20"},
      {1234567890123456789.0, "1.23456789012346E18"},
      {0.0001, "0.0001"},
      {0.00012345, "0.00012345"},
      {0.00001, "1E-5"},
      {1.5e-7, "1.5E-7"},
      {-2.5e-10, "-2.5E-10"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(float_to_str(c.value), c.expected) << c.expected;
  FormatSettings comma = FormatSettings::defaults();
  comma.decimal_separator = ',';
  EXPECT_EQ(float_to_str(1.5, comma), "1,5");
  EXPECT_EQ(float_to_str(1.5e-7, comma), "1,5E-7");
}

TEST(NumberTextTest, FloatTextRoundTrips) {
  for (double d : {0.5, -12.75, 3.14159265358979, 1e-20, 6.02214076e23, 12345.678}) {
    EXPECT_DOUBLE_EQ(str_to_float(float_to_str(d)), d) << d;
  }
}

}  // namespace
}  // namespace zr
