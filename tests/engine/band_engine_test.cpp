#include "engine/run/band_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "band_report_fixture.h"
#include "engine/report/tvt_globals.h"

namespace zr {
namespace {

using Lines = std::vector<std::string>;
using testing_support::BandReportTest;

using testing_support::Texts;

int CountPrefix(const Lines& dump, const std::string& prefix) {
  return static_cast<int>(std::count_if(
      dump.begin(), dump.end(), [&](const std::string& s) { return s.rfind(prefix, 0) == 0; }));
}

TEST_F(BandReportTest, SimpleListPrintsBandsInOrderAtTheirPlaces) {
  AddBand(btReportTitle, "Title1", 0, 30);
  AddText("T", 0, "Title");
  AddBand(btPageHeader, "PageHeader1", 40, 20, kBandOnFirstPage);
  AddText("PH", 40, "Header");
  AddBand(btMasterData, "MasterData1", 100, 20, 0, "3");
  AddText("L", 100, "[LINE#]");
  AddBand(btMasterFooter, "MasterFooter1", 140, 20);
  AddText("F", 140, "End");
  AddBand(btPageFooter, "PageFooter1", 200, 20, kBandOnFirstPage | kBandOnLastPage);
  AddText("PF", 202, "Page [PAGE#]");
  const int t = top_edge(), b = bottom_edge() - 20;
  auto at = [](const std::string& s, int y, const std::string& text) {
    return "1:" + s + "@" + std::to_string(y) + "=" + text;
  };
  EXPECT_EQ(Prepare(), (Lines{at("T", t, "Title"), at("PH", t + 30, "Header"), at("L", t + 50, "1"),
                              at("L", t + 70, "2"), at("L", t + 90, "3"), at("F", t + 110, "End"),
                              at("PF", b + 2, "Page 1")}));
}

TEST_F(BandReportTest, PageFooterFlagsChooseThePagesOfAThreePageReport) {
  const int footer = 20, row = 100;
  const int per_page = (bottom_edge() - top_edge() - footer) / row;
  AddBand(btMasterData, "MasterData1", 100, row, 0, std::to_string(2 * per_page + 1));
  AddText("L", 100, "[LINE#]");
  AddBand(btPageFooter, "PageFooter1", 300, footer);
  AddText("PF", 300, "Page [PAGE#]");
  struct Case {
    uint16_t flags;
    Lines footers;
  };
  const Case cases[] = {
      {0, {"Page 2"}},
      {kBandOnFirstPage, {"Page 1", "Page 2"}},
      {kBandOnLastPage, {"Page 2", "Page 3"}},
      {kBandOnFirstPage | kBandOnLastPage, {"Page 1", "Page 2", "Page 3"}},
  };
  for (const Case& c : cases) {
    Find("PageFooter1").Flags = c.flags;
    Lines footers;
    for (const std::string& line : Prepare())
      if (line.find(":PF@") != std::string::npos)
        footers.push_back(line.substr(line.find('=') + 1));
    EXPECT_EQ(report.EMFPages.Count(), 3);
    EXPECT_EQ(footers, c.footers) << "flags " << c.flags;
  }
}

TEST_F(BandReportTest, NestedGroupsPrintFootersInnermostFirst) {
  AddData("Sales",
          R"(<FIELD attrname="Cat" fieldtype="string" WIDTH="5"/>)"
          R"(<FIELD attrname="Sub" fieldtype="string" WIDTH="5"/>)"
          R"(<FIELD attrname="V" fieldtype="i4"/>)",
          R"(<ROW Cat="A" Sub="x" V="1"/><ROW Cat="A" Sub="x" V="2"/>)"
          R"(<ROW Cat="A" Sub="y" V="3"/><ROW Cat="B" Sub="y" V="4"/>)");
  AddBand(btGroupHeader, "GroupHeader1", 10, 20).FormatText = "[Sales.Cat]";
  AddText("G1", 10, "G1 [Sales.Cat]");
  AddBand(btGroupHeader, "GroupHeader2", 40, 20).FormatText = "[Sales.Sub]";
  AddText("G2", 40, "G2 [Sales.Sub]");
  AddBand(btMasterData, "MasterData1", 70, 20, 0, "datasetSales");
  AddText("V", 70, "[Sales.V] [LINE#]");
  AddBand(btGroupFooter, "GroupFooter1", 100, 20);
  AddText("F2", 100, "F2 [Sales.Sub] [SUM([Sales.V])]");
  AddBand(btGroupFooter, "GroupFooter2", 130, 20);
  AddText("F1", 130, "F1 [Sales.Cat] [SUM([Sales.V])]");
  AddBand(btMasterFooter, "MasterFooter1", 160, 20);
  AddText("E", 160, "End [SUM([Sales.V])]");
  EXPECT_EQ(Texts(Prepare()),
            (Lines{"G1 A", "G2 x", "1 1", "2 2", "F2 x 3", "G2 y", "3 1", "F2 y 3", "F1 A 6",
                   "G1 B", "G2 y", "4 1", "F2 y 4", "F1 B 4", "End 10"}));
}

TEST_F(BandReportTest, MasterWithoutDetailsPrintsOnlyWithPrintIfSubsetEmpty) {
  auto& orders = AddData("Orders", R"(<FIELD attrname="ID" fieldtype="i4"/>)",
                         R"(<ROW ID="1"/><ROW ID="2"/><ROW ID="3"/>)");
  AddData("Items",
          R"(<FIELD attrname="OrderID" fieldtype="i4"/>)"
          R"(<FIELD attrname="Name" fieldtype="string" WIDTH="5"/>)",
          R"(<ROW OrderID="1" Name="a"/><ROW OrderID="1" Name="b"/><ROW OrderID="3" Name="c"/>)");
  ClientDataset& items = *std::get<ClientDataset*>(report.OwnerContainer().Find("Items"));
  auto& source = report.OwnerContainer().Create<DataSource>("DSOrders", orders.DataSet());
  items.set_index_field_names("OrderID");
  items.set_data_source(&source);
  items.set_master_fields("ID");

  AddBand(btMasterData, "MasterData1", 20, 20, 0, "datasetOrders");
  AddText("O", 20, "O[Orders.ID]");
  AddBand(btDetailHeader, "DetailHeader1", 50, 20);
  AddText("H", 50, "Items:");
  AddBand(btDetailData, "DetailData1", 80, 20, 0, "datasetItems");
  AddText("I", 80, "[Items.Name]");
  EXPECT_EQ(Texts(Prepare()), (Lines{"O1", "Items:", "a", "b", "O3", "Items:", "c"}));
  Find("MasterData1").Flags |= kBandPrintIfSubsetEmpty;
  EXPECT_EQ(Texts(Prepare()), (Lines{"O1", "Items:", "a", "b", "O2", "O3", "Items:", "c"}));
}

TEST_F(BandReportTest, AggregatesOverVisibleAndInvisibleBands) {
  AddData("Data", R"(<FIELD attrname="V" fieldtype="i4"/>)",
          R"(<ROW V="4"/><ROW V="-2"/><ROW V="7"/>)");
  AddBand(btMasterData, "MasterData1", 20, 20, 0, "datasetData");
  AddText("V", 20, "[Data.V]");
  AddBand(btMasterFooter, "MasterFooter1", 50, 20);
  AddText("S", 50,
          "[SUM([Data.V])] [COUNT(MasterData1)] [AVG([Data.V])] [MIN([Data.V])] "
          "[MAX([Data.V])] [COUNT(MasterData1, 1)]");
  EXPECT_EQ(Texts(Prepare()), (Lines{"4", "-2", "7", "9 3 3 -2 7 3"}));
  // Invisible, the band counts only for the aggregates flagged "1".
  Find("MasterData1").Visible = false;
  EXPECT_EQ(Texts(Prepare()), (Lines{"0 0 0 1E300 0 3"}));
}

TEST_F(BandReportTest, StretchedBandPushesTheNextBandDown) {
  AddBand(btMasterData, "MasterData1", 20, 20, kFlagStretched, "1");
  TvtMemoView& memo = AddText("M", 20, "");
  memo.Memo = Lines(10, "line");
  AddBand(btMasterFooter, "MasterFooter1", 50, 20);
  AddText("F", 50, "after");
  report.PrepareReport();
  ASSERT_EQ(report.EMFPages.Count(), 1);
  report.EMFPages.ObjectsToPage(0);
  auto& objects = report.EMFPages.PageInfo(0).Page->Objects;
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_GT(objects[0]->Height, 100);
  EXPECT_EQ(objects[1]->Top, objects[0]->Top + objects[0]->Height);
}

TEST_F(BandReportTest, BreakedMemoContinuesOverThreePages) {
  AddBand(btPageHeader, "PageHeader1", 0, 20, kBandOnFirstPage);
  AddText("PH", 0, "Head [PAGE#]");
  AddBand(btMasterData, "MasterData1", 30, 20, kFlagStretched | kBandBreaked, "1");
  TvtMemoView& memo = AddText("M", 30, "");
  const int lines = 2 * (bottom_edge() - top_edge()) / 14 + 10;
  for (int i = 1; i <= lines; ++i) memo.Memo.push_back("L" + std::to_string(i));
  AddBand(btMasterFooter, "MasterFooter1", 60, 20);
  AddText("F", 60, "after");
  const Lines dump = Prepare();
  EXPECT_EQ(report.EMFPages.Count(), 3);
  EXPECT_EQ(CountPrefix(dump, "1:PH@"), 1);
  EXPECT_EQ(CountPrefix(dump, "3:PH@"), 1);
  EXPECT_EQ(CountPrefix(dump, "3:F@"), 1);
  // Every line printed once, in order, over the parts.
  Lines printed;
  for (const std::string& line : Texts(dump))
    if (line[0] == 'L') {
      size_t start = 0;
      for (size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1)
        printed.push_back(line.substr(start, bar - start));
      printed.push_back(line.substr(start));
    }
  ASSERT_EQ(static_cast<int>(printed.size()), lines);
  EXPECT_EQ(printed.back(), "L" + std::to_string(lines));
}

TEST_F(BandReportTest, PageColumnsRepeatColumnHeaderAndFooter) {
  page().Columns = 3;
  page().ColumnGap = 12;
  AddBand(btColumnHeader, "ColumnHeader1", 0, 20);
  AddText("CH", 0, "col");
  const int per_column = (bottom_edge() - top_edge() - 40) / 100;
  AddBand(btMasterData, "MasterData1", 30, 100, 0, std::to_string(2 * per_column + 1));
  AddText("L", 30, "[LINE#]");
  AddBand(btColumnFooter, "ColumnFooter1", 140, 20);
  AddText("CF", 140, "end");
  const Lines dump = Prepare();
  EXPECT_EQ(report.EMFPages.Count(), 1);
  EXPECT_EQ(CountPrefix(dump, "1:CH@"), 3);
  EXPECT_EQ(CountPrefix(dump, "1:CF@"), 3);
  const Rect bounds = page().PrintableBounds();
  const int width = (bounds.right - bounds.left - 2 * 12) / 3;
  EXPECT_EQ(dump.back(), "1:CF@" + std::to_string(top_edge() + 20 + 100) + "," +
                             std::to_string(10 + 2 * (width + 12)) + "=end");
}

TEST_F(BandReportTest, BandColumnsPrintRecordsSideBySide) {
  TvtBandView& data = AddBand(btMasterData, "MasterData1", 20, 20, 0, "4");
  data.Columns = 3;
  data.ColumnWidth = 100;
  data.ColumnGap = 10;
  AddText("L", 20, "[LINE#]");
  AddBand(btMasterFooter, "MasterFooter1", 50, 20);
  AddText("F", 50, "end");
  const int t = top_edge();
  auto at = [](const std::string& s, int y, int x, const std::string& text) {
    return "1:" + s + "@" + std::to_string(y) + (x == 10 ? "" : "," + std::to_string(x)) + "=" +
           text;
  };
  EXPECT_EQ(Prepare(), (Lines{at("L", t, 10, "1"), at("L", t, 120, "2"), at("L", t, 230, "3"),
                              at("L", t + 20, 10, "4"), at("F", t + 40, 10, "end")}));
}

TEST_F(BandReportTest, ErrorsEndTheRunWithOneMessageAndNoPages) {
  AddBand(btMasterData, "MasterData1", 20, 20, 0, "3");
  AddText("Bad", 20, "[LINE#] [NoSuchName]");
  report.ShowProgress = true;
  report.OnProgress = [](int) {};
  EXPECT_TRUE(report.PrepareReport());
  EXPECT_EQ(report.EMFPages.Count(), 0);
  ASSERT_FALSE(env.ui.calls().empty());
  const UiCall& message = env.ui.calls().back();
  EXPECT_EQ(message.caption, "Error");
  EXPECT_EQ(message.text,
            "An error occured during calculating\r[LINE#] [NoSuchName]\r\rReport: Report\r"
            "Object: Bad\r\rUndefined symbol \"NOSUCHNAME\"");
}

TEST_F(BandReportTest, StopReportEndsTheRunAfterTheBand) {
  TvtBandView& data = AddBand(btMasterData, "MasterData1", 20, 20, 0, "5");
  data.Script = {"begin if [LINE#] = 2 then STOPREPORT end"};
  AddText("L", 20, "[LINE#]");
  EXPECT_EQ(Texts(Prepare()), (Lines{"1"}));
  EXPECT_TRUE(report.Terminated);
}

}  // namespace
}  // namespace zr

