// The HTML export: the sample's files compared with the expected ones, the pages rendered
// by headless Chromium and compared with the project's own drawing, and the naming,
// navigator and escaping rules on small reports.
#include "output/html/html_export.h"
#include "output/html/html_export_dialog.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>

#include "engine/band_report_fixture.h"
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

// A PNG as luminance, read through cairo.
struct GrayImage {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
  uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

GrayImage LoadPng(const fs::path& path) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  GrayImage image;
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(surface);
    image.width = cairo_image_surface_get_width(surface);
    image.height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x) {
        uint32_t p;
        std::memcpy(&p, data + y * stride + x * 4, 4);
        const int lum = (((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11) / 100;
        image.pixels.push_back(static_cast<uint8_t>(lum));
      }
  }
  cairo_surface_destroy(surface);
  return image;
}

// The bounds of the dark pixels of a region.
struct Ink {
  int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
};

Ink InkIn(const GrayImage& image, int x0, int y0, int x1, int y1) {
  Ink ink;
  for (int y = y0; y < std::min(y1, image.height); ++y)
    for (int x = x0; x < std::min(x1, image.width); ++x)
      if (image.at(x, y) < 128) {
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
      }
  return ink;
}

// The separate marks of dark pixels in a region (8-connected). A Hangul syllable is made of
// several marks; the box a browser shows for a glyph its fonts lack is one.
int MarkCount(const GrayImage& image, int x0, int y0, int x1, int y1) {
  const int w = x1 - x0, h = y1 - y0;
  std::vector<char> seen(static_cast<size_t>(w * h), 0);
  auto dark = [&](int x, int y) { return image.at(x0 + x, y0 + y) < 128; };
  int marks = 0;
  std::vector<std::pair<int, int>> stack;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (seen[static_cast<size_t>(y * w + x)] || !dark(x, y)) continue;
      ++marks;
      stack.push_back({x, y});
      seen[static_cast<size_t>(y * w + x)] = 1;
      while (!stack.empty()) {
        auto [cx, cy] = stack.back();
        stack.pop_back();
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = cx + dx, ny = cy + dy;
            if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
            if (seen[static_cast<size_t>(ny * w + nx)] || !dark(nx, ny)) continue;
            seen[static_cast<size_t>(ny * w + nx)] = 1;
            stack.push_back({nx, ny});
          }
      }
    }
  return marks;
}

class HtmlExportTest : public SampleExportTest {
 protected:
  TvtReport report;
  TOxvtHTMLExport html;
  void SetUp() override {
    SampleExportTest::SetUp();
    html.ShowDialog = false;
  }
};

TEST_F(HtmlExportTest, SampleFilesMatchTheExpectedOnes) {
  PrepareSample(report);
  html.Creator = "nabo";
  html.Author = "Zorel tests";
  html.SetExportImageFormat(ifGIF);  // written as JPEG all the same
  html.ImageDir = "img\\sub";
  report.ExportReportTo(html, (work / "sample.htm").string());
  EXPECT_EQ(html.HtmlFiles(), (std::vector<std::string>{(work / "sample.htm").string(),
                                                        (work / "sample0002.htm").string()}));
  ASSERT_EQ(html.PictureFiles(),
            std::vector<std::string>{(work / "img/sub/sample_I0001.jpg").string()});
  EXPECT_EQ(Shell("identify -format '%m %wx%h' '" + html.PictureFiles()[0] + "'").output,
            "JPEG 49x33");
  for (const char* name : {"sample.htm", "sample0002.htm"}) {
    const fs::path expected = export_testing::kExportSample / "html" / name;
    if (UpdatingGolden()) {
      fs::create_directories(expected.parent_path());
      fs::copy_file(work / name, expected, fs::copy_options::overwrite_existing);
      continue;
    }
    EXPECT_EQ(ReadFile(work / name), ReadFile(expected)) << name;
  }
}

