#include <gtest/gtest.h>

#include "engine/model/memo_view.h"
#include "engine/model/page.h"
#include "engine_fixture.h"

namespace zr {
namespace {

using testing_support::EngineTest;

TEST_F(EngineTest, StartsWithTheVirtualPrinterAndA4Pages) {
  EXPECT_EQ(&TvtGlobals::Get(), &globals());
  EXPECT_TRUE(globals().printer.is_virtual());
  TvtPage page;
  EXPECT_EQ(page.PageWidth, 2100);
  EXPECT_EQ(page.PageHeight, 2970);
  EXPECT_EQ(page.PrnInfo.page_width, 758);
  Rect bounds = page.PrintableBounds();
  EXPECT_EQ(bounds.left, 18);
  EXPECT_EQ(bounds.right, 18 + 722);
}

TEST(EngineStart, OnlyOneEngineAtATime) {
  testing_support::EngineEnvironment first;
  HeadlessUi ui{nullptr};
  MemoryPrinterSystem printers;
  EXPECT_THROW(TvtGlobals(ui, printers), ZorelError);
  EXPECT_EQ(TvtGlobals::Find(), &first.globals);
}

}  // namespace
}  // namespace zr
