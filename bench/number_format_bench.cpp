// Picture formatting runs once per printed number of a report; it works on the exact decimal
// expansion of each double, which is worth watching.
#include <benchmark/benchmark.h>

#include "platform/format_text.h"
#include "platform/number_format.h"

namespace {

void BM_FormatFloatGrouped(benchmark::State& state) {
  double value = 1234567.891;
  for (auto _ : state) {
    benchmark::DoNotOptimize(zr::format_float("#,##0.00;(#,##0.00);-", value));
    value += 0.37;
  }
}
BENCHMARK(BM_FormatFloatGrouped);

void BM_FormatFloatTiny(benchmark::State& state) {
  double value = 1.2345e-300;  // the longest exact expansions
  for (auto _ : state) benchmark::DoNotOptimize(zr::format_float("0.00E+00", value));
}
BENCHMARK(BM_FormatFloatTiny);

void BM_FormatStringInt(benchmark::State& state) {
  const std::vector<zr::Value> args = {zr::Value(42)};
  for (auto _ : state) benchmark::DoNotOptimize(zr::format_string("%5d", args));
}
BENCHMARK(BM_FormatStringInt);

}  // namespace

BENCHMARK_MAIN();
