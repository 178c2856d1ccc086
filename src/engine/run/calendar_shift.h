#pragma once
// Calendar arithmetic of the additional function library: moving dates by days, months and
// years, moving times by hours to milliseconds, and the difference of two dates in days,
// months and years. Dates are days since 30 December 1899 with the time as the fraction.
// Results outside the valid dates raise ConversionError.

#include <string>

namespace zr {

struct DateShift {
  int days = 0;
  int months = 0;
  int years = 0;
};

// Months first (a day beyond the new month's end becomes its last day), then the days; the
// time of day is kept.
double inc_date(double date, const DateShift& shift);

struct TimeShift {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
  int milliseconds = 0;
};

// Whole days for every 24 hours, the rest as a fraction; a negative result gets one day
// added.
double inc_time(double time, const TimeShift& shift);

// "days;months;years" between the two dates, in either order.
std::string date_diff_text(double date1, double date2);

// Day 1 of the month after / before the date's month; the last day of the month before.
double first_day_of_next_month(double date);
double first_day_of_prev_month(double date);
double last_day_of_prev_month(double date);

}  // namespace zr
