// A typical report page (60 rows of 6 framed text cells, Korean and Latin, A4 at 96 pixels per
// inch) recorded into a metafile and written as EMF and WMF, as the metafile exports do.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/codepage.h"
#include "platform/fonts/font_resolver.h"
#include "platform/metafile/emf_writer.h"
#include "platform/metafile/metafile_reader.h"
#include "platform/metafile/metafile_recorder.h"
#include "platform/metafile/wmf_writer.h"

namespace {

constexpr int kPageWidth = 794;
constexpr int kPageHeight = 1123;
constexpr int kRows = 60;
constexpr int kColumns = 6;
constexpr zr::Rect kPage{0, 0, kPageWidth, kPageHeight};

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

zr::Metafile record_page(const std::shared_ptr<zr::FontResolver>& fonts,
                         const std::string& korean) {
  zr::MetafileRecorder recorder(kPage, {96, 96}, fonts);
  draw_page(recorder, korean);
  return recorder.finish();
}

void BM_MetafilePageRecordedAsEmf(benchmark::State& state) {
  auto fonts = std::make_shared<zr::FontResolver>();
  const std::string korean = zr::utf8_to_ansi("합계 금액 원");
  size_t bytes = 0;
  for (auto _ : state) {
    std::string emf = zr::write_emf(record_page(fonts, korean));
    bytes = emf.size();
    benchmark::DoNotOptimize(emf.data());
  }
  state.counters["pages/s"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_MetafilePageRecordedAsEmf)->Unit(benchmark::kMillisecond);

void BM_MetafilePageRecordedAsWmf(benchmark::State& state) {
  auto fonts = std::make_shared<zr::FontResolver>();
  const std::string korean = zr::utf8_to_ansi("합계 금액 원");
  for (auto _ : state) {
    std::string wmf = zr::write_wmf(record_page(fonts, korean));
    benchmark::DoNotOptimize(wmf.data());
  }
  state.counters["pages/s"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MetafilePageRecordedAsWmf)->Unit(benchmark::kMillisecond);

void BM_MetafilePageReadFromEmf(benchmark::State& state) {
  auto fonts = std::make_shared<zr::FontResolver>();
  const std::string emf = zr::write_emf(record_page(fonts, zr::utf8_to_ansi("합계 금액 원")));
  for (auto _ : state) {
    zr::Metafile m = zr::read_emf(emf);
    benchmark::DoNotOptimize(m.records().data());
  }
  state.counters["pages/s"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MetafilePageReadFromEmf)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
