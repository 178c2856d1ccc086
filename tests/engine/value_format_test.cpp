#include <gtest/gtest.h>

#include <string>

#include "platform/codepage.h"
#include "platform/date_time.h"
#include "report_fixture.h"

namespace zr {
namespace {

using testing_support::ReportTest;

int32_t Code(int category, int variant, int decimals = 2, char separator = '.') {
  return (category << 24) | (variant << 16) | (decimals << 8) |
         static_cast<unsigned char>(separator);
}

Value Day() {
  return Value::date_time(encode_date(2026, 12, 10) + encode_time(13, 5, 9, 0));
}

struct FormatCase {
  Value value;
  int32_t code;
  const char* custom;
  const char* expected;  // UTF-8
};

TEST_F(ReportTest, FormatValueCoversEveryCategoryAndVariant) {
  const Value kDay = Day();
  const FormatCase cases[] = {
      {Value(2.5), Code(0, 0), "", "2.5"},
      {Value("abc"), Code(0, 3), "", "abc"},
      // Numbers: pictures, fixed and number notation, custom, Korean.
      {Value(1234.5), Code(1, 0), "", "1234.5"},
      {Value(1234.567), Code(1, 0, 0), "", "1235"},
      {Value(1234.5), Code(1, 1, 2, ','), "", "1234,50"},
      {Value(1234.567), Code(1, 2), "", "1,234.57"},
      {Value(1234.5), Code(1, 3, 3), "", "1,234.500"},
      {Value(2.5), Code(1, 4), "000.00", "002.50"},
      {Value("2.5"), Code(1, 1, 1), "", "2.5"},  // numeric text converts
      {Value(int32_t{12345}), Code(1, 5), "", "壹萬貳阡參百四拾五"},
      {Value(int32_t{12345}), Code(1, 6), "", "일만이천삼백사십오"},
      {Value(int32_t{-5}), Code(1, 6), "", "-5"},  // no Korean spelling: plain text
      {Value("abc"), Code(1, 1), "", "abc"},       // not a number: plain text
      // Dates from the string table, the long date, a custom pattern.
      {kDay, Code(2, 0), "", "12.10.26"},
      {kDay, Code(2, 1), "", "12.10.2026"},
      {kDay, Code(2, 2), "", "10 12월 2026"},
      {kDay, Code(2, 3), "", "2026년 12월 10일 목요일"},
      {kDay, Code(2, 4), "yyyy/mm/dd hh:nn", "2026-12-10 13:05"},
      {Value("xyz"), Code(2, 1), "", "xyz"},
      // Times.
      {kDay, Code(3, 0), "", "13:05:09"},
      {kDay, Code(3, 1), "", "13:05:09"},
      {kDay, Code(3, 2), "", "13:05"},
      {Value::date_time(encode_time(7, 5, 0, 0)), Code(3, 3), "", "7:05"},
      {kDay, Code(3, 4), "nn.ss", "05.09"},
      // Booleans: zero takes the text before ";", anything else the text after it.
      {Value(true), Code(4, 0), "", "1"},
      {Value(false), Code(4, 1), "", "No"},
      {Value(int32_t{3}), Code(4, 2), "", "x"},
      {Value(int32_t{0}), Code(4, 3), "", "False"},
      {Value(int32_t{1}), Code(4, 4), "off;on", "on"},
      {Value("maybe"), Code(4, 1), "", "maybe"},
      // Nothing to show.
      {Value(), Code(1, 1), "", ""},
      {Value::null(), Code(0, 0), "", ""},
      {Value("   "), Code(0, 0), "", ""},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(describe(c.value) + " " + std::to_string(c.code) + " " + c.custom);
    EXPECT_EQ(ansi_to_utf8(report.FormatValue(c.value, c.code, c.custom)), c.expected);
    EXPECT_EQ(globals().format_settings.decimal_separator, '.');
  }
}

TEST_F(ReportTest, InlineFormatsOverrideTheViewsFormat) {
  TvtMemoView& memo = AddMemo("Memo1");
  globals().CurView = &memo;
  ScriptVariables().SetVariable("x", Value(2.5));
  ScriptVariables().SetVariable("big", Value(1234.5));
  ScriptVariables().SetVariable("day", Day());
  ScriptVariables().SetVariable("paid", Value(true));
  ScriptVariables().SetVariable("unpaid", Value(int32_t{0}));
  const struct {
    const char* expression;
    const char* expected;
  } cases[] = {
      {"x", "2.5"},
      {"x #N0.00", "2.50"},
      {"x #N0,00", "2,50"},
      {"x #0.000", "2.500"},  // a leading digit means "N"
      {"x #N", "2.5"},        // empty custom picture: general notation
      {"big #N#,##0.00", "1,234.50"},
      {"big #N#,##0", "1234,500"},  // the only separator is the decimal one
      {"big #n0-0", "1234-5"},
      {"day #Ddd.mm.yyyy", "10.12.2026"},
      {"day #thh:nn", "13:05"},
      {"paid #BNo;Yes", "Yes"},
      {"unpaid #bNo;Yes", "No"},
      {"x #zz", "2.5"},  // text category: the custom string is not used
      {"x * 2", "5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expression);
    EXPECT_EQ(Show(c.expression), c.expected);
  }
  EXPECT_EQ(globals().format_settings.decimal_separator, '.');
}

TEST_F(ReportTest, ViewFormatAppliesAndValueIsRemembered) {
  TvtMemoView& memo = AddMemo("Memo1");
  globals().CurView = &memo;
  memo.DisplayFormat = Code(1, 1, 3, ',');
  ScriptVariables().SetVariable("x", Value(2.5));
  EXPECT_EQ(Show("x"), "2,500");
  EXPECT_EQ(globals().CurExpression, "x");
  Value value;
  report.ResolveValue("VALUE", value);
  EXPECT_TRUE(value.identical(Value(2.5)));

  globals().LinkingBands = true;
  EXPECT_EQ(Show("x + 1"), "");
  EXPECT_TRUE(globals().CurValue.identical(Value(3.5)));
}

TEST_F(ReportTest, MemoTextShowsFormattedValues) {
  TvtMemoView& memo = AddMemo("Memo1");
  globals().CurView = &memo;
  ScriptVariables().SetVariable("x", Value(2.5));
  ScriptVariables().SetVariable("n", Value(int32_t{20010}));
  memo.Memo = {"Sum: [x #N0.00] / [x #N0,00]", utf8_to_ansi("[n #N]원 = [x * 2]")};
  memo.DisplayFormat = Code(1, 6, 0);
  memo.ExpandMemo();
  EXPECT_EQ(ansi_to_utf8(memo.ExpandedMemo[0]), "Sum: 2.50 / 2,50");
  EXPECT_EQ(ansi_to_utf8(memo.ExpandedMemo[1]), "20010원 = 오");
}

TEST_F(ReportTest, HideZerosBlanksNumericZeroOnly) {
  TvtMemoView& memo = AddMemo("Memo1");
  globals().CurView = &memo;
  ScriptVariables().SetVariable("zero", Value(0.0));
  ScriptVariables().SetVariable("text", Value("0"));
  EXPECT_EQ(Show("zero"), "0");
  memo.SetFlag(kMemoHideZeros, true);
  EXPECT_EQ(Show("zero"), "");
  EXPECT_EQ(Show("zero #N0.00"), "");
  EXPECT_EQ(Show("text"), "0");
  EXPECT_EQ(Show("zero + 1"), "1");
}

TEST_F(ReportTest, FailedFormattingRestoresTheDecimalSeparator) {
  EXPECT_EQ(report.FormatValue(Value("abc"), Code(1, 3, 2, ','), ""), "abc");
  EXPECT_EQ(globals().format_settings.decimal_separator, '.');
  // A number text is read with the separator in force for the call.
  EXPECT_EQ(report.FormatValue(Value("2,5"), Code(1, 1, 2, ','), ""), "2,50");
}

}  // namespace
}  // namespace zr
