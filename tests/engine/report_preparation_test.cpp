// Preparation around the band engine: passes, dialog pages, interleaving, scripts that reach
// objects, arrays and pages, and events.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "band_report_fixture.h"
#include "engine/model/subreport_view.h"
#include "engine/run/band.h"

namespace zr {
namespace {

using Lines = std::vector<std::string>;
using testing_support::BandReportTest;

using testing_support::Texts;

TEST_F(BandReportTest, TwoPassesKnowTheTotalPages) {
  report.TwoPass = true;
  const int per_page = (bottom_edge() - top_edge() - 20) / 100;
  AddBand(btMasterData, "MasterData1", 20, 100, 0, std::to_string(per_page + 1));
  AddBand(btPageFooter, "PageFooter1", 300, 20, kBandOnFirstPage | kBandOnLastPage);
  AddText("PF", 300, "[PAGE#] of [TOTALPAGES] [FINALPASS]");
  Lines footers;
  for (const std::string& text : Texts(Prepare())) footers.push_back(text);
  EXPECT_EQ(footers, (Lines{"1 of 2 True", "2 of 2 True"}));
  EXPECT_TRUE(report.TwoPass);
  // One pass: TOTALPAGES is 0.
  report.TwoPass = false;
  EXPECT_EQ(Texts(Prepare()).front(), "1 of 0 True");
}

TEST_F(BandReportTest, DialogPageCancelStopsTheRun) {
  TvtPage& dialog = report.Pages.Add();
  dialog.PageType = 1;
  dialog.Script = {"begin ModalResult := mrCancel end"};
  AddBand(btReportTitle, "Title1", 0, 20);
  AddText("T", 0, "title");
  EXPECT_FALSE(report.PrepareReport());
  EXPECT_EQ(report.EMFPages.Count(), 0);
  report.Pages.Items(1).Script = {"begin ModalResult := mrOk end"};
  EXPECT_TRUE(report.PrepareReport());
  EXPECT_EQ(Dump(), (Lines{"1:T@" + std::to_string(top_edge()) + "=title"}));
}

TEST_F(BandReportTest, InterleavedPagesAlternateFormPages) {
  const int per_page = (bottom_edge() - top_edge()) / 500;
  AddBand(btMasterData, "MasterData1", 20, 500, 0, std::to_string(2 * per_page));
  AddText("A", 20, "A[PAGE#]");
  TvtPage& second = report.Pages.Add();
  auto band = std::make_unique<TvtBandView>();
  band->Name = "MasterData2";
  band->SetBandType(btMasterData);
  band->SetBounds(0, 20, 600, 500);
  band->FormatText = std::to_string(2 * per_page);
  second.Add(std::move(band));
  AddText("B", 20, "B[PAGE#]").Parent = nullptr;
  second.Add(std::move(page().Objects.back()));
  page().Objects.pop_back();
  report.InterleavePages = true;
  Lines firsts;
  for (const std::string& line : Prepare())
    if (line.find("=") != std::string::npos) firsts.push_back(line.substr(0, 2) + Texts({line})[0]);
  ASSERT_EQ(report.EMFPages.Count(), 4);
  EXPECT_EQ(firsts.front(), "1:A1");
  EXPECT_EQ(firsts[static_cast<size_t>(per_page)], "2:B3");
  EXPECT_EQ(firsts.back(), "4:B4");
}

TEST_F(BandReportTest, ScriptsReachArraysObjectsAndPages) {
  TvtBandView& data = AddBand(btMasterData, "MasterData1", 20, 20, 0, "3");
  data.Script = {"begin SETARRAY(Seen, [LINE#], [LINE#] * 10); INC(Count);",
                 "if [LINE#] = 2 then Memo2.Visible := False else Memo2.Visible := True end"};
  AddText("Memo1", 20, "[GETARRAY(Seen, [LINE#])] [Count] [Memo1.Left] [Page1.Columns]");
  AddText("Memo2", 20, "shown", 18, 300);
  ScriptVariables().SetVariable("Count", Value(int32_t{0}));
  EXPECT_EQ(Texts(Prepare()), (Lines{"10 1 10 0", "shown", "20 2 10 0", "30 3 10 0", "shown"}));
}

TEST_F(BandReportTest, InvisibleBandPrintsItsChildOnlyWhenAsked) {
  TvtBandView& title = AddBand(btReportTitle, "Title1", 0, 20);
  title.Visible = false;
  title.ChildBand = "Child1";
  AddText("T", 0, "title");
  AddBand(btChild, "Child1", 40, 20);
  AddText("C", 40, "child");
  EXPECT_EQ(Texts(Prepare()), Lines{});
  Find("Title1").Flags |= kBandPrintChildIfInvisible;
  EXPECT_EQ(Texts(Prepare()), Lines{"child"});
}

TEST_F(BandReportTest, EventsAroundDocumentPagesAndBands) {
  AddBand(btMasterData, "MasterData1", 20, 20, 0, "2");
  AddText("L", 20, "[LINE#]");
  Lines events;
  report.OnBeginDoc = [&] { events.push_back("begin doc"); };
  report.OnEndDoc = [&] { events.push_back("end doc"); };
  report.OnBeginPage = [&](int n) { events.push_back("begin page " + std::to_string(n)); };
  report.OnEndPage = [&](int n) { events.push_back("end page " + std::to_string(n)); };
  report.OnBeginBand = [&](TvtBand& band) {
    if (band.Name == "MasterData1") events.push_back("band");
  };
  Prepare();
  EXPECT_EQ(events, (Lines{"begin doc", "begin page 0", "band", "band", "end page 0", "end doc"}));
}

}  // namespace
}  // namespace zr

