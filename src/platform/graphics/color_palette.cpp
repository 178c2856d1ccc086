#include "platform/graphics/color_palette.h"

#include <algorithm>
#include <array>
#include <limits>

#include "platform/errors.h"

namespace zr {

namespace {

constexpr int kCells = 1 << 15;

int channel(uint32_t color, int which) {
  return (color >> (8 * which)) & 0xFF;
}

int cell_of(uint32_t color) {
  return (channel(color, 0) >> 3) | ((channel(color, 1) >> 3) << 5) |
         ((channel(color, 2) >> 3) << 10);
}

int cell_axis(int cell, int axis) {
  return (cell >> (5 * axis)) & 31;
}

struct Histogram {
  std::vector<uint64_t> count = std::vector<uint64_t>(kCells);
  std::vector<std::array<uint64_t, 3>> sum = std::vector<std::array<uint64_t, 3>>(kCells);
};

struct Box {
  size_t begin;  // range in the cell list
  size_t end;
  uint64_t population;
};

uint64_t population(const Histogram& h, const std::vector<int>& cells, size_t begin, size_t end) {
  uint64_t total = 0;
  for (size_t i = begin; i < end; ++i) total += h.count[cells[i]];
  return total;
}

// Splits the box at the population median of its longest axis; returns the upper half.
Box split(const Histogram& h, std::vector<int>& cells, Box& box) {
  int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
  for (size_t i = box.begin; i < box.end; ++i)
    for (int a = 0; a < 3; ++a) {
      lo[a] = std::min(lo[a], cell_axis(cells[i], a));
      hi[a] = std::max(hi[a], cell_axis(cells[i], a));
    }
  int axis = 0;
  for (int a = 1; a < 3; ++a)
    if (hi[a] - lo[a] > hi[axis] - lo[axis]) axis = a;
  std::sort(cells.begin() + box.begin, cells.begin() + box.end, [axis](int a, int b) {
    int va = cell_axis(a, axis), vb = cell_axis(b, axis);
    return va != vb ? va < vb : a < b;
  });
  uint64_t half = box.population / 2, running = 0;
  size_t cut = box.begin + 1;
  for (size_t i = box.begin; i + 1 < box.end; ++i) {
    running += h.count[cells[i]];
    cut = i + 1;
    if (running >= half) break;
  }
  Box upper{cut, box.end, population(h, cells, cut, box.end)};
  box.end = cut;
  box.population -= upper.population;
  return upper;
}

}  // namespace

ColorPalette ColorPalette::build(std::span<const uint32_t> colors, int max_colors) {
  if (max_colors < 1 || max_colors > 256)
    throw ZorelError("Palette size must be 1 to 256", ErrorKind::Argument);
  ColorPalette palette;
  std::vector<uint32_t> distinct;
  for (uint32_t c : colors) {
    distinct.push_back(c & 0xFFFFFF);
    // Keep the working copy small while there is a chance of an exact palette.
    if (distinct.size() > 4096) {
      std::sort(distinct.begin(), distinct.end());
      distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
      if (distinct.size() > static_cast<size_t>(max_colors)) break;
    }
  }
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  if (distinct.size() <= static_cast<size_t>(max_colors)) {
    palette.colors_ = std::move(distinct);
    return palette;
  }

  palette.exact_ = false;
  Histogram h;
  for (uint32_t c : colors) {
    int cell = cell_of(c);
    ++h.count[cell];
    for (int a = 0; a < 3; ++a) h.sum[cell][a] += channel(c, a);
  }
  std::vector<int> cells;
  for (int cell = 0; cell < kCells; ++cell)
    if (h.count[cell]) cells.push_back(cell);
  std::vector<Box> boxes{{0, cells.size(), population(h, cells, 0, cells.size())}};
  while (boxes.size() < static_cast<size_t>(max_colors)) {
    // The most populous box that still holds more than one cell.
    Box* widest = nullptr;
    for (Box& box : boxes)
      if (box.end - box.begin > 1 && (!widest || box.population > widest->population))
        widest = &box;
    if (!widest) break;
    Box upper = split(h, cells, *widest);
    boxes.push_back(upper);
  }
  for (const Box& box : boxes) {
    uint64_t total[3] = {0, 0, 0};
    for (size_t i = box.begin; i < box.end; ++i)
      for (int a = 0; a < 3; ++a) total[a] += h.sum[cells[i]][a];
    uint32_t color = 0;
    for (int a = 0; a < 3; ++a)
      color |= static_cast<uint32_t>((total[a] + box.population / 2) / box.population) << (8 * a);
    palette.colors_.push_back(color);
  }
  return palette;
}

uint8_t ColorPalette::nearest(uint32_t color) const {
  int best = 0;
  int64_t best_distance = std::numeric_limits<int64_t>::max();
  for (size_t i = 0; i < colors_.size(); ++i) {
    int64_t d = 0;
    for (int a = 0; a < 3; ++a) {
      int64_t diff = channel(colors_[i], a) - channel(color, a);
      d += diff * diff;
    }
    if (d < best_distance) best_distance = d, best = static_cast<int>(i);
  }
  return static_cast<uint8_t>(best);
}

uint8_t ColorPalette::index_of(uint32_t color) const {
  color &= 0xFFFFFF;
  if (colors_.empty()) return 0;
  if (exact_) {
    auto it = std::lower_bound(colors_.begin(), colors_.end(), color);
    if (it != colors_.end() && *it == color) return static_cast<uint8_t>(it - colors_.begin());
    return nearest(color);
  }
  if (cell_index_.empty()) cell_index_.assign(kCells, -1);
  int cell = cell_of(color);
  if (cell_index_[cell] < 0) {
    // The cell's centre stands for every colour in it.
    uint32_t centre = 0;
    for (int a = 0; a < 3; ++a)
      centre |= static_cast<uint32_t>(cell_axis(cell, a) * 8 + 4) << (8 * a);
    cell_index_[cell] = nearest(centre);
  }
  return static_cast<uint8_t>(cell_index_[cell]);
}

}  // namespace zr
