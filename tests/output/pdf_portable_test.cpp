// The portable PDF: fonts embedded as subsets with the layout's widths, pages as large as
// their paper, one text object per line. Checked with the readers people use (poppler, MuPDF,
// qpdf) and against the classic file of the same report.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "engine/band_report_fixture.h"
#include "engine/printer/design_pixels.h"
#include "output/pdf/pdf_export.h"
#include "pdf_file.h"
#include "platform/codepage.h"
#include "platform/fonts/font_resolver.h"

namespace zr {
namespace {

using pdf_testing::PdfFile;
using pdf_testing::RunCommand;
using testing_support::BandReportTest;

std::string Korean(const char* utf8) {
  return utf8_to_ansi(utf8);
}

class PdfPortableTest : public BandReportTest {
 protected:
  PdfPortableTest() {
    pdf.ShowDialog = false;
    pdf.TimeZoneBias = -540;
  }

  TvtBandView& Title(int height = 200) { return AddBand(btReportTitle, "ReportTitle1", 0, height); }

  std::filesystem::path File(const std::string& suffix = "") const {
    return std::filesystem::path(::testing::TempDir()) /
           (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + suffix +
            ".pdf");
  }

  PdfFile Export(TPdfMode mode = pmPortable, const std::string& suffix = "") {
    if (report.EMFPages.Count() == 0) {
      EXPECT_TRUE(report.PrepareReport());
    }
    pdf.PdfMode = mode;
    report.ExportReportTo(pdf, File(suffix).string());
    return PdfFile(File(suffix));
  }

  static void ExpectValid(const PdfFile& doc) {
    const auto check = RunCommand("qpdf --check '" + doc.path().string() + "'");
    EXPECT_EQ(check.status, 0) << check.output;
    EXPECT_EQ(check.output.find("WARNING"), std::string::npos) << check.output;
  }

  static std::string Text(const PdfFile& doc) {
    return RunCommand("pdftotext -layout '" + doc.path().string() + "' -").output;
  }

  // The first page's content, uncompressed files only.
  static std::string Content(const PdfFile& doc) { return doc.StreamData(7); }

  static int Count(const std::string& text, const std::string& what) {
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
      ++count;
    return count;
  }

  TOxvtPDFExport pdf;
};

// The characters' origins as MuPDF reports them: (character, x) in drawing order. Blanks are
// left out: MuPDF adds blanks of its own where characters stand apart, placed after the
// previous glyph's width as the font states it.
std::vector<std::pair<std::string, double>> MupdfCharacters(const PdfFile& doc) {
  const std::string xml =
      RunCommand("mutool draw -q -F stext -o - '" + doc.path().string() + "' 2>/dev/null").output;
  std::vector<std::pair<std::string, double>> chars;
  const std::regex pattern("<char [^>]* x=\"([-0-9.]+)\" [^>]* c=\"([^\"]*)\"/>");
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), pattern);
       it != std::sregex_iterator(); ++it)
    if ((*it)[2] != " ") chars.emplace_back((*it)[2], std::stod((*it)[1]));
  return chars;
}

// The words and their left and right edges as poppler reports them.
std::vector<std::tuple<std::string, double, double>> PopplerWords(const PdfFile& doc) {
  const std::string xml = RunCommand("pdftotext -bbox '" + doc.path().string() + "' -").output;
  std::vector<std::tuple<std::string, double, double>> words;
  const std::regex pattern(
      "<word xMin=\"([-0-9.]+)\" yMin=\"[-0-9.]+\" xMax=\"([-0-9.]+)\"[^>]*>([^<]*)</word>");
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), pattern);
       it != std::sregex_iterator(); ++it)
    words.emplace_back((*it)[3], std::stod((*it)[1]), std::stod((*it)[2]));
  return words;
}

