#pragma once
// The brush areas are filled with: solid, clear, or an 8 x 8 pattern (GDI's hatch brushes
// are patterns too).

#include <array>
#include <cstdint>
#include <iosfwd>

#include "platform/canvas/color.h"

namespace zr {

enum class BrushStyle : int {
  Solid = 0,
  Clear = 1,    // fills nothing
  Pattern = 2,  // set bits in the brush colour, clear bits as the background mode says
};

// GDI's hatch styles (HS_* numbers), turned into patterns by Brush::hatch.
enum class HatchStyle : int {
  Horizontal = 0,
  Vertical = 1,
  FDiagonal = 2,  // top-left to bottom-right
  BDiagonal = 3,
  Cross = 4,
  DiagCross = 5,
};

struct Brush {
  Color color = kWhite;
  BrushStyle style = BrushStyle::Solid;
  // Row 0 is the top row; bit 7 of a row is its leftmost pixel. Only for Pattern. The pattern
  // is anchored at the device origin, so adjacent fills line up.
  std::array<uint8_t, 8> pattern{};

  static Brush solid(Color color) { return {color, BrushStyle::Solid, {}}; }
  static Brush clear() { return {kWhite, BrushStyle::Clear, {}}; }
  static Brush hatch(HatchStyle hatch, Color color);

  // Whether a fill with this brush paints anything.
  bool visible() const { return style != BrushStyle::Clear && !color.is_none(); }

  friend bool operator==(const Brush&, const Brush&) = default;
};

// "#FFFFFF", "clear", "pattern:#0000FF:FF00FF00FF00FF00"
std::ostream& operator<<(std::ostream& out, const Brush& brush);

}  // namespace zr
