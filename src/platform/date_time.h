#pragma once
// Date-time values as the engine keeps them: a double counting days since 30 December 1899,
// the time of day as the fraction. For negative values the integer part is the day and the
// fraction's absolute value the time (-1.25 is 29 December 1899, 06:00), as the classic
// TDateTime. Valid dates run from 1 January 0001 to 31 December 9999.
//
// Formatting and parsing use a FormatSettings, never the machine's locale; parsing of
// two-digit years and of dates without a year asks a Clock for the current date.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/format_settings.h"

namespace zr {

struct DateParts {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  bool operator==(const DateParts&) const = default;
};

struct TimeParts {
  int hour = 0;  // 0..23
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  bool operator==(const TimeParts&) const = default;
};

bool is_leap_year(int year);
// 28..31; raises ConversionError for a month outside 1..12.
int days_in_month(int year, int month);

// Raise ConversionError "Invalid argument to date encode" / "... time encode" when a part is
// out of range (hour 0..23, minute and second 0..59, millisecond 0..999).
double encode_date(int year, int month, int day);
double encode_time(int hour, int minute, int second, int millisecond);
// Non-throwing forms.
std::optional<double> try_encode_date(int year, int month, int day);
std::optional<double> try_encode_time(int hour, int minute, int second, int millisecond);

// The time is rounded to the millisecond; a time that rounds to 24:00 belongs to the next
// day. Values outside the valid dates (and NaN) raise ConversionError.
DateParts decode_date(double value);
TimeParts decode_time(double value);
int day_of_week(double value);  // 1 = Sunday .. 7 = Saturday

// Source of the current date and time, injectable so that tests and exports are repeatable.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual double now() const = 0;  // local date and time as days
  // The machine's local time.
  static const Clock& system();
};

class FixedClock : public Clock {
 public:
  explicit FixedClock(double days) : days_(days) {}
  double now() const override { return days_; }
  void set(double days) { days_ = days; }

 private:
  double days_;
};

// Formats `value` with a classic date-time pattern: c, d, dd, ddd, dddd, ddddd (short date),
// dddddd (long date), m, mm, mmm, mmmm (minutes right after h/hh), yy, yyyy, h, hh, n, nn,
// s, ss, z, zzz, t (short time), tt (long time), am/pm, a/p, ampm, "..." and '...' literals,
// "/" and ":" as the separators of `fs`. Hours are on a 12-hour clock when the pattern has an
// am/pm token. Double-byte characters are copied whole. An empty pattern means "c".
std::string format_date_time(std::string_view pattern, double value,
                             const FormatSettings& fs = FormatSettings::defaults());

// Short date, followed by a blank and the long time when the time is not 00:00:00.
std::string date_time_to_str(double value, const FormatSettings& fs = FormatSettings::defaults());
std::string date_to_str(double value, const FormatSettings& fs = FormatSettings::defaults());
std::string time_to_str(double value, const FormatSettings& fs = FormatSettings::defaults());

// Reading texts. A date is two or three numbers separated by fs.date_separator in the order
// of fs.short_date_format (y-m-d by default); with two numbers the year is the clock's; a
// year of one or two digits falls in the two-digit-year window around the clock's year. A
// time is h:nn[:ss[.zzz]] with fs.time_separator, optionally preceded or followed by the
// am/pm strings of fs (or "AM"/"PM"). Blanks around are allowed. Errors raise
// ConversionError "'<text>' is not a valid date" / "... valid time" / "... valid date and
// time".
double str_to_date(std::string_view text, const FormatSettings& fs = FormatSettings::defaults(),
                   const Clock& clock = Clock::system());
double str_to_time(std::string_view text, const FormatSettings& fs = FormatSettings::defaults());
// A date, a time, or a date followed by blanks and a time.
double str_to_date_time(std::string_view text,
                        const FormatSettings& fs = FormatSettings::defaults(),
                        const Clock& clock = Clock::system());
std::optional<double> try_str_to_date(std::string_view text,
                                      const FormatSettings& fs = FormatSettings::defaults(),
                                      const Clock& clock = Clock::system());
std::optional<double> try_str_to_time(std::string_view text,
                                      const FormatSettings& fs = FormatSettings::defaults());
std::optional<double> try_str_to_date_time(std::string_view text,
                                           const FormatSettings& fs = FormatSettings::defaults(),
                                           const Clock& clock = Clock::system());

}  // namespace zr
