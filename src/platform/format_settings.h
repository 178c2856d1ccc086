#pragma once
// The locale conventions the engine formats and parses with. They never come from the
// machine's locale: the defaults are those of Korean Windows, and a caller that needs other
// conventions builds its own copy. All texts are 8-bit ANSI (code page 949) bytes.
//
// Date and time patterns use the classic tokens (d, m, y, h, n, s, z, am/pm, ampm, quoted
// literals; "/" and ":" stand for date_separator and time_separator).

#include <array>
#include <string>

namespace zr {

struct FormatSettings {
  char decimal_separator = '.';
  char thousand_separator = ',';
  char date_separator = '-';
  char time_separator = ':';
  std::string short_date_format;
  std::string long_date_format;
  std::string short_time_format;
  std::string long_time_format;
  std::string time_am_string;
  std::string time_pm_string;
  std::array<std::string, 12> short_month_names;  // January first
  std::array<std::string, 12> long_month_names;
  std::array<std::string, 7> short_day_names;  // Sunday first
  std::array<std::string, 7> long_day_names;
  std::string currency_string;
  int currency_format = 0;           // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
  int negative_currency_format = 1;  // classic codes 0..15; 1 is "-$1"
  int currency_decimals = 0;
  // Two-digit years read as dates fall within this many years before the current year and
  // the years after it (classic window of 50).
  int two_digit_year_century_window = 50;

  // The Korean Windows conventions. A constant: copy it to change anything.
  static const FormatSettings& defaults();
};

}  // namespace zr
