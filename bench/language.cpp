// The language library against what a C++ programmer would write: InStrB on
// a 1 MiB text against glibc memmem, and MemoryBlock's big-endian Long
// accessors against memcpy with a byte swap.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "foundation/TextEncodings.h"
#include "language/MemoryBlock.h"
#include "language/StringSearch.h"

namespace {

constexpr int kMiB = 1 << 20;

// 1 MiB of varied text with the pattern only at the very end.
std::string Haystack() {
  std::string text;
  text.reserve(kMiB);
  for (int i = 0; static_cast<int>(text.size()) < kMiB - 16; ++i)
    text += "clipboard text " + std::to_string(i % 977) + " ";
  text.resize(kMiB - 16);
  text += "<<end-of-frame>>";
  return text;
}

string Bytes(const std::string &bytes) {
  string s;
  s.ConstructFromBuffer(bytes.data(), static_cast<int>(bytes.size()));
  return s;
}

const char kPattern[] = "<<end-of-frame>>";

void BM_InStrB(benchmark::State &state) {
  string text = Bytes(Haystack()), find = Bytes(kPattern);
  for (auto _ : state)
    benchmark::DoNotOptimize(InStrB(0, text, find));
  state.SetBytesProcessed(state.iterations() * kMiB);
}

void BM_Memmem(benchmark::State &state) {
  std::string text = Haystack();
  for (auto _ : state)
    benchmark::DoNotOptimize(memmem(text.data(), text.size(), kPattern, sizeof kPattern - 1));
  state.SetBytesProcessed(state.iterations() * kMiB);
}

constexpr int kLongs = 1024;

void BM_MemoryBlockBigEndianLong(benchmark::State &state) {
  MemoryBlockObject *block = newMemoryBlock(kLongs * 4);
  block->littleEndian = 0;
  for (auto _ : state) {
    for (int32_t i = 0; i < kLongs; ++i)
      memorySetLong(block, i * 4, i);
    int32_t sum = 0;
    for (int32_t i = 0; i < kLongs; ++i)
      sum += memoryGetLong(block, i * 4);
    benchmark::DoNotOptimize(sum);
  }
  RuntimeUnlockObject(&block->header);
}

void BM_MemcpyBswapLong(benchmark::State &state) {
  std::string buffer(kLongs * 4, '\0');
  char *data = buffer.data();
  for (auto _ : state) {
    for (int32_t i = 0; i < kLongs; ++i) {
      uint32_t big = __builtin_bswap32(static_cast<uint32_t>(i));
      std::memcpy(data + i * 4, &big, 4);
    }
    int32_t sum = 0;
    for (int32_t i = 0; i < kLongs; ++i) {
      uint32_t big;
      std::memcpy(&big, data + i * 4, 4);
      sum += static_cast<int32_t>(__builtin_bswap32(big));
    }
    benchmark::DoNotOptimize(sum);
    benchmark::ClobberMemory();
  }
}

} // namespace

BENCHMARK(BM_InStrB);
BENCHMARK(BM_Memmem);
BENCHMARK(BM_MemoryBlockBigEndianLong);
BENCHMARK(BM_MemcpyBswapLong);

BENCHMARK_MAIN();
