#pragma once
// The value axis of a chart: a range and a tick step that read well (1, 2 or 5 times a power
// of ten) covering the data, with zero inside the range when the bars or areas start there.

#include <vector>

namespace zr {

struct ChartScale {
  double min = 0.0;
  double max = 1.0;
  double step = 1.0;

  // min, min + step, ... up to max (computed by index so no error accumulates).
  std::vector<double> Ticks() const;
  // Where `value` lies between min (0) and max (1).
  double Fraction(double value) const { return (value - min) / (max - min); }
};

// A scale over [lo, hi] with at most `max_ticks` intervals (at least 1). Non-finite bounds or
// an empty range give a sensible scale: all-zero data shows 0..1.
ChartScale NiceScale(double lo, double hi, int max_ticks, bool include_zero);

}  // namespace zr
