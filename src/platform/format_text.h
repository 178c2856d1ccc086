#pragma once
// The classic Format: a text with conversion specifiers filled from a list of values.
//
//   %[index:][-][width][.precision]type      and "%%" for a percent sign
//
// index   picks the argument (from 0); later unindexed specifiers continue after it;
// -       left-aligns within width (FORMATINT builds "%" + Width + "d", so a negative Width
//         left-aligns); width and precision may be "*" to take the next argument;
// types   d  decimal integer; precision is the minimum number of digits (zero padded)
//         u  unsigned decimal (negative 32-bit integers wrap, Int64 values to 64 bits)
//         x  upper-case hexadecimal, wrapping like u; precision as for d
//         p  eight hexadecimal digits
//         e  d.ddd...E+ddd with precision significant digits (default 15)
//         f  fixed with precision decimals (default 2)
//         g  general with precision significant digits (default 15)
//         n  as f with thousands grouped
//         m  currency by fs, precision decimals (default fs.currency_decimals)
//         s  the value as text; precision is the maximum length (never splitting a
//            double-byte character)
// Widths and lengths count bytes. Type letters may be upper case.
//
// d, u, x and p take integer values, booleans, empty values (0) and texts that read as
// integers; e, f, g, n and m any number or a text that reads as one; s any value. A
// malformed specifier, a missing argument, an incompatible argument, or a width or
// precision above 65535 raises ZorelError "Format '<format>' invalid or incompatible with
// argument".

#include <string>
#include <string_view>
#include <vector>

#include "platform/format_settings.h"
#include "platform/value.h"

namespace zr {

std::string format_string(std::string_view format, const std::vector<Value>& args,
                          const FormatSettings& fs = FormatSettings::defaults());

}  // namespace zr
