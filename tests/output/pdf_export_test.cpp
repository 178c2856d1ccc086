// The PDF export end to end: small prepared reports written to files, checked by qpdf and
// poppler, and the fixed parts of the file compared byte by byte.
#include "output/pdf/pdf_export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "engine/band_report_fixture.h"
#include "engine/model/picture_view.h"
#include "engine/run/band.h"
#include "output/pdf/pdf_syntax.h"
#include "pdf_file.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/fonts/font_resolver.h"
#include "platform/graphics/bmp_codec.h"

namespace zr {
namespace {

using pdf_testing::PdfFile;
using pdf_testing::RunCommand;
using testing_support::BandReportTest;

class PdfExportTest : public BandReportTest {
 protected:
  PdfExportTest() {
    pdf.ShowDialog = false;
    pdf.TimeZoneBias = -540;
    pdf.PdfMode = pmClassic;  // the portable mode has tests of its own
  }

  std::filesystem::path file =
      std::filesystem::path(::testing::TempDir()) /
      (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".pdf");
  TOxvtPDFExport pdf;

  TvtBandView& Title(int height = 200) { return AddBand(btReportTitle, "ReportTitle1", 0, height); }

  PdfFile Export() {
    if (report.EMFPages.Count() == 0) {
      EXPECT_TRUE(report.PrepareReport());
    }
    report.ExportReportTo(pdf, file.string());
    return PdfFile(file);
  }

  // qpdf --check: structure, cross-reference table and every content stream.
  static void ExpectValid(const PdfFile& doc) {
    const auto check = RunCommand("qpdf --check '" + doc.path().string() + "'");
    EXPECT_EQ(check.status, 0) << check.output;
    EXPECT_EQ(check.output.find("WARNING"), std::string::npos) << check.output;
  }

  static std::string Text(const PdfFile& doc) {
    return RunCommand("pdftotext -layout '" + doc.path().string() + "' -").output;
  }

