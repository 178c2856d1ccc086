#include "engine/run/calendar_shift.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/date_time.h"
#include "platform/errors.h"

namespace zr {
namespace {

// Puts the time of day of `original` on the whole day `day`. Before 30 December 1899 the
// fraction's absolute value is the time, so it goes away from zero.
double with_time_of(double day, double original) {
  const double time = std::fabs(original - std::trunc(original));
  return day < 0 ? day - time : day + time;
}

}  // namespace

double inc_date(double date, const DateShift& shift) {
  const DateParts d = decode_date(date);
  // 64-bit so that extreme counts end in the range check, not in an overflow.
  int64_t month = d.month + shift.months % 12;
  int64_t year = int64_t{d.year} + shift.years + shift.months / 12;
  if (month <= 0) {
    month += 12;
    --year;
  } else if (month > 12) {
    month -= 12;
    ++year;
  }
  if (year < 1 || year > 9999) throw ConversionError("Invalid argument to date encode");
  const int y = static_cast<int>(year);
  const int m = static_cast<int>(month);
  const int day = std::min(d.day, days_in_month(y, m));
  return with_time_of(encode_date(y, m, day) + shift.days, date);
}

double inc_time(double time, const TimeShift& shift) {
  const double day_ms = 86400000.0;
  const double ms = shift.milliseconds + (shift.hours % 24) * 3600000.0 + shift.minutes * 60000.0 +
                    shift.seconds * 1000.0;
  double result = time + shift.hours / 24 + ms / day_ms;
  if (result < 0) result += 1;
  return result;
}

std::string date_diff_text(double date1, double date2) {
  if (date2 < date1) std::swap(date1, date2);
  const DateParts a = decode_date(date1);
  const DateParts b = decode_date(date2);
  int months = b.month - a.month;
  int years = b.year - a.year;
  if (b.month < a.month) {
    months += 12;
    --years;
  }
  int extra = 0;
  if (b.day < a.day) {
    extra = days_in_month(a.year, a.month);
    if (months == 0) {
      --years;
      months = 11;
    } else {
      --months;
    }
  }
  const int days = extra + b.day - a.day;
  return std::to_string(days) + ";" + std::to_string(months) + ";" + std::to_string(years);
}

double first_day_of_next_month(double date) {
  const DateParts d = decode_date(date);
  return d.month == 12 ? encode_date(d.year + 1, 1, 1) : encode_date(d.year, d.month + 1, 1);
}

double first_day_of_prev_month(double date) {
  const DateParts d = decode_date(date);
  return d.month == 1 ? encode_date(d.year - 1, 12, 1) : encode_date(d.year, d.month - 1, 1);
}

double last_day_of_prev_month(double date) {
  const DateParts d = decode_date(date);
  return encode_date(d.year, d.month, 1) - 1;
}

}  // namespace zr
