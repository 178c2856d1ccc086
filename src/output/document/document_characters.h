#pragma once
// Character mode of the document base: where the layout puts each character of a text line,
// so that a format can place every character itself.
#include <algorithm>
#include <string_view>

#include "engine/model/memo_view.h"
#include "output/document/document_records.h"
#include "platform/codepage.h"
#include "platform/fonts/font.h"
#include "platform/rounding.h"

namespace zr {

// Calls `place(character, width, x)` for each character of `line` (a text line of the memo
// `view`, measured with `font`, split in `code_page`), in order: its bytes, its advance in
// design pixels and its left edge. In the Korean code page every character is one UTF-16
// unit, so a character is what the spacing and justification count.
template <typename Place>
void PlaceCharacters(const TvtView& view, const TOxvtTextRec& line, const Font& font, int code_page,
                     Place&& place) {
  const auto& memo = static_cast<const TvtMemoView&>(view);
  const std::string_view text = line.Text;
  auto next_char = [&](size_t pos) {
    return text.substr(pos, std::max<size_t>(1, char_length(text, pos, code_page)));
  };
  int units = 0;
  for (size_t pos = 0; pos < text.size(); pos += next_char(pos).size()) ++units;
  if (units == 0) return;
  const double scale = line.TextScale;
  const bool scaled = scale != 100;
  const bool justified = (memo.Alignment & 3) == vttaJustify;

  double position = line.X;
  double gap = 0;
  if (justified) {
    const int line_width = font.text_width(text);
    const int divisor = units > 1 ? units - 1 : 1;
    gap = round_half_even(
        (static_cast<double>(line.DrawRect.right) - view.Left - line_width - 2.0 * view.GapX) /
        divisor);
    if (units == 1) position += gap / 2;
    // Every step adds the character spacing as well; counted into the gap too, it would push
    // the characters over the last one, which sits flush right.
    if (units > 1) gap -= line.CharSpacing;
  }
  size_t pos = 0;
  for (int i = 0; i < units; ++i) {
    const std::string_view c = next_char(pos);
    pos += c.size();
    const int width = font.char_width(c);
    if (justified && units > 1 && i == units - 1) {
      const double drawn = scaled ? width * scale / 100 : width;
      position = line.DrawRect.right - drawn - view.GapX;
    }
    place(c, width, position);
    const double advance = scaled && !justified ? width * scale / 100 : width;
    position += gap + advance + line.CharSpacing;
  }
}

}  // namespace zr
