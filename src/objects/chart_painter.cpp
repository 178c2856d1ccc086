#include "objects/chart_painter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "objects/chart_axis.h"
#include "objects/chart_layout.h"
#include "platform/canvas/canvas.h"
#include "platform/codepage.h"

namespace zr {
namespace {

constexpr int kPad = 4;
constexpr Color kGridColor = Color(0xD0D0D0u);
constexpr int32_t kNoColor = 0x1FFFFFFF;  // kClNone

Color SeriesColor(const ChartStyle& style, size_t index) {
  const int32_t own = index < style.series.size() ? style.series[index].Color : kNoColor;
  return Color(static_cast<uint32_t>(own == kNoColor ? ChartPaletteColor(index) : own));
}

std::string SeriesTitle(const ChartStyle& style, size_t index) {
  if (index >= style.series.size()) return {};
  const TvtChartSeries& s = style.series[index];
  return s.Title.empty() ? s.Source : s.Title;
}

bool Horizontal(TvtChartKind kind) {
  return kind == ckHorizBar || kind == ckStackedHorizBar;
}
bool Stacked(TvtChartKind kind) {
  return kind == ckStackedBar || kind == ckStackedHorizBar;
}
bool Bars(TvtChartKind kind) {
  return kind <= ckStackedHorizBar;
}

int Round(double v) {
  return static_cast<int>(std::lround(std::clamp(v, -1e9, 1e9)));
}

void SetFill(Canvas& canvas, Color color) {
  canvas.set_pen(Pen{kBlack, 1, PenStyle::Solid});
  canvas.set_brush(Brush::solid(color));
}

void TextAt(Canvas& canvas, Point at, const std::string& text) {
  if (!text.empty()) canvas.text_out(at, text);
}

// The series count of the data and the style together (a series may have no points yet).
size_t SeriesCount(const ChartStyle& style, const ChartData& data) {
  return std::max(style.series.size(), data.values.size());
}

// Draws the legend entries top-down at the right of `area` and returns what is left.
Rect DrawLegend(Canvas& canvas, Rect area, const std::vector<std::string>& texts,
                const std::function<Color(size_t)>& color) {
  if (texts.empty()) return area;
  const int fh = canvas.text_extent("Ag").height;
  const int max_text = std::max(0, area.width() / 3 - fh - 3 * kPad);
  int widest = 0;
  std::vector<std::string> shown;
  for (const auto& t : texts) {
    shown.push_back(ElideText(canvas, t, max_text));
    widest = std::max(widest, canvas.text_extent(shown.back()).width);
  }
  const int width = widest + fh + 3 * kPad;
  const int x = area.right - width + kPad;
  int y = area.top + kPad;
  for (size_t i = 0; i < shown.size() && y + fh <= area.bottom; ++i, y += fh + 2) {
    SetFill(canvas, color(i));
    canvas.rectangle({x, y + 1, x + fh - 2, y + fh - 1});
    TextAt(canvas, {x + fh + kPad, y}, shown[i]);
  }
  area.right -= width;
  return area;
}

// Black or white, whichever reads better on `fill`.
Color TextColorOn(Color fill) {
  const uint32_t c = fill.value();
  const double luminance =
      0.299 * (c & 0xFF) + 0.587 * ((c >> 8) & 0xFF) + 0.114 * ((c >> 16) & 0xFF);
  return luminance > 140 ? kBlack : kWhite;
}

// Each slice's share in whole percent, inside the slice where the text fits.
void DrawPieShares(Canvas& canvas, double cx, double cy, double radius, const ChartData& data,
                   double total) {
  double angle = 0;
  for (size_t i = 0; i < data.categories.size(); ++i) {
    const double v = data.At(0, i);
    if (!std::isfinite(v) || v <= 0) continue;
    const double sweep = v / total * 2 * std::numbers::pi;
    const double middle = angle + sweep / 2;
    angle += sweep;
    const std::string text = std::to_string(std::lround(v / total * 100)) + "%";
    const Size size = canvas.text_extent(text);
    // The label sits at 60% of the radius; the slice's width there must hold it.
    const double room = 2 * 0.6 * radius * std::sin(std::min(sweep, std::numbers::pi) / 2);
    if (room < size.width + 4 || radius * 0.8 < size.height * 2) continue;
    const double x = cx + 0.6 * radius * std::sin(middle), y = cy - 0.6 * radius * std::cos(middle);
    canvas.set_text_color(TextColorOn(Color(static_cast<uint32_t>(ChartPaletteColor(i)))));
    TextAt(canvas, {Round(x - size.width / 2.0), Round(y - size.height / 2.0)}, text);
  }
  canvas.set_text_color(kBlack);
}

void DrawPie(Canvas& canvas, Rect area, const ChartData& data) {
  const int size = std::min(area.width(), area.height()) - 2 * kPad;
  if (size <= 2) return;
  const double cx = area.left + area.width() / 2.0, cy = area.top + area.height() / 2.0;
  const double radius = size / 2.0;
  double total = 0;
  for (size_t i = 0; i < data.categories.size(); ++i) {
    const double v = data.At(0, i);
    if (std::isfinite(v) && v > 0) total += v;
  }
  if (total <= 0) {  // nothing to share out: the empty circle
    canvas.set_pen(Pen{kBlack, 1, PenStyle::Solid});
    canvas.set_brush(Brush::clear());
    canvas.ellipse(
        {Round(cx - radius), Round(cy - radius), Round(cx + radius), Round(cy + radius)});
    return;
  }
  double angle = 0;  // from twelve o'clock, clockwise
  for (size_t i = 0; i < data.categories.size(); ++i) {
    const double v = data.At(0, i);
    if (!std::isfinite(v) || v <= 0) continue;
    const double sweep = v / total * 2 * std::numbers::pi;
    std::vector<Point> points{{Round(cx), Round(cy)}};
    const int steps = std::max(1, static_cast<int>(std::ceil(sweep / (std::numbers::pi / 90))));
    for (int s = 0; s <= steps; ++s) {
      const double a = angle + sweep * s / steps;
      points.push_back({Round(cx + radius * std::sin(a)), Round(cy - radius * std::cos(a))});
    }
    SetFill(canvas, Color(static_cast<uint32_t>(ChartPaletteColor(i))));
    canvas.polygon(points);
    angle += sweep;
  }
  DrawPieShares(canvas, cx, cy, radius, data, total);
}

// The value range of the chart: per category sums for stacked kinds.
std::pair<double, double> ValueRange(TvtChartKind kind, const ChartData& data, size_t series) {
  double lo = INFINITY, hi = -INFINITY;
  for (size_t c = 0; c < data.categories.size(); ++c) {
    double pos = 0, neg = 0;
    for (size_t s = 0; s < series; ++s) {
      const double v = data.At(s, c);
      if (!std::isfinite(v)) continue;
      if (Stacked(kind)) {
        (v >= 0 ? pos : neg) += v;
      } else {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
      }
    }
    if (Stacked(kind)) {
      lo = std::min(lo, neg);
      hi = std::max(hi, pos);
    }
  }
  return {lo, hi};
}

// Maps values and category positions of the plot to pixels.
struct Plot {
  Rect rect;
  ChartScale scale;
  size_t categories = 1;
  bool horizontal = false;

