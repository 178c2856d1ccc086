#include "output/xlsx/xlsx_grid.h"

#include <algorithm>

namespace zr {

XlsxColumnGrid::XlsxColumnGrid(const std::vector<XlsxGridItem>& items) {
  for (const XlsxGridItem& item : items) {
    bounds_.push_back(item.left);
    right_ = std::max(right_, item.left + std::max(item.width, 1));
  }
  std::sort(bounds_.begin(), bounds_.end());
  bounds_.erase(std::unique(bounds_.begin(), bounds_.end()), bounds_.end());
}

std::vector<int32_t> XlsxColumnGrid::widths() const {
  std::vector<int32_t> out;
  for (size_t i = 0; i < bounds_.size(); ++i) {
    const int32_t end = i + 1 < bounds_.size() ? bounds_[i + 1] : right_;
    out.push_back(std::max(end - bounds_[i], 1));
  }
  return out;
}

int XlsxColumnGrid::ColumnOf(int32_t x) const {
  const auto it = std::upper_bound(bounds_.begin(), bounds_.end(), x);
  return std::max(static_cast<int>(it - bounds_.begin()) - 1, 0);
}

XlsxColumnGrid::Layout XlsxColumnGrid::Place(const std::vector<XlsxGridItem>& items) const {
  Layout layout;
  if (bounds_.empty()) return layout;
  std::vector<int32_t> tops;
  for (const XlsxGridItem& item : items) tops.push_back(item.top);
  std::sort(tops.begin(), tops.end());
  tops.erase(std::unique(tops.begin(), tops.end()), tops.end());
  layout.row_heights.assign(tops.size(), 1);

  std::vector<const XlsxGridItem*> order;
  for (const XlsxGridItem& item : items) order.push_back(&item);
  std::stable_sort(order.begin(), order.end(), [](const auto* a, const auto* b) {
    return a->top != b->top ? a->top < b->top : a->left < b->left;
  });
  for (const XlsxGridItem* item : order) {
    const int row =
        static_cast<int>(std::lower_bound(tops.begin(), tops.end(), item->top) - tops.begin());
    int32_t& height = layout.row_heights[static_cast<size_t>(row)];
    height = std::max(height, item->height);
    const int first = ColumnOf(item->left);
    const int last = std::max(first, ColumnOf(item->left + std::max(item->width, 1) - 1));
    if (!layout.cells.empty() && layout.cells.back().row == row) {
      XlsxGridCell& before = layout.cells.back();
      if (before.first_column == first) {
        before.items.push_back(item->index);
        before.last_column = std::max(before.last_column, last);
        continue;
      }
      before.last_column = std::min(before.last_column, first - 1);
    }
    layout.cells.push_back({row, first, last, {item->index}});
  }
  return layout;
}

}  // namespace zr
