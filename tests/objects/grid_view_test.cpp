// Grid views: the MetaString format, the column table and continuation pages, and grids
// expanded by a whole preparation.
#include "objects/grid_view.h"

#include <gtest/gtest.h>

#include "engine/band_report_fixture.h"
#include "engine/view_test_support.h"
#include "objects/add_in_objects.h"
#include "objects/grid_meta.h"
#include "platform/errors.h"

namespace zr {
namespace {

using Lines = std::vector<std::string>;

// A MetaString record from "KEY=VALUE" fields.
std::string Record(std::initializer_list<std::string> fields) {
  std::string out;
  for (const std::string& f : fields) out += (out.empty() ? "" : "\x01") + f;
  return out + "\r\n";
}

std::string Memo(int left, int width, const std::string& name, int top = 0) {
  return Record({"TYPE=MEMO", "LEFT=" + std::to_string(left), "TOP=" + std::to_string(top),
                 "WIDTH=" + std::to_string(width), "HEIGHT=18", "NAME=" + name, "MEMO=" + name});
}

TEST(GridMeta, RecordsFieldsAndBlanks) {
  const std::string text =
      "TYPE=memo\x01left=5\x01MEMO=two words\x01LEFT=9\rTYPE=LINE\x01X=1\n\n"
      "\"TYPE=BAND\"\x01TOP=$10\tHEIGHT=3\r\nTYPE=MEMO\x01MEMO=\"q\"\"\"";
  const std::vector<GridMetaRecord> records = ParseGridMeta(text);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].Kind(), "MEMO");
  EXPECT_EQ(records[0].Int("LEFT"), 5);  // the first field of a key wins, any case
  EXPECT_EQ(records[0].Find("MEMO"), "two\\nSPACEwords");
  EXPECT_EQ(records[0].Text("MEMO"), "two words");
  EXPECT_EQ(records[1].Kind(), "BAND");
  EXPECT_EQ(records[1].Int("TOP"), 16);
  EXPECT_EQ(records[1].Int("HEIGHT"), 3);           // a tab ends a field too
  EXPECT_EQ(records[2].Find("MEMO"), "\"q\"\"\"");  // quotes only count at a field's start
}

TEST(GridMeta, NumbersThatAreNone) {
  const std::vector<GridMetaRecord> records =
      ParseGridMeta("TYPE=MEMO\x01LEFT=1 0\x01TOP=x\x01WIDTH=");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_THROW(records[0].Int("LEFT"), ConversionError);  // a blank inside a number
  EXPECT_THROW(records[0].Int("TOP"), ConversionError);
  EXPECT_THROW(records[0].Int("WIDTH"), ConversionError);
  EXPECT_THROW(records[0].Int("HEIGHT"), ConversionError);  // missing
}

class GridTest : public testing_support::BandReportTest {
 protected:
  GridTest() {
    page().SetPaper(9, 2100, 2970, 0, kDefaultBin);
    page().LeftMargin = 20;
    page().RightMargin = 20;
  }

  TGridView& AddGrid(const std::string& name, const std::string& meta, int on = 0) {
    auto grid = std::make_unique<TGridView>();
    grid->Name = name;
    grid->MetaString = meta;
    return static_cast<TGridView&>(*report.Pages.Items(on).Add(std::move(grid)));
  }

  // "page:name@left,top" of every view that is not a grid, form page by form page.
  Lines Layout() {
    Lines out;
    for (int i = 0; i < report.Pages.Count(); ++i)
      for (auto& view : report.Pages.Items(i).Objects)
        if (!dynamic_cast<TGridView*>(view.get()))
          out.push_back(std::to_string(i + 1) + ":" + view->Name + "@" +
                        std::to_string(view->Left) + "," + std::to_string(view->Top));
    return out;
  }

  TvtAddInObjects add_ins_;
};

TEST_F(GridTest, ColumnsThatDoNotFitGoToAContinuationPage) {
  // W = round(2100 x 18 / 50) - 20 - 20 = 716: (600, 900) ends 900 from the first edge.
  // (100, 150) lies inside the first column and stays with it.
  AddGrid("G",
          Record({"TYPE=BAND", "BANDTYPE=5", "TOP=40", "HEIGHT=20", "NAME=Rows", "DATASET=ROWS"}) +
              Memo(0, 300, "A") + Memo(300, 300, "B") + Memo(600, 300, "C", 2) +
              Memo(100, 50, "D"));
  report.ExpandGrids();
  EXPECT_EQ(Layout(), (Lines{"1:Rows@0,40", "1:A@20,40", "1:B@320,40", "1:D@120,40", "2:Rows@0,40",
                             "2:C@20,42"}));
  EXPECT_EQ(report.Pages.Items(1).LeftMargin, 20);
  EXPECT_EQ(report.Pages.Items(1).PageWidth, 2100);
  EXPECT_EQ(Find<TvtBandView>("Rows").FormatText, "DATASETROWS");
}

