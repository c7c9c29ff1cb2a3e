// The small-block allocator against glibc malloc/free for blocks of 4 to 252
// bytes: single allocate/release pairs, and batches of 1000 live blocks
// released in allocation order (the pattern of a list being torn down).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "foundation/Memory.h"

namespace {

constexpr int kBatch = 1000;

void BM_SmallBlockPair(benchmark::State &state) {
  long size = state.range(0);
  for (auto _ : state) {
    char *block = OSalloclen(size, kMemFullQuit);
    benchmark::DoNotOptimize(block);
    OSfreelen(block, size);
  }
}

void BM_MallocPair(benchmark::State &state) {
  size_t size = static_cast<size_t>(state.range(0));
  for (auto _ : state) {
    void *block = std::malloc(size);
    benchmark::DoNotOptimize(block);
    std::free(block);
  }
}

void BM_SmallBlockBatch(benchmark::State &state) {
  long size = state.range(0);
  std::vector<char *> blocks(kBatch);
  for (auto _ : state) {
    for (char *&block : blocks)
      block = OSalloclen(size, kMemFullQuit);
    benchmark::DoNotOptimize(blocks.data());
    for (char *block : blocks)
      OSfreelen(block, size);
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}

void BM_MallocBatch(benchmark::State &state) {
  size_t size = static_cast<size_t>(state.range(0));
  std::vector<void *> blocks(kBatch);
  for (auto _ : state) {
    for (void *&block : blocks)
      block = std::malloc(size);
    benchmark::DoNotOptimize(blocks.data());
    for (void *block : blocks)
      std::free(block);
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}

// Mixed sizes, as strings and small records arrive in practice.
void BM_SmallBlockMixed(benchmark::State &state) {
  std::vector<char *> blocks(kBatch);
  for (auto _ : state) {
    for (int i = 0; i < kBatch; ++i)
      blocks[i] = OSalloclen(4 + (i * 37) % 249, kMemFullQuit);
    benchmark::DoNotOptimize(blocks.data());
    for (int i = 0; i < kBatch; ++i)
      OSfreelen(blocks[i], 4 + (i * 37) % 249);
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}

void BM_MallocMixed(benchmark::State &state) {
  std::vector<void *> blocks(kBatch);
  for (auto _ : state) {
    for (int i = 0; i < kBatch; ++i)
      blocks[i] = std::malloc(static_cast<size_t>(4 + (i * 37) % 249));
    benchmark::DoNotOptimize(blocks.data());
    for (int i = 0; i < kBatch; ++i)
      std::free(blocks[i]);
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}

void Sizes(benchmark::internal::Benchmark *b) {
  for (long size : {4, 16, 64, 128, 252})
    b->Arg(size);
}

} // namespace

BENCHMARK(BM_SmallBlockPair)->Apply(Sizes);
BENCHMARK(BM_MallocPair)->Apply(Sizes);
BENCHMARK(BM_SmallBlockBatch)->Apply(Sizes);
BENCHMARK(BM_MallocBatch)->Apply(Sizes);
BENCHMARK(BM_SmallBlockMixed);
BENCHMARK(BM_MallocMixed);
BENCHMARK_MAIN();