namespace zr {
namespace {

TEST_F(BandReportTest, ObjectsTallerThanAPageNeverBreakPagesWithoutEnd) {
  // A plain object taller than the page in a split band, and a band taller than the page.
  const int tall = 3 * (bottom_edge() - top_edge());
  AddBand(btMasterData, "MasterData1", 20, 40, kBandBreaked, "1");
  AddText("Plain", 20, "plain", tall);
  AddBand(btMasterFooter, "MasterFooter1", 100, tall);
  AddText("F", 100, "footer");
  const Lines dump = Prepare();
  EXPECT_LE(report.EMFPages.Count(), 3);
  EXPECT_EQ(CountPrefix(dump, "1:Plain@"), 1);
  EXPECT_EQ(Texts(dump).back(), "footer");
}

TEST_F(BandReportTest, StretchedPageFooterPrintsAsNotStretchedAtTheBottom) {
  AddBand(btMasterData, "MasterData1", 20, 20, 0, "2");
  AddText("L", 20, "[LINE#]");
  AddBand(btPageFooter, "PageFooter1", 200, 20, kFlagStretched | kBandOnFirstPage);
  AddText("PF", 200, "").Memo = Lines(30, "x");
  const Lines dump = Prepare();
  EXPECT_EQ(report.EMFPages.Count(), 1);
  EXPECT_EQ(CountPrefix(dump, "1:PF@" + std::to_string(bottom_edge() - 20)), 1);
}

TEST_F(BandReportTest, RepeatedGroupHeaderOnEveryNewPage) {
  const int per_page = (bottom_edge() - top_edge() - 20) / 100;
  AddBand(btGroupHeader, "GroupHeader1", 0, 20, kBandRepeatHeader).FormatText = "1";
  AddText("G", 0, "group");
  AddBand(btMasterData, "MasterData1", 30, 100, 0, std::to_string(2 * per_page + 1));
  AddText("L", 30, "[LINE#]");
  const Lines dump = Prepare();
  ASSERT_EQ(report.EMFPages.Count(), 3);
  for (const char* page : {"1:G@", "2:G@", "3:G@"}) EXPECT_EQ(CountPrefix(dump, page), 1) << page;
}

TEST_F(BandReportTest, ProgressAndUndefinedNamesWithoutProgressWindow) {
  AddBand(btMasterData, "MasterData1", 20, 20, 0, "2");
  AddText("L", 20, "[Unknown]");
  std::vector<int> progress;
  report.OnProgress = [&](int n) { progress.push_back(n); };
  report.ShowProgress = false;
  EXPECT_TRUE(report.PrepareReport());
  EXPECT_TRUE(report.Terminated);
  EXPECT_EQ(report.ErrorText, "Undefined symbol \"UNKNOWN\"");
  EXPECT_FALSE(progress.empty());
  EXPECT_EQ(progress.front(), 1);
}

}  // namespace
}  // namespace zr

