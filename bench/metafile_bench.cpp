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
#include "report_page.h"

namespace {

using zr::bench::draw_page;
using zr::bench::kPage;
using zr::bench::kPageHeight;
using zr::bench::kPageWidth;

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
