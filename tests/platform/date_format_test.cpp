// Date-time pattern tokens with settings other than the Korean defaults, so that every
// token shows which setting it reads.
#include <gtest/gtest.h>

#include "platform/date_time.h"

namespace zr {
namespace {

FormatSettings english() {
  FormatSettings fs = FormatSettings::defaults();
  fs.date_separator = '/';
  fs.time_separator = '.';
  fs.short_date_format = "d/m/yy";
  fs.long_date_format = "dddd, d mmmm yyyy";
  fs.short_time_format = "h:nn";
  fs.long_time_format = "hh:nn:ss";
  fs.time_am_string = "AM";
  fs.time_pm_string = "PM";
  fs.short_month_names = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  fs.long_month_names = {"January", "February", "March",     "April",   "May",      "June",
                         "July",    "August",   "September", "October", "November", "December"};
  fs.short_day_names = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  fs.long_day_names = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                       "Thursday", "Friday", "Saturday"};
  return fs;
}

TEST(DateFormatTest, TokensReadTheSettings) {
  const FormatSettings fs = english();
  const double morning = encode_date(2007, 1, 9) + encode_time(8, 5, 3, 40);
  struct Case {
    const char* pattern;
    const char* expected;
  } cases[] = {
      {"d dd ddd dddd", "9 09 Tue Tuesday"},
      {"m mm mmm mmmm", "1 01 Jan January"},
      {"yy yyyy", "07 2007"},
      {"ddddd", "9/1/07"},
      {"dddddd", "Tuesday, 9 January 2007"},
      {"h hh n nn s ss z zzz", "8 08 5 05 3 03 40 040"},
      {"hh:mm", "08.05"},  // ":" is the time separator, mm after hh the minutes
      {"t", "8.05"},
      {"tt", "08.05.03"},
      {"c", "9/1/07 08.05.03"},
      {"h:nn ampm", "8.05 AM"},
      {"h:nn am/pm a/p A/P", "8.05 am a A"},
      {"dd/mm/yyyy", "09/01/2007"},
      {"'d' \"m\" d", "d m 9"},
      {"yyyy\xB3\xE2 m\xBF\xF9", "2007\xB3\xE2 1\xBF\xF9"},  // 년 월 copied whole
  };
  for (const auto& c : cases) {
    EXPECT_EQ(format_date_time(c.pattern, morning, fs), c.expected) << c.pattern;
  }
  EXPECT_EQ(format_date_time("c", encode_date(2007, 1, 9), fs), "9/1/07");  // midnight: no time
  EXPECT_EQ(format_date_time("hh AM/PM", encode_time(0, 0, 0, 0), fs), "12 AM");
  EXPECT_EQ(format_date_time("hh AM/PM", encode_time(23, 0, 0, 0), fs), "11 PM");
  EXPECT_EQ(format_date_time("ampm h", encode_time(13, 0, 0, 0), fs), "PM 1");
}

}  // namespace
}  // namespace zr
