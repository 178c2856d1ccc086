// Drawing speed of a typical report page: 60 rows of 6 framed text cells, Korean and Latin,
// drawn onto a 100 % page bitmap (A4 at 96 pixels per inch).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/canvas/cairo_canvas.h"
#include "platform/codepage.h"
#include "platform/fonts/font_resolver.h"
#include "platform/graphics/bitmap.h"

namespace {

constexpr int kPageWidth = 794;
constexpr int kPageHeight = 1123;
constexpr int kRows = 60;
constexpr int kColumns = 6;

void draw_page(zr::Canvas& canvas, const std::string& korean) {
  const int cell_width = (kPageWidth - 40) / kColumns;
  const int cell_height = (kPageHeight - 40) / kRows;
  canvas.set_font({.name = zr::utf8_to_ansi("굴림"), .height = -12, .charset = zr::kHangulCharset});
  canvas.set_pen({zr::kBlack, 1, zr::PenStyle::Solid});
  canvas.set_bk_mode(zr::BkMode::Transparent);
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      zr::Rect cell = zr::Rect::from_size(20 + column * cell_width, 20 + row * cell_height,
                                          cell_width, cell_height);
      zr::CanvasStateSaver saver(canvas);
      canvas.line({cell.left, cell.top}, {cell.right, cell.top});
      canvas.line({cell.left, cell.top}, {cell.left, cell.bottom});
      canvas.intersect_clip_rect({cell.left + 1, cell.top, cell.right - 2, cell.bottom - 1});
      std::string text = column % 2 ? korean : "Row " + std::to_string(row) + " 1,234.50";
      canvas.text_out({cell.left + 2, cell.top + 2}, text);
    }
  }
}

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
