#include "platform/fonts/font_resolver.h"

#include <gtest/gtest.h>

#include <string>

namespace zr {
namespace {

// Korean face names in code page 949.
const std::string kGulim = "\xB1\xBC\xB8\xB2";             // 굴림
const std::string kGulimChe = "\xB1\xBC\xB8\xB2\xC3\xBC";  // 굴림체
const std::string kDotum = "\xB5\xB8\xBF\xF2";             // 돋움
const std::string kBatang = "\xB9\xD9\xC5\xC1";            // 바탕

TEST(FontResolverTest, WindowsFacesMapToInstalledFamilies) {
  struct Case {
    std::string face;
    const char* family;
  };
  const Case cases[] = {
      {"Arial", "Liberation Sans"},
      {"ARIAL", "Liberation Sans"},
      {"Times New Roman", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},
      {kGulim, "NanumGothic"},
      {"@" + kGulim, "NanumGothic"},  // vertical variant
      {kDotum, "NanumGothic"},
      {kGulimChe, "NanumGothicCoding"},
      {kBatang, "NanumMyeongjo"},
      {"Wingdings", "Symbola"},
      {"DejaVu Sans", "DejaVu Sans"},  // installed families resolve as themselves
  };
  FontResolver resolver;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.face);
    const ResolvedFace& face = resolver.resolve_face(c.face, false, false);
    EXPECT_EQ(face.family, c.family);
    EXPECT_FALSE(face.file.empty());
  }
}

TEST(FontResolverTest, UnknownFacesFallBackByCharacterSet) {
  FontResolver resolver;
  EXPECT_EQ(resolver.resolve_face("No Such Face", false, false, kAnsiCharset).family,
            "Liberation Sans");
  EXPECT_EQ(resolver.resolve_face("No Such Face", false, false, kDefaultCharset).family,
            "NanumGothic");
  EXPECT_EQ(resolver.resolve_face("No Such Face", false, false, kHangulCharset).family,
            "NanumGothic");
  EXPECT_EQ(resolver.resolve_face("No Such Face", false, false, kSymbolCharset).family, "Symbola");
  // Empty and malformed names (a cut double-byte character, control bytes) still resolve.
  for (std::string face : {std::string(), std::string("\xB1"), std::string("\x01\xFF\xFF", 3)})
    EXPECT_TRUE(resolver.font({face, -16})->metrics().height > 0);
}

TEST(FontResolverTest, StylesPickStyleFilesOrAreSynthesised) {
  FontResolver resolver;
  const ResolvedFace& bold = resolver.resolve_face("Arial", true, false);
  EXPECT_NE(bold.file.find("LiberationSans-Bold."), std::string::npos) << bold.file;
  EXPECT_FALSE(bold.synthetic_bold);
  const ResolvedFace& bold_italic = resolver.resolve_face("Times New Roman", true, true);
  EXPECT_NE(bold_italic.file.find("LiberationSerif-BoldItalic."), std::string::npos);
  const ResolvedFace& gulim_bold = resolver.resolve_face(kGulim, true, false);
  EXPECT_NE(gulim_bold.file.find("NanumGothicBold."), std::string::npos) << gulim_bold.file;
  // Nanum fonts have no italic files, Symbola no bold one.
  const ResolvedFace& gulim_italic = resolver.resolve_face(kGulim, false, true);
  EXPECT_TRUE(gulim_italic.synthetic_italic);
  EXPECT_FALSE(gulim_italic.synthetic_bold);
  EXPECT_TRUE(resolver.resolve_face("Wingdings", true, false).synthetic_bold);
  EXPECT_FALSE(resolver.resolve_face("Arial", false, false).synthetic_italic);
}

TEST(FontResolverTest, CachesFontsBySpec) {
  FontResolver resolver;
  std::shared_ptr<const Font> font = resolver.font({"Arial", -16});
  EXPECT_EQ(resolver.font({"Arial", -16}), font);
  EXPECT_EQ(resolver.font({"arial", -16}), font);  // face names ignore case
  EXPECT_NE(resolver.font({"Arial", -17}), font);
  EXPECT_NE(resolver.font({"Arial", -16, kFsBold}), font);
  EXPECT_EQ(&resolver.resolve_face("Arial", false, false),
            &resolver.resolve_face("ARIAL", false, false));
}

TEST(FontResolverTest, FontsOutliveTheirResolver) {
  std::shared_ptr<const Font> font;
  {
    FontResolver resolver;
    font = resolver.font({kGulim, -16});
  }
  EXPECT_GT(font->text_width("\xC7\xD1\xB1\xDB"), 0);  // 한글
}

}  // namespace
}  // namespace zr