TEST_F(PdfPortableTest, EachLineIsOneTextObjectOfGlyphRuns) {
  pdf.UseCompression = false;
  Title();
  AddText("Latin", 20, "Blue Harbor Ltd");
  AddText("Hangul", 40, Korean("한글 보고서 2쪽")).Font.Name = Korean("굴림");
  AddText("Mixed", 60, Korean("Northwind 부산"));  // Hangul from the fallback face
  const PdfFile doc = Export();
  ExpectValid(doc);
  const std::string content = Content(doc);
  EXPECT_EQ(Count(content, "BT\n"), 3) << content;
  EXPECT_EQ(Count(content, " Tj"), 0);
  // The mixed line switches faces inside its text object.
  const size_t mixed = content.rfind("BT\n");
  EXPECT_EQ(Count(content.substr(mixed), " Tf\n"), 2) << content.substr(mixed);

  const std::string text = Text(doc);
  for (const char* line : {"Blue Harbor Ltd", "한글 보고서 2쪽", "Northwind 부산"})
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
  const auto fonts = RunCommand("pdffonts '" + doc.path().string() + "'").output;
  for (const char* face : {"+LiberationSans ", "+NanumGothic "})
    EXPECT_NE(fonts.find(face), std::string::npos) << fonts;
}

TEST_F(PdfPortableTest, FontsCarryTheLayoutsWidthsAndMapGlyphsToCharacters) {
  pdf.UseCompression = false;
  Title();
  AddText("Memo1", 20, "WW");
  const PdfFile doc = Export();
  ExpectValid(doc);
  const auto font = globals().fonts->font(FontSelection{"Arial", -13});
  const unsigned gid = font->glyph("W").glyph_index;
  const int width = font->char_width("W");

  std::smatch m;
  const std::string& bytes = doc.bytes();
  ASSERT_TRUE(std::regex_search(
      bytes, m, std::regex("/Subtype /CIDFontType2\n[\\s\\S]*?/W \\[\n(\\d+) \\[([0-9. ]+)\\]")))
      << bytes.substr(0, 4000);
  EXPECT_EQ(std::stoul(m[1]), gid);
  EXPECT_EQ(std::stoi(m[2]), std::lround(width * 1000.0 / 13));
  EXPECT_NE(bytes.find("/CIDToGIDMap /Identity"), std::string::npos);
  EXPECT_TRUE(std::regex_search(bytes, std::regex("/FontFile2 \\d+ 0 R")));
  EXPECT_TRUE(std::regex_search(bytes, std::regex("/Length1 \\d+")));
  char entry[32];
  std::snprintf(entry, sizeof entry, "<%04X> <0057>", gid);
  EXPECT_NE(bytes.find(entry), std::string::npos) << "ToUnicode " << entry;
  EXPECT_TRUE(std::regex_search(bytes, std::regex("/BaseFont /[A-Z]{6}\\+LiberationSans\n")));
}

// Both modes put every character at the same place of the page; the portable page is the
// same drawing in a unit of 1/91.6256 inch instead of 1/96 inch.
TEST_F(PdfPortableTest, CharactersLandWhereTheClassicFilePutsThem) {
  pdf.UseCompression = false;
  Title(300);
  AddText("Plain", 20, "Blue Harbor Ltd");
  AddText("Spaced", 40, "Northwind Busan").CharSpacing = 3;
  AddText("Narrow", 60, "Narrow text").CharWidth = 80;
  AddText("Korean", 80, Korean("한빛상사 담당")).Font.Name = Korean("굴림");
  TvtMemoView& justified = AddText("Justified", 100, "Spread out", 18, 10, 300);
  justified.Alignment = 3;
  const PdfFile portable = Export(pmPortable, "-portable");
  const PdfFile classic = Export(pmClassic, "-classic");
  const double scale = 96 / kDesignPixelsPerInch;

  const auto a = MupdfCharacters(portable), b = MupdfCharacters(classic);
  ASSERT_EQ(a.size(), b.size());
  ASSERT_GT(a.size(), 50u);
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].first, b[i].first) << i;
    EXPECT_NEAR(a[i].second, b[i].second * scale, 0.01) << i << " " << a[i].first;
  }
  // Poppler's words, where both files give the same words (the classic composite font
  // spreads Korean text into more of them).
  const auto words_a = PopplerWords(portable), words_b = PopplerWords(classic);
  int compared = 0;
  for (const auto& [word, left, right] : words_a) {
    for (const auto& [other, other_left, other_right] : words_b) {
      (void)right, (void)other_right;
      if (word != other || std::fabs(left - other_left * scale) > 1) continue;
      // Right edges differ: the classic file's widths are the font's at its nominal size,
      // and the spacing that corrects them is not counted into a word's box.
      EXPECT_NEAR(left, other_left * scale, 0.01) << word;
      ++compared;
    }
  }
  EXPECT_GE(compared, 6);
}