namespace zr {
namespace {

TEST_F(BandReportTest, CrossBandsRepeatCellsInEveryRow) {
  AddBand(btCrossHeader, "CrossHeader1", 0, 0).SetBounds(100, 0, 100, 500);
  AddBand(btCrossData, "CrossData1", 0, 0, 0, "3").SetBounds(200, 0, 60, 500);
  AddBand(btMasterData, "MasterData1", 20, 20, 0, "2");
  AddText("Row", 20, "row [LINE#]", 18, 10, 80);
  AddText("Head", 20, "H", 18, 100, 100);
  AddText("Cell", 20, "[COLUMN#]/[LINE#]", 18, 200, 60);
  const std::string t1 = std::to_string(top_edge()), t2 = std::to_string(top_edge() + 20);
  EXPECT_EQ(Prepare(),
            (Lines{"1:Row@" + t1 + "=row 1", "1:Head@" + t1 + ",100=H", "1:Cell@" + t1 + ",200=1/1",
                   "1:Cell@" + t1 + ",260=2/1", "1:Cell@" + t1 + ",320=3/1",
                   "1:Row@" + t2 + "=row 2", "1:Head@" + t2 + ",100=H", "1:Cell@" + t2 + ",200=1/2",
                   "1:Cell@" + t2 + ",260=2/2", "1:Cell@" + t2 + ",320=3/2"}));
}

}  // namespace
}  // namespace zr

