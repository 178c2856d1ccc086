#include "platform/format_settings.h"

namespace zr {
namespace {

// Korean words as code page 949 bytes.
constexpr const char* kYear = "\xB3\xE2";               // 년
constexpr const char* kMonth = "\xBF\xF9";              // 월
constexpr const char* kDay = "\xC0\xCF";                // 일
constexpr const char* kDaySuffix = "\xBF\xE4\xC0\xCF";  // 요일
constexpr const char* kAm = "\xBF\xC0\xC0\xFC";         // 오전
constexpr const char* kPm = "\xBF\xC0\xC8\xC4";         // 오후
// 일 월 화 수 목 금 토
constexpr std::array<const char*, 7> kDayNames = {"\xC0\xCF", "\xBF\xF9", "\xC8\xAD", "\xBC\xF6",
                                                  "\xB8\xF1", "\xB1\xDD", "\xC5\xE4"};

FormatSettings make_korean() {
  FormatSettings fs;
  fs.short_date_format = "yyyy-mm-dd";
  fs.long_date_format = std::string("yyyy'") + kYear + "' m'" + kMonth + "' d'" + kDay + "' dddd";
  fs.short_time_format = "ampm h:nn";
  fs.long_time_format = "ampm h:nn:ss";
  fs.time_am_string = kAm;
  fs.time_pm_string = kPm;
  for (int m = 0; m < 12; ++m) {
    fs.short_month_names[m] = std::to_string(m + 1) + kMonth;
    fs.long_month_names[m] = fs.short_month_names[m];
  }
  for (int d = 0; d < 7; ++d) {
    fs.short_day_names[d] = kDayNames[d];
    fs.long_day_names[d] = std::string(kDayNames[d]) + kDaySuffix;
  }
  fs.currency_string = "\\";  // the won sign sits at 0x5C in code page 949
  fs.currency_format = 0;
  fs.negative_currency_format = 1;
  fs.currency_decimals = 0;
  return fs;
}

}  // namespace

const FormatSettings& FormatSettings::defaults() {
  static const FormatSettings korean = make_korean();
  return korean;
}

}  // namespace zr
