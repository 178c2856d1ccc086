// Finding text in the shown pages: over what each page draws, record by record, with F3
// going on after the last match.
#include <gtest/gtest.h>

#include <string>

#include "preview_fixture.h"

namespace {

using namespace zr;
using testing_support::PreviewTest;

// Five A4 pages; page 3 has the total, page 4 draws "Grand" and "total" as two lines, page
// 5 has the total twice in one line and once more in another object.
class PreviewSearch : public PreviewTest {
 protected:
  void SetUp() override {
    PreviewTest::SetUp();
    add_page(758, 1071, {{"Sales report"}});
    add_page(758, 1071, {{"Region north"}});
    add_page(758, 1071, {{"Region south", 20, 20}, {"GRAND TOTAL 42", 60, 700}});
    add_page(758, 1071, {{"Grand\ntotal", 20, 300, 300, 60}});
    add_page(758, 1071, {{"total total", 20, 100}, {"Grand total 99", 20, 500}});
    show(629, 463, 100);
  }
  TvtPreviewSearch& search() { return model.Search(); }
};

TEST_F(PreviewSearch, FindsOnPageThreeAndScrollsToIt) {
  model.FindAccepted("grand total", false, true);
  ASSERT_TRUE(search().Found);
  EXPECT_EQ(model.CurPage, 3);
  EXPECT_EQ(model.PageLabel, "Page 3/5");
  EXPECT_EQ(search().SearchText, "GRAND TOTAL");
  EXPECT_EQ(search().SearchPage, 2);
  // The text lies at (60, 700) of the page; the page's top is at 2172 in the box.
  const Rect& found = search().FoundRect;
  EXPECT_GE(found.left, 60);
  EXPECT_LT(found.left, 70);
  EXPECT_GE(found.top, 700);
  EXPECT_LT(found.top, 710);
  EXPECT_EQ(model.VScroll.Position, found.top + 2172 - 10);
  EXPECT_EQ(model.HScroll.Position, std::min(found.left + 10 - 10, model.HScroll.Max));
  EXPECT_TRUE(model.LayoutReady);
}

TEST_F(PreviewSearch, F3GoesOnAndATextSplitOverTwoRecordsIsNotFound) {
  model.FindAccepted("grand total", false, true);
  ASSERT_EQ(model.CurPage, 3);
  // Page 4 draws the phrase as two lines: the next match is on page 5.
  model.KeyDown(PreviewKey::F3, false);
  ASSERT_TRUE(search().Found);
  EXPECT_EQ(model.CurPage, 5);
  EXPECT_EQ(model.PageLabel, "Page 5/5");
  // Nothing more: the view stays, and the search stands after the last page.
  const int position = model.VScroll.Position;
  model.KeyDown(PreviewKey::F3, false);
  EXPECT_FALSE(search().Found);
  EXPECT_EQ(model.CurPage, 5);
  EXPECT_EQ(model.VScroll.Position, position);
  EXPECT_EQ(search().SearchPage, 5);
  // The next F3 starts over on the current page.
  model.KeyDown(PreviewKey::F3, false);
  EXPECT_TRUE(search().Found);
  EXPECT_EQ(model.CurPage, 5);
}

TEST_F(PreviewSearch, TwoOccurrencesInOneRecordCountOnce) {
  model.FindAccepted("total", true, true);  // case sensitive: not page 3's capitals
  ASSERT_TRUE(search().Found);
  EXPECT_EQ(model.CurPage, 4);
  model.FindNextKey();
  ASSERT_TRUE(search().Found);
  EXPECT_EQ(model.CurPage, 5);
  const Rect first = search().FoundRect;
  EXPECT_LT(first.top, 200);
  model.FindNextKey();  // the same record again is passed over: the next object
  ASSERT_TRUE(search().Found);
  EXPECT_EQ(model.CurPage, 5);
  EXPECT_GT(search().FoundRect.top, 400);
}

TEST_F(PreviewSearch, NothingFoundLeavesTheViewAlone) {
  model.SetVerticalPosition(1500);
  const int page = model.CurPage;
  model.FindAccepted("nowhere", false, true);
  EXPECT_FALSE(search().Found);
  EXPECT_EQ(model.CurPage, page);
  EXPECT_EQ(model.VScroll.Position, 1500);
  EXPECT_TRUE(model.LayoutReady);
  // An empty text never matches.
  model.FindAccepted("", false, true);
  EXPECT_FALSE(search().Found);
}

TEST_F(PreviewSearch, CurrentPageOriginAndPagingRestartTheSearch) {
  model.FindAccepted("region", false, true);
  EXPECT_EQ(model.CurPage, 2);
  // The user pages forward: F3 starts at the top of the new current page.
  model.KeyDown(PreviewKey::End, true);
  model.KeyDown(PreviewKey::PageUp, true);
  model.KeyDown(PreviewKey::PageUp, true);
  EXPECT_EQ(model.CurPage, 3);
  model.KeyDown(PreviewKey::F3, false);
  EXPECT_EQ(model.CurPage, 3);
  EXPECT_TRUE(search().Found);
  // "Current page" from page 1 finds page 2 first.
  model.KeyDown(PreviewKey::Home, true);
  model.FindAccepted("REGION", false, false);
  EXPECT_EQ(model.CurPage, 2);
}

}  // namespace
