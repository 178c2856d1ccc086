#pragma once
// A double as a rounded string of decimal digits, the common ground of every picture and
// fixed/general/exponent formatter. Rounding works on the exact decimal expansion of the
// double and takes halves away from zero (0.125 to two decimals is 0.13), as the classic
// formatting routines do; it never depends on the floating-point rounding mode.

#include <string>

namespace zr {

// Significant digits are limited to this many, as the classic 80-bit conversions were.
inline constexpr int kMaxSignificantDigits = 18;

struct DecimalDigits {
  std::string digits;     // significant digits without leading or trailing zeros; empty for zero
  int exponent = 0;       // the value is 0.<digits> x 10^exponent; 0 for zero
  bool negative = false;  // never set for zero

  bool is_zero() const { return digits.empty(); }
  // Digit at decimal place `place`: 1 is the units, 2 the tens ..., 0 the first decimal,
  // -1 the second ... ('0' outside the digits).
  char digit_at(int place) const;
};

// Rounds `value` to at most `precision` significant digits (clamped to 1..18) and at most
// `decimals` digits after the decimal point (negative values round to tens, hundreds ...).
// `value` must be finite (callers print NaN and infinities themselves).
DecimalDigits decimal_digits(double value, int precision, int decimals);

}  // namespace zr
