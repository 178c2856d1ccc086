// Character mode of the document base: one text record per character of a line, each at the
// position the line's layout gives it.
#include "output/document/document_characters.h"

#include "engine/model/memo_font.h"
#include "engine/report/tvt_globals.h"
#include "output/document/document_export.h"
#include "platform/fonts/font_resolver.h"

namespace zr {

void TOxvtExportFilter::AddCharacterRecords(const TvtView& view, TOxvtTextRec& line) {
  const auto& memo = static_cast<const TvtMemoView&>(view);
  TvtGlobals& g = TvtGlobals::Get();
  FontSelection selection = MemoFontSelection(memo.Font, DesignFontPixels(memo.Font.Size), false);
  const std::shared_ptr<const Font> font = g.fonts->font(selection);
  line.TextHeight = font->metrics().height;  // the cell height, as measuring a text gives it
  PlaceCharacters(view, line, *font, g.fonts->code_page(),
                  [&](std::string_view c, int width, double x) {
                    TOxvtTextRec& rec = texts_.emplace_back();
                    rec.X = x;
                    rec.Y = line.Y;
                    rec.Text = c;
                    rec.TextWidth = width;
                    rec.TextHeight = line.TextHeight;
                    rec.Font = line.Font;
                    rec.DrawRect = line.DrawRect;
                    rec.CharSpacing = line.CharSpacing;
                    rec.TextScale = line.TextScale;
                  });
}

}  // namespace zr
