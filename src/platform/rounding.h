#pragma once
// The system's one rounding convention: to the nearest integer with halves to even, and
// integer division truncating toward zero. Geometry, ROUND and every double-to-integer
// conversion go through these.
//
// The double forms saturate at the limits of the result type and give 0 for NaN, so an
// absurd input never becomes undefined behaviour; callers that must reject such values
// (Value conversions) check the range themselves.

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/errors.h"

namespace zr {

namespace detail {
template <typename Int>
Int saturate(double x) {
  if (std::isnan(x)) return 0;
  // The limits of Int as doubles: the upper one is 2^(bits-1), just outside the range.
  constexpr double upper = -static_cast<double>(std::numeric_limits<Int>::min());
  if (x >= upper) return std::numeric_limits<Int>::max();
  if (x < -upper) return std::numeric_limits<Int>::min();
  return static_cast<Int>(x);
}
}  // namespace detail

// Nearest integral double, halves to even: 2.5 -> 2, 3.5 -> 4, -2.5 -> -2. Independent of
// the floating-point rounding mode.
inline double round_half_even_double(double x) {
  if (!std::isfinite(x)) return x;
  double floor = std::floor(x);
  double rest = x - floor;  // exact for doubles
  if (rest > 0.5) return floor + 1;
  if (rest < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

inline int64_t round_half_even(double x) {
  return detail::saturate<int64_t>(round_half_even_double(x));
}

inline int32_t round_half_even_to_int(double x) {
  return detail::saturate<int32_t>(round_half_even_double(x));
}

inline int64_t truncate_toward_zero(double x) {
  return detail::saturate<int64_t>(std::trunc(x));
}

// Integer quotient truncated toward zero (-7 / 2 = -3). Raises ZorelError "Division by zero"
// when b is 0; the one overflowing case (min / -1) saturates.
inline int64_t int_div(int64_t a, int64_t b) {
  if (b == 0) throw ZorelError("Division by zero");
  if (b == -1)
    return a == std::numeric_limits<int64_t>::min() ? std::numeric_limits<int64_t>::max() : -a;
  return a / b;
}

}  // namespace zr