// Chromium shows each page as the project draws it: every text where it belongs (within a
// few pixels) and the Korean texts as glyphs, not as the empty boxes of a missing font.
TEST_F(HtmlExportTest, ChromiumRendersThePagesAsTheyAreDrawn) {
  PrepareSample(report);
  const fs::path prepared = work / "sample.zrw";
  report.SavePreparedReport(prepared);
  report.ExportReportTo(html, (work / "sample.htm").string());
  const struct {
    int page;
    const char* text;
    int x0, y0, x1, y1;  // a region holding only that text
    bool korean;
  } cases[] = {
      {1, "Monthly statement (December)", 40, 44, 440, 70, false},
      {1, "합계 금액: 1,234,500원", 40, 80, 340, 98, true},
      {1, "Framed and filled / 두 번째 줄", 44, 113, 236, 147, true},
      {1, "Underlined {a\\b}", 262, 112, 458, 128, false},
      {2, "Second page 둘째 쪽", 40, 44, 440, 62, true},
  };
  GrayImage shots[2], drawn[2];
  for (int page = 1; page <= 2; ++page) {
    const fs::path shot = work / ("shot" + std::to_string(page) + ".png");
    const std::string file = html.HtmlFiles()[static_cast<size_t>(page - 1)];
    const std::string size = page == 1 ? "758,1071" : "1071,758";
    // Its own home and profile: the test must not depend on, or leave, a user's.
    auto run = Shell(
        "HOME='" + work.string() + "' chromium --headless --no-sandbox --disable-gpu " +
        "--hide-scrollbars --user-data-dir='" + (work / "profile").string() +
        "' --window-size=" + size + " --screenshot='" + shot.string() + "' 'file://" + file + "'");
    ASSERT_TRUE(fs::exists(shot)) << run.output;
    shots[page - 1] = LoadPng(shot);
    drawn[page - 1] = LoadPng(RenderPage(prepared, page));
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const Ink want = InkIn(drawn[c.page - 1], c.x0, c.y0, c.x1, c.y1);
    const Ink got = InkIn(shots[c.page - 1], c.x0, c.y0, c.x1, c.y1);
    ASSERT_GE(got.right, 0) << "no text in Chromium's page";
    EXPECT_NEAR(got.left, want.left, 3);
    EXPECT_NEAR(got.top, want.top, 3);
    EXPECT_NEAR(got.bottom, want.bottom, 3);
    EXPECT_NEAR(got.right, want.right, (want.right - want.left) / 20 + 3);
    if (c.korean) {
      const int want_marks = MarkCount(drawn[c.page - 1], c.x0, c.y0, c.x1, c.y1);
      const int got_marks = MarkCount(shots[c.page - 1], c.x0, c.y0, c.x1, c.y1);
      EXPECT_NEAR(got_marks, want_marks, want_marks / 5 + 1);
    }
  }
}

// Reports built in code: `pages` form pages, each a title band with one text.
class HtmlRulesTest : public ::testing_support::BandReportTest {
 protected:
  fs::path work = fs::path(::testing::TempDir()) / ("html_rules_" + std::to_string(getpid()));
  TOxvtHTMLExport html;
  void SetUp() override {
    fs::remove_all(work);
    fs::create_directories(work);
    html.ShowDialog = false;
  }
  void TearDown() override { fs::remove_all(work); }

  void Pages(int pages, const std::string& text = "page text") {
    for (int i = 0; i < pages; ++i) {
      if (i > 0) report.Pages.Add();
      AddBand(btReportTitle, "Title" + std::to_string(i), 0, 300, 0, {}, i);
      AddText("Text" + std::to_string(i), 20, text, 18, 10, 200, i);
    }
    ASSERT_TRUE(report.PrepareReport());
    ASSERT_EQ(report.EMFPages.Count(), pages);
  }
  std::string Export(const std::string& name = "report.htm") {
    report.ExportReportTo(html, (work / name).string());
    return ReadFile(work / name);
  }
};

TEST_F(HtmlRulesTest, OnePageHasNoNavigator) {
  Pages(1);
  const std::string page = Export();
  for (const char* absent : {"<STYLE>", "<SCRIPT", "OxNavigator", "onLoad"})
    EXPECT_EQ(page.find(absent), std::string::npos) << absent;
  EXPECT_EQ(html.HtmlFiles(), std::vector<std::string>{(work / "report.htm").string()});
}

