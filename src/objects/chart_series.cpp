#include "objects/chart_series.h"

#include <cmath>
#include <limits>

#include "platform/byte_stream.h"

namespace zr {

void ChartData::Add(size_t series, double value, const std::string& category) {
  if (values.size() <= series) values.resize(series + 1);
  auto& points = values[series];
  if (points.size() >= categories.size()) categories.push_back(category);
  points.push_back(value);
}

void ChartData::AddCategory(const std::string& category) {
  categories.push_back(category);
}

void ChartData::AddToLast(size_t series, double value) {
  if (std::isnan(value)) return;
  if (categories.empty()) categories.emplace_back();
  if (values.size() <= series) values.resize(series + 1);
  auto& points = values[series];
  points.resize(categories.size(), std::numeric_limits<double>::quiet_NaN());
  double& point = points.back();
  point = std::isnan(point) ? value : point + value;
}

void ChartData::Clear() {
  categories.clear();
  for (auto& points : values) points.clear();
}

double ChartData::At(size_t series, size_t category) const {
  if (series >= values.size() || category >= values[series].size())
    return std::numeric_limits<double>::quiet_NaN();
  return values[series][category];
}

void ChartData::Write(ByteWriter& out) const {
  out.write_u32(static_cast<uint32_t>(categories.size()));
  for (const auto& c : categories) out.write_string(c);
  out.write_u32(static_cast<uint32_t>(values.size()));
  for (const auto& points : values) {
    out.write_u32(static_cast<uint32_t>(points.size()));
    for (double v : points) out.write_double(v);
  }
}

void ChartData::Read(ByteReader& in) {
  Clear();
  values.clear();
  auto count = [&](size_t min_bytes) {
    const uint32_t n = in.read_u32();
    if (n > in.remaining() / min_bytes) in.fail("chart point count out of range");
    return n;
  };
  const uint32_t categories_count = count(1);
  categories.reserve(categories_count);
  for (uint32_t i = 0; i < categories_count; ++i) categories.push_back(in.read_string());
  const uint32_t series_count = count(4);
  values.resize(series_count);
  for (auto& points : values) {
    const uint32_t n = count(8);
    if (n > categories_count) in.fail("chart series longer than its categories");
    points.reserve(n);
    for (uint32_t i = 0; i < n; ++i) points.push_back(in.read_double());
  }
}

int32_t ChartPaletteColor(size_t index) {
  static constexpr int32_t kPalette[] = {0xB47731, 0x0E7FFF, 0x2CA02C, 0x2827D6, 0xBD6794,
                                         0x4B568C, 0xC277E3, 0x7F7F7F, 0x22BDBC, 0xCFBE17};
  return kPalette[index % std::size(kPalette)];
}

}  // namespace zr
