#include "platform/decimal_digits.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace zr {
namespace {

// Every double has at most 767 significant decimal digits, so this precision is exact.
constexpr int kExactDigits = 767;

// The exact digits of |value| (value != 0) and the exponent in the 0.ddd form.
DecimalDigits exact_digits(double value) {
  char buffer[kExactDigits + 16];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::abs(value),
                              std::chars_format::scientific, kExactDigits - 1);
  std::string_view sci(buffer, static_cast<size_t>(result.ptr - buffer));
  const size_t e = sci.find('e');
  DecimalDigits out;
  out.digits.reserve(e);
  out.digits += sci[0];
  out.digits.append(sci.substr(2, e - 2));
  int exponent = 0;
  const char* first = sci.data() + e + 1;
  if (*first == '+') ++first;
  std::from_chars(first, sci.data() + sci.size(), exponent);
  out.exponent = exponent + 1;
  out.negative = value < 0;
  return out;
}

void strip_trailing_zeros(std::string& digits) {
  const size_t last = digits.find_last_not_of('0');
  digits.resize(last == std::string::npos ? 0 : last + 1);
}

}  // namespace

char DecimalDigits::digit_at(int place) const {
  // Place p sits at index exponent - p of the digits.
  const long index = static_cast<long>(exponent) - place;
  if (index < 0 || index >= static_cast<long>(digits.size())) return '0';
  return digits[static_cast<size_t>(index)];
}

DecimalDigits decimal_digits(double value, int precision, int decimals) {
  if (value == 0 || !std::isfinite(value)) return {};
  precision = std::clamp(precision, 1, kMaxSignificantDigits);
  decimals = std::clamp(decimals, -400, 400);  // beyond either end nothing changes
  DecimalDigits d = exact_digits(value);
  // Keep `keep` digits; the first dropped digit decides, halves going away from zero.
  const int keep = std::min(precision, d.exponent + decimals);
  if (keep < 0) return {};
  const size_t cut = static_cast<size_t>(keep);
  const bool up = cut < d.digits.size() && d.digits[cut] >= '5';
  d.digits.resize(std::min(cut, d.digits.size()));
  if (up) {
    size_t i = d.digits.size();
    while (i > 0 && d.digits[i - 1] == '9') d.digits[--i] = '0';
    if (i == 0) {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    } else {
      ++d.digits[i - 1];
    }
  }
  strip_trailing_zeros(d.digits);
  if (d.digits.empty()) return {};
  return d;
}

}  // namespace zr