TEST_F(HtmlRulesTest, PageFilesLinkToEachOther) {
  Pages(3);
  html.LinkTextFirst = "|<";
  html.LinkTextPrev = "<";
  html.LinkTextNext = ">";
  html.LinkTextLast = ">|";
  Export();
  ASSERT_EQ(html.HtmlFiles(), (std::vector<std::string>{(work / "report.htm").string(),
                                                        (work / "report0002.htm").string(),
                                                        (work / "report0003.htm").string()}));
  const std::string first = ReadFile(work / "report.htm");
  const std::string last = ReadFile(work / "report0003.htm");
  // Link texts go out as they are: they may be markup or symbol-font characters.
  EXPECT_NE(first.find("<A TITLE=\"First\">|<</A>&nbsp;<A TITLE=\"Previous\"><</A>&nbsp;"
                       "<A HREF=\"report0002.htm\" TITLE=\"Next\">></A>&nbsp;"
                       "<A HREF=\"report0003.htm\" TITLE=\"Last\">>|</A>"),
            std::string::npos)
      << first;
  EXPECT_NE(last.find("<A HREF=\"report.htm\" TITLE=\"First\">|<</A>&nbsp;"
                      "<A HREF=\"report0002.htm\" TITLE=\"Previous\"><</A>&nbsp;"
                      "<A TITLE=\"Next\">></A>&nbsp;<A TITLE=\"Last\">>|</A>"),
            std::string::npos)
      << last;
  EXPECT_NE(first.find("onLoad=\"initNavigator()\""), std::string::npos);
  // Fixed to the page: the links sit at the page's lower right corner, without a script.
  html.NavigatorType = ntFixedToPage;
  Export();
  EXPECT_EQ(ReadFile(work / "report0002.htm").find("<SCRIPT"), std::string::npos);
}

TEST_F(HtmlRulesTest, OneFileStacksThePages) {
  Pages(2);
  html.SeparateFilePerPage = false;
  const std::string file = Export();
  EXPECT_EQ(html.HtmlFiles(), std::vector<std::string>{(work / "report.htm").string()});
  EXPECT_FALSE(fs::exists(work / "report0002.htm"));
  const int page_height = static_cast<int>(report.EMFPages.PageInfo(0).PrnInfo.page_height);
  // The second page's text lies one page height and two pixels below the first page's.
  const size_t text = file.find("position: absolute; top: ", file.find("<BODY"));
  const int first_top = std::stoi(file.substr(text + 25));
  const std::string shifted = "top: " + std::to_string(first_top + page_height + 2) + "px; left";
  EXPECT_NE(file.find(shifted), std::string::npos) << shifted << "\n" << file;
  EXPECT_NE(file.find("<HR SIZE= 2 WIDTH= "), std::string::npos);
  size_t headers = 0, ends = 0;
  for (size_t at = 0; (at = file.find("<HEAD>", at)) != std::string::npos; ++at) ++headers;
  for (size_t at = 0; (at = file.find("</HTML>", at)) != std::string::npos; ++at) ++ends;
  EXPECT_EQ(headers, 1u);
  EXPECT_EQ(ends, 1u);
}

TEST_F(HtmlRulesTest, TextsAreEscapedUnlessMarkedAsMarkup) {
  const struct {
    std::string text;
    std::string written;
  } cases[] = {
      {"a b", ">a&nbsp;b</DIV>"},
      {"x<y & \"z\"", ">x&lt;y&nbsp;&amp;&nbsp;&quot;z&quot;</DIV>"},
      {"\x01\x01\x01<b>bold</b>", "><b>bold</b></DIV>"},
  };
  Pages(1, cases[0].text);
  EXPECT_NE(Export().find(cases[0].written), std::string::npos);
  for (const auto& c : cases) EXPECT_EQ(">" + HtmlText(c.text) + "</DIV>", c.written) << c.text;
}

