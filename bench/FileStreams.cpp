// The language's file streams against what a C++ programmer would use:
// TextInputStream.ReadLine over 50 MB of 80-byte lines against std::getline
// on an ifstream, and BinaryStream's big-endian ReadLong over 16 MB against
// fread of 4 bytes with __builtin_bswap32. Both read the same file in a
// temporary folder through the entry points compiled code calls. The count
// of iterations is fixed, FILE_STREAMS_BENCH_ITERATIONS (2 by default), so
// that the instruction counts of two runs with different counts give the cost
// of one pass (bench/instructions/count-file-streams.sh).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/FileStreamObjects.h"
#include "files/FolderItemClass.h"

namespace {

constexpr long kTextBytes = 50L * 1000 * 1000;
constexpr long kBinaryBytes = 16L << 20;

int64_t Iterations() {
  const char *text = std::getenv("FILE_STREAMS_BENCH_ITERATIONS");
  return text && std::atoi(text) > 0 ? std::atoi(text) : 2;
}

class TempFile {
public:
  explicit TempFile(long bytes, bool lines) {
    char pattern[] = "/tmp/streambenchXXXXXX";
    mFolder = mkdtemp(pattern);
    mPath = mFolder + "/data";
    std::ofstream out(mPath, std::ios::binary);
    const std::string line = std::string(79, 'x') + "\n";
    std::string block;
    for (int i = 0; i < 1000; ++i)
      block += lines ? line : std::string("\x01\x02\x03\x04", 4);
    for (long written = 0; written < bytes; written += long(block.size()))
      out << block;
  }
  ~TempFile() { std::filesystem::remove_all(mFolder); }
  const std::string &Path() const { return mPath; }
  // A FolderItem for the file (one reference).
  RuntimeObject *Item() const { return FolderItemFromPath(mPath.c_str()); }

private:
  std::string mFolder, mPath;
};

void BM_TextInputStreamReadLine(benchmark::State &state) {
  TempFile file(kTextBytes, true);
  RuntimeObject *item = file.Item();
  for (auto _ : state) {
    RuntimeObject *stream = FolderItemOpenTextFile(item);
    long lines = 0;
    while (!TextInputStreamEOF(stream)) {
      stringStorage::RemoveReference(TextInputStreamReadLine(stream, nullptr));
      ++lines;
    }
    benchmark::DoNotOptimize(lines);
    RuntimeUnlockObject(stream);
  }
  RuntimeUnlockObject(item);
}
BENCHMARK(BM_TextInputStreamReadLine)->Unit(benchmark::kMillisecond)->Iterations(Iterations());

void BM_StdGetline(benchmark::State &state) {
  TempFile file(kTextBytes, true);
  for (auto _ : state) {
    std::ifstream in(file.Path(), std::ios::binary);
    std::string line;
    long lines = 0;
    while (std::getline(in, line))
      ++lines;
    benchmark::DoNotOptimize(lines);
  }
}
BENCHMARK(BM_StdGetline)->Unit(benchmark::kMillisecond)->Iterations(Iterations());

void BM_BinaryStreamReadLong(benchmark::State &state) {
  TempFile file(kBinaryBytes, false);
  RuntimeObject *item = file.Item();
  for (auto _ : state) {
    RuntimeObject *stream = FolderItemOpenBinaryFile(item, 0);
    int32_t sum = 0;
    for (long i = 0; i < kBinaryBytes / 4; ++i)
      sum += BinaryStreamReadLong(stream);
    benchmark::DoNotOptimize(sum);
    RuntimeUnlockObject(stream);
  }
  RuntimeUnlockObject(item);
}
BENCHMARK(BM_BinaryStreamReadLong)->Unit(benchmark::kMillisecond)->Iterations(Iterations());

void BM_FreadBswap32(benchmark::State &state) {
  TempFile file(kBinaryBytes, false);
  for (auto _ : state) {
    FILE *in = fopen(file.Path().c_str(), "rb");
    int32_t sum = 0;
    uint32_t value = 0;
    for (long i = 0; i < kBinaryBytes / 4 && fread(&value, 4, 1, in) == 1; ++i)
      sum += int32_t(__builtin_bswap32(value));
    benchmark::DoNotOptimize(sum);
    fclose(in);
  }
}
BENCHMARK(BM_FreadBswap32)->Unit(benchmark::kMillisecond)->Iterations(Iterations());

} // namespace

BENCHMARK_MAIN();
