// Drawing speed of a typical report page: 60 rows of 6 framed text cells, Korean and Latin,
// drawn onto a 100 % page bitmap (A4 at 96 pixels per inch).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/canvas/cairo_canvas.h"
#include "platform/codepage.h"
#include "platform/fonts/font_resolver.h"
#include "platform/graphics/bitmap.h"
#include "report_page.h"

namespace {

using zr::bench::draw_page;
using zr::bench::kPage;
using zr::bench::kPageHeight;
using zr::bench::kPageWidth;

void BM_CanvasPageOnBitmap(benchmark::State& state) {
  auto fonts = std::make_shared<zr::FontResolver>();
  const std::string korean = zr::utf8_to_ansi("합계 금액 원");
  zr::Bitmap page(kPageWidth, kPageHeight);
  for (auto _ : state) {
    page.fill(zr::argb_from_color(0xFFFFFF));
    auto canvas = zr::CairoCanvas::for_bitmap(page, fonts);
    draw_page(*canvas, korean);
    canvas->flush();
    benchmark::DoNotOptimize(page.data());
  }
  state.counters["pages/s"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CanvasPageOnBitmap)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