// A picture that cannot be decoded, an object far off the page and a long text still give
// a complete page; files that cannot be made fail the export and say which.
TEST_F(HtmlRulesTest, AwkwardObjectsAndUnwritableFiles) {
  AddBand(btReportTitle, "Title", 0, 300);
  AddText("Long", 20, std::string(20000, 'W'), 18, 10, 200);
  AddText("Away", 40, "far away", 18, 60000, 200);
  auto picture = std::make_unique<TvtPictureView>();
  picture->Name = "Broken";
  picture->SetBounds(10, 80, 40, 40);
  picture->Picture = zr::Picture::from_bytes(GraphicKind::Bitmap, export_testing::TruncatedBmp());
  page().Add(std::move(picture));
  AddBand(btReportSummary, "Summary", 320, 20, kBandFormNewPage);  // an empty page
  ASSERT_TRUE(report.PrepareReport());
  ASSERT_EQ(report.EMFPages.Count(), 2);
  const std::string first = Export();
  EXPECT_NE(first.find("left: 60002px"), std::string::npos);
  EXPECT_NE(first.find("<IMG SRC=\"report_I0001.jpg\""), std::string::npos);
  EXPECT_NE(first.find("</HTML>"), std::string::npos);
  EXPECT_NE(ReadFile(work / "report0002.htm").find("</BODY>\n</HTML>\n"), std::string::npos);

  fs::remove(work / "report0002.htm");
  fs::create_directories(work / "report0002.htm");
  EXPECT_THROW(Export(), IoError);
  fs::remove_all(work / "report0002.htm");

  export_testing::write_file(work / "plain", "x");
  html.ImageDir = "plain/pictures";
  EXPECT_THROW(Export(), IoError);

  html.ImageDir.clear();
  html.UseTextLinks = false;
  html.LinkImgSRCFirst = (work / "missing.gif").string();
  EXPECT_THROW(Export(), ZorelError);
}

TEST(HtmlExportDialogTest, NavigatorControlsFollowTheirSwitchesAndOkStoresEverything) {
  TOxvtHTMLExport html;
  html.ImageDir = "pictures";
  html.DialogPresenter = [](TOxvtExportDialog& dialog) {
    auto& d = dynamic_cast<TOxvtHTMLExportDialog&>(dialog);
    EXPECT_EQ(d.Caption, "HTML Export Options");
    EXPECT_EQ(d.NavigatorTypes, (std::vector<std::string>{"Fixed To Page", "Fixed To Screen"}));
    EXPECT_EQ(d.LinkCaptions, (std::vector<std::string>{"First", "Previous", "Next", "Last"}));
    EXPECT_EQ(d.edImageDirectory, "pictures");
    EXPECT_EQ(d.cbImageFormat, ifJPG);
    EXPECT_TRUE(d.NavigatorGroupEnabled());
    d.chkShowNavigator = false;
    EXPECT_TRUE(d.ShowNavigatorEnabled());
    EXPECT_FALSE(d.NavigatorGroupEnabled());
    d.chkSepFilePerPage = false;
    EXPECT_FALSE(d.ShowNavigatorEnabled());
    d.rbtnUseTextLinks = false;
    EXPECT_FALSE(d.TextLinksPageShown());
    d.edLinkPictures[3] = "last.gif";
    d.edLinkTexts[0] = "<<";
    d.cbNavigatorType = ntFixedToPage;
    d.shpHoverBackColor = 0x00FF00;
    d.edImageDirectory = "img";
    d.edTitle = "Sales";
    d.cbImageFormat = ifBMP;
    d.OkClick();
    return 1;
  };
  EXPECT_EQ(html.ShowModal(), 1);
  EXPECT_FALSE(html.SeparateFilePerPage);
  EXPECT_FALSE(html.ShowNavigator);
  EXPECT_FALSE(html.UseTextLinks);
  EXPECT_EQ(html.LinkImgSRCLast, "last.gif");
  EXPECT_EQ(html.LinkTextFirst, "<<");
  EXPECT_EQ(html.NavigatorType, ntFixedToPage);
  EXPECT_EQ(html.LinkHoverBackColor, 0x00FF00);
  EXPECT_EQ(html.ImageDir, "img");
  EXPECT_EQ(html.Title, "Sales");
  EXPECT_EQ(html.ExportImageFormat(), ifBMP);
}

}  // namespace
}  // namespace zr