namespace zr {
namespace {

TEST_F(BandReportTest, EmptyMasterPrintsOnlyWithPrintIfEmpty) {
  AddBand(btReportTitle, "Title1", 0, 20);
  AddText("T", 0, "title");
  AddBand(btMasterData, "MasterData1", 30, 20);  // no dataset
  AddText("L", 30, "[LINE#]");
  AddBand(btReportSummary, "Summary1", 60, 20);
  AddText("S", 60, "summary");
  EXPECT_EQ(Texts(Prepare()), (Lines{"title", "summary"}));
  report.PrintIfEmpty = false;
  EXPECT_EQ(Prepare(), Lines{});
  EXPECT_EQ(report.EMFPages.Count(), 0);
}

TEST_F(BandReportTest, ScriptRequestsNewPagesColumnsBandsAndPositions) {
  AddBand(btMasterData, "MasterData1", 20, 20, 0, "3").Script = {
      "begin if [LINE#] = 2 then NEWPAGE; if [LINE#] = 3 then begin SHOWBAND(Extra); "
      "CURY := CURY + 100 end end"};
  AddText("L", 20, "[LINE#] [CURY]");
  AddBand(btChild, "Extra", 60, 20);
  AddText("E", 60, "extra");
  const int t = top_edge();
  auto at = [](int page, const std::string& name, int y, const std::string& text) {
    return std::to_string(page) + ":" + name + "@" + std::to_string(y) + "=" + text;
  };
  EXPECT_EQ(Prepare(), (Lines{at(1, "L", t, "1 " + std::to_string(t)),
                              at(2, "L", t, "2 " + std::to_string(t)), at(2, "E", t + 20, "extra"),
                              at(2, "L", t + 140, "3 " + std::to_string(t + 140))}));
}

}  // namespace
}  // namespace zr

