#pragma once
// Readers of the value texts of data packet rows. Each returns nothing when the text is not
// a valid value of its kind; the caller reports where. Numbers are read locale-free.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zr {

// Decimal integer with optional sign; blanks around it allowed.
std::optional<int64_t> parse_packet_integer(std::string_view text);

// Decimal number with optional sign, fraction and exponent; blanks around it allowed. A text
// with exactly one "," and no "." uses the comma as the decimal point (some writers use the
// locale's separator). A trailing point is accepted ("12.", integral BCD values).
std::optional<double> parse_packet_float(std::string_view text);

// "TRUE"/"FALSE" in any case, "1"/"0".
std::optional<bool> parse_packet_boolean(std::string_view text);

// Date-time values count days since 30 December 1899, the time as the fraction (for days
// before that date the fraction is subtracted, as the classic date-time type does).
// "YYYYMMDD".
std::optional<double> parse_packet_date(std::string_view text);
// "HH:MM:SS" followed by 0-3 digits of milliseconds (optionally after a "."); as a fraction
// of a day.
std::optional<double> parse_packet_time(std::string_view text);
// "YYYYMMDD" or "YYYYMMDD" + "T" or " " + time.
std::optional<double> parse_packet_date_time(std::string_view text);

// Standard Base64 with optional "=" padding; blanks and line breaks are skipped.
std::optional<std::string> decode_base64(std::string_view text);

// Pictures saved from older desktop tables start with an 8-byte header (count 1, type
// 0x0100, size of the rest, little-endian); it is removed when all three match.
void strip_legacy_graphic_header(std::string& bytes);

}  // namespace zr
