#include "platform/canvas/text_layout.h"

#include <algorithm>
#include <cstdint>

#include "platform/codepage.h"
#include "platform/fonts/font.h"

namespace zr {

namespace {

// Spacing and widths come from report files; sums must not wrap around.
int saturate(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

namespace {

// Walks the characters of `text` with their advances: calls `each(character, advance)`.
template <typename Each>
void walk_text(const Font& font, std::string_view text, const CanvasState& state,
               std::span<const int> explicit_advances, Each&& each) {
  const int code_page = font.code_page();
  int break_index = 0;
  size_t index = 0;
  for (size_t pos = 0; pos < text.size(); ++index) {
    size_t length = char_length(text, pos, code_page);
    if (length == 0) length = 1;
    std::string_view ch = text.substr(pos, length);
    pos += length;
    int64_t advance;
    if (index < explicit_advances.size()) {
      advance = explicit_advances[index];
    } else {
      advance = int64_t{font.char_width(ch)} + state.char_extra;
      if (state.break_count > 0 && ch == " ") {
        advance += state.break_extra / state.break_count +
                   (break_index < state.break_extra % state.break_count ? 1 : 0);
        ++break_index;
      }
    }
    each(ch, advance);
  }
}

}  // namespace

TextLayout layout_text(const Font& font, std::string_view text, const CanvasState& state,
                       std::span<const int> explicit_advances) {
  TextLayout layout;
  walk_text(font, text, state, explicit_advances, [&](std::string_view ch, int64_t advance) {
    layout.chars.push_back(ch);
    layout.advances.push_back(saturate(advance));
    layout.width = saturate(int64_t{layout.width} + advance);
  });
  return layout;
}

int layout_width(const Font& font, std::string_view text, const CanvasState& state) {
  int width = 0;
  walk_text(font, text, state, {},
            [&](std::string_view, int64_t advance) { width = saturate(int64_t{width} + advance); });
  return width;
}

}  // namespace zr
