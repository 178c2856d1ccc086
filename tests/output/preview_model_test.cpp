// The preview model: layout of the pages per zoom and box, scroll ranges, the key table, the
// wheel, the mouse (hit tests, dragging, double click), attaching and the open/save commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/model/view.h"
#include "output/text/text_export.h"
#include "platform/errors.h"
#include "preview_fixture.h"

namespace {

using namespace zr;
using testing_support::MemoSpec;
using testing_support::PreviewTest;

using PreviewModel = PreviewTest;

constexpr int kHandCursor = -21;

struct LayoutCase {
  const char* what;
  int pages, page_width, page_height;
  int box_width, box_height;
  int zoom_tag;
  std::vector<Rect> rects;
  int h_max, v_max;
  std::string zoom_label;
};

TEST_F(PreviewModel, LayoutPerZoomAndBox) {
  const LayoutCase cases[] = {
      {"100%: one page per row, centred",
       3,
       500,
       700,
       629,
       463,
       100,
       {{64, 10, 564, 710}, {64, 720, 564, 1420}, {64, 1430, 564, 2130}},
       0,
       1677,
       "100%"},
      {"100% in a wide box: two per row from x 10",
       3,
       500,
       700,
       1200,
       800,
       100,
       {{10, 10, 510, 710}, {520, 10, 1020, 710}, {10, 720, 510, 1420}},
       0,
       630,
       "100%"},
      {"200%: wider than the box, not centred",
       1,
       500,
       700,
       629,
       463,
       200,
       {{10, 10, 1010, 1410}},
       391,
       957,
       "200%"},
      {"whole page: one per row, the page as high as the box",
       3,
       500,
       700,
       629,
       463,
       kZoomWholePage,
       {{156, 10, 472, 453}, {156, 463, 472, 906}, {156, 916, 472, 1359}},
       0,
       906,
       "63%"},
      {"whole page of one page: no vertical range",
       1,
       500,
       700,
       629,
       463,
       kZoomWholePage,
       {{156, 10, 472, 453}},
       0,
       0,
       "63%"},
      {"page width",
       3,
       500,
       700,
       629,
       463,
       kZoomPageWidth,
       {{10, 10, 619, 863}, {10, 873, 619, 1726}, {10, 1736, 619, 2589}},
       0,
       2136,
       "122%"},
      {"two pages, odd count: the last row has one page at x 10",
       3,
       500,
       700,
       629,
       463,
       kZoomTwoPages,
       {{10, 10, 310, 429}, {320, 10, 620, 429}, {10, 439, 310, 858}},
       0,
       405,
       "60%"},
      {"content exactly as high as the box still gets a range of 10",
       1,
       500,
       433,
       629,
       443,
       100,
       {{64, 10, 564, 443}},
       0,
       10,
       "100%"},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.what);
    report.EMFPages.Clear();
    model.Clear();
    add_pages(c.pages, c.page_width, c.page_height);
    show(c.box_width, c.box_height, c.zoom_tag);
    ASSERT_EQ(model.PageCount(), c.pages);
    for (int i = 0; i < c.pages; ++i)
      EXPECT_EQ(model.EMFPages()->PageInfo(i).PreviewRect, c.rects[static_cast<size_t>(i)])
          << "page " << i + 1;
    EXPECT_EQ(model.HScroll.Max, c.h_max);
    EXPECT_EQ(model.VScroll.Max, c.v_max);
    EXPECT_EQ(model.HScroll.Enabled(), c.h_max > 0);
    EXPECT_EQ(model.VScroll.Enabled(), c.v_max > 0);
    EXPECT_EQ(model.ZoomLabel, c.zoom_label);
    EXPECT_EQ(model.CheckedZoomTag, c.zoom_tag);
    EXPECT_EQ(model.PageLabel, "Page 1/" + std::to_string(c.pages));
    EXPECT_TRUE(model.LayoutReady);
    model.ReleasePages();
  }
}

