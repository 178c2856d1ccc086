// The cell grid of a page's text objects: columns from left edges, rows from top edges,
// ranges that never overlap.
#include "output/xlsx/xlsx_grid.h"

#include <gtest/gtest.h>

namespace zr {

void PrintTo(const XlsxGridCell& c, std::ostream* os) {
  *os << "{row " << c.row << ", columns " << c.first_column << "-" << c.last_column << ", items "
      << ::testing::PrintToString(c.items) << "}";
}

namespace {

XlsxGridItem item(int32_t left, int32_t top, int32_t width, int32_t height, size_t index) {
  return {left, top, width, height, index};
}

TEST(XlsxGrid, ColumnsFromLeftEdgesAndSpans) {
  // A title over three columns, a header row and a data row below it.
  const std::vector<XlsxGridItem> page = {
      item(40, 10, 300, 30, 0),                                                        // title
      item(40, 50, 80, 20, 1),  item(120, 50, 100, 20, 2), item(220, 50, 120, 20, 3),  // header
      item(40, 70, 80, 18, 4),  item(120, 70, 100, 18, 5), item(220, 70, 120, 18, 6),  // data
  };
  const XlsxColumnGrid grid(page);
  EXPECT_EQ(grid.widths(), (std::vector<int32_t>{80, 100, 120}));
  const XlsxColumnGrid::Layout layout = grid.Place(page);
  EXPECT_EQ(layout.row_heights, (std::vector<int32_t>{30, 20, 18}));
  const std::vector<XlsxGridCell> expected = {
      {0, 0, 2, {0}}, {1, 0, 0, {1}}, {1, 1, 1, {2}}, {1, 2, 2, {3}},
      {2, 0, 0, {4}}, {2, 1, 1, {5}}, {2, 2, 2, {6}},
  };
  EXPECT_EQ(layout.cells, expected);
}

TEST(XlsxGrid, OverlapsAreCutAndSharedCellsJoined) {
  const XlsxColumnGrid grid(
      {item(0, 0, 50, 10, 0), item(50, 0, 50, 10, 1), item(100, 0, 50, 10, 2)});
  // On a later page: a wide object running into the next one, which cuts it short; two
  // objects starting in one column (the second is no boundary of the grid) share the cell;
  // an object left of the first boundary joins the first column.
  const std::vector<XlsxGridItem> later = {
      item(0, 5, 140, 10, 0),  item(100, 5, 50, 10, 1),  // row 0
      item(50, 20, 20, 10, 2), item(75, 20, 20, 10, 3),  // row 1
      item(-5, 40, 10, 10, 4),                           // row 2
  };
  const XlsxColumnGrid::Layout layout = grid.Place(later);
  const std::vector<XlsxGridCell> expected = {
      {0, 0, 1, {0}}, {0, 2, 2, {1}}, {1, 1, 1, {2, 3}}, {2, 0, 0, {4}}};
  EXPECT_EQ(layout.cells, expected);
  EXPECT_TRUE(XlsxColumnGrid().Place(later).cells.empty());
}

}  // namespace
}  // namespace zr
