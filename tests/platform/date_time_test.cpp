#include "platform/date_time.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/errors.h"

namespace zr {
namespace {

// Korean texts in code page 949.
const std::string kAm = "\xBF\xC0\xC0\xFC";  // 오전
const std::string kPm = "\xBF\xC0\xC8\xC4";  // 오후

TEST(DateTimeTest, EncodeAndDecodeDates) {
  struct Case {
    int y, m, d;
    double days;
  } cases[] = {{1899, 12, 30, 0},  {1899, 12, 31, 1},       {1900, 1, 1, 2},
               {1900, 3, 1, 61},   {2000, 2, 29, 36585},    {2024, 3, 5, 45356},
               {1, 1, 1, -693593}, {9999, 12, 31, 2958465}, {1800, 1, 1, -36522}};
  for (const auto& c : cases) {
    EXPECT_EQ(encode_date(c.y, c.m, c.d), c.days) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(decode_date(c.days), (DateParts{c.y, c.m, c.d})) << c.days;
  }
  for (auto [y, m, d] : {std::tuple{2023, 2, 29},
                         {1900, 2, 29},
                         {2024, 13, 1},
                         {2024, 0, 1},
                         {2024, 4, 31},
                         {2024, 1, 0},
                         {0, 1, 1},
                         {10000, 1, 1}}) {
    EXPECT_THROW(encode_date(y, m, d), ConversionError) << y << "-" << m << "-" << d;
  }
  EXPECT_TRUE(is_leap_year(2000));
  EXPECT_FALSE(is_leap_year(1900));
  EXPECT_TRUE(is_leap_year(2024));
  EXPECT_EQ(days_in_month(2024, 2), 29);
  EXPECT_EQ(days_in_month(2023, 2), 28);
  EXPECT_EQ(days_in_month(2023, 4), 30);
  EXPECT_THROW(days_in_month(2023, 13), ConversionError);
}

TEST(DateTimeTest, TimesAndNegativeValues) {
  const double t = encode_time(15, 4, 5, 7);
  EXPECT_EQ(decode_time(t), (TimeParts{15, 4, 5, 7}));
  EXPECT_EQ(decode_time(45356 + t), (TimeParts{15, 4, 5, 7}));
  EXPECT_DOUBLE_EQ(encode_time(12, 0, 0, 0), 0.5);
  EXPECT_THROW(encode_time(24, 0, 0, 0), ConversionError);
  EXPECT_THROW(encode_time(0, 60, 0, 0), ConversionError);
  EXPECT_THROW(encode_time(0, 0, 0, 1000), ConversionError);
  // Negative values: the integer part is the day, the fraction's magnitude the time.
  EXPECT_EQ(decode_date(-1.25), (DateParts{1899, 12, 29}));
  EXPECT_EQ(decode_time(-1.25), (TimeParts{6, 0, 0, 0}));
  EXPECT_EQ(decode_date(-0.5), (DateParts{1899, 12, 30}));
  EXPECT_EQ(decode_time(-0.5), (TimeParts{12, 0, 0, 0}));
  // A time that rounds to 24:00 is the next midnight.
  EXPECT_EQ(decode_date(45356.9999999999), (DateParts{2024, 3, 6}));
  EXPECT_EQ(decode_time(45356.9999999999), (TimeParts{}));
  EXPECT_THROW(decode_date(std::nan("")), ConversionError);
  EXPECT_THROW(decode_date(1e300), ConversionError);
  EXPECT_THROW(decode_time(-1e9), ConversionError);
}

TEST(DateTimeTest, DayOfWeek) {
  EXPECT_EQ(day_of_week(0), 7);      // Saturday
  EXPECT_EQ(day_of_week(1.9), 1);    // Sunday
  EXPECT_EQ(day_of_week(45356), 3);  // Tuesday 5 March 2024
  EXPECT_EQ(day_of_week(-1), 6);     // Friday
  EXPECT_EQ(day_of_week(-7.5), 7);
}

TEST(DateTimeTest, FormatPatterns) {
  const double v = encode_date(2024, 3, 5) + encode_time(15, 4, 5, 7);
  struct Case {
    const char* pattern;
    std::string expected;
  } cases[] = {
      {"yyyy-mm-dd", "2024-03-05"},
      {"yy/m/d", "24-3-5"},  // "/" is the date separator
      {"ddd dddd", "\xC8\xAD \xC8\xAD\xBF\xE4\xC0\xCF"},
      {"mmm|mmmm", "3\xBF\xF9|3\xBF\xF9"},
      {"hh:nn:ss.zzz z", "15:04:05.007 7"},
      {"h:m", "15:4"},      // m right after h means minutes
      {"h' 'mm", "15 04"},  // also across a literal
      {"hh:mm am/pm", "03:04 pm"},
      {"h AM/PM", "3 PM"},
      {"h a/p", "3 p"},
      {"ampm h:nn", kPm + " 3:04"},
      {"'yyyy' \"dd\"", "yyyy dd"},
      {"'open", "open"},  // an unterminated literal runs to the end
      {"ddddd", "2024-03-05"},
      {"dddddd", "2024\xB3\xE2 3\xBF\xF9 5\xC0\xCF \xC8\xAD\xBF\xE4\xC0\xCF"},
      {"c", "2024-03-05 " + kPm + " 3:04:05"},
      {"t|tt", kPm + " 3:04|" + kPm + " 3:04:05"},
      {"", "2024-03-05 " + kPm + " 3:04:05"},
      {"\x81\x64 d", "\x81\x64 5"},  // a trail byte is never a token
      {"x", "x"},
  };
  for (const auto& c : cases) EXPECT_EQ(format_date_time(c.pattern, v), c.expected) << c.pattern;

  EXPECT_EQ(format_date_time("ampm h:nn", encode_time(0, 30, 0, 0)), kAm + " 12:30");
  EXPECT_EQ(format_date_time("ampm h:nn", encode_time(12, 0, 0, 0)), kPm + " 12:00");
  EXPECT_EQ(format_date_time("hh:nn", encode_time(0, 30, 0, 0)), "00:30");

  FormatSettings self_referring = FormatSettings::defaults();
  self_referring.short_date_format = "c";
  EXPECT_EQ(format_date_time("c", 0, self_referring), "");  // nesting stops
}

TEST(DateTimeTest, DateTimeToStr) {
  const double day = encode_date(2024, 3, 5);
  EXPECT_EQ(date_time_to_str(day), "2024-03-05");
  EXPECT_EQ(date_time_to_str(day + encode_time(9, 0, 0, 0)), "2024-03-05 " + kAm + " 9:00:00");
  EXPECT_EQ(date_time_to_str(day + encode_time(0, 0, 0, 500)), "2024-03-05");
  EXPECT_EQ(date_to_str(day + 0.5), "2024-03-05");
  EXPECT_EQ(time_to_str(day + 0.5), kPm + " 12:00:00");
}

class DateParseTest : public testing::Test {
 protected:
  FixedClock clock_{encode_date(2026, 6, 1) + 0.5};
  const FormatSettings& fs_ = FormatSettings::defaults();
  double date(std::string_view text) { return str_to_date(text, fs_, clock_); }
};

TEST_F(DateParseTest, Dates) {
  struct Case {
    const char* text;
    int y, m, d;
  } cases[] = {
      {"2024-03-05", 2024, 3, 5},  {" 2024-3-5 ", 2024, 3, 5}, {"2024 - 3 - 5", 2024, 3, 5},
      {"2024-03-05-", 2024, 3, 5}, {"24-03-05", 2024, 3, 5},   {"76-01-01", 1976, 1, 1},
      {"75-12-31", 2075, 12, 31},  {"03-05", 2026, 3, 5},      {"0024-03-05", 24, 3, 5},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(decode_date(date(c.text)), (DateParts{c.y, c.m, c.d})) << c.text;
  }
  for (const char* text : {"", "2024", "2024-02-30", "2024/03/05", "2024-03-05x", "2024--05",
                           "2024-03-05 12:00", "-2024-03-05", "99999-1-1"}) {
    EXPECT_FALSE(try_str_to_date(text, fs_, clock_)) << text;
  }
  try {
    date("2024-13-01");
    FAIL();
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'2024-13-01' is not a valid date");
  }

  FormatSettings dmy = fs_;
  dmy.short_date_format = "dd/mm/yyyy";
  dmy.date_separator = '/';
  EXPECT_EQ(decode_date(str_to_date("05/03/2024", dmy, clock_)), (DateParts{2024, 3, 5}));
  EXPECT_EQ(decode_date(str_to_date("05/03", dmy, clock_)), (DateParts{2026, 3, 5}));
  dmy.short_date_format = "m/d/yy";
  EXPECT_EQ(decode_date(str_to_date("3/5/24", dmy, clock_)), (DateParts{2024, 3, 5}));
}

TEST_F(DateParseTest, Times) {
  struct Case {
    std::string text;
    TimeParts expected;
  } cases[] = {
      {"15:04", {15, 4, 0, 0}},       {" 15:04:05 ", {15, 4, 5, 0}},
      {"15:04:05.5", {15, 4, 5, 5}},  {"3:04 PM", {15, 4, 0, 0}},
      {"3:04 am", {3, 4, 0, 0}},      {"12:30 AM", {0, 30, 0, 0}},
      {"12:30 PM", {12, 30, 0, 0}},   {kPm + " 3:04:05", {15, 4, 5, 0}},
      {kAm + " 12:00", {0, 0, 0, 0}}, {"3:04:05 " + kPm, {15, 4, 5, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(decode_time(str_to_time(c.text)), c.expected) << c.text;
  for (const char* text :
       {"", "15", "25:00", "13:00 PM", "0:30 AM", "12:60", "12:00:00 x", "12:"}) {
    EXPECT_FALSE(try_str_to_time(text)) << text;
  }
  EXPECT_THROW(
      {
        try {
          str_to_time("noon");
        } catch (const ConversionError& e) {
          EXPECT_STREQ(e.what(), "'noon' is not a valid time");
          throw;
        }
      },
      ConversionError);
}

TEST_F(DateParseTest, DatesWithTimes) {
  auto read = [&](std::string_view text) { return str_to_date_time(text, fs_, clock_); };
  const double day = encode_date(2024, 3, 5);
  EXPECT_DOUBLE_EQ(read("2024-03-05"), day);
  EXPECT_DOUBLE_EQ(read("2024-03-05 15:04:05"), day + encode_time(15, 4, 5, 0));
  EXPECT_DOUBLE_EQ(read("15:04"), encode_time(15, 4, 0, 0));
  EXPECT_DOUBLE_EQ(read("1899-12-29 06:00"), -1.25);  // before the epoch the time is subtracted
  for (double v : {day, day + encode_time(15, 4, 5, 0), day + encode_time(0, 0, 1, 0), 0.75}) {
    EXPECT_DOUBLE_EQ(read(date_time_to_str(v)), v) << date_time_to_str(v);
  }
  try {
    read("2024-03-05 x");
    FAIL();
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'2024-03-05 x' is not a valid date and time");
  }
}

TEST(ClockTest, SystemClockIsNearTheCalendar) {
  const double now = Clock::system().now();
  EXPECT_GT(now, encode_date(2020, 1, 1));
  EXPECT_LT(now, encode_date(2200, 1, 1));
  FixedClock fixed(12.5);
  EXPECT_EQ(fixed.now(), 12.5);
  fixed.set(3);
  EXPECT_EQ(fixed.now(), 3);
}

}  // namespace
}  // namespace zr
