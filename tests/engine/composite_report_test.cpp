// Several reports prepared as one document: members in order into the composite's pages,
// continuing on the previous page when asked, once per record of a driving dataset, with the
// members' document events and forms kept as they were.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/model/band_view.h"
#include "engine/model/memo_view.h"
#include "engine/report/composite_report.h"
#include "engine/run/band.h"
#include "engine/run/report_dataset.h"
#include "engine_fixture.h"

namespace zr {
namespace {

using Lines = std::vector<std::string>;

class CompositeReportTest : public testing_support::EngineTest {
 protected:
  CompositeReportTest() {
    composite.ShowProgress = false;
    composite.Reports = {&first, &second};
    for (TvtReport* member : composite.Reports) {
      member->Pages.Add();
      member->ShowProgress = false;
    }
  }

  // A title band with one memo on the member's form page `on` (0-based).
  void AddTitle(TvtReport& member, const std::string& text, int height = 40, int on = 0) {
    const std::string suffix = member.Name + (on ? std::to_string(on + 1) : "");
    auto band = std::make_unique<TvtBandView>();
    band->Name = "Title" + suffix;
    band->SetBandType(btReportTitle);
    band->SetBounds(0, 0, 600, height);
    member.Pages.Items(on).Add(std::move(band));
    auto memo = std::make_unique<TvtMemoView>();
    memo->Name = "Memo" + suffix;
    memo->SetBounds(10, 0, 300, 18);
    memo->Memo = {text};
    member.Pages.Items(on).Add(std::move(memo));
  }

  // "page:text@top" for every prepared object of the composite.
  Lines Dump() {
    Lines out;
    for (int i = 0; i < composite.EMFPages.Count(); ++i) {
      composite.EMFPages.ObjectsToPage(i);
      for (auto& view : composite.EMFPages.PageInfo(i).Page->Objects)
        out.push_back(std::to_string(i + 1) + ":" + view->Memo.at(0) + "@" +
                      std::to_string(view->Top));
    }
    return out;
  }

  int top() { return first.Pages.Items(0).PrintableBounds().top; }

  TvtReport first{"First"}, second{"Second"};
  TvtCompositeReport composite;
};

TEST_F(CompositeReportTest, MembersFollowEachOtherOnNewPages) {
  AddTitle(first, "first [PAGE#]");
  AddTitle(second, "second [PAGE#]");
  ASSERT_TRUE(composite.PrepareReport());
  const std::string t = std::to_string(top());
  EXPECT_EQ(Dump(), (Lines{"1:first 1@" + t, "2:second 2@" + t}));
  EXPECT_EQ(first.EMFPages.Count(), 0);  // members write into the composite's pages

  // Two passes over the members: the second knows the total.
  first.FindObject("MemoFirst")->Memo = {"first [PAGE#] of [TOTALPAGES]"};
  composite.TwoPass = true;
  ASSERT_TRUE(composite.PrepareReport());
  EXPECT_EQ(Dump(), (Lines{"1:first 1 of 2@" + t, "2:second 2@" + t}));
}

TEST_F(CompositeReportTest, NextMemberContinuesOnTheLastPage) {
  AddTitle(first, "first");
  AddTitle(second, "second");
  second.Pages.Items(0).PrintToPrevPage = true;
  ASSERT_TRUE(composite.PrepareReport());
  EXPECT_EQ(Dump(),
            (Lines{"1:first@" + std::to_string(top()), "1:second@" + std::to_string(top() + 40)}));

  // Other paper: no continuing.
  second.Pages.Items(0).Orientation = 1;
  ASSERT_TRUE(composite.PrepareReport());
  EXPECT_EQ(composite.EMFPages.Count(), 2);
}

TEST_F(CompositeReportTest, ContinuingInsideAMemberAndOnIntoTheNextInOneAndTwoPasses) {
  AddTitle(first, "first [PAGE#]");
  first.Pages.Add().PrintToPrevPage = true;
  AddTitle(first, "first more [PAGE#]", 40, 1);
  AddTitle(second, "second [PAGE#] of [TOTALPAGES]");
  second.Pages.Items(0).PrintToPrevPage = true;
  const int t = top();
  for (const bool two_pass : {false, true}) {
    SCOPED_TRACE(two_pass ? "two passes" : "one pass");
    composite.TwoPass = two_pass;
    ASSERT_TRUE(composite.PrepareReport());
    EXPECT_EQ(Dump(),
              (Lines{"1:first 1@" + std::to_string(t), "1:first more 1@" + std::to_string(t + 40),
                     "1:second 1 of " + std::string(two_pass ? "1" : "0") + "@" +
                         std::to_string(t + 80)}));
  }
}

TEST_F(CompositeReportTest, DocumentEventsWrapTheWholeRunAndFormsComeBack) {
  AddTitle(first, "first");
  AddTitle(second, "second");
  first.Pages.Items(0).Script = {"begin MemoFirst.Left := 50 end"};
  Lines events;
  for (TvtReport* member : composite.Reports) {
    member->OnBeginDoc = [&events, member] { events.push_back("begin " + member->Name); };
    member->OnEndDoc = [&events, member] { events.push_back("end " + member->Name); };
  }
  composite.OnBeginPage = [&events](int page) { events.push_back("page " + std::to_string(page)); };
  ASSERT_TRUE(composite.PrepareReport());
  EXPECT_EQ(events,
            (Lines{"begin First", "begin Second", "page 0", "page 1", "end First", "end Second"}));
  composite.EMFPages.ObjectsToPage(0);
  EXPECT_EQ(composite.EMFPages.PageInfo(0).Page->Objects.at(0)->Left, 50);
  EXPECT_EQ(first.FindObject("MemoFirst")->Left, 10);  // the script's change is undone
}

TEST_F(CompositeReportTest, DrivingDatasetRepeatsTheMembers) {
  AddTitle(first, "first [PAGE#]");
  AddTitle(second, "second [PAGE#]");
  TvtUserDataset records;
  records.RangeEnd = reCount;
  records.RangeEndCount = 2;
  composite.Dataset = &records;
  ASSERT_TRUE(composite.PrepareReport());
  const std::string t = std::to_string(top());
  EXPECT_EQ(Dump(),
            (Lines{"1:first 1@" + t, "2:second 2@" + t, "3:first 3@" + t, "4:second 4@" + t}));
}

TEST_F(CompositeReportTest, StopReportInAMemberEndsTheComposite) {
  AddTitle(first, "first");
  AddTitle(second, "second");
  first.Pages.Items(0).Script = {"begin STOPREPORT end"};
  composite.PrepareReport();
  EXPECT_TRUE(composite.Terminated);
  for (const std::string& line : Dump()) EXPECT_EQ(line.find("second"), std::string::npos);
}

}  // namespace
}  // namespace zr
