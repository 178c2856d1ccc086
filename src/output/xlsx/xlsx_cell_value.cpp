#include "output/xlsx/xlsx_cell_value.h"

#include <charconv>
#include <optional>
#include <vector>

#include "platform/date_time.h"

namespace zr {

namespace {

constexpr size_t kMaxDigits = 15;

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

size_t digit_run(std::string_view text, size_t pos) {
  size_t end = pos;
  while (end < text.size() && is_digit(text[end])) ++end;
  return end - pos;
}

std::optional<XlsxCellValue> read_number(std::string_view text, const FormatSettings& fs) {
  size_t pos = 0;
  std::string plain;  // the number in C notation
  if (pos < text.size() && text[pos] == '-') {
    plain += '-';
    ++pos;
  }
  // The integer part, with or without thousand separators.
  size_t digits = 0;
  bool grouped = false;
  size_t run = digit_run(text, pos);
  if (run == 0 || (run > 1 && text[pos] == '0')) return std::nullopt;
  plain.append(text.substr(pos, run));
  digits += run;
  pos += run;
  while (pos < text.size() && text[pos] == fs.thousand_separator && fs.thousand_separator != 0) {
    if (!grouped && run > 3) return std::nullopt;
    grouped = true;
    run = digit_run(text, pos + 1);
    if (run != 3) return std::nullopt;
    plain.append(text.substr(pos + 1, 3));
    digits += 3;
    pos += 4;
  }
  if (grouped && plain.size() > 1 && plain[plain[0] == '-' ? 1 : 0] == '0') return std::nullopt;
  size_t decimals = 0;
  if (pos < text.size() && text[pos] == fs.decimal_separator) {
    decimals = digit_run(text, pos + 1);
    plain += '.';
    plain.append(text.substr(pos + 1, decimals));
    digits += decimals;
    pos += 1 + decimals;
  }
  if (pos != text.size() || digits > kMaxDigits) return std::nullopt;
  XlsxCellValue value;
  value.kind = XlsxCellValue::Kind::Number;
  if (std::from_chars(plain.data(), plain.data() + plain.size(), value.number).ec != std::errc())
    return std::nullopt;
  if (value.number == 0) value.number = 0;  // no "-0"
  value.num_format = grouped ? "#,##0" : "0";
  if (decimals > 0) value.num_format += "." + std::string(decimals, '0');
  return value;
}

// The order of day, month and year in a short date pattern: "ymd", "dmy", "mdy".
std::string date_order(const std::string& pattern) {
  std::string order;
  for (char c : pattern) {
    const char lower = static_cast<char>(c | 0x20);
    if ((lower == 'y' || lower == 'm' || lower == 'd') && order.find(lower) == std::string::npos)
      order += lower;
  }
  return order.size() == 3 ? order : "ymd";
}

bool is_date_separator(char c, const FormatSettings& fs) {
  return c == '-' || c == '/' || c == '.' || (c == fs.date_separator && c != 0);
}

std::optional<XlsxCellValue> read_date(std::string_view text, const FormatSettings& fs) {
  size_t pos = 0;
  int parts[3];
  size_t widths[3];
  char separator = 0;
  for (int i = 0; i < 3; ++i) {
    const size_t run = digit_run(text, pos);
    if (run == 0 || run > 4) return std::nullopt;
    std::from_chars(text.data() + pos, text.data() + pos + run, parts[i]);
    widths[i] = run;
    pos += run;
    if (i == 2) break;
    if (pos >= text.size() || !is_date_separator(text[pos], fs)) return std::nullopt;
    if (separator != 0 && text[pos] != separator) return std::nullopt;
    separator = text[pos++];
  }
  const std::string order = widths[0] == 4 ? "ymd" : date_order(fs.short_date_format);
  int year = 0, month = 0, day = 0;
  std::string format;
  for (int i = 0; i < 3; ++i) {
    if (i > 0)
      format += separator == '/' || separator == '.' ? std::string("\\") + separator
                                                     : std::string(1, separator);
    switch (order[static_cast<size_t>(i)]) {
      case 'y':
        if (widths[i] != 2 && widths[i] != 4) return std::nullopt;
        year = widths[i] == 2 ? 2000 + parts[i] : parts[i];
        format += widths[i] == 2 ? "yy" : "yyyy";
        break;
      case 'm':
        if (widths[i] > 2) return std::nullopt;
        month = parts[i];
        format += widths[i] == 2 ? "mm" : "m";
        break;
      default:
        if (widths[i] > 2) return std::nullopt;
        day = parts[i];
        format += widths[i] == 2 ? "dd" : "d";
        break;
    }
  }
  const std::optional<double> date = try_encode_date(year, month, day);
  // Before March 1900 spreadsheets count a day that never was (29 February 1900).
  if (!date || *date < 61) return std::nullopt;
  double serial = *date;
  // An optional time of day: " hh:nn" or " hh:nn:ss".
  if (pos < text.size()) {
    if (text[pos] != ' ') return std::nullopt;
    ++pos;
    int hms[3] = {0, 0, 0};
    int count = 0;
    std::string time_format;
    while (count < 3) {
      const size_t run = digit_run(text, pos);
      if (run == 0 || run > 2) return std::nullopt;
      std::from_chars(text.data() + pos, text.data() + pos + run, hms[count]);
      time_format += count == 0 ? (run == 2 ? "hh" : "h") : (count == 1 ? ":mm" : ":ss");
      pos += run;
      ++count;
      if (pos == text.size()) break;
      if (text[pos] != fs.time_separator && text[pos] != ':') return std::nullopt;
      ++pos;
    }
    if (pos != text.size() || count < 2) return std::nullopt;
    const std::optional<double> time = try_encode_time(hms[0], hms[1], hms[2], 0);
    if (!time) return std::nullopt;
    serial += *time;
    format += " " + time_format;
  }
  XlsxCellValue value;
  value.kind = XlsxCellValue::Kind::Date;
  value.number = serial;
  value.num_format = format;
  return value;
}

}  // namespace

XlsxCellValue RecogniseCellValue(std::string_view text, const FormatSettings& fs) {
  if (text.empty() || text.size() > 40) return {};
  if (auto number = read_number(text, fs)) return *number;
  if (auto date = read_date(text, fs)) return *date;
  return {};
}

}  // namespace zr
