#pragma once
// What a chart shows: its kind, its series and the points they hold. Points are collected
// per series; categories are shared, so a series shorter than the longest one simply has no
// point at the missing categories (NaN, not drawn).

#include <cstdint>
#include <string>
#include <vector>

namespace zr {

class ByteReader;
class ByteWriter;

enum TvtChartKind : uint8_t {
  ckBar = 0,     // vertical bars side by side
  ckStackedBar,  // vertical bars on top of each other
  ckHorizBar,    // horizontal bars side by side
  ckStackedHorizBar,
  ckLine,
  ckArea,
  ckPoint,
  ckPie,  // the first series only, one slice per category
  ckLastKind = ckPie,
};

struct TvtChartSeries {
  std::string Title;           // the legend text; the source's name when empty
  std::string Source;          // a value field of the dataset, or the name of the memo to collect
  int32_t Color = 0x1FFFFFFF;  // no colour (kClNone): the palette colour of its position
  bool operator==(const TvtChartSeries&) const = default;
};

struct ChartData {
  std::vector<std::string> categories;
  std::vector<std::vector<double>> values;  // [series][category]

  // Appends `value` as the next point of `series`; the point's category is `category` when it
  // opens a new one.
  void Add(size_t series, double value, const std::string& category);
  // Opens a category; AddToLast adds `value` to `series`' point in the newest one (opening an
  // unnamed category when there is none), so the values of one category add up. NaN is no
  // value.
  void AddCategory(const std::string& category);
  void AddToLast(size_t series, double value);
  void Clear();
  bool Empty() const { return categories.empty(); }
  // The value or NaN.
  double At(size_t series, size_t category) const;

  // In prepared records: the points travel with the chart.
  void Write(ByteWriter& out) const;
  // Counts are checked against the bytes left, so a damaged record cannot ask for more
  // memory than it holds.
  void Read(ByteReader& in);

  bool operator==(const ChartData&) const = default;
};

// The fixed palette: colour i (0x00BBGGRR) for the series or slice at position i.
int32_t ChartPaletteColor(size_t index);

}  // namespace zr
