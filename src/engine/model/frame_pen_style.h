#pragma once
// The pen that draws a view's frame style (psSolid ... psDashDotDot; a double frame is drawn
// as three solid lines).

#include <cstdint>

#include "platform/canvas/pen.h"

namespace zr {

PenStyle FramePenStyle(uint16_t frame_style);

}  // namespace zr
