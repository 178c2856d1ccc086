#pragma once
// The pen lines and outlines are drawn with, as GDI's cosmetic pens behave.

#include <iosfwd>

#include "platform/canvas/color.h"

namespace zr {

// GDI's PS_* numbers, which metafiles store.
enum class PenStyle : int {
  Solid = 0,
  Dash = 1,
  Dot = 2,
  DashDot = 3,
  DashDotDot = 4,
  Clear = 5,  // draws nothing
};

struct Pen {
  Color color = kBlack;
  // Device pixels; 0 draws one pixel wide like 1. Dashed styles apply to widths up to 1 only:
  // a wider dashed pen draws solid, as in GDI.
  int width = 1;
  PenStyle style = PenStyle::Solid;

  // Whether anything is drawn with this pen.
  bool visible() const { return style != PenStyle::Clear && !color.is_none(); }
  int device_width() const { return width < 1 ? 1 : width; }
  // The style actually drawn: wide pens are solid.
  PenStyle effective_style() const { return width > 1 ? PenStyle::Solid : style; }

  friend bool operator==(const Pen&, const Pen&) = default;
};

// "solid", "dash", ...
const char* pen_style_name(PenStyle style);
// "#000000/1/solid"
std::ostream& operator<<(std::ostream& out, const Pen& pen);

}  // namespace zr