TEST_F(PreviewModel, ZoomChoiceOutlivesThePreview) {
  add_pages(2, 758, 1071);
  show(629, 463, 50);
  EXPECT_EQ(zoom.LastScale, 0.5);
  EXPECT_EQ(zoom.LastZoomMode, kZoomPercent);
  model.ReleasePages();

  TvtPreviewModel next(zoom);
  next.SetBoxSize(629, 463);
  next.ShowReport(report);
  EXPECT_EQ(next.Scale, 0.5);
  EXPECT_EQ(next.ZoomLabel, "50%");
  EXPECT_EQ(next.CheckedZoomTag, 50);
  next.PageWidth();
  EXPECT_EQ(zoom.LastZoomMode, kZoomPageWidth);
  next.SetZoom(75);
  EXPECT_EQ(next.ZoomLabel, "75%");
  EXPECT_EQ(zoom.LastScale, 0.75);
}

// A4 pages at 100 % in the window's own box: one page per row at x 10, tops 10, 1091, ...
class PreviewKeys : public PreviewTest {
 protected:
  void SetUp() override {
    PreviewTest::SetUp();
    add_pages(5, 758, 1071);
    show(629, 463, 100);
    model.OnPageChanged = [this](int page) { changed.push_back(page); };
  }
  std::vector<int> changed;
};

TEST_F(PreviewKeys, RangesOfTheFivePageReport) {
  EXPECT_EQ(model.HScroll.Max, 149);
  EXPECT_EQ(model.VScroll.Max, 4952);
  EXPECT_EQ(model.EMFPages()->PageInfo(4).PreviewRect, (Rect{10, 4334, 768, 5405}));
}

struct KeyCase {
  const char* what;
  PreviewKey key;
  bool ctrl;
  char character;
  bool handled;
  PreviewAction action;
  int v, h, page;  // after, starting from v 500, h 50 on page 1
};

TEST_F(PreviewKeys, EveryRowOfTheKeyTable) {
  const KeyCase cases[] = {
      {"Up", PreviewKey::Up, false, 0, true, PreviewAction::None, 490, 50, 1},
      {"Ctrl+Up", PreviewKey::Up, true, 0, true, PreviewAction::None, 490, 50, 1},
      {"Down", PreviewKey::Down, false, 0, true, PreviewAction::None, 510, 50, 1},
      {"Ctrl+Down", PreviewKey::Down, true, 0, true, PreviewAction::None, 510, 50, 1},
      {"Left", PreviewKey::Left, false, 0, true, PreviewAction::None, 500, 40, 1},
      {"Ctrl+Left", PreviewKey::Left, true, 0, true, PreviewAction::None, 500, 40, 1},
      {"Right", PreviewKey::Right, false, 0, true, PreviewAction::None, 500, 60, 1},
      {"Ctrl+Right", PreviewKey::Right, true, 0, true, PreviewAction::None, 500, 60, 1},
      {"Page Up", PreviewKey::PageUp, false, 0, true, PreviewAction::None, 300, 50, 1},
      {"Page Down", PreviewKey::PageDown, false, 0, true, PreviewAction::None, 700, 50, 1},
      {"Ctrl+Page Down: next page", PreviewKey::PageDown, true, 0, true, PreviewAction::None, 1081,
       50, 2},
      {"Ctrl+Page Up on page 1 stays and goes to its top", PreviewKey::PageUp, true, 0, true,
       PreviewAction::None, 0, 50, 1},
      {"Home", PreviewKey::Home, false, 0, false, PreviewAction::None, 500, 50, 1},
      {"Ctrl+Home", PreviewKey::Home, true, 0, true, PreviewAction::None, 0, 50, 1},
      {"End", PreviewKey::End, false, 0, false, PreviewAction::None, 500, 50, 1},
      {"Ctrl+End: last page", PreviewKey::End, true, 0, true, PreviewAction::None, 4324, 50, 5},
      {"Space", PreviewKey::Space, false, 0, true, PreviewAction::ZoomMenu, 500, 50, 1},
      {"Ctrl+Space", PreviewKey::Space, true, 0, true, PreviewAction::ZoomMenu, 500, 50, 1},
      {"Esc", PreviewKey::Escape, false, 0, true, PreviewAction::Close, 500, 50, 1},
      {"Ctrl+Esc", PreviewKey::Escape, true, 0, true, PreviewAction::Close, 500, 50, 1},
      {"F3 without a search", PreviewKey::F3, false, 0, true, PreviewAction::None, 500, 50, 1},
      {"Ctrl+F3 swallowed", PreviewKey::F3, true, 0, true, PreviewAction::None, 500, 50, 1},
      {"O", PreviewKey::Char, false, 'O', false, PreviewAction::None, 500, 50, 1},
      {"Ctrl+O", PreviewKey::Char, true, 'O', true, PreviewAction::Open, 500, 50, 1},
      {"S", PreviewKey::Char, false, 'S', false, PreviewAction::None, 500, 50, 1},
      {"Ctrl+S", PreviewKey::Char, true, 'S', true, PreviewAction::Save, 500, 50, 1},
      {"P", PreviewKey::Char, false, 'P', false, PreviewAction::None, 500, 50, 1},
      {"Ctrl+P with a printer", PreviewKey::Char, true, 'P', true, PreviewAction::Print, 500, 50,
       1},
      {"F", PreviewKey::Char, false, 'F', false, PreviewAction::None, 500, 50, 1},
      {"Ctrl+F", PreviewKey::Char, true, 'F', true, PreviewAction::FindDialog, 500, 50, 1},
      {"X", PreviewKey::Char, false, 'X', false, PreviewAction::None, 500, 50, 1},
      {"Ctrl+X swallowed", PreviewKey::Char, true, 'X', true, PreviewAction::None, 500, 50, 1},
  };
  model.PrintEnabled = true;
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.what);
    model.CurPage = 1;
    model.SetVerticalPosition(500);
    model.SetHorizontalPosition(50);
    model.CurPage = 1;
    model.ShowPageNum();
    const PreviewKeyResult result = model.KeyDown(c.key, c.ctrl, c.character);
    EXPECT_EQ(result.handled, c.handled);
    EXPECT_EQ(result.action, c.action);
    EXPECT_EQ(model.VScroll.Position, c.v);
    EXPECT_EQ(model.ScrollOffsetY, -c.v);
    EXPECT_EQ(model.HScroll.Position, c.h);
    EXPECT_EQ(model.ScrollOffsetX, -c.h);
    EXPECT_EQ(model.CurPage, c.page);
    EXPECT_EQ(model.PageLabel, "Page " + std::to_string(c.page) + "/5");
  }
}

