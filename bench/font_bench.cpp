// Speed of font creation and text measurement, which memo layout calls once per line piece.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/fonts/font_resolver.h"

namespace {

// "서울특별시 중구 세종대로 110, Seoul" in code page 949.
const std::string kLine =
    "\xBC\xAD\xBF\xEF\xC6\xAF\xBA\xB0\xBD\xC3 \xC1\xDF\xB1\xB8 "
    "\xBC\xBC\xC1\xBE\xB4\xEB\xB7\xCE 110, Seoul";

void BM_TextExtentCached(benchmark::State& state) {
  zr::FontResolver resolver;
  std::shared_ptr<const zr::Font> font = resolver.font({"Arial", -16});
  for (auto _ : state) benchmark::DoNotOptimize(font->text_width(kLine));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kLine.size()));
}
BENCHMARK(BM_TextExtentCached);

// A new size each time: resolution is cached, the face is opened and measured afresh.
void BM_FontAtNewSize(benchmark::State& state) {
  zr::FontResolver resolver;
  int height = 8;
  for (auto _ : state) {
    height = height >= 1000 ? 8 : height + 1;  // more sizes than the cache holds
    benchmark::DoNotOptimize(resolver.font({"Arial", -height})->text_width(kLine));
  }
}
BENCHMARK(BM_FontAtNewSize);

}  // namespace

BENCHMARK_MAIN();
