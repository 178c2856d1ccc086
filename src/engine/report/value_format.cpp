// Display formatting: the DisplayFormat code of a view, inline formats after " #" in a
// bracketed expression, and the text a value shows in each category.
#include <cctype>
#include <string>

#include "engine/locale/locale_strings.h"
#include "engine/model/memo_view.h"
#include "engine/report/korean_numbers.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/number_format.h"

namespace zr {

namespace {

constexpr int32_t kCategoryText = 0;
constexpr int32_t kCategoryNumber = 1;
constexpr int32_t kCategoryDate = 2;
constexpr int32_t kCategoryTime = 3;
constexpr int32_t kCategoryBoolean = 4;
constexpr int32_t kVariantCustom = 4;

struct FormatCode {
  int32_t category, variant, decimals;
  char separator;

  explicit FormatCode(int32_t code)
      : category((code >> 24) & 0x0F),
        variant((code >> 16) & 0xFF),
        decimals((code >> 8) & 0xFF),
        separator(static_cast<char>(code & 0xFF)) {}
};

int32_t make_code(int32_t category, int32_t variant, int32_t decimals = 0, char separator = 0) {
  return (category << 24) | (variant << 16) | ((decimals & 0xFF) << 8) |
         static_cast<unsigned char>(separator);
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

bool blank_text(const std::string& s) {
  for (unsigned char c : s)
    if (c > ' ') return false;
  return true;
}

// The process-wide decimal separator, changed for one number and put back however the
// formatting ends.
class DecimalSeparatorScope {
 public:
  DecimalSeparatorScope(FormatSettings& fs, char separator)
      : fs_(fs), saved_(fs.decimal_separator) {
    if (separator != 0) fs_.decimal_separator = separator;
  }
  ~DecimalSeparatorScope() { fs_.decimal_separator = saved_; }
  DecimalSeparatorScope(const DecimalSeparatorScope&) = delete;
  DecimalSeparatorScope& operator=(const DecimalSeparatorScope&) = delete;

 private:
  FormatSettings& fs_;
  char saved_;
};

std::string format_number(const Value& value, const FormatCode& f, const std::string& custom,
                          FormatSettings& fs) {
  DecimalSeparatorScope scope(fs, f.separator);
  const double x = value.to_double(fs);
  const std::string hashes(static_cast<size_t>(f.decimals), '#');
  switch (f.variant) {
    case 0:
      return format_float("##0." + hashes, x, fs);
    case 1:
      return float_to_str_f(x, FloatFormat::Fixed, 15, f.decimals, fs);
    case 2:
      return format_float("#,##0." + hashes, x, fs);
    case 3:
      return float_to_str_f(x, FloatFormat::Number, 15, f.decimals, fs);
    case 4:
      return format_float(custom, x, fs);
    case 5:
      return NumberToHanja(x);
    case 6:
      return NumberToHangul(x);
    default:
      return value.to_string(fs);
  }
}

// The pattern of a date, time or boolean variant; false for variants without one.
bool pattern_of(const FormatCode& f, const std::string& custom, const FormatSettings& fs,
                std::string& pattern) {
  if (f.variant == kVariantCustom) {
    pattern = custom;
    return true;
  }
  if (f.variant > 3) return false;
  switch (f.category) {
    case kCategoryDate:
      pattern = f.variant == 3 ? fs.long_date_format : LoadStr(kStrDateFormats + f.variant);
      return true;
    case kCategoryTime:
      pattern = LoadStr(kStrTimeFormats + f.variant);
      return true;
    case kCategoryBoolean:
      pattern = LoadStr(kStrBooleanFormats + f.variant);
      return true;
    default:
      return false;
  }
}

// "false text;true text": zero takes the part before the first ";", anything else the part
// after it (a pattern without ";" shows nothing for zero and itself otherwise).
std::string format_boolean(const Value& value, const std::string& pattern,
                           const FormatSettings& fs) {
  const bool on = value.to_int(fs) != 0;
  const size_t semi = pattern.find(';');
  if (semi == std::string::npos) return on ? pattern : std::string();
  return on ? pattern.substr(semi + 1) : pattern.substr(0, semi);
}

std::string format_value(const Value& value, int32_t code, const std::string& custom,
                         FormatSettings& fs) {
  const FormatCode f(code);
  std::string pattern;
  switch (f.category) {
    case kCategoryText:
      return value.to_string(fs);
    case kCategoryNumber:
      return format_number(value, f, custom, fs);
    case kCategoryDate:
    case kCategoryTime:
      if (!pattern_of(f, custom, fs, pattern)) return value.to_string(fs);
      return format_date_time(pattern, value.to_date_time(fs), fs);
    case kCategoryBoolean:
      if (!pattern_of(f, custom, fs, pattern)) return value.to_string(fs);
      return format_boolean(value, pattern, fs);
    default:
      return value.to_string(fs);
  }
}

// An inline number format: "N" or "n", then a picture or a decimal count. Updates the code
// and the custom string as the inline text asks.
void apply_inline_number(std::string text, int32_t& code, std::string& custom) {
  const bool counted = text.size() > 1 && is_digit(text[1]);
  int32_t decimals = 0;
  char separator = 0;
  // The last separator character, searched back to the second character.
  for (size_t j = text.size(); j-- > 1;) {
    const char c = text[j];
    if (c != ',' && c != '-' && c != '.') continue;
    separator = c;
    text[j] = '.';
    if (counted) {
      size_t k = j + 1;
      while (k < text.size() && is_digit(text[k])) ++k;
      decimals = static_cast<int32_t>(k - j - 1);
    }
    break;
  }
  if (counted) {
    code = make_code(kCategoryNumber, 1, decimals, separator);
  } else {
    code = make_code(kCategoryNumber, kVariantCustom, 0, separator);
    custom = text.substr(1);
  }
}

void apply_inline_format(std::string text, int32_t& code, std::string& custom) {
  if (!text.empty() && is_digit(text[0])) text = std::string("N") + text;
  const char first = text.empty() ? '\0' : text[0];
  switch (first) {
    case 'N':
    case 'n':
      apply_inline_number(text, code, custom);
      return;
    case 'B':
    case 'b':
      code = make_code(kCategoryBoolean, kVariantCustom);
      custom = text.substr(1);
      return;
    case 'D':
    case 'd':
    case 'T':
    case 't':
      // Times too are shown as date-times with the given pattern.
      code = make_code(kCategoryDate, kVariantCustom);
      custom = text.substr(1);
      return;
    default:
      custom = text;
      return;
  }
}

bool hides_zero(const TvtView* view, const Value& value) {
  const auto* memo = dynamic_cast<const TvtMemoView*>(view);
  if (!memo || !memo->HasFlag(kMemoHideZeros) || value.is_string()) return false;
  try {
    return value == Value(int32_t{0});
  } catch (const ZorelError&) {
    return false;
  }
}

}  // namespace

std::string TvtReport::FormatValue(const Value& value, int32_t format,
                                   const std::string& format_text) {
  if (value.is_empty() || value.is_null()) return "";
  if (value.is_string() && blank_text(value.raw_string())) return "";
  FormatSettings& fs = TvtGlobals::Get().format_settings;
  try {
    return format_value(value, format, format_text, fs);
  } catch (const ZorelError&) {
  }
  try {
    return value.to_string(fs);
  } catch (const ZorelError&) {
    return "";  // a date-time outside the valid dates has no text at all
  }
}

std::string TvtReport::FormatExpressionValue(const std::string& expression) {
  TvtGlobals& g = TvtGlobals::Get();
  TvtView* view = g.CurView;
  int32_t code = view ? view->DisplayFormat
                      : make_code(kCategoryText, 0, 2, g.format_settings.decimal_separator);
  std::string custom = view ? view->FormatText : std::string();

  std::string name = expression;
  if (size_t hash = expression.find(" #"); hash != std::string::npos) {
    name = expression.substr(0, hash);
    apply_inline_format(expression.substr(hash + 2), code, custom);
  }

  g.CurName.clear();
  g.CurExpression = name;
  g.CurValue = Value(int32_t{0});
  Value value;
  ResolveValue(name, value);
  g.CurValue = value;
  if (hides_zero(view, value)) g.CurValue = Value(std::string());
  if (g.LinkingBands) return "";
  return FormatValue(g.CurValue, code, custom);
}

}  // namespace zr
