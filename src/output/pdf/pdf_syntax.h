#pragma once
// How values are spelled in the PDF file: numbers with four decimals and a full stop in any
// locale, colours as three fractions, escaped strings and names, object references.

#include <cstdint>
#include <string>
#include <string_view>

namespace zr {

// Fixed point with four decimals: 12.5 -> "12.5000". A value that is not finite (a division
// by zero upstream) is written as 0, which every reader accepts.
std::string PdfNumber(double value);
// The same appended to `out`: the digits of the value rounded exactly as the standard
// library's fixed formatting rounds it, without building a string per number.
void AppendFixed4(std::string& out, double value);
// A number with at most `decimals` (up to 9) decimals and no trailing zeros ("12.5", "-3",
// "0.125"), for the compact content of portable documents; not finite or rounding to zero
// gives "0".
void AppendNumber(std::string& out, double value, int decimals = 3);
void AppendInt(std::string& out, int64_t value);
// "r g b", each component / 255 with four decimals; system colours resolved, "no colour"
// as black.
std::string PdfColor(int32_t color);
// The body of a literal string: backslash and parentheses escaped, other bytes as they are.
std::string PdfString(std::string_view text);
void AppendPdfString(std::string& out, std::string_view text);
// A name without its slash: bytes outside 33-126 and the delimiters # % ( ) / < > [ ] { }
// as "#" and two upper-case hexadecimal digits.
std::string PdfName(std::string_view name);
// "12 0 R".
std::string PdfRef(int object_number);

}  // namespace zr
