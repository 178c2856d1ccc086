// Encoding and drawing 100,000 barcodes (EAN-13, Code 128 B and Code 39 in turn, texts that
// change every time) onto a bitmap, and encoding alone.
#include <benchmark/benchmark.h>

#include <string>

#include "objects/barcode.h"
#include "platform/canvas/cairo_canvas.h"
#include "platform/graphics/bitmap.h"

namespace {

constexpr int kBarcodes = 100000;
constexpr int kTypes[] = {zr::bcCodeEAN13, zr::bcCode128B, zr::bcCode39};

zr::TvtBarcode barcode_number(int i) {
  zr::TvtBarcode b;
  b.Typ = kTypes[i % 3];
  b.Checksum = true;
  b.Height = 60;
  b.SetText(std::to_string(100000000000LL + i));
  return b;
}

void BM_EncodeAndDraw100k(benchmark::State& state) {
  zr::Bitmap bitmap(400, 80, zr::argb_from_color(0xFFFFFF));
  auto canvas = zr::CairoCanvas::for_bitmap(bitmap);
  for (auto _ : state) {
    for (int i = 0; i < kBarcodes; ++i) {
      zr::TvtBarcode b = barcode_number(i);
      b.DrawBarcode(*canvas);
    }
    canvas->flush();
    benchmark::DoNotOptimize(bitmap.data());
  }
  state.counters["barcodes/s"] =
      benchmark::Counter(double(state.iterations()) * kBarcodes, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EncodeAndDraw100k)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Encode100k(benchmark::State& state) {
  for (auto _ : state) {
    size_t total = 0;
    for (int i = 0; i < kBarcodes; ++i) total += barcode_number(i).Encode().size();
    benchmark::DoNotOptimize(total);
  }
  state.counters["barcodes/s"] =
      benchmark::Counter(double(state.iterations()) * kBarcodes, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Encode100k)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
