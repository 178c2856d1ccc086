#pragma once
// Where the characters of one text_out land: the text cut into characters (a double-byte
// character is one) with their advances in whole device pixels, as measuring and every
// backend compute them, so that measured and drawn text agree pixel for pixel.

#include <span>
#include <string_view>
#include <vector>

#include "platform/canvas/canvas.h"

namespace zr {

class Font;

struct TextLayout {
  std::vector<std::string_view> chars;  // views into the laid-out text
  std::vector<int> advances;            // one per character
  int width = 0;                        // sum of the advances
};

// The font's advances plus the state's character extra spacing and justification (breaks
// are spaces), or `explicit_advances` where given (see TextOutParams::advances).
TextLayout layout_text(const Font& font, std::string_view text, const CanvasState& state,
                       std::span<const int> explicit_advances = {});
// The width layout_text gives, without keeping the characters.
int layout_width(const Font& font, std::string_view text, const CanvasState& state);

}  // namespace zr
