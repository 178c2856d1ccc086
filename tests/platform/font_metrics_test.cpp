#include "platform/fonts/font.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fonts/font_resolver.h"

namespace zr {
namespace {

const std::string kHangul = "\xC7\xD1\xB1\xDB";  // 한글 in code page 949
const std::string kGulim = "\xB1\xBC\xB8\xB2";   // 굴림
const std::string kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
const std::string kPangram = "The quick brown fox jumps over the lazy dog";

class FontMetricsTest : public ::testing::Test {
 protected:
  FontResolver resolver_;
};

// Liberation Sans has Arial's advances, so these are the widths reports had on Windows.
TEST_F(FontMetricsTest, ArialMeasuresLikeArial) {
  std::shared_ptr<const Font> arial = resolver_.font({"Arial", -16});
  const FontMetrics& m = arial->metrics();
  EXPECT_EQ(arial->char_width("W"), 15);
  EXPECT_EQ(arial->text_width(kPangram), 315);
  EXPECT_EQ(arial->text_width(kPangram, 2), 315 + 2 * static_cast<int>(kPangram.size()));
  EXPECT_EQ(m.em_size, 16);
  EXPECT_EQ(m.ascent, 14);
  EXPECT_EQ(m.descent, 3);
  EXPECT_EQ(m.internal_leading, 1);
  EXPECT_EQ(m.external_leading, 1);
  EXPECT_EQ(m.ave_char_width, 7);  // Arial's classic average, not Liberation's all-glyph one
  EXPECT_FALSE(m.fixed_pitch());
  EXPECT_EQ(m.family(), kFamilySwiss);
  EXPECT_TRUE(m.is_outline);
  EXPECT_EQ(m.charset, kHangulCharset);  // the default set of a Korean code page
  EXPECT_LT(m.underscore_position, 0);
  EXPECT_GT(m.strikeout_position, 0);
  EXPECT_LT(m.box.bottom, 0);
  EXPECT_GT(m.box.top, m.ascent - 2);
}

TEST_F(FontMetricsTest, FamiliesAndPitch) {
  std::shared_ptr<const Font> courier = resolver_.font({"Courier New", -16});
  EXPECT_TRUE(courier->metrics().fixed_pitch());
  EXPECT_EQ(courier->metrics().family(), kFamilyModern);
  int width = courier->char_width(" ");
  for (int code = 32; code <= 126; ++code)
    EXPECT_EQ(courier->char_width(std::string(1, static_cast<char>(code))), width) << code;
  EXPECT_EQ(resolver_.font({"Times New Roman", -16})->metrics().family(), kFamilyRoman);
  EXPECT_TRUE(resolver_.font({"\xB1\xBC\xB8\xB2\xC3\xBC", -16})->metrics().fixed_pitch());
}

// Negative heights give the em size, positive ones the cell height.
TEST_F(FontMetricsTest, HeightConvention) {
  for (const std::string& face : {std::string("Arial"), kGulim, std::string("Courier New")}) {
    for (int h : {7, 13, 16, 21, 100}) {
      SCOPED_TRACE(face + " " + std::to_string(h));
      const FontMetrics& cell = resolver_.font({face, h})->metrics();
      EXPECT_EQ(cell.height, h);
      EXPECT_EQ(cell.ascent + cell.descent, h);
      EXPECT_LE(cell.em_size, h);
      const FontMetrics& em = resolver_.font({face, -h})->metrics();
      EXPECT_EQ(em.em_size, h);
      EXPECT_EQ(em.internal_leading, em.height - h);
      EXPECT_GE(em.height, h);
    }
  }
  EXPECT_EQ(resolver_.font({"Arial", 0})->metrics().em_size, 12);
  // Absurd sizes are capped, not passed on.
  EXPECT_LE(resolver_.font({"Arial", -2000000000})->metrics().em_size, 16384);
  EXPECT_LE(resolver_.font({"Arial", 2147483647})->metrics().height, 16384);
}

TEST_F(FontMetricsTest, KoreanTextMeasuresWithKoreanGlyphs) {
  for (const std::string& face : {kGulim, std::string("Arial")}) {
    SCOPED_TRACE(face);
    std::shared_ptr<const Font> font = resolver_.font({face, -16});
    int first = font->char_width(kHangul.substr(0, 2));
    int second = font->char_width(kHangul.substr(2, 2));
    EXPECT_GT(first, 8);
    EXPECT_GT(second, 8);
    // Each double-byte character is one character: one advance, one share of the spacing.
    EXPECT_EQ(font->text_width(kHangul, 3), first + second + 6);
    GlyphRef glyph = font->glyph(kHangul.substr(0, 2));
    EXPECT_EQ(glyph.code_point, U'\uD55C');
    EXPECT_NE(glyph.glyph_index, 0u);
    EXPECT_NE(std::string(glyph.face->family_name).find("Nanum"), std::string::npos);
  }
  // The fixed-pitch Korean face lacks Hanja (漢) and some symbols (①); they come from the
  // fallback face. Latin text stays with Arial's own face.
  std::shared_ptr<const Font> gulim_che = resolver_.font({"\xB1\xBC\xB8\xB2\xC3\xBC", -16});
  for (const char* character : {"\xF9\xD3", "\xA8\xE7", "\xA1\xD8"}) {
    EXPECT_NE(gulim_che->glyph(character).glyph_index, 0u) << character;
    EXPECT_GT(gulim_che->char_width(character), 8);
  }
  std::shared_ptr<const Font> arial = resolver_.font({"Arial", -16});
  EXPECT_EQ(arial->glyph("A").face, arial->ft_face());
}

// Renderers share the face and may resize it; measuring afterwards still uses the font's size.
TEST_F(FontMetricsTest, MeasuresAtItsSizeAfterARendererResizedTheFace) {
  std::shared_ptr<const Font> arial = resolver_.font({"Arial", -16});
  FT_Set_Pixel_Sizes(arial->ft_face(), 0, 40);
  EXPECT_EQ(arial->char_width("M"), 13);
  FT_Set_Pixel_Sizes(arial->glyph(kHangul).face, 0, 40);
  EXPECT_EQ(arial->char_width(kHangul), 15);
}

TEST_F(FontMetricsTest, WidthsOfSingleByteCodes) {
  std::shared_ptr<const Font> arial = resolver_.font({"Arial", -16});
  std::array<int, 224> widths = arial->char_widths_32_255();
  EXPECT_EQ(widths.size(), 224u);
  EXPECT_EQ(widths['W' - 32], 15);
  EXPECT_EQ(widths[' ' - 32], arial->char_width(" "));
  // A lead byte alone is half a character: it measures as the missing glyph.
  EXPECT_EQ(arial->glyph("\xB0").glyph_index, 0u);
  for (int width : widths) EXPECT_GE(width, 0);
}

TEST_F(FontMetricsTest, MalformedTextNeverFails) {
  std::shared_ptr<const Font> arial = resolver_.font({"Arial", -16});
  for (std::string text :
       {std::string("ab\xC7"), std::string("\xFF\xFF\x80"), std::string("a\0b", 3), std::string()})
    EXPECT_GE(arial->text_width(text), 0);
  EXPECT_EQ(arial->text_width(""), 0);
  EXPECT_EQ(arial->char_width(""), 0);
}

// A narrowed font scales its glyphs so that the average width is the one asked for.
TEST_F(FontMetricsTest, AverageWidthOverrideNarrowsTheFont) {
  std::shared_ptr<const Font> natural = resolver_.font({"Arial", -16});
  std::shared_ptr<const Font> narrow = resolver_.font({"Arial", -16, 0, kDefaultCharset, 0, 4});
  EXPECT_EQ(narrow->metrics().ave_char_width, 4);
  EXPECT_EQ(narrow->metrics().height, natural->metrics().height);
  double ratio = static_cast<double>(narrow->text_width(kLetters)) / natural->text_width(kLetters);
  EXPECT_NEAR(ratio, 4.0 / natural->metrics().ave_char_width, 0.05);
  EXPECT_EQ(resolver_.font({"Arial", -16, 0, kDefaultCharset, 0, -4})->text_width(kLetters),
            narrow->text_width(kLetters));  // the sign is ignored, as GDI does
  for (int extreme : {1, 1 << 30, -2147483647 - 1})
    EXPECT_GE(resolver_.font({"Arial", -16, 0, kDefaultCharset, 0, extreme})->text_width(kLetters),
              0);
  std::shared_ptr<const Font> wide = resolver_.font({"Arial", -16, 0, kDefaultCharset, 0, 14});
  EXPECT_GT(wide->text_width(kLetters), 2 * natural->text_width(kLetters) - kLetters.size());
}

// Symbol fonts read every byte as a character, whatever the code page.
TEST_F(FontMetricsTest, SymbolFontsAreSingleByte) {
  std::shared_ptr<const Font> symbols = resolver_.font({"Wingdings", -16, 0, kSymbolCharset});
  EXPECT_EQ(symbols->text_width("\xB0\xA1", 1),
            symbols->char_width("\xB0") + symbols->char_width("\xA1") + 2);
  EXPECT_NE(symbols->glyph("\xB0").glyph_index, 0u);  // not half of a Korean character
}

TEST_F(FontMetricsTest, SyntheticBoldWidensEachGlyph) {
  std::shared_ptr<const Font> regular = resolver_.font({"Wingdings", -16});
  std::shared_ptr<const Font> bold = resolver_.font({"Wingdings", -16, kFsBold});
  ASSERT_TRUE(bold->face().synthetic_bold);
  EXPECT_EQ(bold->char_width("A"), regular->char_width("A") + 1);
  EXPECT_EQ(bold->metrics().weight, 700);
}

}  // namespace
}  // namespace zr