  double Slot() const {
    return static_cast<double>(horizontal ? rect.height() : rect.width()) / categories;
  }
  double Center(size_t c) const {
    return (horizontal ? rect.top : rect.left) + (static_cast<double>(c) + 0.5) * Slot();
  }
  // The pixel of a value along the value axis.
  double At(double v) const {
    const double f = std::clamp(scale.Fraction(v), -0.01, 1.01);
    return horizontal ? rect.left + f * (rect.width() - 1)
                      : rect.bottom - 1 - f * (rect.height() - 1);
  }
};

// A bar between values a and b across [from, to) of the category axis.
Rect Bar(const Plot& plot, double from, double to, double a, double b) {
  const int p = Round(plot.At(a)), q = Round(plot.At(b));
  if (plot.horizontal) return {std::min(p, q), Round(from), std::max(p, q) + 1, Round(to)};
  return {Round(from), std::min(p, q), Round(to), std::max(p, q) + 1};
}

// Each series' bars are drawn together, one figure per colour.
void DrawBars(Canvas& canvas, const Plot& plot, TvtChartKind kind, const ChartStyle& style,
              const ChartData& data, size_t series) {
  const double slot = plot.Slot();
  std::vector<std::vector<Rect>> bars(series);
  for (size_t c = 0; c < data.categories.size(); ++c) {
    double pos = 0, neg = 0;
    for (size_t s = 0; s < series; ++s) {
      const double v = data.At(s, c);
      if (!std::isfinite(v)) continue;
      if (Stacked(kind)) {
        const double from = plot.Center(c) - slot * 0.3, to = plot.Center(c) + slot * 0.3;
        double& base = v >= 0 ? pos : neg;
        bars[s].push_back(Bar(plot, from, std::max(to, from + 1), base, base + v));
        base += v;
      } else {
        const double group = slot * 0.8, width = group / static_cast<double>(series);
        const double from = plot.Center(c) - group / 2 + width * static_cast<double>(s);
        bars[s].push_back(Bar(plot, from, std::max(from + width, from + 1), 0, v));
      }
    }
  }
  for (size_t s = 0; s < series; ++s) {
    SetFill(canvas, SeriesColor(style, s));
    canvas.rectangles(bars[s]);
  }
}

// The points' markers, drawn together.
void DrawMarkers(Canvas& canvas, const std::vector<Point>& points) {
  std::vector<Rect> markers;
  markers.reserve(points.size());
  for (Point p : points) markers.push_back({p.x - 2, p.y - 2, p.x + 3, p.y + 3});
  canvas.rectangles(markers);
}

// Lines, areas and points: each run of consecutive points drawn as one figure.
void DrawLines(Canvas& canvas, const Plot& plot, TvtChartKind kind, const ChartStyle& style,
               const ChartData& data, size_t series) {
  for (size_t s = 0; s < series; ++s) {
    const Color color = SeriesColor(style, s);
    std::vector<Point> run;
    auto flush = [&] {
      if (run.empty()) return;
      if (kind == ckArea && run.size() > 1) {
        const int base = Round(plot.At(std::clamp(0.0, plot.scale.min, plot.scale.max)));
        std::vector<Point> area = run;
        area.push_back({run.back().x, base});
        area.push_back({run.front().x, base});
        SetFill(canvas, color);
        canvas.polygon(area);
      } else if (kind == ckLine && run.size() > 1) {
        canvas.set_pen(Pen{color, 2, PenStyle::Solid});
        canvas.polyline(run);
      }
      if (kind == ckPoint || run.size() == 1) {
        SetFill(canvas, color);
        DrawMarkers(canvas, run);
      }
      run.clear();
    };
    for (size_t c = 0; c < data.categories.size(); ++c) {
      const double v = data.At(s, c);
      if (!std::isfinite(v)) {
        flush();
        continue;
      }
      run.push_back({Round(plot.Center(c)), Round(plot.At(v))});
    }
    flush();
  }
}

std::vector<std::string> TickTexts(const ChartStyle& style, const std::vector<double>& ticks) {
  std::vector<std::string> texts;
  const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : 0.0;
  for (double t : ticks) texts.push_back(style.format_value ? style.format_value(t, step) : "");
  return texts;
}

int WidestText(const Canvas& canvas, const std::vector<std::string>& texts) {
  int widest = 0;
  for (const auto& t : texts) widest = std::max(widest, canvas.text_extent(t).width);
  return widest;
}

void DrawAxes(Canvas& canvas, Rect area, const ChartStyle& style, const ChartData& data) {
  const TvtChartKind kind = style.kind;
  const size_t series = SeriesCount(style, data);
  const bool horizontal = Horizontal(kind);
  const int fh = canvas.text_extent("Ag").height;
  const size_t n = std::max<size_t>(data.categories.size(), 1);
  auto [lo, hi] = ValueRange(kind, data, series);
  const bool from_zero = Bars(kind) || kind == ckArea;

  // Category labels, shortened so that a long one cannot take the whole chart.
  std::vector<std::string> labels;
  const int label_max = std::max(fh, area.width() / 4);
  for (const auto& c : data.categories) labels.push_back(ElideText(canvas, c, label_max));

  // The value scale: ticks as dense as their labels allow along the value axis.
  const int value_span = horizontal ? area.width() : area.height() - 2 * fh;
  ChartScale scale = NiceScale(lo, hi, std::max(1, value_span / (2 * fh)), from_zero);
  std::vector<double> ticks = scale.Ticks();
  std::vector<std::string> tick_texts = TickTexts(style, ticks);
  if (horizontal) {
    const int each = WidestText(canvas, tick_texts) + 2 * kPad;
    scale = NiceScale(lo, hi, std::max(1, value_span / std::max(each, 1) - 1), from_zero);
    ticks = scale.Ticks();
    tick_texts = TickTexts(style, ticks);
  }

  Plot plot;
  plot.scale = scale;
  plot.categories = n;
  plot.horizontal = horizontal;
  plot.rect = area;
  if (horizontal) {
    plot.rect.left += WidestText(canvas, labels) + 2 * kPad;
    plot.rect.bottom -= fh + kPad;
    const int half = WidestText(canvas, {tick_texts.back()}) / 2;
    plot.rect.right -= half + kPad;
  } else {
    plot.rect.left += WidestText(canvas, tick_texts) + 2 * kPad;
    plot.rect.bottom -= fh + kPad;
    plot.rect.top += fh / 2;
    plot.rect.right -= kPad;
  }
  if (plot.rect.width() < 4 || plot.rect.height() < 4) return;

  // Grid and value labels.
  for (size_t i = 0; i < ticks.size(); ++i) {
    const int at = Round(plot.At(ticks[i]));
    const int w = canvas.text_extent(tick_texts[i]).width;
    canvas.set_pen(Pen{ticks[i] == 0.0 ? kBlack : kGridColor, 1, PenStyle::Solid});
    if (horizontal) {
      canvas.line({at, plot.rect.top}, {at, plot.rect.bottom});
      TextAt(canvas, {at - w / 2, plot.rect.bottom + kPad}, tick_texts[i]);
    } else {
      canvas.line({plot.rect.left, at}, {plot.rect.right, at});
      TextAt(canvas, {plot.rect.left - kPad - w, at - fh / 2}, tick_texts[i]);
    }
  }

  // Category labels, thinned so that no two overlap.
  std::vector<int> centers, widths;
  for (size_t c = 0; c < labels.size(); ++c) {
    centers.push_back(Round(plot.Center(c)));
    widths.push_back(horizontal ? fh : canvas.text_extent(labels[c]).width);
  }
  const size_t stride = static_cast<size_t>(LabelStride(centers, widths, kPad));
  for (size_t c = 0; c < labels.size(); c += stride) {
    if (horizontal)
      TextAt(canvas,
             {plot.rect.left - kPad - canvas.text_extent(labels[c]).width, centers[c] - fh / 2},
             labels[c]);
    else
      TextAt(canvas, {centers[c] - widths[c] / 2, plot.rect.bottom + kPad}, labels[c]);
  }

  {
    CanvasStateSaver saver(canvas);
    canvas.intersect_clip_rect(plot.rect);
    if (Bars(kind))
      DrawBars(canvas, plot, kind, style, data, series);
    else
      DrawLines(canvas, plot, kind, style, data, series);
  }
  canvas.set_pen(Pen{kBlack, 1, PenStyle::Solid});
  canvas.line({plot.rect.left, plot.rect.top}, {plot.rect.left, plot.rect.bottom - 1});
  canvas.line({plot.rect.left, plot.rect.bottom - 1}, {plot.rect.right, plot.rect.bottom - 1});
}

}  // namespace

std::string ElideText(const Canvas& canvas, const std::string& text, int max_width) {
  if (canvas.text_extent(text).width <= max_width) return text;
  // Character boundaries, a double-byte character counting as one.
  std::vector<size_t> ends;
  for (size_t i = 0; i < text.size();) {
    i += is_lead_byte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    ends.push_back(i);
  }
  size_t lo = 0, hi = ends.size();  // the answer keeps `lo` characters
  while (lo < hi) {
    const size_t mid = (lo + hi + 1) / 2;
    if (canvas.text_extent(text.substr(0, ends[mid - 1]) + "...").width <= max_width)
      lo = mid;
    else
      hi = mid - 1;
  }
  return (lo == 0 ? std::string() : text.substr(0, ends[lo - 1])) + "...";
}

void PaintChart(Canvas& canvas, const Rect& box, const ChartStyle& style, const ChartData& data) {
  CanvasStateSaver saver(canvas);
  canvas.intersect_clip_rect(box);
  canvas.set_bk_mode(BkMode::Transparent);
  canvas.set_text_color(kBlack);
  Rect area{box.left + kPad, box.top + kPad, box.right - kPad, box.bottom - kPad};

  if (!style.title.empty()) {
    FontSelection title = style.font;
    title.style |= kFsBold;
    title.height = style.font.height * 6 / 5;
    canvas.set_font(title);
    const std::string text = ElideText(canvas, style.title, area.width());
    const Size size = canvas.text_extent(text);
    TextAt(canvas, {area.left + (area.width() - size.width) / 2, area.top}, text);
    area.top += size.height + kPad;
  }
  canvas.set_font(style.font);

  if (style.kind == ckPie) {
    if (style.legend)
      area = DrawLegend(canvas, area, data.categories, [](size_t i) {
        return Color(static_cast<uint32_t>(ChartPaletteColor(i)));
      });
    DrawPie(canvas, area, data);
    return;
  }
  if (style.legend) {
    std::vector<std::string> titles;
    for (size_t s = 0; s < SeriesCount(style, data); ++s) titles.push_back(SeriesTitle(style, s));
    area = DrawLegend(canvas, area, titles, [&](size_t i) { return SeriesColor(style, i); });
  }
  DrawAxes(canvas, area, style, data);
}

}  // namespace zr
