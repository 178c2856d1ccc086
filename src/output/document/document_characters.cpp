// Character mode of the document base: one text record per character of a line, each at the
// position the line's layout gives it, so a format can place every character itself.
#include <algorithm>
#include <string_view>

#include "engine/model/memo_font.h"
#include "engine/model/memo_view.h"
#include "engine/report/tvt_globals.h"
#include "output/document/document_export.h"
#include "platform/codepage.h"
#include "platform/fonts/font_resolver.h"
#include "platform/rounding.h"

namespace zr {

void TOxvtExportFilter::AddCharacterRecords(const TvtView& view, TOxvtTextRec& line) {
  const auto& memo = static_cast<const TvtMemoView&>(view);
  TvtGlobals& g = TvtGlobals::Get();
  const int code_page = g.fonts->code_page();
  FontSelection selection = MemoFontSelection(memo.Font, DesignFontPixels(memo.Font.Size), false);
  const std::shared_ptr<const Font> font = g.fonts->font(selection);

  // In the Korean code page every character is one UTF-16 unit.
  const std::string_view text = line.Text;
  auto next_char = [&](size_t pos) {
    return text.substr(pos, std::max<size_t>(1, char_length(text, pos, code_page)));
  };
  int units = 0;
  for (size_t pos = 0; pos < text.size(); pos += next_char(pos).size()) ++units;
  line.TextHeight = font->metrics().height;  // the cell height, as measuring a text gives it
  if (units == 0) return;
  const double scale = line.TextScale;
  const bool scaled = scale != 100;
  const bool justified = (memo.Alignment & 3) == vttaJustify;

  double position = line.X;
  double gap = 0;
  if (justified) {
    const int line_width = font->text_width(text);
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
    TOxvtTextRec& rec = texts_.emplace_back();
    rec.Y = line.Y;
    rec.Text = c;
    rec.TextHeight = line.TextHeight;
    rec.Font = line.Font;
    rec.DrawRect = line.DrawRect;
    rec.CharSpacing = line.CharSpacing;
    rec.TextScale = line.TextScale;
    rec.TextWidth = font->char_width(c);
    if (justified && units > 1 && i == units - 1) {
      const double width = scaled ? rec.TextWidth * scale / 100 : rec.TextWidth;
      position = line.DrawRect.right - width - view.GapX;
    }
    rec.X = position;
    const double advance = scaled && !justified ? rec.TextWidth * scale / 100 : rec.TextWidth;
    position += gap + advance + line.CharSpacing;
  }
}

}  // namespace zr
