// Scripts reaching band views while a report is prepared: the names act on the running band.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "band_report_fixture.h"

namespace zr {
namespace {

using Lines = std::vector<std::string>;
using testing_support::BandReportTest;

using testing_support::Texts;

TEST_F(BandReportTest, BandScriptChangesVisibilityAndHeightOfTheRunningBand) {
  AddBand(btMasterData, "MasterData1", 20, 20, 0, "4").Script = {
      "begin MasterData1.Visible := [LINE#] <> 2; if [LINE#] = 3 then MasterData1.Height := 50 "
      "end"};
  AddText("L", 20, "[LINE#] [MasterData1.Height]");
  const int t = top_edge();
  auto at = [](int y, const std::string& text) { return "1:L@" + std::to_string(y) + "=" + text; };
  // The height set for line 3 stays with the running band for line 4.
  EXPECT_EQ(Prepare(), (Lines{at(t, "1 20"), at(t + 20, "3 50"), at(t + 70, "4 50")}));
  // The design record is untouched by the run.
  EXPECT_EQ(Find("MasterData1").Height, 20);
  EXPECT_TRUE(Find("MasterData1").Visible);
}

TEST_F(BandReportTest, BandPositionAndEndOfDataReadFromTheRunningBand) {
  AddBand(btMasterData, "MasterData1", 100, 20, 0, "2");
  AddText("L", 100, "[MasterData1.Top] [MasterData1.EOF]");
  AddBand(btReportSummary, "Summary1", 200, 20);
  AddText("S", 200, "[MasterData1.EOF]");
  const int t = top_edge();
  EXPECT_EQ(Texts(Prepare()),
            (Lines{std::to_string(t) + " False", std::to_string(t + 20) + " False", "True"}));
}

TEST_F(BandReportTest, BandMethodsMoveTheDataset) {
  AddData("Items", R"(<FIELD attrname="N" fieldtype="string" WIDTH="5"/>)",
          R"(<ROW N="a"/><ROW N="b"/><ROW N="c"/><ROW N="d"/><ROW N="e"/>)");
  AddBand(btMasterData, "MasterData1", 20, 20, 0, "datasetItems").Script = {
      "begin if [LINE#] = 1 then MasterData1.Next; if [LINE#] = 3 then begin "
      "MasterData1.First; MasterData1.Next; MasterData1.Next; MasterData1.Next; "
      "MasterData1.Prior end end"};
  AddText("L", 20, "[Items.N]");
  // The script runs before the band's memos: line 1 shows b, line 3 moves back from d to c.
  EXPECT_EQ(Texts(Prepare()), (Lines{"b", "c", "c", "d", "e"}));
}

TEST_F(BandReportTest, DataSourceRebindsTheRunningBandInTheMiddleOfItsWalk) {
  AddBand(btMasterData, "MasterData1", 20, 20, 0, "5").Script = {
      "if [LINE#] = 2 then MasterData1.DataSource := ''"};
  AddText("L", 20, "[LINE#]");
  // Dropping the dataset ends the walk; the old dataset is not touched again.
  EXPECT_EQ(Texts(Prepare()), (Lines{"1", "2"}));
  EXPECT_EQ(Find<TvtBandView>("MasterData1").FormatText, "5");
}

TEST_F(BandReportTest, TitleScriptRebindsDatasetAndGroupCondition) {
  AddData("Items",
          R"(<FIELD attrname="G" fieldtype="string" WIDTH="5"/>)"
          R"(<FIELD attrname="H" fieldtype="string" WIDTH="5"/>)",
          R"(<ROW G="1" H="p"/><ROW G="1" H="q"/><ROW G="2" H="q"/>)");
  AddBand(btReportTitle, "Title1", 0, 20).Script = {
      "begin MasterData1.DataSource := 'datasetItems'; GroupHeader1.Condition := '[Items.H]' end"};
  AddBand(btGroupHeader, "GroupHeader1", 30, 20, 0, "[Items.G]");
  AddText("G", 30, "group [Items.H]");
  AddBand(btMasterData, "MasterData1", 60, 20, 0, "5");
  AddText("L", 60, "[Items.G][Items.H]");
  EXPECT_EQ(Texts(Prepare()), (Lines{"group p", "1p", "group q", "1q", "2q"}));
}

TEST_F(BandReportTest, ChildBandRelinksTheRunningBand) {
  AddBand(btMasterData, "MasterData1", 50, 20, 0, "3").Script = {
      "if [LINE#] = 2 then MasterData1.ChildBand := 'Child2'"};
  Find<TvtBandView>("MasterData1").ChildBand = "Child1";
  AddText("L", 50, "[LINE#]");
  AddBand(btChild, "Child1", 80, 20);
  AddText("C1", 80, "one");
  AddBand(btChild, "Child2", 110, 20);
  AddText("C2", 110, "two");
  EXPECT_EQ(Texts(Prepare()), (Lines{"1", "one", "2", "two", "3", "two"}));
}

}  // namespace
}  // namespace zr
