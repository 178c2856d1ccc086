// The RTF export: the sample's document compared with the expected one and converted by
// LibreOffice (text and page count read back from its PDF) and unrtf, the document's rules
// on small reports, and the body's spill to its temporary file.
#include "output/rtf/rtf_export.h"
#include "output/rtf/rtf_export_dialog.h"

#include <gtest/gtest.h>

#include "engine/band_report_fixture.h"
#include "engine/model/line_view.h"
#include "engine/model/picture_view.h"
#include "export_sample.h"
#include "platform/errors.h"
#include "platform/graphics/picture.h"

namespace zr {
namespace {

using export_testing::ReadFile;
using export_testing::SampleExportTest;
using export_testing::Shell;
using export_testing::UpdatingGolden;
namespace fs = std::filesystem;

std::string WithoutBlanks(std::string text) {
  std::erase_if(text, [](char c) { return c == ' ' || c == '\n'; });
  return text;
}

class RtfExportTest : public SampleExportTest {
 protected:
  TvtReport report;
  TOxvtRTFExport rtf;
  void SetUp() override {
    SampleExportTest::SetUp();
    rtf.ShowDialog = false;
    rtf.Creator = "Nabo";
    rtf.Author = "Zorel tests";
  }
};

TEST_F(RtfExportTest, SampleDocumentMatchesTheExpectedOneAndLibreOfficeReadsIt) {
  PrepareSample(report);
  const fs::path out = work / "sample.rtf";
  report.ExportReportTo(rtf, out.string());
  const fs::path expected = export_testing::kExportSample / "expected.rtf";
  if (UpdatingGolden()) fs::copy_file(out, expected, fs::copy_options::overwrite_existing);
  EXPECT_EQ(ReadFile(out), ReadFile(expected));

  // LibreOffice lays the document out: two pages holding the texts, Korean included.
  auto converted =
      Shell("cd '" + work.string() + "' && HOME='" + work.string() +
            "' soffice --headless --convert-to pdf --outdir '" + work.string() + "' sample.rtf");
  ASSERT_TRUE(fs::exists(work / "sample.pdf")) << converted.output;
  const std::string info = Shell("pdfinfo '" + (work / "sample.pdf").string() + "'").output;
  const size_t pages = info.find("Pages:");
  ASSERT_NE(pages, std::string::npos) << info;
  EXPECT_EQ(std::stoi(info.substr(pages + 6)), 2) << info;
  // pdftotext may part a word where the layout leaves a gap: blanks are not compared.
  const std::string text =
      WithoutBlanks(Shell("pdftotext '" + (work / "sample.pdf").string() + "' -").output);
  for (const char* wanted :
       {"Monthly statement (December)", "합계 금액: 1,234,500원", "Framed and filled", "두 번째 줄",
        "Underlined {a\\b}", "Second page 둘째 쪽"})
    EXPECT_NE(text.find(WithoutBlanks(wanted)), std::string::npos) << wanted << " in\n" << text;

  // unrtf reads the same texts (its code page tables know no Korean: Latin only).
  // unrtf writes the pictures it meets into the current folder: the work folder, then.
  const std::string plain =
      Shell("cd '" + work.string() + "' && unrtf --text '" + out.string() + "'").output;
  for (const char* wanted :
       {"Monthly statement (December)", "Framed and filled", "Underlined {a\\b}"})
    EXPECT_NE(plain.find(wanted), std::string::npos) << wanted << " in\n" << plain;
}

class RtfRulesTest : public ::testing_support::BandReportTest {
 protected:
  fs::path work = fs::path(::testing::TempDir()) / ("rtf_rules_" + std::to_string(getpid()));
  TOxvtRTFExport rtf;
  void SetUp() override {
    fs::remove_all(work);
    fs::create_directories(work);
    rtf.ShowDialog = false;
  }
  void TearDown() override { fs::remove_all(work); }

