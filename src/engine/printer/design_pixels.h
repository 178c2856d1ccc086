#pragma once
// Design pixels: the unit of all page geometry in the engine, 1/91.6256157635468 inch
// (93 per 1.015 inch). Papers are measured in tenths of a millimetre and printers in dots;
// these convert both, rounding halves to even.

#include <cstdint>

#include "platform/rounding.h"

namespace zr {

inline constexpr double kDesignPixelsPerInch = 91.6256157635468;

// Tenths of a millimetre to design pixels.
inline int32_t tenths_mm_to_pixels(int32_t tenths) {
  return round_half_even_to_int(tenths * kDesignPixelsPerInch / 254);
}

// Printer dots at `dpi` dots per inch to design pixels; 0 when dpi is not positive.
inline int32_t dots_to_pixels(int32_t dots, int32_t dpi) {
  return dpi > 0 ? round_half_even_to_int(dots * kDesignPixelsPerInch / dpi) : 0;
}

}  // namespace zr
