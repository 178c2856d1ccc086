// Forms holding chart views load through the control, and the link handlers of the shown
// report follow LinkUrl and DrillFile.
#include <gtest/gtest.h>

#include "engine/model/band_view.h"
#include "engine/model/memo_view.h"
#include "engine/model/picture_view.h"
#include "pipeline_fixture.h"
#include "platform/byte_stream.h"
#include "viewer/chart_object.h"
#include "viewer/link_handlers.h"
#include "viewer_test_support.h"

namespace zr {
namespace {

namespace fs = std::filesystem;

using testing_support::PipelineTest;

// A one-page form with a memo "Hello", a chart view and an empty picture view "Logo", as a
// form file.
std::string chart_form() {
  TvtReport form("Form");
  TvtPage& page = form.Pages.Add();
  auto memo = std::make_unique<TvtMemoView>();
  memo->Name = "Hello";
  memo->SetBounds(40, 40, 200, 18);
  memo->Memo = {"Hello"};
  page.Add(std::move(memo));
  auto chart = std::make_unique<TvtChartView>();
  chart->Name = "Chart1";
  chart->SetBounds(40, 80, 300, 200);
  page.Add(std::move(chart));
  auto logo = std::make_unique<TvtPictureView>();
  logo->Name = "Logo";
  logo->SetBounds(400, 40, 40, 40);
  page.Add(std::move(logo));
  ByteWriter out;
  form.SaveToStream(out);
  return out.take();
}

TEST_F(PipelineTest, AFormWithAChartViewLoadsAndPrepares) {
  server.add("/r/chart.zrf", chart_form());
  viewer().ReportFile = server.url("/r/chart.zrf");
  viewer().PreviewReport();
  EXPECT_EQ(viewer().Log, "");
  EXPECT_TRUE(Messages().empty()) << Messages().front();
  ASSERT_NE(report().FindObject("Chart1"), nullptr);
  EXPECT_EQ(report().FindObject("Chart1")->ClassName(), "TvtChartView");
  ASSERT_GE(PageTexts().size(), 1u);
  EXPECT_EQ(PageTexts().front(), "Hello");
  EXPECT_EQ(runner().chart().host_panel(), "");  // detached at the end of the run
}

// A 1 x 1 pixel 24-bit BMP file.
std::string one_pixel_bmp() {
  std::string bmp = std::string("BM") + std::string("\x3A\0\0\0\0\0\0\0\x36\0\0\0", 12);
  bmp += std::string("\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0", 16);
  bmp += std::string(24, '\0');
  bmp += std::string("\xFF\0\0\0", 4);
  return bmp;
}

TEST_F(PipelineTest, ImageFileLoadsPictureViewsFromExistingFiles) {
  server.add("/r/chart.zrf", chart_form());
  fs::create_directories(work_root);
  const fs::path logo = work_root / "logo.bmp";
  testing_support::write_bytes(logo, one_pixel_bmp());
  const struct {
    std::string image_file;
    bool loaded;
  } cases[] = {
      {"logo=" + logo.string(), true},  // view names ignore case
      {"Logo=" + (work_root / "missing.bmp").string(), false},
      {"Other=" + logo.string(), false},
  };
  for (const auto& c : cases) {
    viewer().ReportFile = server.url("/r/chart.zrf");
    viewer().ImageFile = c.image_file;
    viewer().PreviewReport();
    EXPECT_EQ(viewer().Log, "");
    EXPECT_EQ(viewer().ImageFile, "");
    auto* view = dynamic_cast<TvtPictureView*>(report().FindObject("Logo"));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(!view->Picture.empty(), c.loaded) << c.image_file;
  }
}

TEST(LinkAddressTest, RelativeAddressesFollowTheSiteRoot) {
  const struct {
    std::string text, address;
  } cases[] = {
      {"sub/report2.zrf", "http://host/sub/report2.zrf"},
      {"https://other/x.zrf", "https://other/x.zrf"},
      {"file://x", "file://x"},
      {" a", "http://host/ a"},  // untrimmed
  };
  for (const auto& c : cases)
    EXPECT_EQ(resolve_link_address("http://host/", c.text), c.address) << c.text;
}

TEST_F(PipelineTest, ClicksOpenLinksOrDrillDown) {
  auto page = std::make_shared<testing::PageWindow>(server.url("/app/page.html"));
  viewer().Set_Window(page);
  ASSERT_EQ(viewer().SiteRoot, server.url("/"));

  TvtMemoView link;
  link.LinkUrl = "detail.html";
  viewer().LinkNewWindow = 0;
  ObjectClick(viewer(), link);
  viewer().LinkNewWindow = 1;
  ObjectClick(viewer(), link);
  EXPECT_EQ(page->opened, std::vector<std::string>{server.url("/detail.html")});
  EXPECT_EQ(page->navigated, std::vector<std::string>{server.url("/detail.html")});

  TvtBandView band;
  band.LinkUrl = "x";
  band.DrillFile = "y";
  ObjectClick(viewer(), band);  // bands are never links
  TvtMemoView blank;
  blank.DrillFile = "  ";
  ObjectClick(viewer(), blank);
  EXPECT_EQ(page->opened.size() + page->navigated.size(), 2u);

  int cursor = 0;
  MouseOverObject(&link, cursor);
  EXPECT_EQ(cursor, 0);  // a plain link keeps the normal cursor
  MouseOverObject(&band, cursor);
  EXPECT_EQ(cursor, 0);

  TvtMemoView drill;
  drill.DrillFile = "r/orders.zrf";
  drill.DrillData = "r/orders_page.html";
  drill.LinkUrl = "ignored.html";
  MouseOverObject(&drill, cursor);
  EXPECT_EQ(cursor, crHandPoint);
  ObjectClick(viewer(), drill);
  EXPECT_EQ(viewer().ReportFile, server.url("/r/orders.zrf"));
  EXPECT_EQ(viewer().dataFile, server.url("/r/orders_page.html"));
  EXPECT_EQ(PageTexts(), testing_support::orders_texts("0"));
  EXPECT_EQ(page->opened.size() + page->navigated.size(), 2u);
}

}  // namespace
}  // namespace zr