namespace zr {
namespace {

TEST_F(BandReportTest, SubreportsSideBySideContinueOnTheNextPage) {
  report.Pages.Add();
  report.Pages.Add();
  AddBand(btReportTitle, "Title1", 20, 40);
  for (int sub = 1; sub <= 2; ++sub) {
    auto object = std::make_unique<TvtSubReportView>();
    object->Name = "Sub" + std::to_string(sub);
    object->SetBounds(10 + 300 * (sub - 1), 30, 250, 20);
    object->SubPage = sub;
    page().Add(std::move(object));
  }
  AddBand(btReportSummary, "Summary1", 100, 20);
  AddText("After", 100, "after");
  const int per_page = (bottom_edge() - top_edge() - 10) / 100;
  AddBand(btMasterData, "Long", 20, 100, 0, std::to_string(per_page + 2), 1);
  AddText("L", 20, "long [LINE#]", 18, 10, 200, 1);
  AddBand(btMasterData, "Short", 20, 100, 0, "2", 2);
  AddText("S", 20, "short [LINE#]", 18, 10, 200, 2);
  const Lines dump = Prepare();
  ASSERT_EQ(report.EMFPages.Count(), 2);
  const int t = top_edge() + 10;
  // Subreport objects place their page's objects: X is the band's X plus the object's x.
  EXPECT_EQ(dump[0], "1:L@" + std::to_string(t) + ",20=long 1");
  EXPECT_NE(std::find(dump.begin(), dump.end(), "1:S@" + std::to_string(t) + ",320=short 1"),
            dump.end());
  EXPECT_NE(
      std::find(dump.begin(), dump.end(),
                "2:L@" + std::to_string(top_edge()) + ",20=long " + std::to_string(per_page + 1)),
      dump.end());
  // The band ends below the longer subreport.
  EXPECT_EQ(dump.back(), "2:After@" + std::to_string(top_edge() + 200) + "=after");
}

}  // namespace
}  // namespace zr

