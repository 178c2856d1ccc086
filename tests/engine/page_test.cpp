// Form pages: the script names, paper selection through the printer layer, the page list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/model/page.h"
#include "engine/printer/design_pixels.h"
#include "engine_fixture.h"
#include "platform/errors.h"
#include "probe_view.h"

namespace {

using namespace zr;
using testing_support::ProbeView;

class Pages : public testing_support::EngineTest {};

TEST_F(Pages, ScriptNames) {
  TvtPage page;  // virtual printer, A4 portrait: 758 x 1071 pixels, 18 offsets
  page.LeftMargin = 30;
  page.PageFooterHeight = 50;
  struct Case {
    const char* name;
    EngineMode mode;
    int32_t expected;
  };
  const Case cases[] = {
      {"Width", EngineMode::Design, 756},  // 2100 / 10 * 18 / 5
      {"HEIGHT", EngineMode::Design, 1069},
      {"LeftMargin", EngineMode::Design, 30},
      {"RightMargin", EngineMode::Design, 0},
      {"LeftMargin", EngineMode::Run, 30},
      {"RightMargin", EngineMode::Run, 18 + 722},
      {"BottomMargin", EngineMode::Run, 18 + 1035 - 50},
      {"Size", EngineMode::Design, 9},
      {"left", EngineMode::Design, 220},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    globals().mode = c.mode;
    EXPECT_EQ(page.GetProperty(c.name).to_int(), c.expected);
  }
  globals().mode = EngineMode::Design;
  EXPECT_TRUE(page.GetProperty("Nothing").is_null());

  page.SetProperty("WIDTH", Value(int32_t{100}));
  EXPECT_EQ(page.PageWidth, 278);  // 100 * 10 * 5 / 18
  page.SetProperty("StretchToPrintable", Value(true));
  EXPECT_FALSE(page.UseMargins);
  EXPECT_EQ(page.PrintableBounds(), (Rect{0, 0, 758, 1071}));

  page.PageType = 1;  // a dialog page speaks of its window
  page.SetProperty("Width", Value(int32_t{500}));
  EXPECT_EQ(page.DialogWidth, 500);
  EXPECT_EQ(page.GetProperty("WIDTH").to_int(), 500);

  page.RegisterProperties();
  EXPECT_TRUE(page.HasProperty("onbeforeprint"));
  EXPECT_FALSE(page.HasProperty("Caption"));
}

TEST_F(Pages, PaperTheRealPrinterLacksBecomesCustom) {
  PrinterCapabilities caps;
  caps.papers = {{"iso_a4_210x297mm", 2100, 2970, {42, 42, 42, 42}}};
  caps.default_paper = 0;
  caps.sources = {"tray-1", "tray-2"};
  env.printers.add_printer("Office", caps);
  globals().printer.SetPrinter();
  ASSERT_FALSE(globals().printer.is_virtual());

  TvtPage page;
  page.SetPaper(13, 1820, 2570, 1, 3);  // B5 landscape from bin 3: not offered
  EXPECT_EQ(page.PageSize, kPaperCustomSize);
  EXPECT_EQ(page.PageWidth, 1820);
  EXPECT_EQ(page.PageHeight, 2570);
  EXPECT_EQ(page.Orientation, 1);
  EXPECT_NEAR(page.PrnInfo.page_width, tenths_mm_to_pixels(1820), 1);

  globals().printer.SetPrinterIndex(globals().printer.virtual_printer_index());
  page.SetPaper(13, 1820, 2570, 1, -1);  // the virtual printer knows B5 and turns it
  EXPECT_EQ(page.PageSize, 13);
  EXPECT_EQ(page.PageWidth, 2570);
  EXPECT_EQ(page.Bin, kDefaultBin);
}

TEST_F(Pages, ListMovesNamesAndAlignsViews) {
  ProbeView::Register(globals());
  TvtPages pages;
  for (const char* name : {"A", "Page1", "C"}) pages.Add().Name = name;
  EXPECT_EQ(pages.FreePageName(), "Page2");

  pages.Move(0, 2);
  EXPECT_EQ(pages.Items(0).Name, "Page1");
  EXPECT_EQ(pages.Items(2).Name, "A");
  EXPECT_THROW(pages.Move(0, 3), ZorelError);

  auto aligned = ProbeView::Make("Aligned", 0, 0, 10, 10);
  aligned->BandAlign = baRight;
  pages.Items(1).Add(std::move(aligned));
  pages.Items(1).Add(ProbeView::Make("Free", 0, 0, 10, 10));
  pages.ApplyBandAlignments();
  EXPECT_EQ(ProbeView::log.drawn, std::vector<std::string>{"Aligned"});
}

}  // namespace
