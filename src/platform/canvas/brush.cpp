#include "platform/canvas/brush.h"

#include <cstdio>
#include <ostream>

namespace zr {

Brush Brush::hatch(HatchStyle hatch, Color color) {
  Brush brush{color, BrushStyle::Pattern, {}};
  for (int i = 0; i < 8; ++i) {
    uint8_t down = static_cast<uint8_t>(0x80 >> i);  // "\" through the cell
    uint8_t up = static_cast<uint8_t>(0x01 << i);    // "/"
    uint8_t row = 0;
    switch (hatch) {
      case HatchStyle::Horizontal:
        row = i == 0 ? 0xFF : 0x00;
        break;
      case HatchStyle::Vertical:
        row = 0x80;
        break;
      case HatchStyle::FDiagonal:
        row = down;
        break;
      case HatchStyle::BDiagonal:
        row = up;
        break;
      case HatchStyle::Cross:
        row = i == 0 ? 0xFF : 0x80;
        break;
      case HatchStyle::DiagCross:
        row = down | up;
        break;
    }
    brush.pattern[static_cast<size_t>(i)] = row;
  }
  return brush;
}

std::ostream& operator<<(std::ostream& out, const Brush& brush) {
  switch (brush.style) {
    case BrushStyle::Clear:
      return out << "clear";
    case BrushStyle::Solid:
      return out << brush.color;
    case BrushStyle::Pattern:
      break;
  }
  out << "pattern:" << brush.color << ':';
  for (uint8_t row : brush.pattern) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", row);
    out << text;
  }
  return out;
}

}  // namespace zr
