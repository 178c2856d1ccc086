#pragma once
// The cell grid a page's text objects are laid on.
//
// Columns: the distinct left edges of the text objects are the column boundaries; a column
// runs from its boundary to the next one, the last one to the rightmost right edge. An object
// starts in the column of the last boundary at or left of its left edge and spans every
// column whose boundary lies left of its right edge (a merged range when that is more than
// one). A report's pages look alike, so a grid taken from one page serves the following ones;
// an object of a later page whose left edge is no boundary joins the column it starts in.
//
// Rows: the distinct top edges of a page's text objects, top to bottom; an object lies in
// the row of its top, and a row is as high as its highest object. Within a row, ranges never
// overlap: an object cuts the range of the object before it short, and two objects starting
// in the same cell share it (their texts joined by a blank, in left-to-right order).

#include <cstdint>
#include <string>
#include <vector>

namespace zr {

// A text object of a page, in design pixels.
struct XlsxGridItem {
  int32_t left = 0, top = 0, width = 0, height = 0;
  size_t index = 0;  // the caller's own number for the object
};

struct XlsxGridCell {
  int row = 0;  // row of the page, from 0
  int first_column = 0, last_column = 0;
  std::vector<size_t> items;  // the objects of the cell, left to right

  bool operator==(const XlsxGridCell&) const = default;
};

class XlsxColumnGrid {
 public:
  XlsxColumnGrid() = default;
  // The grid of these objects.
  explicit XlsxColumnGrid(const std::vector<XlsxGridItem>& items);

  bool empty() const { return bounds_.empty(); }
  int column_count() const { return static_cast<int>(bounds_.size()); }
  // The column widths in design pixels (at least 1).
  std::vector<int32_t> widths() const;

  // The page's cells, row by row and left to right within a row, and the height of each row
  // in design pixels.
  struct Layout {
    std::vector<XlsxGridCell> cells;
    std::vector<int32_t> row_heights;
  };
  Layout Place(const std::vector<XlsxGridItem>& items) const;

 private:
  int ColumnOf(int32_t x) const;
  std::vector<int32_t> bounds_;  // ascending
  int32_t right_ = 0;
};

}  // namespace zr