namespace zr {
namespace {

TEST_F(BandReportTest, ProgressWindowShowsTheStagesAndAStopCancelsTheRun) {
  report.ShowProgress = true;
  report.Title = "Sales";
  TvtBandView& data = AddBand(btMasterData, "MasterData1", 20, 20, 0, "3");
  data.Script = {"begin if [LINE#] = 3 then STOPREPORT end"};
  AddText("L", 20, "[LINE#]");
  EXPECT_FALSE(report.PrepareReport());
  EXPECT_EQ(Texts(Dump()), (Lines{"1", "2"}));
  const UiCall first = env.ui.calls().front();
  EXPECT_EQ(first.kind, UiCall::Kind::ShowProgress);
  EXPECT_EQ(first.caption, "Preparing report - Sales");
  EXPECT_EQ(first.text, "Processing page:  1");
  EXPECT_EQ(env.ui.calls().back().kind, UiCall::Kind::HideProgress);
}

// The cancel of the progress window reaches into a running script: the run stops there,
// without an error, keeping what was prepared before.
TEST_F(BandReportTest, ProgressWindowCancelStopsAScriptThatNeverEnds) {
  report.ShowProgress = true;
  TvtBandView& data = AddBand(btMasterData, "MasterData1", 20, 20, 0, "3");
  // Long enough to stand for a loop without end, short enough to end if the cancel is missed.
  data.Script = {
      "begin if [LINE#] = 2 then begin CANCEL(0); i := 0; while i < 1000000 do i := i + 1 end "
      "end"};
  AddText("L", 20, "[LINE#]");
  // The user's click, while the script runs.
  report.OnUserFunction = [&](const std::string& name, const Value&, const Value&, const Value&,
                              Value&) {
    if (name == "CANCEL") env.ui.cancel_progress();
  };
  EXPECT_FALSE(report.PrepareReport());
  EXPECT_EQ(Texts(Dump()), Lines{"1"});
  for (const UiCall& call : env.ui.calls()) EXPECT_NE(call.kind, UiCall::Kind::Message);
  EXPECT_EQ(env.ui.calls().back().kind, UiCall::Kind::HideProgress);
  // Without the window (no progress shown) there is nothing to cancel. A run that stopped
  // put the saved form back, so the band is a new object.
  report.ShowProgress = false;
  Find<TvtBandView>("MasterData1").Script.clear();
  EXPECT_TRUE(report.PrepareReport());
  EXPECT_EQ(Texts(Dump()), (Lines{"1", "2", "3"}));
}

// Scripts and memo texts that build text without end stop at the limit with an error.
TEST_F(BandReportTest, TextsThatGrowWithoutEndStopAtTheLimit) {
  struct Case {
    const char* what;
    Lines script;
    Lines memo;
  } cases[] = {
      {"a script doubling a text", {"begin s := 'ab'; repeat s := s + s until 1 = 0 end"}, {"x"}},
      {"a script adding lines to a memo",
       {"begin i := 0; while i < 20 do begin L.Lines.Add(REPLICATE('x', 1000000)); i := i + 1 "
        "end end"},
       {"x"}},
      {"one memo line", {}, {"[REPLICATE('a', 9000000)][REPLICATE('b', 9000000)]"}},
      {"memo lines together", {}, {"[REPLICATE('a', 9000000)]", "[REPLICATE('b', 9000000)]"}},
  };
  AddBand(btMasterData, "MasterData1", 20, 20, 0, "1");
  AddText("L", 20, "");
  for (const Case& c : cases) {
    // A run that stopped puts the saved form back: its views are new objects each time.
    Find<TvtBandView>("MasterData1").Script = c.script;
    Find<TvtMemoView>("L").Memo = c.memo;
    env.ui.clear_calls();
    report.PrepareReport();
    EXPECT_EQ(report.EMFPages.Count(), 0) << c.what;
    bool told = false;
    for (const UiCall& call : env.ui.calls())
      told = told || (call.kind == UiCall::Kind::Message &&
                      call.text.find("Text too long") != std::string::npos);
    EXPECT_TRUE(told) << c.what;
  }
}

TEST_F(BandReportTest, ChangePrinterNamesThePrinterAndAppliesThePaperAgain) {
  const int virtual_printer = globals().printer.virtual_printer_index();
  page().SetPaper(kPaperCustomSize, 1000, 1500, 1, kDefaultBin);
  EXPECT_TRUE(report.ChangePrinter(virtual_printer, virtual_printer));
  EXPECT_EQ(report.PrinterName, "Virtual printer");
  EXPECT_EQ(page().PageWidth, 1000);
  EXPECT_EQ(page().Orientation, 1);
  EXPECT_FALSE(report.ChangePrinter(virtual_printer, virtual_printer + 5));
  EXPECT_EQ(report.PrinterName, "Virtual printer");
  EXPECT_EQ(env.ui.calls().back().text, "Printer selected is not valid");
}

}  // namespace
}  // namespace zr

namespace zr {
namespace {

// Forms from files may link anything: such links must not print for ever.
TEST_F(BandReportTest, LoopingChildrenAndSubreportsEnd) {
  report.Pages.Add();
  report.Pages.Add();
  TvtBandView& title = AddBand(btReportTitle, "Title1", 0, 20);
  title.ChildBand = "Child1";
  AddText("T", 0, "title");
  AddBand(btChild, "Child1", 30, 20).ChildBand = "Title1";
  AddText("C", 30, "child");
  // Page 0 shows page 1, which shows page 2, which shows page 1 again.
  const int shows[] = {1, 2, 1};
  for (int on = 0; on < 3; ++on) {
    AddBand(on == 0 ? btReportSummary : btMasterData, "Band" + std::to_string(on), 60, 40, 0,
            on == 0 ? "" : "1", on);
    AddText("M" + std::to_string(on), 60, "in " + std::to_string(on), 18, 200, 50, on);
    auto object = std::make_unique<TvtSubReportView>();
    object->Name = "Sub" + std::to_string(on);
    object->SetBounds(10, 70, 100, 20);
    object->SubPage = shows[on];
    report.Pages.Items(on).Add(std::move(object));
  }
  const Lines texts = Texts(Prepare());
  EXPECT_EQ(texts, (Lines{"title", "child", "in 0", "in 1", "in 2"}));
}

}  // namespace
}  // namespace zr

namespace zr {
namespace {

TEST_F(BandReportTest, MultipleModeFormsThePagesOncePerDrivingRecord) {
  TvtUserDataset driver;
  driver.RangeEnd = reCount;
  driver.RangeEndCount = 3;
  report.ReportType = rtMultiple;
  report.Dataset = &driver;
  AddBand(btReportTitle, "Title1", 0, 20);
  AddText("T", 0, "copy [PAGE#]");
  EXPECT_EQ(Texts(Prepare()), (Lines{"copy 1", "copy 2", "copy 3"}));
  EXPECT_EQ(report.EMFPages.Count(), 3);
}

}  // namespace
}  // namespace zr
