#include "platform/format_text.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace zr {
namespace {

TEST(FormatStringTest, Table) {
  struct Case {
    const char* format;
    std::vector<Value> args;
    std::string expected;
  } cases[] = {
      // FORMATINT: "%" + Width + "d".
      {"%5d", {42}, "   42"},
      {"%-5d", {42}, "42   "},
      {"%0d", {42}, "42"},
      {"%2d", {12345}, "12345"},  // never cut
      {"%5d", {-42}, "  -42"},
      {"%d", {Value(int64_t{-9223372036854775807LL - 1})}, "-9223372036854775808"},
      {"%.5d", {-42}, "-00042"},
      {"%d", {"  123"}, "123"},  // texts that read as integers
      {"%d", {"$1F"}, "31"},
      {"%d", {true}, "-1"},
      {"%d", {Value()}, "0"},
      {"%u", {-1}, "4294967295"},
      {"%u", {Value(int64_t{-1})}, "18446744073709551615"},
      {"%x", {255}, "FF"},
      {"%.4x", {255}, "00FF"},
      {"%x", {-1}, "FFFFFFFF"},
      {"%X", {Value(int64_t{1} << 40)}, "10000000000"},
      {"%p", {4096}, "00001000"},
      {"%s", {"abc"}, "abc"},
      {"%.2s|%5s|%-5s|", {"abcdef", "ab", "ab"}, "ab|   ab|ab   |"},
      {"%s %s %s", {1.5, true, Value()}, "1.5 True "},
      {"%.2f", {3.14159}, "3.14"},
      {"%f", {2.5}, "2.50"},
      {"%.0f", {2.5}, "3"},
      {"%8.3f", {-1.0625}, "  -1.063"},  // an exact half goes away from zero
      {"%f", {"1.25"}, "1.25"},          // a text that reads as a number
      {"%f", {7}, "7.00"},
      {"%n", {1234567.891}, "1,234,567.89"},
      {"%.0n", {-1234.5}, "-1,235"},
      {"%m", {1234.5}, "\\1,235"},
      {"%.2m", {-3}, "-\\3.00"},
      {"%e", {1234.5}, "1.23450000000000E+003"},
      {"%.3e", {-0.00012345}, "-1.23E-004"},
      {"%g", {1234.5}, "1234.5"},
      {"%.3g", {1234.5}, "1.23E003"},
      {"%g", {1e-7}, "1E-007"},
      {"%d%%", {50}, "50%"},
      {"%1:s %0:s %s", {"a", "b", "c"}, "b a b"},  // after an index, the next argument
      {"%*d|%-*d", {4, 7, 3, 8}, "   7|8  "},
      {"%*d", {-4, 7}, "7   "},
      {"%.*s", {2, "abc"}, "ab"},
      {"no specifiers", {}, "no specifiers"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(format_string(c.format, c.args), c.expected) << c.format;
  }
}

TEST(FormatStringTest, DoubleByteText) {
  const std::string ga = "\xB0\xA1", na = "\xB3\xAA";  // 가 나
  EXPECT_EQ(format_string("%.3s", {ga + na}), ga);     // the second character would be split
  EXPECT_EQ(format_string("%.4s", {ga + na}), ga + na);
  EXPECT_EQ(format_string("%6s", {ga}), "    " + ga);  // widths count bytes
  EXPECT_EQ(format_string(ga + "%d" + na, {1}), ga + "1" + na);
}

TEST(FormatStringTest, SettingsGiveTheSeparators) {
  FormatSettings fs = FormatSettings::defaults();
  fs.decimal_separator = ',';
  fs.thousand_separator = '.';
  EXPECT_EQ(format_string("%n", {1234.5}, fs), "1.234,50");
  EXPECT_EQ(format_string("%f", {"2,5"}, fs), "2,50");
}

TEST(FormatStringTest, MismatchesRaise) {
  struct Case {
    const char* format;
    std::vector<Value> args;
  } cases[] = {
      {"%d", {"abc"}},     {"%d", {"12.5"}},  {"%d", {1.5}},        {"%d", {Value::null()}},
      {"%d", {}},          {"%s %s", {"a"}},  {"%f", {"x"}},        {"%f", {Value::null()}},
      {"%q", {1}},         {"%", {1}},        {"%5", {1}},          {"%3:d", {1}},
      {"%99999999d", {1}}, {"%.70000d", {1}}, {"%*d", {100000, 1}},
  };
  for (const auto& c : cases) {
    try {
      format_string(c.format, c.args);
      ADD_FAILURE() << "no error for " << c.format;
    } catch (const ZorelError& e) {
      EXPECT_EQ(std::string(e.what()),
                "Format '" + std::string(c.format) + "' invalid or incompatible with argument");
    }
  }
}

}  // namespace
}  // namespace zr
