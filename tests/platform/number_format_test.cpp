#include "platform/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/decimal_digits.h"
#include "platform/number_text.h"

namespace zr {
namespace {

struct Case {
  const char* pattern;
  double value;
  std::string expected;
};

void expect_all(const std::vector<Case>& cases, const FormatSettings& fs) {
  for (const auto& c : cases) {
    EXPECT_EQ(format_float(c.pattern, c.value, fs), c.expected)
        << "pattern '" << c.pattern << "' value " << c.value;
  }
}

TEST(FormatFloatTest, Placeholders) {
  expect_all(
      {
          {"#,##0.00", 1234567.891, "1,234,567.89"},
          {"#,##0.00", -1234.5, "-1,234.50"},
          {"#,##0.00", 0.5, "0.50"},
          {"#,##0", 999, "999"},
          {"#,##0", 1000, "1,000"},
          {"#,##0", 0, "0"},
          {"0.000", 3.14159, "3.142"},
          {"0.000", -2, "-2.000"},
          {"#.##", 1234, "1234"},
          {"#.##", 0.5, ".5"},
          {"#.##", 1.999, "2"},
          {"#.##", 0, ""},  // nothing is significant
          {"0", 0.5, "1"},
          {"0", 2.5, "3"},  // halves away from zero, not to even
          {"0", -2.5, "-3"},
          {"0.00", 0.125, "0.13"},
          {"0.00", 1.005, "1.00"},  // the double is 1.00499999999999989...
          {"00000", 42, "00042"},
          {"0,000", 5, "0,005"},
          {"##0.#0", 3.1, "3.10"},  // a "0" makes the decimals before it required
          {"0.0#", 3.14159, "3.14"},
          {".00", 12.5, "12.50"},  // integer digits go to the first placeholder
          {"00-00", 12345, "123-45"},
          {"(###) ###-####", 5551234, "() 555-1234"},  // literals always printed
          {"'Total: '0", 7, "Total: 7"},
          {"'Total: '0", -7, "-Total: 7"},  // the sign leads the whole text
          {"\"#,0\" 0", 7, "#,0 7"},
          {"0 'kg'", -3, "-3 kg"},
          {"0.00 %", 12.345, "12.35 %"},
          {"0.0.0", 1.25, "1.25"},  // only the first point counts
          {"'open", 5, "open"},     // an unterminated literal runs to the end
          {"x", 5, "x"},            // no placeholder: the number is not written
          {"##0.", 3.7, "4"},       // no decimals: no separator
          {"#,##0.##", 1234.5, "1,234.5"},
          {"0.00", 999.999, "1000.00"},
          {"#,##0.000", 123456789012.3456, "123,456,789,012.346"},
      },
      FormatSettings::defaults());
}

TEST(FormatFloatTest, Sections) {
  expect_all(
      {
          {"#,##0;(#,##0);zero", 1234, "1,234"},
          {"#,##0;(#,##0);zero", -1234, "(1,234)"},
          {"#,##0;(#,##0);zero", 0, "zero"},
          {"#,##0.00;;Zero", -5, "-5.00"},  // empty negative section: positive with "-"
          {"#,##0.00;;Zero", 0, "Zero"},
          {"0.00;", -1.5, "-1.50"},
          {"0;-0;'nil'", 0.4, "nil"},  // rounds to zero: the zero section
          {"0;(0)", -0.4, "0"},        // ... or the positive one: never "(0)"
          {"0.00", -0.001, "0.00"},    // never "-0.00"
          {"0", -0.0, "0"},
          {"0;(0);", 0, "0"},  // empty zero section
          {"0;'neg';'z';ignored", -2, "neg"},
          {"';'0;(0)", -2, "(2)"},  // ";" inside quotes does not split
          {";(0)", 5, "5"},         // empty positive section: general format
      },
      FormatSettings::defaults());
}

TEST(FormatFloatTest, Scientific) {
  expect_all(
      {
          {"0.00E+00", 1234.5, "1.23E+03"},
          {"0.00E+00", -0.000123, "-1.23E-04"},
          {"0.00E+00", 0, "0.00E+00"},
          {"0.000E+00", 0.5, "5.000E-01"},
          {"#.###E-0", 1234, "1.234E3"},
          {"#.###E-0", 0.5, "5E-1"},
          {"#.###E-0", 0, "0E0"},
          {"00.0e+0", 1234, "12.3e+2"},
          {"0E+0", 9.6, "1E+1"},  // rounding carries into the exponent
          {"0.0E+00", 1e300, "1.0E+300"},
          {"0 EUR", 5, "5 EUR"},  // "E" without a sign is a literal
      },
      FormatSettings::defaults());
}

TEST(FormatFloatTest, GeneralFormatFallbacks) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  expect_all({{"", 1234.5, "1234.5"},
              {"", 1e-7, "1E-7"},
              {"#,##0", 1e18, "1E18"},
              {"#,##0", -2.5e20, "-2.5E20"},
              {"#,##0", 999999999999999872.0, "999,999,999,999,999,872"},
              {"0.00", nan, "NAN"},
              {"0.00", -inf, "-INF"}},
             FormatSettings::defaults());
}

TEST(FormatFloatTest, SeparatorsComeFromSettings) {
  FormatSettings fs = FormatSettings::defaults();
  fs.decimal_separator = ',';
  fs.thousand_separator = '.';
  expect_all({{"#,##0.00", 1234567.891, "1.234.567,89"}, {"0.0E+0", 0.25, "2,5E-1"}}, fs);
}

TEST(FormatFloatTest, DoubleByteLiterals) {
  const std::string won = "\xBF\xF8";  // 원
  EXPECT_EQ(format_float("#,##0" + won, 12000), "12,000" + won);
  // 0xB0 0x45 is one character whose trail byte looks like "E".
  EXPECT_EQ(format_float("0\xB0\x45+0", 5), "0\xB0\x45+5");
}

TEST(FloatToStrFTest, Notations) {
  struct FCase {
    FloatFormat format;
    int precision, digits;
    double value;
    std::string expected;
  } cases[] = {
      {FloatFormat::General, 15, 0, 1234.5, "1234.5"},
      {FloatFormat::General, 4, 0, 1234.5, "1235"},
      {FloatFormat::General, 4, 0, 12345, "1.235E4"},
      {FloatFormat::General, 15, 3, 1e20, "1E020"},
      {FloatFormat::General, 15, 0, 0.0001, "0.0001"},
      {FloatFormat::General, 15, 0, 0.00001, "1E-5"},
      {FloatFormat::General, 15, 0, 0, "0"},
      {FloatFormat::Exponent, 4, 2, 1234.5, "1.235E+03"},
      {FloatFormat::Exponent, 3, 0, -0.00012, "-1.20E-4"},
      {FloatFormat::Exponent, 1, 4, 0, "0E+0000"},
      {FloatFormat::Fixed, 15, 2, 1234.567, "1234.57"},
      {FloatFormat::Fixed, 15, 0, 2.5, "3"},
      {FloatFormat::Fixed, 15, 2, -0.004, "0.00"},        // no "-0.00"
      {FloatFormat::Fixed, 6, 3, 1234.5678, "1234.570"},  // six significant digits
      {FloatFormat::Fixed, 4, 2, 123456, "1.235E5"},      // too wide for the precision
      {FloatFormat::Number, 15, 2, -1234567.891, "-1,234,567.89"},
      {FloatFormat::Number, 15, 0, 999.5, "1,000"},
      {FloatFormat::Fixed, 15, 30, 0.1, "0.100000000000000000"},  // 18 decimals at most
  };
  for (const auto& c : cases) {
    EXPECT_EQ(float_to_str_f(c.value, c.format, c.precision, c.digits), c.expected)
        << static_cast<int>(c.format) << " " << c.precision << " " << c.digits << " " << c.value;
  }
  EXPECT_EQ(float_to_str_f(std::nan(""), FloatFormat::Fixed, 15, 2), "NAN");
  // General with 15 digits is what FloatToStr writes.
  for (double v : {1234.5, -0.1, 1.0 / 3, 2e-5, 123456789012345.0, 1e15, -6.02e23, 1e-300}) {
    EXPECT_EQ(float_to_str_f(v, FloatFormat::General, 15, 0), float_to_str(v)) << v;
  }
}

TEST(FloatToStrFTest, CurrencyFormats) {
  FormatSettings fs = FormatSettings::defaults();
  EXPECT_EQ(float_to_str_f(1234.5, FloatFormat::Currency, 18, 0, fs), "\\1,235");
  EXPECT_EQ(float_to_str_f(-1234.5, FloatFormat::Currency, 18, 0, fs), "-\\1,235");
  fs.currency_string = "$";
  const std::pair<int, std::string> positive[] = {
      {0, "$1.50"}, {1, "1.50$"}, {2, "$ 1.50"}, {3, "1.50 $"}};
  for (const auto& [code, expected] : positive) {
    fs.currency_format = code;
    EXPECT_EQ(float_to_str_f(1.5, FloatFormat::Currency, 18, 2, fs), expected) << code;
  }
  const char* negative[] = {"($1)", "-$1",  "$-1",  "$1-",  "(1$)", "-1$",  "1-$",   "1$-",
                            "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
  for (int code = 0; code < 16; ++code) {
    fs.negative_currency_format = code;
    EXPECT_EQ(float_to_str_f(-1, FloatFormat::Currency, 18, 0, fs), negative[code]) << code;
  }
}

TEST(DecimalDigitsTest, RoundsTheExactExpansion) {
  EXPECT_EQ(decimal_digits(0.125, 18, 2).digits, "13");
  EXPECT_EQ(decimal_digits(2.675, 18, 2).digits, "267");  // 2.67499999999999982...
  const DecimalDigits nines = decimal_digits(-9.996, 18, 2);
  EXPECT_EQ(nines.digits, "1");
  EXPECT_EQ(nines.exponent, 2);
  EXPECT_TRUE(nines.negative);
  EXPECT_TRUE(decimal_digits(-0.004, 18, 2).is_zero());
  EXPECT_FALSE(decimal_digits(-0.004, 18, 2).negative);
  EXPECT_EQ(decimal_digits(0.1, 18, 400).digits, "100000000000000006");
  EXPECT_EQ(decimal_digits(5e-324, 3, 300).digits, "");
  EXPECT_EQ(decimal_digits(5e-324, 3, 400000).digits, "494");
  EXPECT_EQ(decimal_digits(1.7976931348623157e308, 2, 0).digits, "18");
  EXPECT_EQ(decimal_digits(1234, 18, -2).digits, "12");  // to hundreds
}

}  // namespace
}  // namespace zr
