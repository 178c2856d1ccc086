#include "platform/canvas/pen.h"

#include <ostream>

namespace zr {

const char* pen_style_name(PenStyle style) {
  switch (style) {
    case PenStyle::Solid:
      return "solid";
    case PenStyle::Dash:
      return "dash";
    case PenStyle::Dot:
      return "dot";
    case PenStyle::DashDot:
      return "dashdot";
    case PenStyle::DashDotDot:
      return "dashdotdot";
    case PenStyle::Clear:
      return "clear";
  }
  return "?";
}

std::ostream& operator<<(std::ostream& out, const Pen& pen) {
  return out << pen.color << '/' << pen.width << '/' << pen_style_name(pen.style);
}

}  // namespace zr
