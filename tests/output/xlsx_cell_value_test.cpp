// Which report texts come back as numbers and dates in a worksheet, and with which format.
#include "output/xlsx/xlsx_cell_value.h"

#include <gtest/gtest.h>

namespace zr {
namespace {

using Kind = XlsxCellValue::Kind;

TEST(XlsxCellValue, NumbersDatesAndTexts) {
  struct Case {
    const char* text;
    Kind kind;
    double number;
    const char* format;
  };
  const Case cases[] = {
      {"0", Kind::Number, 0, "0"},
      {"50002", Kind::Number, 50002, "0"},
      {"-17", Kind::Number, -17, "0"},
      {"1,566,000", Kind::Number, 1566000, "#,##0"},
      {"-1,234.50", Kind::Number, -1234.5, "#,##0.00"},
      {"853.60", Kind::Number, 853.6, "0.00"},
      {"0.5", Kind::Number, 0.5, "0.0"},
      {"12.", Kind::Number, 12, "0"},
      {"-0", Kind::Number, 0, "0"},
      {"2026-01-12", Kind::Date, 46034, "yyyy-mm-dd"},
      {"2026.1.2", Kind::Date, 46024, "yyyy\\.m\\.d"},
      {"26-01-12", Kind::Date, 46034, "yy-mm-dd"},
      {"2026-01-12 13:30", Kind::Date, 46034 + 13.5 / 24, "yyyy-mm-dd hh:mm"},
      {"2026-01-12 07:05:30", Kind::Date, 46034 + (7 * 3600 + 5 * 60 + 30) / 86400.0,
       "yyyy-mm-dd hh:mm:ss"},
      // Texts: codes with leading zeros or more digits than a spreadsheet keeps, numbers
      // with other words, misplaced separators, impossible dates, the made-up 1900 day.
      {"007", Kind::Text, 0, ""},
      {"1234567890123456", Kind::Text, 0, ""},
      {"소계  5건", Kind::Text, 0, ""},
      {"1,23", Kind::Text, 0, ""},
      {"12,345,6", Kind::Text, 0, ""},
      {"0,123", Kind::Text, 0, ""},
      {"1234,567", Kind::Text, 0, ""},
      {"1.2.3", Kind::Text, 0, ""},
      {"2026-02-30", Kind::Text, 0, ""},
      {"2026-01/12", Kind::Text, 0, ""},
      {"1900-02-28", Kind::Text, 0, ""},
      {"2026-01-12 25:00", Kind::Text, 0, ""},
      {"- 5", Kind::Text, 0, ""},
      {"", Kind::Text, 0, ""},
      {"1 / 2 쪽", Kind::Text, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const XlsxCellValue value = RecogniseCellValue(c.text, FormatSettings::defaults());
    EXPECT_EQ(value.kind, c.kind);
    EXPECT_NEAR(value.number, c.number, 1e-9);
    EXPECT_EQ(value.num_format, c.format);
  }
}

TEST(XlsxCellValue, FollowsTheReportsNotation) {
  FormatSettings fs = FormatSettings::defaults();
  fs.decimal_separator = ',';
  fs.thousand_separator = '.';
  fs.short_date_format = "dd.mm.yyyy";
  fs.date_separator = '.';
  EXPECT_EQ(RecogniseCellValue("1.234,5", fs), (XlsxCellValue{Kind::Number, 1234.5, "#,##0.0"}));
  EXPECT_EQ(RecogniseCellValue("12.01.2026", fs),
            (XlsxCellValue{Kind::Date, 46034, "dd\\.mm\\.yyyy"}));
  EXPECT_EQ(RecogniseCellValue("1,234.5", fs).kind, Kind::Text);
}

}  // namespace
}  // namespace zr
