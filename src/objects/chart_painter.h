#pragma once
// Draws a chart as vectors on a canvas: title, legend, axes with ticks and grid, and the
// series in the chart's kind. Knows nothing of views or reports; the caller passes the fonts
// and the formatting of tick labels.

#include <functional>
#include <string>
#include <vector>

#include "objects/chart_series.h"
#include "platform/canvas/geometry.h"
#include "platform/fonts/font_selection.h"

namespace zr {

class Canvas;

struct ChartStyle {
  TvtChartKind kind = ckBar;
  std::string title;
  bool legend = true;
  std::vector<TvtChartSeries> series;
  FontSelection font;  // labels; the title is the same face, bold and larger
  // The text of a value-axis tick, given the spacing of the ticks (0 for a single tick).
  std::function<std::string(double value, double step)> format_value;
};

void PaintChart(Canvas& canvas, const Rect& box, const ChartStyle& style, const ChartData& data);

// The longest prefix of `text` (whole double-byte characters) that, with "..." appended,
// fits `max_width` on the canvas's current font; `text` itself when it fits.
std::string ElideText(const Canvas& canvas, const std::string& text, int max_width);

}  // namespace zr
