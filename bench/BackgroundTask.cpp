// The yield point that compiled loops call on every pass, when nothing is due
// (the common case: it does its work at most once per tick), against reading
// the monotonic clock, which is the least such a check can cost. Under the
// i386 emulator only the ratio between the two means anything.
#include <benchmark/benchmark.h>

#include <time.h>

#include "runtime/application/CommonRuntimeFunctions.h"

namespace {

void BM_YieldPointWithNothingDue(benchmark::State &state) {
  RuntimeBackgroundTask(); // the first call of a tick does the pass
  for (auto _ : state)
    RuntimeBackgroundTask();
}
BENCHMARK(BM_YieldPointWithNothingDue);

void BM_ClockGettimeMonotonic(benchmark::State &state) {
  for (auto _ : state) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    benchmark::DoNotOptimize(now);
  }
}
BENCHMARK(BM_ClockGettimeMonotonic);

} // namespace

BENCHMARK_MAIN();
