#include "objects/chart_layout.h"

#include <algorithm>
#include <cstdint>

namespace zr {
namespace {

bool Fits(std::span<const int> centers, std::span<const int> widths, int gap, size_t stride) {
  for (size_t i = 0; i + stride < centers.size(); i += stride) {
    const size_t j = i + stride;
    // Twice the distance against the sum of widths: no halving, no rounding.
    const int64_t distance2 = 2 * (int64_t{centers[j]} - centers[i]);
    if (distance2 < int64_t{widths[i]} + widths[j] + 2 * int64_t{gap}) return false;
  }
  return true;
}

}  // namespace

int LabelStride(std::span<const int> centers, std::span<const int> widths, int gap) {
  const size_t n = std::min(centers.size(), widths.size());
  centers = centers.first(n);
  widths = widths.first(n);
  for (size_t stride = 1; stride < n; ++stride)
    if (Fits(centers, widths, gap, stride)) return static_cast<int>(stride);
  return static_cast<int>(n == 0 ? 1 : n);  // only the first label
}

}  // namespace zr
