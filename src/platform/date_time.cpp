#include "platform/date_time.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/rounding.h"

namespace zr {
namespace {

constexpr int64_t kMsPerDay = 86'400'000;
constexpr int64_t kMinDay = -693'593;   // 1 January 0001
constexpr int64_t kMaxDay = 2'958'465;  // 31 December 9999

// Days since 1 January 1970 of a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr int64_t days_from_civil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

DateParts civil_from_days(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(yoe + era * 400 + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

constexpr int64_t kEpochOffset = days_from_civil(1899, 12, 30);

// A value split into its calendar day (days since 30 December 1899) and milliseconds.
struct DayAndTime {
  int64_t day;
  int64_t ms;
};

DayAndTime split(double value) {
  if (!std::isfinite(value) || value < kMinDay - 1 || value > kMaxDay + 1) {
    throw ConversionError("Invalid date-time value");
  }
  double whole = std::trunc(value);
  int64_t day = static_cast<int64_t>(whole);
  int64_t ms = round_half_even(std::abs(value - whole) * kMsPerDay);
  if (ms >= kMsPerDay) {  // 23:59:59.9996 is the next midnight
    ms -= kMsPerDay;
    ++day;
  }
  if (day < kMinDay || day > kMaxDay) throw ConversionError("Invalid date-time value");
  return {day, ms};
}

std::string pad(int value, size_t width) {
  std::string text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

bool starts_with_nocase(std::string_view text, size_t pos, std::string_view word) {
  if (word.empty() || pos + word.size() > text.size()) return false;
  return same_text_ascii(text.substr(pos, word.size()), word);
}

// ---- formatting --------------------------------------------------------------------------

struct Moment {
  DateParts date;
  TimeParts time;
  int week_day;  // 1 = Sunday
  bool has_time;
};

bool has_am_pm_token(std::string_view pattern) {
  char quote = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(pattern[i]);
    if (quote) {
      if (c == quote) quote = 0;
    } else if (is_lead_byte(c)) {
      ++i;
    } else if (c == '"' || c == '\'') {
      quote = static_cast<char>(c);
    } else if (starts_with_nocase(pattern, i, "am/pm") || starts_with_nocase(pattern, i, "a/p") ||
               starts_with_nocase(pattern, i, "ampm")) {
      return true;
    }
  }
  return false;
}

class Formatter {
 public:
  Formatter(const Moment& moment, const FormatSettings& fs) : m_(moment), fs_(fs) {}

  // Nested patterns (c, t, ddddd ...) go one level deep, so a pattern naming itself ends.
  void append(std::string_view pattern, int level) {
    if (level >= 2) return;
    const bool twelve_hour = has_am_pm_token(pattern);
    char last = ' ';
    size_t i = 0;
    while (i < pattern.size()) {
      unsigned char c = static_cast<unsigned char>(pattern[i]);
      if (is_lead_byte(c) && i + 1 < pattern.size()) {
        out_.append(pattern.substr(i, 2));
        i += 2;
        last = ' ';
        continue;
      }
      char token = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : static_cast<char>(c);
      if (token == 'A') {
        i += append_am_pm(pattern, i);
        continue;
      }
      size_t count = 1;
      if (token >= 'A' && token <= 'Z') {
        while (i + count < pattern.size() &&
               (pattern[i + count] | 0x20) == static_cast<char>(c | 0x20)) {
          ++count;
        }
        if (token == 'M' && last == 'H') token = 'N';
        last = token;
      }
      if (token == '"' || token == '\'') {
        size_t close = pattern.find(static_cast<char>(c), i + 1);
        if (close == std::string_view::npos) close = pattern.size();
        out_.append(pattern.substr(i + 1, close - i - 1));
        i = close + 1;
        continue;
      }
      append_token(token, count, pattern.substr(i, count), twelve_hour, level);
      i += count;
    }
  }

  std::string take() { return std::move(out_); }

 private:
  void append_token(char token, size_t count, std::string_view source, bool twelve_hour,
                    int level) {
    switch (token) {
      case 'Y':
        out_ += count <= 2 ? pad(m_.date.year % 100, 2) : pad(m_.date.year, 4);
        break;
      case 'M':
        if (count <= 2) {
          out_ += pad(m_.date.month, count);
        } else {
          out_ += count == 3 ? fs_.short_month_names[m_.date.month - 1]
                             : fs_.long_month_names[m_.date.month - 1];
        }
        break;
      case 'D':
        if (count <= 2) out_ += pad(m_.date.day, count);
        if (count == 3) out_ += fs_.short_day_names[m_.week_day - 1];
        if (count == 4) out_ += fs_.long_day_names[m_.week_day - 1];
        if (count == 5) append(fs_.short_date_format, level + 1);
        if (count >= 6) append(fs_.long_date_format, level + 1);
        break;
      case 'H': {
        int hour = m_.time.hour;
        if (twelve_hour) hour = hour == 0 ? 12 : (hour > 12 ? hour - 12 : hour);
        out_ += pad(hour, count >= 2 ? 2 : 1);
        break;
      }
      case 'N':
        out_ += pad(m_.time.minute, count >= 2 ? 2 : 1);
        break;
      case 'S':
        out_ += pad(m_.time.second, count >= 2 ? 2 : 1);
        break;
      case 'Z':
        out_ += pad(m_.time.millisecond, count >= 2 ? 3 : 1);
        break;
      case 'T':
        append(count == 1 ? fs_.short_time_format : fs_.long_time_format, level + 1);
        break;
      case 'C':
        append(fs_.short_date_format, level + 1);
        if (m_.has_time) {
          out_ += ' ';
          append(fs_.long_time_format, level + 1);
        }
        break;
      case '/':
        out_ += fs_.date_separator;
        break;
      case ':':
        out_ += fs_.time_separator;
        break;
      default:
        out_.append(source);
    }
  }

  // At an "a": one of the am/pm tokens, else the letter itself. Returns the length used.
  size_t append_am_pm(std::string_view pattern, size_t i) {
    const bool pm = m_.time.hour >= 12;
    if (starts_with_nocase(pattern, i, "am/pm")) {
      out_.append(pattern.substr(pm ? i + 3 : i, 2));
      return 5;
    }
    if (starts_with_nocase(pattern, i, "a/p")) {
      out_ += pattern[pm ? i + 2 : i];
      return 3;
    }
    if (starts_with_nocase(pattern, i, "ampm")) {
      out_ += pm ? fs_.time_pm_string : fs_.time_am_string;
      return 4;
    }
    out_ += pattern[i];
    return 1;
  }

  const Moment& m_;
  const FormatSettings& fs_;
  std::string out_;
};

// ---- parsing -----------------------------------------------------------------------------

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  void blanks() {
    while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) <= 32) ++pos_;
  }
  bool at_end() const { return pos_ >= text_.size(); }
  size_t pos() const { return pos_; }
  void reset(size_t pos) { pos_ = pos; }