  std::string Export() {
    if (report.EMFPages.Count() == 0) {
      EXPECT_TRUE(report.PrepareReport());
    }
    report.ExportReportTo(rtf, (work / "report.rtf").string());
    return ReadFile(work / "report.rtf");
  }
  static size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = 0; (at = text.find(part, at)) != std::string::npos; at += part.size()) ++count;
    return count;
  }
};

TEST(RtfTextTest, EscapesAndBreaksLinesInsideTheFrame) {
  EXPECT_EQ(RtfText("a{b\r\nc\\d\r\n"), "a\\{b\r\n\\par c\\\\d");
  EXPECT_EQ(RtfText("}"), "\\}");
  EXPECT_EQ(RtfText(""), "");
}

TEST_F(RtfRulesTest, FramesBecomeBordersOrDrawings) {
  AddBand(btReportTitle, "Title", 0, 300);
  AddText("Boxed", 10, "four").FrameTyp = 15;
  AddText("TwoSides", 40, "two").FrameTyp = 8 | 2;
  AddText("Lines", 70, "a{b\r\nc\\d");
  auto line = std::make_unique<TvtLineView>();
  line->Name = "Rule";
  line->SetBounds(10, 100, 300, 0);
  line->FrameTyp = 8;
  page().Add(std::move(line));
  TvtMemoView& empty = AddText("EmptyFilled", 120, "");
  empty.Memo.clear();
  empty.FillColor = 0x00C0C0C0;
  const std::string doc = Export();
  EXPECT_EQ(Count(doc, "\\box\\absh-"), 1u) << doc;
  EXPECT_EQ(Count(doc, "\\brdrt\\absh-"), 1u);
  EXPECT_EQ(Count(doc, "\\brdrb\\absh-"), 1u);
  EXPECT_NE(doc.find(" a\\{b\r\n\\par c\\\\d\n"), std::string::npos) << doc;
  EXPECT_EQ(Count(doc, "\\dpline\\"), 1u);  // the rule's one side
  EXPECT_EQ(Count(doc, "\\dprect"), 1u);    // the filled memo without text
  EXPECT_NE(doc.find("\\dpfillfgcr192\\dpfillfgcg192\\dpfillfgcb192"), std::string::npos);
  EXPECT_TRUE(doc.ends_with("\\par}\n}"));
}

TEST_F(RtfRulesTest, EveryPageIsAGroupEndingInAPageBreak) {
  for (int i = 0; i < 3; ++i) {
    if (i > 0) report.Pages.Add();
    AddBand(btReportTitle, "Title" + std::to_string(i), 0, 300, 0, {}, i);
    AddText("Text" + std::to_string(i), 20, "page " + std::to_string(i + 1), 18, 10, 200, i);
  }
  const std::string doc = Export();
  EXPECT_EQ(Count(doc, "\\par\\page}\n"), 2u);
  EXPECT_EQ(Count(doc, "\\par}\n"), 1u);
  EXPECT_EQ(Count(doc, "\n{\n"), 3u);
}

// Pictures: JPEG as hexadecimal or raw bytes, BMP always as a metafile in hexadecimal; an
// undecodable picture, an object far off the page and an empty page still give a document.
TEST_F(RtfRulesTest, PicturesAndAwkwardObjects) {
  AddBand(btReportTitle, "Title", 0, 300);
  AddText("Long", 20, std::string(20000, 'W'), 18, 10, 200);
  AddText("Away", 40, "far away", 18, 60000, 200);
  auto picture = std::make_unique<TvtPictureView>();
  picture->Name = "Broken";
  picture->SetBounds(10, 80, 40, 40);
  picture->Picture = zr::Picture::from_bytes(GraphicKind::Bitmap, export_testing::TruncatedBmp());
  page().Add(std::move(picture));
  AddBand(btReportSummary, "Summary", 320, 20, kBandFormNewPage);  // an empty page
  const struct {
    TOxvtImageFormat format;
    bool binary;
    const char* picture;
  } cases[] = {
      {ifJPG, false, "{\\pict\\jpegblip\\picscalex100\\picscaley100\\picbmp\\picbpp4\nffd8ff"},
      {ifJPG, true, "{\\pict\\jpegblip\\picscalex100\\picscaley100\\picbmp\\picbpp4\n\\bin"},
      {ifBMP, true,
       "{\\pict\\wmetafile8\\picscalex100\\picscaley100\\picbmp\\picbpp4\n010009000003"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.picture);
    rtf.SetExportImageFormat(c.format);
    rtf.GraphicDataInBinary = c.binary;
    const std::string doc = Export();
    EXPECT_NE(doc.find(c.picture), std::string::npos);
    EXPECT_NE(doc.find("\\posx900000"), std::string::npos);  // 60000 pixels in twips
    EXPECT_EQ(Count(doc, "\\par\\page}\n"), 1u);
  }
  rtf.SetExportImageFormat(ifGIF);  // not for RTF: the setting stays
  EXPECT_EQ(rtf.ExportImageFormat(), ifBMP);
  const std::string plain =
      Shell("cd '" + work.string() + "' && unrtf --text '" + (work / "report.rtf").string() + "'")
          .output;
  EXPECT_NE(plain.find("far away"), std::string::npos) << plain.substr(0, 2000);
}

