// TrueType subsets: read back with FreeType, the kept glyphs draw as in the full font under
// the same numbers, the others are empty, and a damaged file is a FormatError.
#include "platform/fonts/truetype_subset.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/errors.h"
#include "platform/fonts/font_resolver.h"
#include "platform/fonts/freetype_handles.h"

namespace zr {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

uint32_t SumOfWords(const std::string& font) {
  uint32_t sum = 0;
  for (size_t i = 0; i + 3 < font.size(); i += 4)
    sum += uint32_t(uint8_t(font[i])) << 24 | uint32_t(uint8_t(font[i + 1])) << 16 |
           uint32_t(uint8_t(font[i + 2])) << 8 | uint8_t(font[i + 3]);
  return sum;
}

class TrueTypeSubsetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ResolvedFace& face = resolver.resolve_face("Arial", false, false);
    file = ReadFile(face.file);
    index = face.index;
    ASSERT_TRUE(HasTrueTypeOutlines(file, index)) << face.file;
    FT_Face full = nullptr;
    ASSERT_EQ(FT_New_Memory_Face(library.get(), reinterpret_cast<const FT_Byte*>(file.data()),
                                 static_cast<FT_Long>(file.size()), index, &full),
              0);
    full_.reset(full);
  }

  // Outline points of glyph `gid` (components included), or -1 when it cannot be loaded.
  static int Points(FT_Face face, unsigned gid) {
    if (FT_Load_Glyph(face, gid, FT_LOAD_NO_SCALE) != 0) return -1;
    return face->glyph->outline.n_points;
  }

  FontResolver resolver;
  FreeTypeLibrary library;
  std::string file;
  int index = 0;
  FtFaceHandle full_;
};

TEST_F(TrueTypeSubsetTest, KeptGlyphsDrawUnderTheirOwnNumbers) {
  const unsigned a = FT_Get_Char_Index(full_.get(), 'A');
  const unsigned b = FT_Get_Char_Index(full_.get(), 'B');
  const unsigned accented = FT_Get_Char_Index(full_.get(), 0xC1);  // Á: a composite glyph
  ASSERT_TRUE(a && b && accented);
  const std::string subset =
      SubsetTrueType(file, index, {static_cast<uint16_t>(a), static_cast<uint16_t>(accented)});
  EXPECT_LT(subset.size(), file.size() / 4);
  // The whole font sums to the magic number once head's adjustment is in.
  EXPECT_EQ(SumOfWords(subset), 0xB1B0AFBAu);

  FT_Face face = nullptr;
  ASSERT_EQ(FT_New_Memory_Face(library.get(), reinterpret_cast<const FT_Byte*>(subset.data()),
                               static_cast<FT_Long>(subset.size()), 0, &face),
            0);
  FtFaceHandle kept(face);
  EXPECT_GT(kept->num_glyphs, static_cast<FT_Long>(std::max(a, accented)));
  EXPECT_EQ(Points(face, a), Points(full_.get(), a));
  EXPECT_EQ(Points(face, accented), Points(full_.get(), accented));
  EXPECT_GT(Points(face, accented), 0);
  if (b < static_cast<unsigned>(kept->num_glyphs)) {
    EXPECT_EQ(Points(face, b), 0);
  }
  // Advances are the font's for the kept glyphs.
  FT_Load_Glyph(face, a, FT_LOAD_NO_SCALE);
  const FT_Pos advance = face->glyph->metrics.horiAdvance;
  FT_Load_Glyph(full_.get(), a, FT_LOAD_NO_SCALE);
  EXPECT_EQ(advance, full_->glyph->metrics.horiAdvance);
}

TEST_F(TrueTypeSubsetTest, FaceInformationForTheDescriptor) {
  const TrueTypeFaceInfo info = ReadTrueTypeFaceInfo(file, index);
  EXPECT_EQ(info.units_per_em, full_->units_per_EM);
  EXPECT_EQ(info.postscript_name, "LiberationSans");
  EXPECT_GT(info.ascent, 0);
  EXPECT_LT(info.descent, 0);
  EXPECT_FALSE(info.fixed_pitch);
  EXPECT_EQ(info.glyph_count, full_->num_glyphs);
}

TEST_F(TrueTypeSubsetTest, DamagedFilesAreFormatErrors) {
  EXPECT_FALSE(HasTrueTypeOutlines("", 0));
  EXPECT_FALSE(HasTrueTypeOutlines(file.substr(0, 40), index));
  EXPECT_THROW(SubsetTrueType(file.substr(0, 200), index, {1}), FormatError);
  EXPECT_THROW(ReadTrueTypeFaceInfo("ttcf\0\0\0\0\0\0\0\0", 0), FormatError);
}

}  // namespace
}  // namespace zr