TEST_F(PdfPortableTest, PagesAreAsLargeAsTheirPaper) {
  AddBand(btReportTitle, "ReportTitle1", 0, 100);
  AddText("First", 0, "portrait");
  report.Pages.Add();
  report.Pages.Items(1).SetPaper(9, 0, 0, 1, -1);  // A4 landscape
  auto band = std::make_unique<TvtBandView>();
  band->Name = "ReportTitle2";
  band->SetBandType(btReportTitle);
  band->SetBounds(0, 0, 600, 100);
  report.Pages.Items(1).Add(std::move(band));
  AddMemo("Second", 1).SetBounds(10, 0, 200, 18);
  report.FindObject("Second")->Memo = {"landscape"};
  ASSERT_TRUE(report.PrepareReport());
  const PdfFile doc = Export();
  ExpectValid(doc);
  const std::string info = RunCommand("pdfinfo -f 1 -l 2 '" + doc.path().string() + "'").output;
  EXPECT_NE(info.find("Page    1 size:  595.276 x 841.89 pts (A4)"), std::string::npos) << info;
  EXPECT_NE(info.find("Page    2 size:  841.89 x 595.276 pts (A4)"), std::string::npos) << info;
  const std::string text = Text(doc);
  EXPECT_NE(text.find("landscape"), std::string::npos) << text;
}

TEST_F(PdfPortableTest, SyntheticStylesAreDrawnAsTheRendererDrawsThem) {
  pdf.UseCompression = false;
  Title();
  TvtMemoView& slanted = AddText("Slanted", 20, Korean("기울임"));
  slanted.Font.Name = Korean("굴림");
  slanted.Font.Style = fsItalic;  // the Korean faces have no italic: it is made
  const PdfFile doc = Export();
  ExpectValid(doc);
  EXPECT_TRUE(std::regex_search(Content(doc), std::regex("1 0 0\\.213 1 [-0-9.]+ [-0-9.]+ Tm")))
      << Content(doc);
  EXPECT_NE(Text(doc).find("기울임"), std::string::npos);
}

TEST_F(PdfPortableTest, TheSameReportGivesTheSameBytes) {
  Title(40);
  AddText("Memo1", 20, Korean("Blue Harbor 한빛"));
  AddBand(btMasterData, "MasterData1", 60, 18, 0, "300");
  AddText("Row", 60, "row [LINE#]");
  const std::string first = Export(pmPortable, "-1").bytes();
  const std::string second = Export(pmPortable, "-2").bytes();
  EXPECT_GT(first.size(), 1000u);
  EXPECT_TRUE(first == second);
}

TEST_F(PdfPortableTest, AReportWithoutTextStillNamesAnEmbeddedFont) {
  Title();
  const PdfFile doc = Export();
  ExpectValid(doc);
  const std::string fonts = RunCommand("pdffonts '" + doc.path().string() + "'").output;
  EXPECT_TRUE(std::regex_search(
      fonts, std::regex("\\+LiberationSans +CID TrueType +Identity-H +yes yes yes")))
      << fonts;
}

}  // namespace
}  // namespace zr
