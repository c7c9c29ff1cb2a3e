// Byte streams against what a C++ programmer would otherwise use: typed
// writes into a growing memory stream against appending to a std::string,
// encoded integers against fixed four-byte integers, and line reading against
// std::getline on an istringstream. Each pair's two sides make the same bytes
// or lines, checked once outside the timed loop.
#include <benchmark/benchmark.h>

#include <cstring>
#include <sstream>
#include <string>

#include "foundation/FileHandle.h"
#include "foundation/TextInputStream.h"

namespace {

constexpr int kValues = 4096;

// The 0 to kValues - 1 as four-byte integers in host order.
std::string ExpectedLongs() {
  std::string bytes(kValues * sizeof(int), '\0');
  for (int i = 0; i < kValues; ++i)
    memcpy(&bytes[i * sizeof(int)], &i, sizeof i);
  return bytes;
}

void CheckBytes(benchmark::State &state, const std::string &got, const std::string &expected) {
  if (got != expected)
    state.SkipWithError("the bytes differ");
}

void FileHandleWriteLong(benchmark::State &state) {
  for (auto _ : state) {
    FileHandle stream;
    for (int i = 0; i < kValues; ++i)
      stream.WriteLong(i);
    benchmark::DoNotOptimize(stream.GetLength());
  }
  state.SetItemsProcessed(state.iterations() * kValues);
  FileHandle stream;
  for (int i = 0; i < kValues; ++i)
    stream.WriteLong(i);
  CheckBytes(state, std::string(*stream.GetHandle(), size_t(stream.GetLength())), ExpectedLongs());
}
BENCHMARK(FileHandleWriteLong);

std::string AppendLongs() {
  std::string bytes;
  for (int i = 0; i < kValues; ++i)
    bytes.append(reinterpret_cast<const char *>(&i), sizeof i);
  return bytes;
}

void StdStringAppendLong(benchmark::State &state) {
  for (auto _ : state) {
    std::string bytes = AppendLongs();
    benchmark::DoNotOptimize(bytes.size());
  }
  state.SetItemsProcessed(state.iterations() * kValues);
  CheckBytes(state, AppendLongs(), ExpectedLongs());
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

// Every line read, each with its end put back.
void CheckLines(benchmark::State &state, const std::string &lines) {
  if (lines != SampleLines())
    state.SkipWithError("the lines differ");
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
  state.SetItemsProcessed(state.iterations() * kValues);
  FileHandle stream;
  stream.Open(handle);
  TextInputStream reader(&stream, 0);
  std::string lines;
  while (!reader.IsEOF()) {
    string line = reader.ReadLine();
    lines.append(line.CString(), size_t(line.Length())).push_back('\n');
  }
  QV::DisposeHandle(handle);
  CheckLines(state, lines);
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
  std::istringstream in(text);
  std::string line, lines;
  while (std::getline(in, line))
    lines.append(line).push_back('\n');
  CheckLines(state, lines);
}
BENCHMARK(StdGetline);

} // namespace

BENCHMARK_MAIN();