TEST_F(PreviewKeys, KeysAtTheEdgesAndWithoutPages) {
  model.PrintEnabled = false;
  EXPECT_EQ(model.KeyDown(PreviewKey::Char, true, 'P').action, PreviewAction::None);
  EXPECT_TRUE(model.KeyDown(PreviewKey::Char, true, 'P').handled);

  // Ctrl+End on the last page, and paging past the ends.
  model.KeyDown(PreviewKey::End, true);
  model.KeyDown(PreviewKey::End, true);
  EXPECT_EQ(model.CurPage, 5);
  model.KeyDown(PreviewKey::PageDown, true);
  EXPECT_EQ(model.CurPage, 5);
  model.KeyDown(PreviewKey::PageDown, false);
  EXPECT_EQ(model.VScroll.Position, 4524);
  model.KeyDown(PreviewKey::PageDown, false);
  EXPECT_EQ(model.VScroll.Position, 4724);
  model.KeyDown(PreviewKey::PageDown, false);
  EXPECT_EQ(model.VScroll.Position, 4924);
  model.KeyDown(PreviewKey::PageDown, false);
  EXPECT_EQ(model.VScroll.Position, 4952);  // the bar's maximum
  model.KeyDown(PreviewKey::Home, true);
  EXPECT_EQ(model.VScroll.Position, 0);
  EXPECT_EQ(model.CurPage, 1);
  model.KeyDown(PreviewKey::Up, false);
  EXPECT_EQ(model.VScroll.Position, 0);

  model.Clear();
  EXPECT_FALSE(model.KeyDown(PreviewKey::Down, false).handled);
  EXPECT_FALSE(model.KeyDown(PreviewKey::Char, true, 'F').handled);
  EXPECT_EQ(model.PageLabel, "");
}

TEST_F(PreviewKeys, ScrollingMakesThePageAtTheTopCurrent) {
  // The line 11 pixels below the top falls into page 5 (top 4334).
  model.SetVerticalPosition(4330);
  EXPECT_EQ(model.CurPage, 5);
  EXPECT_EQ(model.PageLabel, "Page 5/5");
  ASSERT_FALSE(changed.empty());
  EXPECT_EQ(changed.back(), 5);
  // In the gap between pages 2 and 3 the current page stays.
  model.SetVerticalPosition(2152);
  EXPECT_EQ(model.CurPage, 5);
  model.SetVerticalPosition(2000);
  EXPECT_EQ(model.CurPage, 2);
}

