// Number text by pattern and by significant digits against printf, which a
// C++ programmer would otherwise reach for.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "foundation/NumberFormat.h"

namespace {

const double kValues[] = {0, 1.5, -12.25, 1234.5, 1234567.891, 0.000123, 98765432.1};
// What each side prints for them, checked once outside the timed loop: the
// pattern adds separators and leaves the sign to the pattern.
const char *const kPatternTexts[] = {"0.00",         "1.50", "12.25",        "1,234.50",
                                     "1,234,567.89", "0.00", "98,765,432.10"};
const char *const kPrintfTexts[] = {"0.00",       "1.50", "-12.25",     "1234.50",
                                    "1234567.89", "0.00", "98765432.10"};

void CheckTexts(benchmark::State &state, const char *const *expected,
                const char *(*print)(double, char *)) {
  char buffer[64];
  for (size_t i = 0; i < std::size(kValues); ++i)
    if (std::string(print(kValues[i], buffer)) != expected[i])
      state.SkipWithError("a number printed differently");
}

void FormatNumberThousandsPattern(benchmark::State &state) {
  string pattern("#,##0.00");
  for (auto _ : state)
    for (double value : kValues)
      benchmark::DoNotOptimize(FormatNumber(value, pattern));
  state.SetItemsProcessed(state.iterations() * std::size(kValues));
  CheckTexts(state, kPatternTexts, [](double value, char *buffer) -> const char * {
    string text = FormatNumber(value, string("#,##0.00"));
    std::snprintf(buffer, 64, "%s", text.CString());
    return buffer;
  });
}
BENCHMARK(FormatNumberThousandsPattern);

void SnprintfFixedTwoDecimals(benchmark::State &state) {
  char text[64];
  for (auto _ : state)
    for (double value : kValues)
      benchmark::DoNotOptimize(std::snprintf(text, sizeof text, "%.2f", value));
  state.SetItemsProcessed(state.iterations() * std::size(kValues));
  CheckTexts(state, kPrintfTexts, [](double value, char *buffer) -> const char * {
    std::snprintf(buffer, 64, "%.2f", value);
    return buffer;
  });
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