TEST_F(GridTest, BandWithoutDatasetAndBlanksInTexts) {
  TGridView& grid = AddGrid("G", Record({"TYPE=BAND", "BANDTYPE=0", "TOP=0", "HEIGHT=20"}) +
                                     Record({"TYPE=MEMO", "LEFT=0", "TOP=0", "WIDTH=50",
                                             "HEIGHT=18", "NAME=M", "MEMO=a  b "}));
  report.ExpandGrids();
  const auto& objects = report.Pages.Items(0).Objects;
  ASSERT_EQ(objects.size(), 3u);
  EXPECT_EQ(objects[1]->FormatText, "DATASET");
  EXPECT_EQ(Find("M").Memo, TvtStrings{"a  b "});
  EXPECT_FALSE(grid.Visible);
}

TEST_F(GridTest, EmptyAndMalformedDescriptions) {
  AddGrid("Empty", "");
  AddGrid("Junk", "nothing here\r\nTYPE=LINE\x01LEFT=x\r\n\x01\x01\r\n");
  report.ExpandGrids();
  EXPECT_EQ(Layout(), Lines{});
  EXPECT_EQ(report.Pages.Count(), 1);

  AddGrid("Bad", Memo(0, 10, "A") + Record({"TYPE=MEMO", "LEFT=1 0", "WIDTH=5"}));
  EXPECT_THROW(report.ExpandGrids(), ConversionError);
}

TEST_F(GridTest, AContinuationPageTwoPagesAwayFailsTheMove) {
  // The first memo of horizontal page 3 comes before any memo of page 2.
  AddGrid("G", Memo(0, 700, "A") + Memo(1500, 700, "C") + Memo(700, 700, "B"));
  EXPECT_THROW(report.ExpandGrids(), ZorelError);
}

TEST_F(GridTest, ExistingPagesAfterTheGridReceiveItsColumns) {
  TvtPage& second = report.Pages.Add();
  AddText("Own", 10, "own", 18, 10, 200, 1);
  AddGrid("G", Memo(0, 700, "A") + Memo(700, 700, "B"));
  report.ExpandGrids();
  EXPECT_EQ(second.Objects.size(), 2u);
  EXPECT_EQ(Layout(), (Lines{"1:A@20,0", "2:Own@10,10", "2:B@20,0"}));
}

class TwoGridsTest : public GridTest, public ::testing::WithParamInterface<bool> {};

TEST_P(TwoGridsTest, PrepareIntoPagesInOrder) {
  report.TwoPass = GetParam();
  AddData("ROWS", R"(<FIELD attrname="N" fieldtype="string" WIDTH="5"/>)",
          R"(<ROW N="r1"/><ROW N="r2"/>)");
  AddGrid("Head", Record({"TYPE=BAND", "BANDTYPE=0", "TOP=0", "HEIGHT=30", "NAME=Title"}) +
                      Memo(0, 200, "T"));
  // The second grid is wider than the paper: 1000 + 400 - 0 > 716, 1400 + 300 - 1000 > 716.
  AddGrid("Wide",
          Record({"TYPE=BAND", "BANDTYPE=5", "TOP=60", "HEIGHT=20", "NAME=Rows", "DATASET=ROWS"}) +
              Record({"TYPE=MEMO", "LEFT=0", "TOP=0", "WIDTH=400", "HEIGHT=18", "NAME=C1",
                      "MEMO=[ROWS.N]"}) +
              Memo(400, 300, "C2") + Memo(1000, 400, "C3") + Memo(1400, 300, "C4") +
              Memo(2000, 300, "C5"));
  const Lines pages = Prepare();
  Lines names;
  for (const std::string& line : pages) names.push_back(line.substr(0, line.find('@')));
  EXPECT_EQ(names, (Lines{"1:T", "1:C1", "1:C2", "1:C1", "1:C2", "2:T", "2:C3", "2:C4", "2:C3",
                          "2:C4", "3:T", "3:C5", "3:C5"}))
      << ::testing::PrintToString(pages) << report.ErrorText << globals().ErrorMessage;
  // The saved form comes back: no generated pages or views remain.
  EXPECT_EQ(report.Pages.Count(), 1);
  EXPECT_EQ(report.FindObject("C1"), nullptr);
}

// In two passes the grid expands again before the second, which forms its pages from the
// bands of the first.
INSTANTIATE_TEST_SUITE_P(Passes, TwoGridsTest, ::testing::Bool());

}  // namespace
}  // namespace zr

namespace zr {
namespace {

TEST_F(GridTest, NonNumericPositionStopsPreparationWithTheConversionError) {
  AddBand(btReportTitle, "Title1", 0, 20);
  AddText("T", 0, "title");
  AddGrid("Bad", Record({"TYPE=MEMO", "LEFT=x", "TOP=0", "WIDTH=5", "HEIGHT=5"}));
  Prepare();
  EXPECT_NE((report.ErrorText + globals().ErrorMessage).find("'x' is not a valid integer value"),
            std::string::npos)
      << report.ErrorText << "|" << globals().ErrorMessage;
  // The form comes back whole for the next run.
  EXPECT_NE(report.FindObject("T"), nullptr);
}

}  // namespace
}  // namespace zr