TEST_F(PreviewKeys, CtrlEndKeepsTheLastPageWhereTheBarStopsShort) {
  // At 25 % three pages share a row: page 5 lies in the second row, top 288.
  model.ZoomMenuClick(25);
  EXPECT_EQ(model.EMFPages()->PageInfo(4).PreviewRect, (Rect{210, 288, 400, 556}));
  EXPECT_EQ(model.VScroll.Max, 103);
  model.KeyDown(PreviewKey::End, true);
  EXPECT_EQ(model.VScroll.Position, 103);
  EXPECT_EQ(model.CurPage, 5);
  EXPECT_EQ(model.PageLabel, "Page 5/5");
}

TEST_F(PreviewKeys, WheelSteps) {
  struct Case {
    int step, notches, from, to;
  };
  const Case cases[] = {
      {1, 1, 0, 10}, {1, -1, 0, 0}, {3, 1, 100, 130}, {3, -2, 100, 40}, {3, 1, 4950, 4952}};
  for (const Case& c : cases) {
    model.WheelStep = c.step;
    model.SetVerticalPosition(c.from);
    model.MouseWheel(c.notches);
    EXPECT_EQ(model.VScroll.Position, c.to) << c.step << " " << c.notches << " from " << c.from;
  }
}

class PreviewMouse : public PreviewTest {
 protected:
  void SetUp() override {
    PreviewTest::SetUp();
    add_page(758, 1071,
             {{"under", 100, 100, 200, 50, "Under"}, {"over", 150, 120, 200, 50, "Over"}});
    add_page(758, 1071, {{"second", 100, 100, 200, 50, "Second"}});
    show(629, 463, 100);
  }
  void handle_clicks() {
    report.OnObjectClick = [this](TvtView& view) { clicked.push_back(view.Name); };
  }
  void handle_hover() {
    report.OnMouseOverObject = [this](TvtView& view, int& cursor) {
      hovered.push_back(view.Name);
      if (view.Name == "Over") cursor = kHandCursor;
    };
  }
  std::vector<std::string> clicked, hovered;
};

