// The picture exports (BMP, JPEG, GIF, EMF, WMF): one file per page named as the formats
// name them, each read back by a program people open such files with: ImageMagick for the
// raster formats, libwmf's wmf2svg for WMF and libemf2svg's emf2svg-conv for EMF.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <regex>

#include "engine/band_report_fixture.h"
#include "engine/model/picture_view.h"
#include "export_sample.h"
#include "output/image/bitmap_exports.h"
#include "output/image/graphic_export_dialog.h"
#include "output/image/metafile_exports.h"
#include "platform/errors.h"
#include "platform/graphics/picture.h"

namespace zr {
namespace {

using export_testing::ReadFile;
using export_testing::SampleExportTest;
using export_testing::Shell;
namespace fs = std::filesystem;

struct ImageFormat {
  std::string extension;
  std::function<std::unique_ptr<TOxvtGraphicExport>()> make;
};

template <typename Filter>
std::unique_ptr<TOxvtGraphicExport> make_filter() {
  auto filter = std::make_unique<Filter>();
  filter->ShowDialog = false;
  return filter;
}

const std::vector<ImageFormat>& formats() {
  static const std::vector<ImageFormat> all = {{"bmp", make_filter<TOxvtBMPExport>},
                                               {"jpg", make_filter<TOxvtJPEGExport>},
                                               {"gif", make_filter<TOxvtGIFExport>},
                                               {"emf", make_filter<TOxvtEMFExport>},
                                               {"wmf", make_filter<TOxvtWMFExport>}};
  return all;
}

bool raster(const ImageFormat& format) {
  return format.extension != "emf" && format.extension != "wmf";
}

// The texts of an SVG drawing: emf2svg-conv writes each text whole in a CDATA section,
// wmf2svg one text element per character.
std::string SvgTexts(const std::string& svg) {
  static const std::regex text(R"(<!\[CDATA\[([^\]]*)\]\]>|>([^<]*)</text>)");
  std::string texts;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text); it != std::sregex_iterator();
       ++it)
    texts += (*it)[1].matched ? (*it)[1].str() + "\n" : (*it)[2].str();
  return texts;
}

// What an independent reader makes of the file: "FORMAT WIDTHxHEIGHT" for raster files
// (ImageMagick), the texts of the drawing for metafiles.
std::string ReadBack(const ImageFormat& format, const fs::path& file) {
  if (raster(format)) {
    auto shown = Shell("identify -format '%m %wx%h' '" + file.string() + "'");
    EXPECT_EQ(shown.status, 0) << shown.output;
    return shown.output;
  }
  const fs::path svg = file.string() + ".svg";
  const std::string command =
      format.extension == "emf"
          ? "emf2svg-conv -i '" + file.string() + "' -o '" + svg.string() + "'"
          : "wmf2svg -o '" + svg.string() + "' '" + file.string() + "'";
  auto converted = Shell(command);
  EXPECT_EQ(converted.status, 0) << command << "\n" << converted.output;
  return SvgTexts(ReadFile(svg));
}

class ImageExportTest : public SampleExportTest {};

TEST_F(ImageExportTest, EveryPageBecomesAFileThatItsReaderOpens) {
  TvtReport report;
  PrepareSample(report);
  for (const ImageFormat& format : formats()) {
    SCOPED_TRACE(format.extension);
    auto filter = format.make();
    const fs::path first = work / ("sample." + format.extension);
    report.ExportReportTo(*filter, first.string());
    const fs::path second = work / ("sample0002." + format.extension);
    EXPECT_EQ(filter->FilesWritten(), (std::vector<std::string>{first.string(), second.string()}));
    const std::string page1 = ReadBack(format, first);
    const std::string page2 = ReadBack(format, second);
    if (raster(format)) {
      // A4 at the display resolution; the landscape page keeps its own size.
      const std::string kind = format.extension == "jpg"   ? "JPEG"
                               : format.extension == "gif" ? "GIF"
                                                           : "BMP3";
      EXPECT_EQ(page1, kind + " 758x1071");
      EXPECT_EQ(page2, kind + " 1071x758");
    } else {
      for (const char* text :
           {"Monthly statement (December)", "Framed and filled", "Underlined {a\\b}"})
        EXPECT_NE(page1.find(text), std::string::npos) << text << " in\n" << page1.substr(0, 4000);
      EXPECT_NE(page2.find("Second"), std::string::npos) << page2.substr(0, 4000);
      if (format.extension == "emf") {  // EMF text is UTF-16: Korean survives as text
        EXPECT_NE(page1.find("합계"), std::string::npos) << page1.substr(0, 4000);
        EXPECT_NE(page2.find("둘째"), std::string::npos);
      }
    }
  }
}