  static int PageCount(const PdfFile& doc) {
    const auto info = RunCommand("pdfinfo '" + doc.path().string() + "'");
    std::smatch m;
    return std::regex_search(info.output, m, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(m[1]) : -1;
  }

  // The content stream of the n-th page (0-based), inflated when compressed.
  static std::string Content(const PdfFile& doc, int page = 0) {
    const int number = 7 + 3 * page;  // without pictures the pages take three numbers each
    const std::string object = doc.Object(number);
    const std::string data = doc.StreamData(number);
    return object.find("/FlateDecode") != std::string::npos && !data.empty()
               ? pdf_testing::Inflate(data)
               : data;
  }

  // Object number of resource font /F<index>.
  static int FontObject(const PdfFile& doc, int index) {
    std::smatch m;
    const std::string resources = doc.Object(5);
    if (!std::regex_search(resources, m, std::regex("/F" + std::to_string(index) + " (\\d+) 0 R")))
      return -1;
    return std::stoi(m[1]);
  }

  // The Tc values of the content, in order.
  static std::vector<double> Spacings(const std::string& content) {
    std::vector<double> values;
    std::regex tc("(-?[0-9]+\\.[0-9]{4}) Tc");
    for (auto it = std::sregex_iterator(content.begin(), content.end(), tc);
         it != std::sregex_iterator(); ++it)
      values.push_back(std::stod((*it)[1]));
    return values;
  }

  std::string Page1Points(double design) { return PdfNumber(design * 72 / 96); }
};

std::string Korean(const char* utf8) {
  return utf8_to_ansi(utf8);
}

TEST_F(PdfExportTest, TextsOfEveryPageComeOutOfAValidFile) {
  const int per_page = (bottom_edge() - top_edge()) / 300;
  AddBand(btMasterData, "MasterData1", 20, 300, 0, std::to_string(per_page + 2));
  AddText("Row", 20, "row [LINE#] of the report");
  AddText("Hangul", 40, Korean("한글 보고서 [LINE#]"));
  AddText("Named", 60, Korean("굴림체로 쓴 글"), 18, 10, 300).Font.Name = Korean("굴림체");
  ASSERT_TRUE(report.PrepareReport());
  ASSERT_GE(report.EMFPages.Count(), 2);

  const PdfFile doc = Export();
  ExpectValid(doc);
  EXPECT_EQ(PageCount(doc), report.EMFPages.Count());
  const std::string text = Text(doc);
  for (const char* expected : {"row 1 of the report", "row 3 of the report", "한글 보고서 1",
                               "한글 보고서 3", "굴림체로 쓴 글"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
}

TEST_F(PdfExportTest, FixedPartsOfTheFileAreWrittenByteForByte) {
  report.Title = "Sales (Q4)";
  pdf.UseCompression = false;
  pdf.Author = "Kim \\ Lee";
  pdf.Keywords = "sales";
  Title();
  AddText("Memo1", 20, "Hello");
  const PdfFile doc = Export();
  ExpectValid(doc);
  const std::string& bytes = doc.bytes();

  const std::string head =
      "%PDF-1.3\n"
      "1 0 obj\n<<\n/Type /Catalog\n/Pages 2 0 R\n>>\nendobj\n"
      "6 0 obj\n<<\n/Type /Page\n/Parent 2 0 R\n/Contents 7 0 R\n>>\nendobj\n"
      "7 0 obj\n<< /Length 8 0 R >>\nstream\n";
  EXPECT_EQ(bytes.substr(0, head.size()), head);
  EXPECT_EQ(doc.Object(8), "8 0 obj\n" + std::to_string(doc.StreamData(7).size()) + "\nendobj\n");

  const PrinterInfo& paper = report.EMFPages.PageInfo(0).PrnInfo;
  EXPECT_EQ(doc.Object(2), "2 0 obj\n<<\n/Type /Pages\n/Count 1\n/MediaBox [0 0 " +
                               Page1Points(paper.page_width) + " " +
                               Page1Points(paper.page_height) +
                               "]\n/Kids [6 0 R]\n/Resources 5 0 R\n>>\nendobj\n");
  EXPECT_EQ(doc.Object(4), "4 0 obj\n[/PDF /Text /ImageC]\nendobj\n");
  EXPECT_EQ(doc.Object(5), "5 0 obj\n<<\n/Font <<\n/F0 9 0 R\n>>\n/ProcSet 4 0 R\n>>\nendobj\n");
  // The engine's fixed clock: 2026-12-10 12:00 in Korea.
  EXPECT_EQ(doc.Object(3),
            "3 0 obj\n<<\n/Author (Kim \\\\ Lee)\n/CreationDate (D:20261210120000+09'00')\n"
            "/Keywords (sales)\n/Creator (Vantor)\n/Title (Sales \\(Q4\\))\n/Producer (Zorel)\n"
            ">>\nendobj\n");

  // Cross-reference table: 20-byte entries, each offset at its object's header (PdfFile
  // finds objects only through the table).
  ASSERT_EQ(doc.size(), 11);  // 0-5, page 6-8, font 9 and its descriptor 10
  EXPECT_TRUE(doc.xref_entries().starts_with("0000000000 65535 f \n"));
  const std::regex entry("[0-9]{10} [0-9]{5} [fn] \n");
  for (int i = 0; i < doc.size(); ++i)
    EXPECT_TRUE(
        std::regex_match(doc.xref_entries().substr(static_cast<size_t>(i) * 20, 20), entry));
  for (int number = 1; number < doc.size(); ++number)
    EXPECT_FALSE(doc.Object(number).empty()) << "object " << number;
  const size_t xref = bytes.rfind("\nxref\n") + 1;
  EXPECT_TRUE(bytes.ends_with("trailer\n<<\n/Root 1 0 R\n/Info 3 0 R\n/Size 11\n>>\nstartxref\n" +
                              std::to_string(xref) + "\n%%EOF"))
      << bytes.substr(xref);
}

TEST_F(PdfExportTest, SimpleFontCarriesArialWidthsAndDescriptor) {
  pdf.UseCompression = false;
  Title();
  AddText("Memo1", 20, "Width");
  const PdfFile doc = Export();
  const int font = FontObject(doc, 0);
  const std::string object = doc.Object(font);
  std::smatch m;
  ASSERT_TRUE(std::regex_match(
      object, m,
      std::regex(
          "\\d+ 0 obj\n<<\n/Type /Font\n/Subtype /TrueType\n/Name /F0\n/BaseFont /Arial\n"
          "/Encoding /WinAnsiEncoding\n/FirstChar 32\n/LastChar 255\n/Widths \\[([0-9 ]+)\\]\n"
          "/FontDescriptor (\\d+) 0 R\n>>\nendobj\n")))
      << object;
  std::vector<int> widths;
  std::istringstream list(m[1].str());
  for (int w; list >> w;) widths.push_back(w);
  ASSERT_EQ(widths.size(), 224u);
  // The installed substitute is metric-compatible with Arial: its widths in 1/1000 em.
  const std::vector<std::pair<char, int>> arial = {{' ', 278}, {'0', 556}, {'A', 667}, {'W', 944},
                                                   {'i', 222}, {'m', 833}, {'~', 584}};
  for (auto [c, expected] : arial)
    EXPECT_NEAR(widths[static_cast<size_t>(c - 32)], expected, 1) << c;

  // GDI's integer metrics: whole inches first, so multiples of 72.
  const std::string descriptor = doc.Object(std::stoi(m[2]));
  std::smatch d;
  ASSERT_TRUE(std::regex_match(
      descriptor, d,
      std::regex("\\d+ 0 obj\n<<\n/Type /FontDescriptor\n/FontName /Arial\n/Flags 32\n"
                 "/FontBBox \\[-250 -144 (\\d+) 864\\]\n/Ascent 864\n/Descent -144\n"
                 "/CapHeight 864\n/AvgWidth (\\d+)\n/MaxWidth (\\d+)\n/StemV 0\n"
                 "/ItalicAngle 0\n>>\nendobj\n")))
      << descriptor;
  EXPECT_EQ(d[1], d[3]);
  EXPECT_EQ(std::stoi(d[2]) % 72, 0);
  EXPECT_EQ(std::stoi(d[3]) % 72, 0);
}

TEST_F(PdfExportTest, KoreanTextOfALatinFontUsesTheCompositeKoreanFont) {
  pdf.UseCompression = false;
  Title();
  AddText("Memo1", 20, Korean("A가"));
  const PdfFile doc = Export();
  ExpectValid(doc);
  // "A" stays in Arial (F0); the Hangul character goes to the Korean face (F1).
  const std::string content = Content(doc);
  EXPECT_NE(content.find("/F0 10 Tf"), std::string::npos) << content;
  EXPECT_NE(content.find("/F1 10 Tf"), std::string::npos) << content;
  EXPECT_NE(content.find("Td (" + Korean("가") + ") Tj"), std::string::npos);

  const int font = FontObject(doc, 1);
  const std::string name = "#B1#BC#B8#B2#C3#BC";  // the face name's code page bytes
  const std::string n = std::to_string(font);
  const std::string d = std::to_string(font + 1);
  const std::string f = std::to_string(font + 2);  // numbered when the fonts are written
  EXPECT_EQ(doc.Object(font),
            n + " 0 obj\n<<\n/Type /Font\n/Subtype /Type0\n/Name /F1\n/BaseFont /" + name +
                "\n/DescendantFonts [ " + d + " 0 R ]\n/Encoding /KSCms-UHC-H\n>>\nendobj\n");
  EXPECT_EQ(doc.Object(font + 1),
            d + " 0 obj\n<<\n/Type /Font\n/Subtype /CIDFontType2\n/BaseFont /" + name +
                "\n/WinCharSet 129/FontDescriptor " + f +
                " 0 R\n/CIDSystemInfo\n<<\n/Registry(Adobe)\n/Ordering(Korea1)\n/Supplement 1\n>>\n"
                "/DW 1000\n/W [\n1 94 500\n]\n>>\nendobj\n");
  EXPECT_EQ(doc.Object(font + 2),
            f + " 0 obj\n<<\n/Type /FontDescriptor\n/FontName /" + name +
                "\n/Flags 7\n/FontBBox [ -100 -142 1100 1000 ]\n/MissingWidth 500\n/StemV 91\n"
                "/StemH 91\n/ItalicAngle 0\n/CapHeight 858\n/XHeight 429\n/Ascent 858\n"
                "/Descent -142\n/Leading 148\n/MaxWidth 1000\n/AvgWidth 500\n/Style \n"
                "<< /Panose <000000400000000000000000> >>\n>>\nendobj\n");
  EXPECT_NE(Text(doc).find("A가"), std::string::npos) << Text(doc);
}

TEST_F(PdfExportTest, FaceNameWithBlanksIsWrittenAsCompositeFont) {
  pdf.UseCompression = false;
  Title();
  AddText("Memo1", 20, "Roman text").Font.Name = "Times New Roman";
  const PdfFile doc = Export();
  ExpectValid(doc);
  const std::string font = doc.Object(FontObject(doc, 0));
  EXPECT_NE(font.find("/Subtype /Type0\n/Name /F0\n/BaseFont /TimesNewRoman\n"), std::string::npos)
      << font;
  EXPECT_NE(font.find("/Encoding /KSCms-UHC-H"), std::string::npos);
  // Readers take the composite font's fixed Latin width of half an em as the glyph's and see
  // the spacing that makes up for it as gaps; the characters themselves come out.
  std::string text = Text(doc);
  std::erase(text, ' ');
  EXPECT_NE(text.find("Romantext"), std::string::npos) << Text(doc);
}

TEST_F(PdfExportTest, CharacterSpacingCorrectsEachCharacterToItsMeasuredWidth) {
  pdf.UseCompression = false;
  Title();
  // Per row: a character without and with 4 pixels (3 points) of extra spacing.
  AddText("Plain", 20, "W");
  AddText("Spaced", 40, "W").CharSpacing = 4;
  AddText("Hangul", 60, Korean("가"));
  AddText("HangulSpaced", 80, Korean("가")).CharSpacing = 4;
  const PdfFile doc = Export();
  const std::vector<double> tc = Spacings(Content(doc));
  ASSERT_EQ(tc.size(), 4u) << Content(doc);
  EXPECT_NEAR(tc[1] - tc[0], 3.0, 1e-9);  // one byte shares the 3 points
  EXPECT_NEAR(tc[3] - tc[2], 1.5, 1e-9);  // a double-byte character: two bytes share them

  // "W": Arial 10 is drawn at 13 pixels, so the character measures its 13-pixel advance;
  // Tc makes up the difference to the 10-point width the /Widths entry gives.
  const std::string font = doc.Object(FontObject(doc, 0));
  std::smatch m;
  ASSERT_TRUE(std::regex_search(font, m, std::regex("/Widths \\[((?:\\d+ ){55})(\\d+)")));
  const int width_w = std::stoi(m[2]);  // code 87
  const int pixels_w = globals().fonts->font(FontSelection{"Arial", -13})->char_width("W");
  EXPECT_EQ(PdfNumber(tc[0]), PdfNumber(pixels_w * 0.75 - width_w * 10 / 1000.0));
  // A composite font counts 500 per byte: 1000 for the Hangul character.
  // The memo's own font measures the Hangul character (from its Korean fallback face).
  const int pixels_ga =
      globals().fonts->font(FontSelection{"Arial", -13})->char_width(Korean("가"));
  EXPECT_EQ(PdfNumber(tc[2]), PdfNumber((pixels_ga * 0.75 - 10.0) / 2));
}

TEST_F(PdfExportTest, TextIsPlacedFromTheTopOfItsLineWithScaleAndRules) {
  pdf.UseCompression = false;
  Title();
  AddText("Plain", 20, "a");
  TvtMemoView& scaled = AddText("Scaled", 40, "b");
  scaled.CharWidth = 50;
  AddText("Ruled", 60, "c").Font.Style = fsUnderline | fsStrikeOut;
  const PdfFile doc = Export();
  const std::string content = Content(doc);
  const double page_height = report.EMFPages.PageInfo(0).PrnInfo.page_height * 0.75;
  const int cell = globals().fonts->font(FontSelection{"Arial", -13})->metrics().height;
  // The memo at (10, y) draws its line at (12, y + 1), from the top of the font's cell.
  auto at = [&](double x, double y) {
    return PdfNumber(x * 0.75) + " " + PdfNumber(page_height - y * 0.75 - cell * 0.75 + 3);
  };
  const int band_top = top_edge();
  EXPECT_NE(content.find(at(12, band_top + 21) + " Td (a) Tj\rET\n"), std::string::npos)
      << at(12, band_top + 21) << "\n"
      << content;
  EXPECT_NE(content.find("0.5000 0 0 1 " + at(12, band_top + 41) + " Tm (b) Tj\rET\n"),
            std::string::npos)
      << content;
  // Underline and strike-out: two stroked rules after the character.
  const size_t c = content.find("(c) Tj\rET");
  ASSERT_NE(c, std::string::npos);
  const std::string rules = content.substr(c, content.find('\n', c) - c);
  EXPECT_TRUE(std::regex_match(rules, std::regex("\\(c\\) Tj\rET(\r0\\.0000 0\\.0000 0\\.0000 RG\r"
                                                 "\\d+ w [-0-9. ]+ m\r[-0-9. ]+ l\rS){2}")))
      << rules;
}

TEST_F(PdfExportTest, CompressionLevelsAndTheirStreams) {
  Title();
  AddText("Memo1", 20, "Compressed page text");
  pdf.UseCompression = false;
  const std::string plain = Content(Export());

  struct Case {
    TPDFCompressionMethod method;
    std::string header;  // zlib header bytes: level class
    bool stored;         // level 0 keeps the bytes readable
  };
  for (const Case& c : {Case{cmFastest, "\x78\x01", true}, Case{cmNormal, "\x78\x01", false},
                        Case{cmMaxCompress, "\x78\x9C", false}}) {
    pdf.UseCompression = true;
    pdf.CompressionMethod = c.method;
    const PdfFile doc = Export();
    ExpectValid(doc);
    EXPECT_TRUE(
        doc.Object(7).starts_with("7 0 obj\n<<\n/Length 8 0 R\n/Filter /FlateDecode\n>>\n"
                                  "stream\n"));
    const std::string data = doc.StreamData(7);
    EXPECT_EQ(data.substr(0, 2), c.header) << c.method;
    EXPECT_EQ(data.find(" Tj\r") != std::string::npos, c.stored) << c.method;
    EXPECT_EQ(pdf_testing::Inflate(data), plain) << c.method;
    EXPECT_EQ(doc.Object(8), "8 0 obj\n" + std::to_string(data.size()) + "\nendobj\n");
  }
}

TEST_F(PdfExportTest, FramesAndFillsAreStrokedAndFilled) {
  pdf.UseCompression = false;
  Title();
  TvtMemoView& boxed = AddText("Boxed", 20, "");
  boxed.SetBounds(96, 20, 96, 48);  // one inch by half an inch
  boxed.FrameTyp = kFrameAll;
  boxed.FrameWidth = 2;
  boxed.FrameColor = 0x0000FF;
  boxed.FillColor = 0x00FF00;
  TvtMemoView& ruled = AddText("Ruled", 100, "");
  ruled.SetBounds(96, 100, 96, 48);
  ruled.FrameTyp = kFrameTop | kFrameLeft;
  const PdfFile doc = Export();
  ExpectValid(doc);
  const std::string content = Content(doc);
  const double page = report.EMFPages.PageInfo(0).PrnInfo.page_height * 0.75;
  const double y1 = page - (top_edge() + 20) * 0.75;
  const double y2 = page - (top_edge() + 100) * 0.75;
  const std::string p = PdfNumber(y1 - 36);
  EXPECT_NE(content.find("q\r0 w\r0.0000 1.0000 0.0000 rg\r72.0000 " + p +
                         " 72.0000 36.0000 re f\r1.5000 w 1.0000 0.0000 0.0000 RG\r72.0000 " + p +
                         " 72.0000 36.0000 re\rS\r\rQ\n"),
            std::string::npos)
      << content;
  const std::string top = PdfNumber(y2), bottom = PdfNumber(y2 - 36);
  EXPECT_NE(content.find("q\r\r0.7500 w 0.0000 0.0000 0.0000 RG\r72.0000 " + top + " m 144.0000 " +
                         top + " l S\r\r72.0000 " + bottom + " m 72.0000 " + top + " l S\r\rQ\n"),
            std::string::npos)
      << content;
}

class PdfPictureTest : public PdfExportTest {
 protected:
  // A 4 x 3 red picture stretched over a 40 x 30 object.
  TvtPictureView& AddPicture(const std::string& name, int top) {
    auto view = std::make_unique<TvtPictureView>();
    view->Name = name;
    view->SetBounds(10, top, 40, 30);
    view->Picture = Picture::from_bytes(GraphicKind::Bitmap,
                                        encode_bmp(Bitmap(4, 3, argb_from_color(0x0000FF))));
    return static_cast<TvtPictureView&>(*page().Add(std::move(view)));
  }

  std::string ImageList(const PdfFile& doc) {
    return RunCommand("pdfimages -list '" + doc.path().string() + "'").output;
  }
};

TEST_F(PdfPictureTest, PicturesAreWrittenAsRawRgbOrJpeg) {
  Title();
  AddPicture("Picture1", 20);
  struct Case {
    TOxvtImageFormat format;
    bool compress;
    std::string encoding;  // pdfimages' "enc" column
  };
  for (const Case& c :
       {Case{ifBMP, false, "image"}, Case{ifBMP, true, "image"}, Case{ifJPG, true, "jpeg"}}) {
    pdf.SetExportImageFormat(c.format);
    pdf.UseCompression = c.compress;
    const PdfFile doc = Export();
    ExpectValid(doc);
    EXPECT_TRUE(std::regex_search(
        ImageList(doc), std::regex("\\s41\\s+31\\s+rgb\\s+3\\s+8\\s+" + c.encoding + "\\s")))
        << ImageList(doc);
    // Page 6-8, picture 9.
    const std::string image = doc.Object(9);
    const std::string filter = c.format == ifJPG ? "/Filter/DCTDecode"
                               : c.compress      ? "/Filter/FlateDecode"
                                                 : "";
    const std::string data = doc.StreamData(9);
    EXPECT_TRUE(
        image.starts_with("9 0 obj\n<< /Type/XObject/Subtype/Image/Name/Img0/Width 41"
                          "/Height 31/BitsPerComponent 8/ColorSpace/DeviceRGB" +
                          filter + "/Length " + std::to_string(data.size()) + "\n>>\nstream\n"))
        << image.substr(0, 160);
    if (c.format == ifBMP) {
      const std::string rgb = c.compress ? pdf_testing::Inflate(data) : data;
      ASSERT_EQ(rgb.size(), 41u * 31u * 3u);
      const size_t centre = (15u * 41u + 20u) * 3u;
      EXPECT_EQ(rgb.substr(centre, 3), std::string("\xFF\x00\x00", 3));
    }
    const std::string content = Content(doc);
    const double page = report.EMFPages.PageInfo(0).PrnInfo.page_height * 0.75;
    EXPECT_NE(
        content.find("q\r30.0000 0 0 22.5000 7.5000 " +
                     PdfNumber(page - (top_edge() + 20) * 0.75 - 22.5) + " cm\r/Img0 Do\rQ\n"),
        std::string::npos)
        << content;
    EXPECT_NE(doc.Object(5).find("\n/XObject <<\n/Img0 9 0 R >>"), std::string::npos);
  }
}

TEST_F(PdfPictureTest, ObjectsOfOneNameCanShareTheirPicture) {
  AddBand(btMasterData, "MasterData1", 20, 40, 0, "3");
  AddPicture("Logo", 20);
  pdf.UseCompression = false;
  std::vector<std::string> after;
  pdf.BeforeSaveGraphic = [](TOxvtPDFExport&, const std::string&, bool& unique, int& reuse,
                             std::string&) {
    unique = false;
    reuse = -1;
  };
  pdf.AfterSaveGraphic = [&](TOxvtPDFExport&, const std::string& name, int index) {
    after.push_back(name + ":" + std::to_string(index));
  };
  const PdfFile doc = Export();
  ExpectValid(doc);
  EXPECT_EQ(after, (std::vector<std::string>{"Logo:0", "Logo:0", "Logo:0"}));
  EXPECT_NE(doc.Object(5).find("\n/XObject <<\n/Img0 9 0 R >>"), std::string::npos)
      << doc.Object(5);
  const std::string content = doc.StreamData(7);
  int uses = 0;
  for (size_t at = content.find("/Img0 Do"); at != std::string::npos;
       at = content.find("/Img0 Do", at + 1))
    ++uses;
  EXPECT_EQ(uses, 3);

  // An index that names no picture, and a unique request, write new pictures.
  pdf.BeforeSaveGraphic = [](TOxvtPDFExport&, const std::string&, bool& unique, int& reuse,
                             std::string&) {
    unique = false;
    reuse = 7;
  };
  after.clear();
  EXPECT_NE(Export().Object(5).find("/Img2 "), std::string::npos);
  EXPECT_EQ(after, (std::vector<std::string>{"Logo:0", "Logo:1", "Logo:2"}));
}

TEST_F(PdfExportTest, GifIsNotAPdfPictureFormat) {
  EXPECT_EQ(pdf.ExportImageFormat(), ifBMP);
  pdf.SetExportImageFormat(ifJPG);
  pdf.SetExportImageFormat(ifGIF);
  EXPECT_EQ(pdf.ExportImageFormat(), ifJPG);
}

TEST_F(PdfExportTest, PageWithoutTextGetsArialAndAnEmptyStream) {
  Title();  // a band alone draws nothing
  for (bool compress : {false, true}) {
    pdf.UseCompression = compress;
    const PdfFile doc = Export();
    ExpectValid(doc);
    EXPECT_EQ(doc.StreamData(7), "") << compress;
    EXPECT_EQ(doc.Object(8), "8 0 obj\n0\nendobj\n");
    const std::string font = doc.Object(FontObject(doc, 0));
    EXPECT_NE(font.find("/BaseFont /Arial\n"), std::string::npos) << font;
  }
}

TEST_F(PdfExportTest, AllPagesShareTheFirstPagesMediaBox) {
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
  ASSERT_EQ(report.EMFPages.Count(), 2);
  ASSERT_NE(report.EMFPages.PageInfo(1).PrnInfo.page_width,
            report.EMFPages.PageInfo(0).PrnInfo.page_width);
  const PdfFile doc = Export();
  ExpectValid(doc);
  const PrinterInfo& first = report.EMFPages.PageInfo(0).PrnInfo;
  // Page 1 takes 6-8 and its font 9-10, so page 2 starts at 11.
  EXPECT_NE(doc.Object(2).find("/Count 2\n/MediaBox [0 0 " + Page1Points(first.page_width) + " " +
                               Page1Points(first.page_height) + "]\n/Kids [6 0 R 11 0 R]"),
            std::string::npos)
      << doc.Object(2);
  EXPECT_EQ(PageCount(doc), 2);
}

TEST_F(PdfExportTest, SubjectAndTitleOfTheFilterAndTheWestOfUtc) {
  report.Title = "Report title";
  pdf.Title = "Own title";
  pdf.Subject = "Subject";
  pdf.Creator = "Nabo";
  pdf.TimeZoneBias = 210;
  Title();
  const PdfFile doc = Export();
  EXPECT_EQ(doc.Object(3),
            "3 0 obj\n<<\n/Author ()\n/CreationDate (D:20261210120000-03'30')\n/Keywords ()\n"
            "/Creator (Nabo)\n/Title (Own title)\n/Subject (Subject)\n/Producer (Zorel)\n>>\n"
            "endobj\n");
  const std::string info = RunCommand("pdfinfo '" + doc.path().string() + "'").output;
  EXPECT_TRUE(std::regex_search(info, std::regex("Subject:\\s+Subject\n"))) << info;
}

TEST_F(PdfExportTest, ALongReportIsWrittenPageByPageWithSharedFonts) {
  AddBand(btMasterData, "MasterData1", 20, 18, 0, "3000");
  AddText("Row", 20, "row [LINE#]");
  ASSERT_TRUE(report.PrepareReport());
  const PdfFile doc = Export();
  ExpectValid(doc);
  EXPECT_EQ(PageCount(doc), report.EMFPages.Count());
  EXPECT_GT(report.EMFPages.Count(), 20);
  const std::string text = Text(doc);
  EXPECT_NE(text.find("row 3000"), std::string::npos);
  // One Arial for the whole document.
  EXPECT_NE(doc.Object(5).find("/Font <<\n/F0 "), std::string::npos);
  EXPECT_EQ(doc.Object(5).find("/F1 "), std::string::npos) << doc.Object(5);
}

TEST_F(PdfExportTest, AReportWithoutPagesIsStillAValidDocument) {
  Title();
  ASSERT_TRUE(report.PrepareReport());
  report.EMFPages.Clear();
  report.ExportReportTo(pdf, file.string());
  const PdfFile doc(file);
  EXPECT_EQ(doc.Object(2),
            "2 0 obj\n<<\n/Type /Pages\n/Count 0\n/MediaBox [0 0 0.0000 0.0000]\n/Kids []\n"
            "/Resources 5 0 R\n>>\nendobj\n");
  const auto check = RunCommand("qpdf --check '" + doc.path().string() + "'");
  EXPECT_EQ(check.status, 0) << check.output;
}

TEST_F(PdfExportTest, ANarrowingOfZeroStillWritesAnInvertibleTextMatrix) {
  pdf.UseCompression = false;
  Title();
  AddText("Flat", 20, "f").CharWidth = 0;
  const std::string content = Content(Export());
  EXPECT_NE(content.find("\r0.0100 0 0 1 "), std::string::npos) << content;
}

TEST_F(PdfExportTest, AFullDeviceIsAnIoError) {
  Title();
  AddText("Memo1", 20, "text");
  ASSERT_TRUE(report.PrepareReport());
  EXPECT_THROW(report.ExportReportTo(pdf, "/dev/full"), IoError);
}

TEST_F(PdfExportTest, RegistersAsTheAcrobatFormat) {
  const TvtExportFilters& filters = globals().export_filters;
  ASSERT_EQ(filters.Count(), 1);
  EXPECT_EQ(filters.Items(0).Description, "Adobe Acrobat Document (*.pdf)");
  EXPECT_EQ(filters.Items(0).Mask, "*.pdf");
  EXPECT_EQ(filters.Items(0).Filter, &pdf);
}

}  // namespace
}  // namespace zr
