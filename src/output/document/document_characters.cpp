// Character mode of the document base: one text record per character of a line, each at the
// position the line's layout gives it, so a format can place every character itself.
#include <vector>

#include "engine/model/memo_font.h"
#include "engine/model/memo_view.h"
#include "engine/report/tvt_globals.h"
#include "output/document/document_export.h"
#include "platform/codepage.h"
#include "platform/fonts/font_resolver.h"
#include "platform/rounding.h"

namespace zr {

void TOxvtExportFilter::AddCharacterRecords(const TvtView& view, const TOxvtTextRec& line,
                                            int line_width) {
  const auto& memo = static_cast<const TvtMemoView&>(view);
  TvtGlobals& g = TvtGlobals::Get();
  const int code_page = g.fonts->code_page();
  FontSelection selection = MemoFontSelection(memo.Font, DesignFontPixels(memo.Font.Size), false);
  const std::shared_ptr<const Font> font = g.fonts->font(selection);

  // In the Korean code page every character is one UTF-16 unit.
  std::vector<std::string> chars;
  for (size_t pos = 0; pos < line.Text.size();) {
    const size_t length = std::max<size_t>(1, char_length(line.Text, pos, code_page));
    chars.push_back(line.Text.substr(pos, length));
    pos += length;
  }
  if (chars.empty()) return;
  const int units = static_cast<int>(chars.size());
  const double scale = line.TextScale;
  const bool scaled = scale != 100;
  const bool justified = (memo.Alignment & 3) == vttaJustify;

  double position = line.X;
  double gap = 0;
  if (justified) {
    const int divisor = units > 1 ? units - 1 : 1;
    gap = round_half_even(
        (static_cast<double>(line.DrawRect.right) - view.Left - line_width - 2.0 * view.GapX) /
        divisor);
    if (units == 1) position += gap / 2;
    // Every step adds the character spacing as well; counted into the gap too, it would push
    // the characters over the last one, which sits flush right.
    if (units > 1) gap -= line.CharSpacing;
  }
  for (int i = 0; i < units; ++i) {
    TOxvtTextRec rec = line;
    rec.Text = chars[static_cast<size_t>(i)];
    rec.TextWidth = font->char_width(rec.Text);
    if (justified && units > 1 && i == units - 1) {
      const double width = scaled ? rec.TextWidth * scale / 100 : rec.TextWidth;
      position = line.DrawRect.right - width - view.GapX;
    }
    rec.X = position;
    const double advance = scaled && !justified ? rec.TextWidth * scale / 100 : rec.TextWidth;
    position += gap + advance + line.CharSpacing;
    texts_.push_back(std::move(rec));
  }
}

}  // namespace zr