TEST_F(ImageExportTest, RasterPagesLookAsTheyAreDrawnOnScreen) {
  TvtReport report;
  PrepareSample(report);
  const fs::path prepared = work / "sample.zrw";
  report.SavePreparedReport(prepared);
  const fs::path rendered[] = {RenderPage(prepared, 1), RenderPage(prepared, 2)};
  // Peak signal to noise against zrtool's drawing: BMP is the same pixels, GIF loses only
  // what its palette cannot hold, JPEG its compression.
  const struct {
    std::string extension;
    double min_psnr;
  } cases[] = {{"bmp", 1000}, {"gif", 30}, {"jpg", 30}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.extension);
    const ImageFormat& format =
        *std::find_if(formats().begin(), formats().end(),
                      [&](const ImageFormat& f) { return f.extension == c.extension; });
    auto filter = format.make();
    report.ExportReportTo(*filter, (work / ("page." + c.extension)).string());
    for (int page = 0; page < 2; ++page) {
      auto compared = Shell("compare -metric PSNR '" + filter->FilesWritten()[page] + "' '" +
                            rendered[page].string() + "' null:");
      const double psnr = compared.output.find("inf") != std::string::npos
                              ? 1e9
                              : std::strtod(compared.output.c_str(), nullptr);
      EXPECT_GE(psnr, c.min_psnr) << "page " << page + 1 << ": " << compared.output;
    }
  }
}

class ImageEdgeTest : public ::testing_support::BandReportTest {
 protected:
  fs::path work = fs::path(::testing::TempDir()) / ("image_edges_" + std::to_string(getpid()));
  void SetUp() override {
    fs::remove_all(work);
    fs::create_directories(work);
  }
  void TearDown() override { fs::remove_all(work); }
};

// Texts far longer than their object, an object far off the page, a picture whose data
// cannot be decoded, and an empty second page: every format still writes both pages whole.
TEST_F(ImageEdgeTest, AwkwardPagesStillGiveEveryPage) {
  AddBand(btReportTitle, "Title", 0, 300);
  AddText("Long", 20, std::string(5000, 'W') + " " + std::string(3000, 'x'), 18, 10, 200);
  AddText("Away", 40, "off the page", 18, 60000, 200);
  auto picture = std::make_unique<TvtPictureView>();
  picture->Name = "Broken";
  picture->SetBounds(10, 80, 40, 40);
  picture->Picture = zr::Picture::from_bytes(GraphicKind::Bitmap, export_testing::TruncatedBmp());
  page().Add(std::move(picture));
  AddBand(btReportSummary, "Summary", 320, 20, kBandFormNewPage);  // an empty page
  ASSERT_TRUE(report.PrepareReport());
  for (const ImageFormat& format : formats()) {
    SCOPED_TRACE(format.extension);
    auto filter = format.make();
    report.ExportReportTo(*filter, (work / ("edge." + format.extension)).string());
    ASSERT_EQ(filter->FilesWritten().size(), static_cast<size_t>(report.EMFPages.Count()));
    for (const std::string& file : filter->FilesWritten()) ReadBack(format, file);
  }
}

