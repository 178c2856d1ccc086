// How the PDF export spells numbers, colours, strings, names and time zones.
#include "output/pdf/pdf_syntax.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "output/pdf/pdf_document_info.h"

namespace zr {
namespace {

TEST(PdfSyntaxTest, NumbersHaveFourDecimalsAndAFullStop) {
  const std::vector<std::pair<double, std::string>> cases = {
      {12.5, "12.5000"},
      {0, "0.0000"},
      {-0.25, "-0.2500"},
      {595.2755905511812, "595.2756"},
      {1.0 / 3, "0.3333"},
      {123456789.0, "123456789.0000"},
      // Not finite: a value no reader accepts becomes 0.
      {std::numeric_limits<double>::quiet_NaN(), "0.0000"},
      {std::numeric_limits<double>::infinity(), "0.0000"},
      {-std::numeric_limits<double>::infinity(), "0.0000"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(PdfNumber(value), text) << value;
}

TEST(PdfSyntaxTest, ColoursAreFractionsOfRedGreenBlue) {
  const std::vector<std::pair<uint32_t, std::string>> cases = {
      {0x000000, "0.0000 0.0000 0.0000"},
      {0x0000FF, "1.0000 0.0000 0.0000"},
      {0x80FF00, "0.0000 1.0000 0.5020"},
      {0x8000000F, "0.9412 0.9412 0.9412"},  // the button face
      {0x1FFFFFFF, "0.0000 0.0000 0.0000"},  // no colour
  };
  for (const auto& [value, text] : cases)
    EXPECT_EQ(PdfColor(static_cast<int32_t>(value)), text) << std::hex << value;
}

TEST(PdfSyntaxTest, StringsAndNamesAreEscaped) {
  EXPECT_EQ(PdfString("a\\b(c)d"), "a\\\\b\\(c\\)d");
  EXPECT_EQ(PdfString("\xB0\xA1\n"), "\xB0\xA1\n");
  const std::vector<std::pair<std::string, std::string>> names = {
      {"Arial,BoldItalic", "Arial,BoldItalic"},
      {"Times New Roman", "Times#20New#20Roman"},
      {"a#b%c(d)e/f<g>h[i]j{k}l", "a#23b#25c#28d#29e#2Ff#3Cg#3Eh#5Bi#5Dj#7Bk#7Dl"},
      {"\xB1\xBC\xB8\xB2\xC3\xBC", "#B1#BC#B8#B2#C3#BC"},
      {std::string("\x7F\x21\x7E", 3), "#7F!~"},
  };
  for (const auto& [name, text] : names) EXPECT_EQ(PdfName(name), text) << name;
  EXPECT_EQ(PdfRef(12), "12 0 R");
}

TEST(PdfSyntaxTest, TimeZonesFromTheStandardBias) {
  const std::vector<std::pair<int, std::string>> cases = {
      {-540, "+09'00'"},  // Korea
      {210, "-03'30'"},   // Newfoundland
      {0, "+00'00'"},
      {-330, "+05'30'"},
      {300, "-05'00'"},
      // Less than an hour west of UTC keeps its sign on the hours.
      {30, "-00'30'"},
      {-30, "+00'30'"},
  };
  for (const auto& [bias, text] : cases) EXPECT_EQ(PdfTimeZone(bias), text) << bias;
}

}  // namespace
}  // namespace zr
