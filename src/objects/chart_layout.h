#pragma once
// Placing category labels along an axis: which labels to show so that no two overlap.

#include <span>

namespace zr {

// The smallest stride k such that labels 0, k, 2k, ... do not overlap: each label is centred
// at centers[i] (increasing) and extends widths[i] along the axis, with at least `gap` pixels
// between neighbours. 1 when there are no labels.
int LabelStride(std::span<const int> centers, std::span<const int> widths, int gap);

}  // namespace zr
