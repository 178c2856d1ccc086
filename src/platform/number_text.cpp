#include "platform/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/errors.h"

namespace zr {
namespace {

bool is_blank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads an integer of `bits` width (32 or 64) into an int64_t.
std::optional<int64_t> parse_integer(std::string_view text, int bits) {
  size_t i = 0;
  while (i < text.size() && is_blank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  const uint64_t width_mask = bits == 64 ? ~uint64_t{0} : (uint64_t{1} << bits) - 1;
  const uint64_t base = hex ? 16 : 10;
  // Decimal magnitudes may reach 2^(bits-1) (the negative limit); hexadecimal the full width.
  const uint64_t limit = hex ? width_mask : (uint64_t{1} << (bits - 1));
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    int digit = hex ? hex_digit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (digit < 0) return std::nullopt;
    if (magnitude > (limit - static_cast<uint64_t>(digit)) / base) return std::nullopt;
    magnitude = magnitude * base + static_cast<uint64_t>(digit);
  }
  if (!hex && !negative && magnitude == limit) return std::nullopt;
  uint64_t bits_value = negative ? (~magnitude + 1) & width_mask : magnitude;
  // Sign-extend from the width to 64 bits.
  if (bits == 32)
    return static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(bits_value)));
  return static_cast<int64_t>(bits_value);
}

// The decimal order of magnitude of a C-form number such as "-0.0012e5" (here 2), enough
// to tell an overflowing text from an underflowing one.
int64_t decimal_order(std::string_view plain) {
  size_t e = plain.find('e');
  std::string_view mantissa = plain.substr(0, e);
  int64_t exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view digits = plain.substr(e + 1);
    bool negative = !digits.empty() && digits[0] == '-';
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
    for (char c : digits) exponent = std::min<int64_t>(exponent * 10 + (c - '0'), 1'000'000'000);
    if (negative) exponent = -exponent;
  }
  size_t point = mantissa.find('.');
  if (point == std::string_view::npos) point = mantissa.size();
  size_t first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return std::numeric_limits<int64_t>::min();
  int64_t order = first < point ? static_cast<int64_t>(point - first) - 1
                                : -static_cast<int64_t>(first - point);
  return order + exponent;
}

[[noreturn]] void integer_error(std::string_view text) {
  throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
}

}  // namespace

std::optional<int32_t> try_str_to_int(std::string_view text) {
  auto value = parse_integer(text, 32);
  if (!value) return std::nullopt;
  return static_cast<int32_t>(*value);
}

std::optional<int64_t> try_str_to_int64(std::string_view text) {
  return parse_integer(text, 64);
}

int32_t str_to_int(std::string_view text) {
  auto value = try_str_to_int(text);
  if (!value) integer_error(text);
  return *value;
}

int64_t str_to_int64(std::string_view text) {
  auto value = try_str_to_int64(text);
  if (!value) integer_error(text);
  return *value;
}

std::optional<double> try_str_to_float(std::string_view text, const FormatSettings& fs) {
  size_t i = 0;
  size_t end = text.size();
  while (i < end && is_blank(text[i])) ++i;
  while (end > i && is_blank(text[end - 1])) --end;
  // Rebuild the number in the C form std::from_chars reads.
  std::string plain;
  if (i < end && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  size_t digits = 0;
  for (; i < end && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) plain += text[i];
  if (i < end && text[i] == fs.decimal_separator) {
    plain += '.';
    for (++i; i < end && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) plain += text[i];
  }
  if (digits == 0) return std::nullopt;
  if (i < end && (text[i] == 'E' || text[i] == 'e')) {
    plain += 'e';
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    size_t exponent_digits = 0;
    for (; i < end && text[i] >= '0' && text[i] <= '9'; ++i, ++exponent_digits) plain += text[i];
    if (exponent_digits == 0) return std::nullopt;
  }
  if (i != end) return std::nullopt;
  double value = 0;
  auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  // from_chars reports overflow and underflow alike; only overflow is an error, a value too
  // small to represent reads as zero.
  if (ec == std::errc::result_out_of_range) {
    if (decimal_order(plain) > 0) return std::nullopt;
    return plain[0] == '-' ? -0.0 : 0.0;
  }
  if (ec != std::errc() || ptr != plain.data() + plain.size()) return std::nullopt;
  return value;
}

double str_to_float(std::string_view text, const FormatSettings& fs) {
  auto value = try_str_to_float(text, fs);
  if (!value) {
    throw ConversionError("'" + std::string(text) + "' is not a valid floating point value");
  }
  return *value;
}

std::string float_to_str(double value, const FormatSettings& fs) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  // d.dddddddddddddde[+-]x: 15 significant digits, correctly rounded.
  char buffer[40];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::abs(value),
                              std::chars_format::scientific, 14);
  std::string_view sci(buffer, static_cast<size_t>(result.ptr - buffer));
  size_t e = sci.find('e');
  std::string digits;
  digits += sci[0];
  digits += sci.substr(2, e - 2);
  int exponent = 0;
  std::from_chars(sci.data() + e + (sci[e + 1] == '+' ? 2 : 1), sci.data() + sci.size(), exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = value < 0 ? "-" : "";
  if (exponent < -4 || exponent >= 15) {
    out += digits[0];
    if (digits.size() > 1) {
      out += fs.decimal_separator;
      out += digits.substr(1);
    }
    out += 'E';
    out += std::to_string(exponent);
  } else if (exponent < 0) {
    out += '0';
    out += fs.decimal_separator;
    out.append(static_cast<size_t>(-exponent - 1), '0');
    out += digits;
  } else {
    size_t whole = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= whole) {
      out += digits;
      out.append(whole - digits.size(), '0');
    } else {
      out += digits.substr(0, whole);
      out += fs.decimal_separator;
      out += digits.substr(whole);
    }
  }
  return out;
}

}  // namespace zr
