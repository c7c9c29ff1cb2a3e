// string against std::string: joining, slicing and case-insensitive
// comparison of typical runtime texts (names, short messages).
#include <benchmark/benchmark.h>

#include <cctype>
#include <string>
#include <strings.h>

#include "foundation/String.h"

namespace {

const char kFirst[] = "PushButton1";
const char kSecond[] = ".Action handler of the main window";
const char kLong[] = "The clipboard text travels to the peer as one framed message over TCP.";

void BM_StringJoin(benchmark::State &state) {
  string a(kFirst), b(kSecond);
  for (auto _ : state) {
    string joined = a + b;
    benchmark::DoNotOptimize(joined.Storage());
  }
}

void BM_StdStringJoin(benchmark::State &state) {
  std::string a(kFirst), b(kSecond);
  for (auto _ : state) {
    std::string joined = a + b;
    benchmark::DoNotOptimize(joined.data());
  }
}

// Building a text piece by piece, as messages and paths are made.
void BM_StringAppend(benchmark::State &state) {
  string piece(kFirst);
  for (auto _ : state) {
    string text;
    for (int i = 0; i < 8; ++i)
      text += piece;
    benchmark::DoNotOptimize(text.Storage());
  }
}

void BM_StdStringAppend(benchmark::State &state) {
  std::string piece(kFirst);
  for (auto _ : state) {
    std::string text;
    for (int i = 0; i < 8; ++i)
      text += piece;
    benchmark::DoNotOptimize(text.data());
  }
}

void BM_StringSlice(benchmark::State &state) {
  string s(kLong);
  for (auto _ : state) {
    string part = mid(s, 4, 30);
    benchmark::DoNotOptimize(part.Storage());
  }
}

void BM_StdStringSlice(benchmark::State &state) {
  std::string s(kLong);
  for (auto _ : state) {
    std::string part = s.substr(4, 30);
    benchmark::DoNotOptimize(part.data());
  }
}

// A slice covering the whole text: string shares, std::string copies.
void BM_StringWholeSlice(benchmark::State &state) {
  string s(kLong);
  for (auto _ : state) {
    string part = left(s, 1000);
    benchmark::DoNotOptimize(part.Storage());
  }
}

void BM_StdStringWholeSlice(benchmark::State &state) {
  std::string s(kLong);
  for (auto _ : state) {
    std::string part = s.substr(0, 1000);
    benchmark::DoNotOptimize(part.data());
  }
}

// The text against an upper-cased copy: equal ignoring case, so both
// comparisons fold every byte.
void BM_StringCompareIgnoringCase(benchmark::State &state) {
  string a(kLong);
  string upper;
  upper.ConstructFromBuffer(a.CString(), a.Length());
  for (int i = 0; i < upper.Length(); ++i) {
    char *c = upper.MutableChar(i);
    *c = char(std::toupper(static_cast<unsigned char>(*c)));
  }
  upper.SetEncoding(a.Encoding());
  for (auto _ : state)
    benchmark::DoNotOptimize(a.Compare(upper));
}

void BM_StdStringCompareIgnoringCase(benchmark::State &state) {
  std::string a(kLong), upper(kLong);
  for (char &c : upper)
    c = char(std::toupper(static_cast<unsigned char>(c)));
  for (auto _ : state)
    benchmark::DoNotOptimize(strcasecmp(a.c_str(), upper.c_str()));
}

} // namespace

BENCHMARK(BM_StringJoin);
BENCHMARK(BM_StdStringJoin);
BENCHMARK(BM_StringAppend);
BENCHMARK(BM_StdStringAppend);
BENCHMARK(BM_StringSlice);
BENCHMARK(BM_StdStringSlice);
BENCHMARK(BM_StringWholeSlice);
BENCHMARK(BM_StdStringWholeSlice);
BENCHMARK(BM_StringCompareIgnoringCase);
BENCHMARK(BM_StdStringCompareIgnoringCase);
BENCHMARK_MAIN();