namespace zr {
namespace {

TEST_F(BandReportTest, BottomAlignedViewFollowsTheStretchedBand) {
  AddBand(btMasterData, "MasterData1", 20, 40, kFlagStretched, "1");
  AddText("Tall", 20, "").Memo = Lines(8, "line");
  AddText("Bottom", 22, "end", 18, 300).BandAlign = baBottom;
  report.PrepareReport();
  report.EMFPages.ObjectsToPage(0);
  auto& objects = report.EMFPages.PageInfo(0).Page->Objects;
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[1]->Top + objects[1]->Height, objects[0]->Top + objects[0]->Height);
}

}  // namespace
// A long report whose finished pages leave memory for the spill file prepares, reads back,
// saves and rewrites exactly as one kept in memory, in both passes.
TEST_F(BandReportTest, SpilledPagesReadBackExactly) {
  report.TwoPass = true;
  AddBand(btPageHeader, "PageHeader1", 0, 20, kBandOnFirstPage);
  AddText("PH", 0, "Head [PAGE#] of [TOTALPAGES]");
  AddBand(btMasterData, "MasterData1", 40, 20, 0, "400");
  AddText("L", 40, "Line [LINE#]");
  AddBand(btPageFooter, "PageFooter1", 100, 20, kBandOnFirstPage | kBandOnLastPage);
  AddText("PF", 100, "Page [PAGE#]");
  auto saved = [&] {
    zr::ByteWriter out;
    report.EMFPages.SaveToStream(out);
    return out.take();
  };
  const Lines in_memory = Prepare();
  const std::string in_memory_file = saved();
  ASSERT_GT(report.EMFPages.Count(), 5);

  report.EMFPages.SpillLimit = 0;
  EXPECT_EQ(Prepare(), in_memory);
  EXPECT_EQ(saved(), in_memory_file);
  zr::TvtEMFPages& pages = report.EMFPages;
  EXPECT_TRUE(pages.PageInfo(0).Spilled.has_value());
  EXPECT_TRUE(pages.PageInfo(0).Stream.bytes().empty());
  EXPECT_FALSE(pages.PageInfo(pages.Count() - 1).Spilled.has_value());  // the last page stays

  // Writing to a spilled page brings it back first; rewriting one from its objects keeps them.
  std::string buffer;
  const std::string first(pages.ReadPageStream(0, buffer));
  EXPECT_EQ(pages.PageStream(0).bytes(), first);
  pages.ObjectsToPage(2);
  pages.PageToObjects(2);
  pages.PageInfo(2).Page.reset();
  EXPECT_EQ(Dump(), in_memory);
}

}  // namespace zr
