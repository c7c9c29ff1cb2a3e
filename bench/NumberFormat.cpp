// Number text by pattern and by significant digits against printf, which a
// C++ programmer would otherwise reach for.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "foundation/NumberFormat.h"

namespace {

const double kValues[] = {0, 1.5, -12.25, 1234.5, 1234567.891, 0.000123, 98765432.1};

void FormatNumberThousandsPattern(benchmark::State &state) {
  string pattern("#,##0.00");
  for (auto _ : state)
    for (double value : kValues)
      benchmark::DoNotOptimize(FormatNumber(value, pattern));
  state.SetItemsProcessed(state.iterations() * std::size(kValues));
}
BENCHMARK(FormatNumberThousandsPattern);

void SnprintfFixedTwoDecimals(benchmark::State &state) {
  char text[64];
  for (auto _ : state)
    for (double value : kValues)
      benchmark::DoNotOptimize(std::snprintf(text, sizeof text, "%.2f", value));
  state.SetItemsProcessed(state.iterations() * std::size(kValues));
}
BENCHMARK(SnprintfFixedTwoDecimals);

void DoubleStrAutomatic(benchmark::State &state) {
  for (auto _ : state)
    for (double value : kValues)
      benchmark::DoNotOptimize(doubleStr(value, kDoubleStrAutomatic, 7));
  state.SetItemsProcessed(state.iterations() * std::size(kValues));
}
BENCHMARK(DoubleStrAutomatic);

void SnprintfShortest(benchmark::State &state) {
  char text[64];
  for (auto _ : state)
    for (double value : kValues)
      benchmark::DoNotOptimize(std::snprintf(text, sizeof text, "%.7g", value));
  state.SetItemsProcessed(state.iterations() * std::size(kValues));
}
BENCHMARK(SnprintfShortest);

} // namespace

BENCHMARK_MAIN();