  // Digits while the value stays below 1000 (at most 9999), as the classic scanner does.
  bool number(int& value, int& digits) {
    blanks();
    value = 0;
    digits = 0;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9' && value < 1000) {
      value = value * 10 + (text_[pos_++] - '0');
      ++digits;
    }
    return digits > 0;
  }
  bool number(int& value) {
    int digits = 0;
    return number(value, digits);
  }

  bool character(char c) {
    blanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  bool word(std::string_view w) {
    blanks();
    if (w.empty() || pos_ + w.size() > text_.size()) return false;
    if (!same_text_ascii(text_.substr(pos_, w.size()), w)) return false;
    pos_ += w.size();
    return true;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

enum class DateOrder { MDY, DMY, YMD };

DateOrder date_order(std::string_view format) {
  for (char c : format) {
    switch (c | 0x20) {
      case 'd':
        return DateOrder::DMY;
      case 'y':
      case 'e':
        return DateOrder::YMD;
      case 'm':
        return DateOrder::MDY;
    }
  }
  return DateOrder::MDY;
}

std::optional<double> scan_date(Scanner& s, const FormatSettings& fs, const Clock& clock) {
  int n1 = 0, n2 = 0, n3 = 0, l1 = 0, l3 = 0;
  if (!(s.number(n1, l1) && s.character(fs.date_separator) && s.number(n2))) return std::nullopt;
  const DateOrder order = date_order(fs.short_date_format);
  int year = 0, month = 0, day = 0;
  if (s.character(fs.date_separator)) {
    if (!s.number(n3, l3)) return std::nullopt;
    int year_digits = 0;
    switch (order) {
      case DateOrder::MDY:
        year = n3, year_digits = l3, month = n1, day = n2;
        break;
      case DateOrder::DMY:
        year = n3, year_digits = l3, month = n2, day = n1;
        break;
      case DateOrder::YMD:
        year = n1, year_digits = l1, month = n2, day = n3;
        break;
    }
    if (year_digits <= 2) {
      const int window_start = decode_date(clock.now()).year - fs.two_digit_year_century_window;
      year += window_start / 100 * 100;
      if (fs.two_digit_year_century_window > 0 && year < window_start) year += 100;
    }
  } else {
    year = decode_date(clock.now()).year;
    if (order == DateOrder::DMY) {
      day = n1, month = n2;
    } else {
      month = n1, day = n2;
    }
  }
  s.character(fs.date_separator);  // a trailing separator is allowed
  s.blanks();
  return try_encode_date(year, month, day);
}

std::optional<double> scan_time(Scanner& s, const FormatSettings& fs) {
  auto scan_am_pm = [&]() -> int {
    if (s.word(fs.time_am_string) || s.word("AM")) return 0;
    if (s.word(fs.time_pm_string) || s.word("PM")) return 12;
    return -1;
  };
  int base_hour = scan_am_pm();
  int hour = 0, minute = 0, second = 0, ms = 0;
  if (!s.number(hour) || !s.character(fs.time_separator) || !s.number(minute)) {
    return std::nullopt;
  }
  if (s.character(fs.time_separator)) {
    if (!s.number(second)) return std::nullopt;
    if (s.character(fs.decimal_separator) && !s.number(ms)) return std::nullopt;
  }
  if (base_hour < 0) base_hour = scan_am_pm();
  if (base_hour >= 0) {
    if (hour == 0 || hour > 12) return std::nullopt;
    hour = (hour == 12 ? 0 : hour) + base_hour;
  }
  s.blanks();
  return try_encode_time(hour, minute, second, ms);
}

Moment moment_of(double value) {
  Moment m;
  m.date = decode_date(value);
  m.time = decode_time(value);
  m.week_day = day_of_week(value);
  m.has_time = m.time.hour != 0 || m.time.minute != 0 || m.time.second != 0;
  return m;
}

}  // namespace

bool is_leap_year(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int days_in_month(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) throw ConversionError("Invalid month " + std::to_string(month));
  return month == 2 && is_leap_year(year) ? 29 : kDays[month - 1];
}

std::optional<double> try_encode_date(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return std::nullopt;
  if (day < 1 || day > days_in_month(year, month)) return std::nullopt;
  return static_cast<double>(days_from_civil(year, month, day) - kEpochOffset);
}

std::optional<double> try_encode_time(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999) {
    return std::nullopt;
  }
  const int64_t ms = ((hour * 60 + minute) * 60 + second) * 1000LL + millisecond;
  return static_cast<double>(ms) / kMsPerDay;
}

double encode_date(int year, int month, int day) {
  auto value = try_encode_date(year, month, day);
  if (!value) throw ConversionError("Invalid argument to date encode");
  return *value;
}

double encode_time(int hour, int minute, int second, int millisecond) {
  auto value = try_encode_time(hour, minute, second, millisecond);
  if (!value) throw ConversionError("Invalid argument to time encode");
  return *value;
}

DateParts decode_date(double value) {
  return civil_from_days(split(value).day + kEpochOffset);
}

TimeParts decode_time(double value) {
  int64_t ms = split(value).ms;
  TimeParts t;
  t.hour = static_cast<int>(ms / 3'600'000);
  t.minute = static_cast<int>(ms / 60'000 % 60);
  t.second = static_cast<int>(ms / 1000 % 60);
  t.millisecond = static_cast<int>(ms % 1000);
  return t;
}

int day_of_week(double value) {
  // 30 December 1899 was a Saturday.
  int64_t r = (split(value).day + 6) % 7;
  return static_cast<int>(r < 0 ? r + 7 : r) + 1;
}

double SystemClock::now() const {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  // tm_sec may be 60 in a leap second.
  return encode_date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         encode_time(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                     static_cast<int>(ms.count()));
}

const Clock& Clock::system() {
  static const SystemClock clock;
  return clock;
}

std::string format_date_time(std::string_view pattern, double value, const FormatSettings& fs) {
  const Moment moment = moment_of(value);
  Formatter formatter(moment, fs);
  formatter.append(pattern.empty() ? std::string_view("c") : pattern, 0);
  return formatter.take();
}

std::string date_time_to_str(double value, const FormatSettings& fs) {
  return format_date_time("c", value, fs);
}

std::string date_to_str(double value, const FormatSettings& fs) {
  return format_date_time(fs.short_date_format, value, fs);
}

std::string time_to_str(double value, const FormatSettings& fs) {
  return format_date_time(fs.long_time_format, value, fs);
}

std::optional<double> try_str_to_date(std::string_view text, const FormatSettings& fs,
                                      const Clock& clock) {
  Scanner s(text);
  auto date = scan_date(s, fs, clock);
  if (!date || !s.at_end()) return std::nullopt;
  return date;
}

std::optional<double> try_str_to_time(std::string_view text, const FormatSettings& fs) {
  Scanner s(text);
  auto time = scan_time(s, fs);
  if (!time || !s.at_end()) return std::nullopt;
  return time;
}

std::optional<double> try_str_to_date_time(std::string_view text, const FormatSettings& fs,
                                           const Clock& clock) {
  Scanner s(text);
  if (auto date = scan_date(s, fs, clock)) {
    if (s.at_end()) return date;
    if (auto time = scan_time(s, fs); time && s.at_end()) {
      return *date >= 0 ? *date + *time : *date - *time;
    }
  }
  return try_str_to_time(text, fs);
}

namespace {
[[noreturn]] void not_valid(std::string_view text, const char* what) {
  throw ConversionError("'" + std::string(text) + "' is not a valid " + what);
}
}  // namespace

double str_to_date(std::string_view text, const FormatSettings& fs, const Clock& clock) {
  auto value = try_str_to_date(text, fs, clock);
  if (!value) not_valid(text, "date");
  return *value;
}

double str_to_time(std::string_view text, const FormatSettings& fs) {
  auto value = try_str_to_time(text, fs);
  if (!value) not_valid(text, "time");
  return *value;
}

double str_to_date_time(std::string_view text, const FormatSettings& fs, const Clock& clock) {
  auto value = try_str_to_date_time(text, fs, clock);
  if (!value) not_valid(text, "date and time");
  return *value;
}

}  // namespace zr