TEST_F(PreviewMouse, ClickReportsTheTopmostObject) {
  handle_clicks();
  struct Case {
    const char* what;
    int zoom;
    Point box;
    int scroll;
    std::vector<std::string> clicked;
    int page_under_mouse;
    bool dragging;
  };
  const Case cases[] = {
      {"overlap: the object drawn last", 100, {170, 140}, 0, {"Over"}, 1, false},
      {"only the lower object", 100, {115, 115}, 0, {"Under"}, 1, false},
      {"on the page, no object: drag", 100, {400, 400}, 0, {}, 1, true},
      {"between pages: drag", 100, {100, 85}, 1000, {}, 0, true},
      {"second page", 100, {115, 115}, 1081, {"Second"}, 2, false},
      {"200%: page pixels are halved", 200, {10 + 320, 10 + 260}, 0, {"Over"}, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    clicked.clear();
    model.ZoomMenuClick(c.zoom);
    model.SetVerticalPosition(c.scroll);
    model.MouseUp();
    const bool handled = model.MouseDown(c.box);
    EXPECT_EQ(handled, !c.clicked.empty());
    EXPECT_EQ(clicked, c.clicked);
    EXPECT_EQ(model.PageUnderMouse, c.page_under_mouse);
    EXPECT_EQ(model.Dragging(), c.dragging);
  }
}

TEST_F(PreviewMouse, WithoutAClickHandlerAClickDrags) {
  EXPECT_FALSE(model.MouseDown({170, 140}));
  EXPECT_TRUE(model.Dragging());
  // The page follows the hand.
  model.MouseMove({150, 110});
  EXPECT_EQ(model.HScroll.Position, 20);
  EXPECT_EQ(model.VScroll.Position, 30);
  model.MouseUp();
  model.MouseMove({100, 100});
  EXPECT_EQ(model.VScroll.Position, 30);
}

TEST_F(PreviewMouse, HoverAsksTheHandlerAndNeverClicks) {
  handle_clicks();
  EXPECT_EQ(model.MouseMove({170, 140}), 0) << "no hover handler: the default cursor";
  handle_hover();
  EXPECT_EQ(model.MouseMove({170, 140}), kHandCursor);
  EXPECT_EQ(model.MouseMove({115, 115}), 0);
  EXPECT_EQ(model.MouseMove({400, 400}), 0);
  EXPECT_EQ(hovered, (std::vector<std::string>{"Over", "Under"}));
  EXPECT_TRUE(clicked.empty());
}

TEST_F(PreviewMouse, DoubleClickMakesThePageCurrentAndEatsTheNextPress) {
  handle_clicks();
  model.SetVerticalPosition(1000);
  model.MouseDown({400, 300});  // page 2 (content y 1300)
  model.MouseUp();
  EXPECT_EQ(model.PageUnderMouse, 2);
  model.SetVerticalPosition(500);
  EXPECT_EQ(model.CurPage, 1);
  model.DoubleClick();
  EXPECT_EQ(model.CurPage, 2);
  EXPECT_EQ(model.PageLabel, "Page 2/2");
  EXPECT_FALSE(model.MouseDown({170, 140}));
  EXPECT_FALSE(model.Dragging());
  EXPECT_TRUE(clicked.empty());
  model.SetVerticalPosition(0);
  EXPECT_TRUE(model.MouseDown({170, 140}));
}

class PreviewFiles : public PreviewTest {
 protected:
  void SetUp() override {
    PreviewTest::SetUp();
    add_page(758, 1071, {{"first page"}});
    add_page(758, 1071, {{"second page"}});
    show(629, 463, 100);
    dir = std::filesystem::temp_directory_path() /
          ("zr_preview_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::filesystem::path dir;
};

TEST_F(PreviewFiles, SaveOpenAndADamagedFile) {
  EXPECT_EQ(TvtPreviewModel::OpenFilter(), "Report file (*.zrw)|*.zrw");
  const std::string saved = model.SaveByFilterIndex(1, (dir / "copy.pdf").string());
  EXPECT_EQ(saved, (dir / "copy.zrw").string());
  EXPECT_EQ(model.PageCount(), 2) << "the pages are shown again after saving";

  // A file cut short: a message for the user, the pages stay.
  std::string bytes;
  {
    std::ifstream in(saved, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  {
    std::ofstream out(dir / "damaged.zrw", std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size() / 2));
  }
  model.ZoomMenuClick(50);
  model.PgDownClick();
  EXPECT_THROW(model.LoadPrepared((dir / "damaged.zrw").string()), ZorelError);
  EXPECT_EQ(model.PageCount(), 2);
  EXPECT_EQ(model.CurPage, 2);
  EXPECT_THROW(model.LoadPrepared((dir / "missing.zrw").string()), ZorelError);
  EXPECT_EQ(model.PageCount(), 2);

  // A good file replaces the pages and starts at page 1.
  model.Clear();
  add_page(758, 1071, {{"only page"}});
  model.ShowReport(report);
  EXPECT_EQ(model.PageCount(), 1);
  model.LoadPrepared(saved);
  EXPECT_EQ(model.PageCount(), 2);
  EXPECT_EQ(model.CurPage, 1);
  EXPECT_EQ(model.PageLabel, "Page 1/2");
  EXPECT_TRUE(model.LayoutReady);
}

TEST_F(PreviewFiles, ExportByFilterIndex) {
  TvtTextExport text;  // registers itself as the first export filter
  const auto filters = TvtPreviewModel::SaveFilters();
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0], (std::pair<std::string, std::string>{"Zorel Print File (*.zrw)", "*.zrw"}));
  EXPECT_EQ(filters[1].second, "*.txt");

  text.ShowDialog = false;
  const std::string written = model.SaveByFilterIndex(2, (dir / "report.zrw").string());
  EXPECT_EQ(written, (dir / "report.txt").string());
  std::ifstream in(written, std::ios::binary);
  const std::string content((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(content.find("second page"), std::string::npos);
  EXPECT_EQ(model.PageCount(), 2);
  EXPECT_THROW(model.SaveByFilterIndex(3, (dir / "x").string()), ZorelError);
  EXPECT_EQ(model.PageCount(), 2);
}

}  // namespace
