// Font metrics of the PDF export taken from the installed substitutes of the Windows faces.
#include "output/pdf/pdf_fonts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine_fixture.h"
#include "platform/codepage.h"
#include "platform/fonts/font_selection.h"

namespace zr {
namespace {

class PdfFontsTest : public testing_support::EngineTest {};

TOxvtFontInfo Face(const std::string& name, uint8_t style = 0, uint8_t charset = kDefaultCharset) {
  TOxvtFontInfo font;
  font.Name = name;
  font.Style = style;
  font.Charset = charset;
  return font;
}

TEST_F(PdfFontsTest, KeysAndCompositeNames) {
  const std::vector<std::pair<TOxvtFontInfo, std::string>> keys = {
      {Face("Arial"), "Arial"},
      {Face("Arial", kFsBold), "Arial,Bold"},
      {Face("Arial", kFsItalic | kFsUnderline), "Arial,Italic"},
      {Face("Times New Roman", kFsBold | kFsItalic), "TimesNewRoman,BoldItalic"},
  };
  for (const auto& [font, key] : keys) EXPECT_EQ(PdfFontKey(font), key);
  EXPECT_FALSE(IsCompositeFontName("Arial"));
  EXPECT_TRUE(IsCompositeFontName("Times New Roman"));
  EXPECT_TRUE(IsCompositeFontName(utf8_to_ansi("굴림체")));
}

TEST_F(PdfFontsTest, MetricsFollowTheInstalledFaces) {
  struct Case {
    TOxvtFontInfo font;
    int flags;
    int italic_angle;
  };
  for (const Case& c : {
           Case{Face("Arial"), 32, 0},
           Case{Face("Arial", kFsItalic), 96, -12},
           Case{Face("Times New Roman"), 34, 0},
           Case{Face("Courier New"), 35, 0},
       }) {
    const TOxvtFontMetrics m = MakeFontMetrics(c.font, PdfFontKey(c.font));
    EXPECT_EQ(m.Flags, c.flags) << m.Key;
    EXPECT_EQ(m.ItalicAngle, c.italic_angle) << m.Key;
    EXPECT_EQ(m.Ascent % 72, 0) << m.Key;
    EXPECT_EQ(m.FontBBox.left, -250);
    EXPECT_EQ(m.FontBBox.bottom, m.Descent);
    EXPECT_EQ(m.FontBBox.right, m.MaxWidth);
    EXPECT_EQ(m.FontBBox.top, m.Ascent);
    EXPECT_EQ(m.CapHeight, m.Ascent);
    EXPECT_EQ(m.StemV, 0);
    EXPECT_GT(m.UnderlineSize, 0) << m.Key;
    EXPECT_LE(m.UnderlinePosition, -1) << m.Key;  // below the baseline, less one
    EXPECT_GT(m.StrikeOutPosition, 0) << m.Key;
  }
  // Every glyph of a fixed-pitch face is 600/1000 em wide.
  const TOxvtFontMetrics mono = MakeFontMetrics(Face("Courier New"), "CourierNew");
  for (char c : std::string(" AZaz09~"))
    EXPECT_EQ(mono.Widths[static_cast<size_t>(c - 32)], 600) << c;
}

TEST_F(PdfFontsTest, GlyphWidthsOfSimpleAndCompositeFonts) {
  TOxvtFontMetrics simple;
  simple.Widths.fill(0);
  simple.Widths['A' - 32] = 667;
  simple.Widths['b' - 32] = 556;
  EXPECT_EQ(GlyphWidthSum(simple, "Ab"), 667 + 556);
  EXPECT_EQ(GlyphWidthSum(simple, "\t"), 0);  // below the table
  TOxvtFontMetrics composite;
  composite.Composite = true;
  EXPECT_EQ(GlyphWidthSum(composite, utf8_to_ansi("가A")), 1500);
}

}  // namespace
}  // namespace zr
