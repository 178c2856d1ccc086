// 1,000 charts of 100 points each (two series, four charts a page) drawn into a PDF; the
// counters give the file size and the process's peak memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "objects/chart_painter.h"
#include "platform/canvas/cairo_canvas.h"

namespace {

void BM_ThousandChartsToPdf(benchmark::State& state) {
  using namespace zr;
  const auto path = std::filesystem::temp_directory_path() / "zr_chart_bench.pdf";
  ChartData data;
  for (int i = 0; i < 100; ++i) {
    data.Add(0, 50 + 40 * std::sin(i / 7.0), "C" + std::to_string(i));
    data.Add(1, 30 - 20 * std::cos(i / 5.0), "");
  }
  ChartStyle style;
  style.series = {{"One", "A", 0x1FFFFFFF}, {"Two", "B", 0x1FFFFFFF}};
  style.format_value = [](double v, double) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", v);
    return std::string(text);
  };
  for (auto _ : state) {
    auto canvas = CairoCanvas::for_pdf(path, 595, 842, Resolution{96, 96});
    for (int chart = 0; chart < 1000; ++chart) {
      style.kind = static_cast<TvtChartKind>(chart % (ckLastKind + 1));
      style.title = "Chart " + std::to_string(chart);
      const int slot = chart % 4;
      canvas->set_font(FontSelection{});
      PaintChart(*canvas, Rect::from_size(40, 40 + slot * 260, 700, 250), style, data);
      if (slot == 3) canvas->show_page();
    }
    canvas->finish();
  }
  state.counters["pdf_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  std::filesystem::remove(path);
}
BENCHMARK(BM_ThousandChartsToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
