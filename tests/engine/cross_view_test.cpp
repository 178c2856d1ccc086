#include "engine/model/cross_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "band_report_fixture.h"
#include "platform/canvas_test_support.h"

namespace {

using testing_support::Texts;

class CrossViewTest : public testing_support::BandReportTest {
 protected:
  CrossViewTest() {
    // Runs reload the form: the class must be known, as the viewer's registration makes it.
    globals().add_ins.Register({zr::TvtCrossView::kClassName,
                                [] { return std::make_unique<zr::TvtCrossView>(); },
                                {},
                                {}});
    AddData(
        "Sales",
        R"(<FIELD attrname="Region" fieldtype="string" WIDTH="10"/><FIELD attrname="Month" fieldtype="i4"/><FIELD attrname="Amount" fieldtype="i4"/>)",
        R"(<ROW Region="E" Month="1" Amount="5"/><ROW Region="W" Month="2" Amount="7"/>)");
  }

  zr::TvtCrossView& AddCross(const std::string& name, int on, const std::string& cells) {
    auto cross = std::make_unique<zr::TvtCrossView>();
    cross->Name = name;
    cross->Memo = {"datasetSales", "Region", "Month", cells};
    return static_cast<zr::TvtCrossView&>(*report.Pages.Items(on).Add(std::move(cross)));
  }

  static bool Holds(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
};

TEST_F(CrossViewTest, FreeingOneOfTwoViewsLeavesTheOtherHooked) {
  int base_end_doc = 0;
  report.OnEndDoc = [&] { ++base_end_doc; };
  report.Pages.Add();
  AddCross("CrossA", 0, "Amount+count");
  AddCross("CrossB", 1, "Amount");
  auto& objects = page().Objects;
  objects.erase(std::find_if(objects.begin(), objects.end(),
                             [](const auto& v) { return v->Name == "CrossA"; }));

  const std::vector<std::string> texts = Texts(Prepare());
  EXPECT_TRUE(Holds(texts, "W"));
  EXPECT_TRUE(Holds(texts, "12"));  // CrossB's grand total of the sums
  EXPECT_EQ(base_end_doc, 1);

  // Both gone: the report's own handlers are back.
  report.Pages.Clear();
  ASSERT_TRUE(report.OnEndDoc);
  report.OnEndDoc();
  EXPECT_EQ(base_end_doc, 2);
  EXPECT_FALSE(report.OnBeforeBuild);
  EXPECT_FALSE(report.OnPrintColumn);
}

TEST_F(CrossViewTest, NarrowRowCaptionsMeetTheFirstColumn) {
  zr::TvtCrossView& cross = AddCross("Cross1", 0, "Amount");
  cross.CreateTemplates();
  for (const char* total : {"GrandRowTotalMemoCross1", "GrandColumnTotalMemoCross1"})
    Find(total).Memo = {"T"};  // captions as short as the keys
  Prepare();
  report.EMFPages.ObjectsToPage(0);
  const zr::TvtView *caption = nullptr, *cell = nullptr;
  for (const auto& view : report.EMFPages.PageInfo(0).Page->Objects) {
    const std::string text = view->Memo.empty() ? "" : view->Memo[0];
    if (view->Name == "CrossMemo0Cross1" && text == "E") caption = view.get();
    if (caption && !cell && view->Name == "CrossMemoCross1") cell = view.get();
  }
  ASSERT_TRUE(caption && cell);
  EXPECT_EQ(caption->Top, cell->Top);
  EXPECT_EQ(caption->Left + caption->Width, cell->Left);
}

TEST_F(CrossViewTest, HandlerSetOverTheChainIsKept) {
  AddCross("Cross1", 0, "Amount");
  int before_build = 0;
  report.OnBeforeBuild = [&] { ++before_build; };
  // This run calls only the new handler; the views the run's reload makes chain themselves
  // before it, so the next run has both.
  Prepare();
  EXPECT_EQ(before_build, 1);
  const std::vector<std::string> texts = Texts(Prepare());
  EXPECT_TRUE(Holds(texts, "12")) << testing::PrintToString(texts) << globals().ErrorMessage;
  EXPECT_EQ(before_build, 2);
  report.Pages.Clear();
  ASSERT_TRUE(report.OnBeforeBuild);
  report.OnBeforeBuild();
  EXPECT_EQ(before_build, 3);
}

TEST_F(CrossViewTest, UnknownFieldFailsThroughThePreparationError) {
  AddCross("Cross1", 0, "Nope+sum");
  EXPECT_TRUE(Prepare().empty());
  EXPECT_TRUE(globals().ErrorFlag);
  EXPECT_NE(globals().ErrorMessage.find("Cross1"), std::string::npos) << globals().ErrorMessage;
  EXPECT_NE(globals().ErrorMessage.find("Nope"), std::string::npos) << globals().ErrorMessage;
}

TEST_F(CrossViewTest, IncompleteDefinitionPrintsNothing) {
  AddCross("Cross1", 0, " ");
  EXPECT_TRUE(Prepare().empty());
  EXPECT_FALSE(globals().ErrorFlag);
}

TEST_F(CrossViewTest, DesignDrawingMakesAndShowsTheTemplates) {
  globals().mode = zr::EngineMode::Design;
  zr::TvtCrossView& view = AddCross("Cross1", 0, "Amount");
  view.SetBounds(10, 10, 348, 94);
  zr::test::Drawing d(400, 120);
  view.DrawCanvas = d.canvas.get();
  view.Draw(*d.canvas);
  for (const char* name : zr::TvtCrossView::kTemplateNames)
    EXPECT_NE(report.FindObject(name + std::string("Cross1")), nullptr) << name;
  // "Cell" inside its template at (92, 28) of the view; nothing left of the view.
  EXPECT_GT(d.inked_count(zr::Rect::from_size(10 + 92 + 2, 10 + 28 + 2, 76, 14)), 0);
  EXPECT_EQ(d.inked_count(zr::Rect::from_size(0, 0, 9, 120)), 0);
  // Drawn again, the templates are not made twice.
  const size_t objects = page().Objects.size();
  view.Draw(*d.canvas);
  EXPECT_EQ(page().Objects.size(), objects);
}

TEST_F(CrossViewTest, RecordKeepsItsSwitches) {
  zr::TvtCrossView view;
  view.InternalFrame = true;
  view.ShowHeader = false;
  view.Memo = {"a", "b", "c", "d"};
  zr::ByteWriter out;
  out.set_version(24);
  view.SaveToStream(out);
  const std::string bytes = out.take();
  zr::ByteReader in(std::string_view(bytes), "<cross>");
  in.set_version(24);
  zr::TvtCrossView back;
  back.LoadFromStream(in);
  EXPECT_TRUE(back.InternalFrame);
  EXPECT_FALSE(back.RepeatCaptions);
  EXPECT_FALSE(back.ShowHeader);
  EXPECT_EQ(back.Memo, view.Memo);
  EXPECT_FALSE(back.Visible);
}

}  // namespace