// A body larger than its memory goes through the temporary file and gives the same
// document; the file is gone afterwards.
TEST_F(RtfRulesTest, ALargeBodySpillsToItsFileAndComesBackWhole) {
  AddBand(btReportTitle, "Title", 0, 300);
  for (int i = 0; i < 10; ++i)
    AddText("T" + std::to_string(i), 20 * i, "line " + std::to_string(i));
  const std::string in_memory = Export();
  EXPECT_FALSE(rtf.BodySpilled());
  rtf.BodyMemoryLimit = 64;
  const std::string spilled = Export();
  EXPECT_TRUE(rtf.BodySpilled());
  EXPECT_EQ(spilled, in_memory);

  RtfBody body(8);
  body.Append("abc");
  body.Append("defgh");
  EXPECT_FALSE(body.Spilled());
  body.Append("i");
  ASSERT_TRUE(body.Spilled());
  const std::string file = body.SpillFileName();
  EXPECT_TRUE(fs::exists(file));
  EXPECT_EQ(fs::path(file).filename().string().substr(0, 4), "OxVT");
  body.Append("a text longer than the memory");
  body.Append("!");
  std::ostringstream out;
  body.WriteTo(out);
  EXPECT_EQ(out.str(), "abcdefghia text longer than the memory!");
  EXPECT_FALSE(fs::exists(file));
}

TEST_F(RtfRulesTest, AnUnwritableTargetFailsTheExport) {
  AddBand(btReportTitle, "Title", 0, 300);
  AddText("T", 20, "text");
  ASSERT_TRUE(report.PrepareReport());
  EXPECT_THROW(report.ExportReportTo(rtf, (work / "missing" / "x.rtf").string()), IoError);
  EXPECT_THROW(report.ExportReportTo(rtf, "/dev/full"), IoError);
}

TEST(RtfExportDialogTest, OffersJpegAndBmpAndStoresTheBinarySwitch) {
  TOxvtRTFExport rtf;
  rtf.DialogPresenter = [](TOxvtExportDialog& dialog) {
    auto& d = dynamic_cast<TOxvtRTFExportDialog&>(dialog);
    EXPECT_EQ(d.Caption, "RTF Export Options");
    EXPECT_EQ(d.GraphicDataInBinaryCaption, "Graphic Data In Binary");
    EXPECT_EQ(d.ImageFormats, (std::vector<std::string>{"JPG", "BMP"}));
    d.chkGraphicDataInBinary = true;
    d.edSubject = "Q4";
    d.cbImageFormat = 1;  // BMP
    d.OkClick();
    return 1;
  };
  EXPECT_EQ(rtf.ShowModal(), 1);
  EXPECT_TRUE(rtf.GraphicDataInBinary);
  EXPECT_EQ(rtf.Subject, "Q4");
  EXPECT_EQ(rtf.ExportImageFormat(), ifBMP);
}

}  // namespace
}  // namespace zr
