#include "objects/chart_axis.h"

#include <algorithm>
#include <cmath>

namespace zr {
namespace {

// The smallest of 1, 2, 5 x 10^n that is at least `raw`.
double NiceStep(double raw) {
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * power >= raw * (1 - 1e-12)) return m * power;
  return 10 * power;
}

}  // namespace

std::vector<double> ChartScale::Ticks() const {
  std::vector<double> ticks;
  const long count = std::lround((max - min) / step);
  for (long i = 0; i <= count; ++i) {
    double t = min + static_cast<double>(i) * step;
    if (std::fabs(t) < step * 1e-9) t = 0.0;  // no "-0" or 1e-17 labels
    ticks.push_back(t);
  }
  return ticks;
}

ChartScale NiceScale(double lo, double hi, int max_ticks, bool include_zero) {
  if (!std::isfinite(lo) || !std::isfinite(hi)) lo = hi = 0.0;
  if (lo > hi) std::swap(lo, hi);
  if (include_zero) {
    lo = std::min(lo, 0.0);
    hi = std::max(hi, 0.0);
  }
  if (hi - lo <= std::max(std::fabs(hi), std::fabs(lo)) * 1e-12) {
    // One value (or none): a unit range around it, starting at zero when it is zero.
    const double span = lo == 0.0 ? 1.0 : std::fabs(lo) / 2;
    if (lo >= 0.0) {
      hi = lo + span;
      if (lo != 0.0) lo -= span;
    } else {
      lo -= span;
      hi += span;
    }
    if (include_zero) {
      lo = std::min(lo, 0.0);
      hi = std::max(hi, 0.0);
    }
  }
  max_ticks = std::max(max_ticks, 1);
  double step = NiceStep((hi - lo) / max_ticks);
  // Rounding the ends outwards may need one interval more than asked: widen the step then.
  for (int tries = 0; tries < 4; ++tries) {
    const double a = std::floor(lo / step) * step, b = std::ceil(hi / step) * step;
    if (std::lround((b - a) / step) <= max_ticks) return {a, b, step};
    step = NiceStep(step * 1.01);
  }
  return {std::floor(lo / step) * step, std::ceil(hi / step) * step, step};
}

}  // namespace zr
