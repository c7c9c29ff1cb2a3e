// Byte streams against what a C++ programmer would otherwise use: typed
// writes into a growing memory stream against appending to a std::string,
// encoded integers against fixed four-byte integers, and line reading against
// std::getline on an istringstream.
#include <benchmark/benchmark.h>

#include <cstring>
#include <sstream>
#include <string>

#include "foundation/FileHandle.h"
#include "foundation/TextInputStream.h"

namespace {

constexpr int kValues = 4096;

void FileHandleWriteLong(benchmark::State &state) {
  for (auto _ : state) {
    FileHandle stream;
    for (int i = 0; i < kValues; ++i)
      stream.WriteLong(i);
    benchmark::DoNotOptimize(stream.GetLength());
  }
  state.SetItemsProcessed(state.iterations() * kValues);
}
BENCHMARK(FileHandleWriteLong);

void StdStringAppendLong(benchmark::State &state) {
  for (auto _ : state) {
    std::string bytes;
    for (int i = 0; i < kValues; ++i)
      bytes.append(reinterpret_cast<const char *>(&i), sizeof i);
    benchmark::DoNotOptimize(bytes.size());
  }
  state.SetItemsProcessed(state.iterations() * kValues);
}
BENCHMARK(StdStringAppendLong);

void FileHandleEncodedIntRoundTrip(benchmark::State &state) {
  for (auto _ : state) {
    FileHandle stream;
    for (int i = 0; i < kValues; ++i)
      stream.WriteEncodedInt(i * 977 - 2000000);
    stream.SeekFromStart(0);
    int value = 0;
    while (stream.ReadEncodedInt(value))
      benchmark::DoNotOptimize(value);
  }
  state.SetItemsProcessed(state.iterations() * kValues);
}
BENCHMARK(FileHandleEncodedIntRoundTrip);

void FileHandleLongRoundTrip(benchmark::State &state) {
  for (auto _ : state) {
    FileHandle stream;
    for (int i = 0; i < kValues; ++i)
      stream.WriteLong(i * 977 - 2000000);
    stream.SeekFromStart(0);
    int value = 0;
    while (stream.ReadLong(value))
      benchmark::DoNotOptimize(value);
  }
  state.SetItemsProcessed(state.iterations() * kValues);
}
BENCHMARK(FileHandleLongRoundTrip);

std::string SampleLines() {
  std::string text;
  for (int i = 0; i < kValues; ++i)
    text += "line number " + std::to_string(i) + " with some words\n";
  return text;
}

void TextInputStreamReadLine(benchmark::State &state) {
  std::string text = SampleLines();
  QV::Handle handle = QV::NewHandle(static_cast<int32_t>(text.size()));
  memcpy(*handle, text.data(), text.size());
  for (auto _ : state) {
    FileHandle stream;
    stream.Open(handle);
    TextInputStream reader(&stream, 0);
    while (!reader.IsEOF())
      benchmark::DoNotOptimize(reader.ReadLine());
  }
  QV::DisposeHandle(handle);
  state.SetItemsProcessed(state.iterations() * kValues);
}
BENCHMARK(TextInputStreamReadLine);

void StdGetline(benchmark::State &state) {
  std::string text = SampleLines();
  for (auto _ : state) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
      benchmark::DoNotOptimize(line);
  }
  state.SetItemsProcessed(state.iterations() * kValues);
}
BENCHMARK(StdGetline);

} // namespace

BENCHMARK_MAIN();
