#pragma once
// Numbers written by picture patterns (the classic FormatFloat) and by the fixed, number,
// currency, exponent and general notations (the classic FloatToStrF). Separators and
// currency conventions come from a FormatSettings, never from the machine's locale. All
// texts are 8-bit ANSI bytes; double-byte characters in patterns are copied whole.

#include <string>
#include <string_view>

#include "platform/format_settings.h"

namespace zr {

// Formats `value` with a picture pattern:
//   "0"   a digit, printed always (leading zeros of the integer part, trailing decimals);
//   "#"   a digit, printed only when significant;
//   "."   the first one marks the decimal point (written as fs.decimal_separator);
//   ","   anywhere in the integer part: group thousands with fs.thousand_separator;
//   "E+" "E-" "e+" "e-" followed by "0"s: scientific notation, exponent with at least that
//         many digits; "+" always shows the exponent's sign, "-" only a minus;
//   '...' "..."  literal text; any other character is copied.
// Integer digits that have no placeholder of their own go to the first one ("00-00" writes
// 12345 as "123-45"). Up to three sections separated by ";" are used for positive, negative
// and zero values; the negative section writes no sign of its own, and when it is missing
// or empty the positive section is used with a leading "-". The zero section (or, without
// one, the positive section) is used when the value rounds to zero, so "-0" never appears.
// Rounding takes halves away from zero on the exact decimal digits. An empty pattern, NaN,
// infinities, and values of 1e18 or more in a non-scientific section give the general
// format of float_to_str. Never throws.
std::string format_float(std::string_view pattern, double value,
                         const FormatSettings& fs = FormatSettings::defaults());

enum class FloatFormat {
  General,   // shortest of plain and scientific, `precision` significant digits
  Exponent,  // d.ddd...E+dddd: `precision` digits, exponent of at least `digits` (0-4) digits
  Fixed,     // plain, `digits` decimals (0-18)
  Number,    // as Fixed, with thousands grouped
  Currency,  // as Number, placed by fs.currency_format / negative_currency_format
};

// The classic FloatToStrF. `precision` (1-18 significant digits) limits every notation;
// Fixed, Number and Currency switch to the general notation when the integer part has more
// digits than `precision`. General writes the scientific form ("1.5E-7", "1E20") when the
// exponent is below -4 or not below `precision`, with at least `digits` exponent digits.
// NaN and infinities give "NAN", "INF" and "-INF". Out-of-range arguments are clamped.
// Never throws.
std::string float_to_str_f(double value, FloatFormat format, int precision, int digits,
                           const FormatSettings& fs = FormatSettings::defaults());

}  // namespace zr
