#pragma once
// Reading and writing numbers as text the way the engine's classic conversion routines do,
// independent of the machine's locale: the decimal separator comes from FormatSettings and
// digits are written with std::to_chars.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/format_settings.h"

namespace zr {

// Integers: leading blanks (codes up to 32), an optional sign, then decimal digits or
// hexadecimal digits after "$" or "0x" ("-$10" is -16). Nothing may follow the digits.
// Hexadecimal texts may use the full unsigned width and wrap ("$FFFFFFFF" is -1); decimal
// texts must be in range. Errors raise ConversionError "'<text>' is not a valid integer
// value".
int32_t str_to_int(std::string_view text);
int64_t str_to_int64(std::string_view text);
std::optional<int32_t> try_str_to_int(std::string_view text);
std::optional<int64_t> try_str_to_int64(std::string_view text);

// Floating point: blanks around, an optional sign, digits with the decimal separator of `fs`
// and an optional exponent ("E" or "e", optional sign, digits). At least one mantissa digit
// is needed; out-of-range values are errors. Errors raise ConversionError "'<text>' is not a
// valid floating point value".
double str_to_float(std::string_view text, const FormatSettings& fs = FormatSettings::defaults());
std::optional<double> try_str_to_float(std::string_view text,
                                       const FormatSettings& fs = FormatSettings::defaults());

// General format with 15 significant digits and no trailing zeros, as the classic FloatToStr:
// plain notation while the decimal exponent is between -5 and 14 ("0.0001", "1E-5", "1.5E-7",
// "123456789012345", "1E15"); "NAN", "INF" and "-INF" for the special values.
std::string float_to_str(double value, const FormatSettings& fs = FormatSettings::defaults());

}  // namespace zr