TEST_F(ImageEdgeTest, VisibilityScalesAndUnwritableFiles) {
  AddBand(btReportTitle, "Title", 0, 300);
  AddText("Hello", 20, "Hello");
  AddBand(btReportSummary, "Summary", 320, 20, kBandFormNewPage);
  AddText("Bye", 320, "Bye");
  ASSERT_TRUE(report.PrepareReport());
  ASSERT_EQ(report.EMFPages.Count(), 2);

  // A page scrolled out of the preview is drawn all the same and stays hidden.
  TOxvtBMPExport bmp;
  bmp.ShowDialog = false;
  bmp.ScaleX = 2;  // remembered, but the pictures keep the page's size
  report.EMFPages.PageInfo(0).Visible = false;
  report.ExportReportTo(bmp, (work / "hidden.bmp").string());
  EXPECT_FALSE(report.EMFPages.PageInfo(0).Visible);
  EXPECT_EQ(bmp.ScaledWidth(), 2 * report.EMFPages.PageInfo(0).PrnInfo.page_width);
  EXPECT_EQ(Shell("identify -format '%wx%h' '" + (work / "hidden.bmp").string() + "'").output,
            "758x1071");
  auto colours = Shell("identify -format '%k' '" + (work / "hidden.bmp").string() + "'");
  EXPECT_NE(colours.output, "1") << "the hidden page was drawn blank";

  // The second page's file cannot be created: the export fails saying which file, after
  // the first page was written whole, and the page keeps its flag.
  fs::create_directories(work / "two0002.bmp");
  report.EMFPages.PageInfo(1).Visible = true;
  try {
    report.ExportReportTo(bmp, (work / "two.bmp").string());
    ADD_FAILURE() << "no error";
  } catch (const IoError& e) {
    EXPECT_NE(std::string(e.what()).find("two0002.bmp"), std::string::npos) << e.what();
  }
  EXPECT_EQ(Shell("identify -format '%m' '" + (work / "two.bmp").string() + "'").output, "BMP3");
  EXPECT_TRUE(report.EMFPages.PageInfo(1).Visible);

  // The report's own file cannot be created.
  EXPECT_THROW(report.ExportReportTo(bmp, (work / "missing" / "x.bmp").string()), IoError);
}

TEST(ImageExportDialogTest, EachFormatOffersItsOptionsAndOkStoresThem) {
  TOxvtJPEGExport jpeg;
  ASSERT_TRUE(jpeg.ShowDialog);  // the form turns it off; a filter made alone asks
  jpeg.DialogPresenter = [](TOxvtGraphicExportDialog& dialog) {
    auto& d = dynamic_cast<TOxvtJPEGExportDialog&>(dialog);
    EXPECT_EQ(d.Caption, "JPEG Export Options");
    EXPECT_EQ(d.QualityHint, "(1 = Max.Compression, 100 = Best Quality)");
    EXPECT_EQ(d.edQuality, "100");
    EXPECT_EQ(d.PixelFormats,
              (std::vector<std::string>{"Device", "1 bit", "4 bit", "8 bit", "15 bit", "16 bit",
                                        "24 bit", "32 bit", "Custom"}));
    EXPECT_EQ(d.cbPixelFormat, pf24bit);
    EXPECT_FALSE(TOxvtJPEGExportDialog::AcceptsQualityKey('x'));
    d.edQuality = "55";
    d.chkGrayScale = true;
    d.chkProgressive = false;
    d.cbPixelFormat = pf8bit;
    d.edScaleX = "2.5";
    d.edScaleY = "not a number";
    d.OkClick();
    return 1;
  };
  EXPECT_EQ(jpeg.ShowModal(), 1);
  EXPECT_EQ(jpeg.Quality, 55);
  EXPECT_TRUE(jpeg.Grayscale);
  EXPECT_FALSE(jpeg.ProgressiveEncoding);
  EXPECT_EQ(jpeg.PixelFormat, pf8bit);
  EXPECT_EQ(jpeg.ScaleX, 2.5);
  EXPECT_EQ(jpeg.ScaleY, 1.0);

  const struct {
    std::unique_ptr<TOxvtGraphicExport> filter;
    std::string caption;
    bool bitmap;
  } cases[] = {{std::make_unique<TOxvtBMPExport>(), "BMP Export Options", true},
               {std::make_unique<TOxvtGIFExport>(), "GIF Export Options", true},
               {std::make_unique<TOxvtEMFExport>(), "Metafile Export Options", false},
               {std::make_unique<TOxvtWMFExport>(), "Metafile Export Options", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    c.filter->DialogPresenter = [&](TOxvtGraphicExportDialog& dialog) {
      EXPECT_EQ(dialog.Caption, c.caption);
      EXPECT_EQ(dialog.edScaleX, "1");
      auto* bitmap = dynamic_cast<TOxvtBitmapExportDialog*>(&dialog);
      EXPECT_EQ(bitmap != nullptr, c.bitmap);
      if (bitmap) {
        bitmap->chkMonochrome = true;
        bitmap->cbPixelFormat = 42;  // not in the list: the format stays
      }
      dialog.OkClick();
      return 2;  // cancelled
    };
    EXPECT_EQ(c.filter->ShowModal(), 2);
  }
  EXPECT_TRUE(dynamic_cast<TOxvtBMPExport&>(*cases[0].filter).Monochrome);
  EXPECT_EQ(dynamic_cast<TOxvtGIFExport&>(*cases[1].filter).PixelFormat, pf24bit);
}

}  // namespace
}  // namespace zr
