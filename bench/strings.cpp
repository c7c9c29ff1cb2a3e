// string against std::string: joining, appending, slicing and
// case-insensitive comparison of typical runtime texts (names, short
// messages). Each pair works on the same bytes, and each side's result is
// checked once, outside the timed loop, against the same expected text.
#include <benchmark/benchmark.h>

#include <cctype>
#include <string>
#include <strings.h>

#include "foundation/String.h"
#include "foundation/TextEncodings.h"

namespace {

const char kFirst[] = "PushButton1";
const char kSecond[] = ".Action handler of the main window";
const char kLong[] = "The clipboard text travels to the peer as one framed message over TCP.";
// The same message with accented letters, as UTF-8 bytes.
const char kAccented[] = "Le texte du presse-papiers voyage vers l\xE2\x80\x99h\xC3\xB4te "
                         "distant en un seul message \xC3\xA9tiquet\xC3\xA9.";

std::string Text(const string &s) { return std::string(s.CString(), size_t(s.Length())); }

void Check(benchmark::State &state, const std::string &got, const std::string &expected) {
  if (got != expected)
    state.SkipWithError(("wrong result: " + got).c_str());
}

void Check(benchmark::State &state, int got, int expected) {
  if (got != expected)
    state.SkipWithError(("wrong result: " + std::to_string(got)).c_str());
}

// ASCII letters changed to capitals; other bytes stay.
std::string Upper(const char *text) {
  std::string upper(text);
  for (char &c : upper)
    c = char(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// Every other ASCII letter a capital, starting with the first or the second.
std::string Alternating(const char *text, bool startUpper) {
  std::string mixed(text);
  bool upper = startUpper;
  for (char &c : mixed)
    if (std::isalpha(static_cast<unsigned char>(c))) {
      c = char(upper ? std::toupper(c) : std::tolower(c));
      upper = !upper;
    }
  return mixed;
}

string Tagged(const std::string &bytes, uint32_t encoding) {
  string s;
  s.ConstructFromBuffer(bytes.data(), int(bytes.size()));
  s.SetEncoding(encoding);
  return s;
}

void BM_StringJoin(benchmark::State &state) {
  string a(kFirst), b(kSecond);
  for (auto _ : state) {
    string joined = a + b;
    benchmark::DoNotOptimize(joined.Storage());
  }
  Check(state, Text(a + b), std::string(kFirst) + kSecond);
}

void BM_StdStringJoin(benchmark::State &state) {
  std::string a(kFirst), b(kSecond);
  for (auto _ : state) {
    std::string joined = a + b;
    benchmark::DoNotOptimize(joined.data());
  }
  Check(state, a + b, std::string(kFirst) + kSecond);
}

// Building a text piece by piece, as messages and paths are made.
template <typename Text, typename Piece>
Text EightPieces(const Piece &piece) {
  Text text;
  for (int i = 0; i < 8; ++i)
    text += piece;
  return text;
}

std::string EightFirsts() {
  std::string text;
  for (int i = 0; i < 8; ++i)
    text += kFirst;
  return text;
}

void BM_StringAppend(benchmark::State &state) {
  string piece(kFirst);
  for (auto _ : state) {
    string text = EightPieces<string>(piece);
    benchmark::DoNotOptimize(text.Storage());
  }
  Check(state, Text(EightPieces<string>(piece)), EightFirsts());
}

void BM_StdStringAppend(benchmark::State &state) {
  std::string piece(kFirst);
  for (auto _ : state) {
    std::string text = EightPieces<std::string>(piece);
    benchmark::DoNotOptimize(text.data());
  }
  Check(state, EightPieces<std::string>(piece), EightFirsts());
}

void BM_StringSlice(benchmark::State &state) {
  string s(kLong);
  for (auto _ : state) {
    string part = mid(s, 4, 30);
    benchmark::DoNotOptimize(part.Storage());
  }
  Check(state, Text(mid(s, 4, 30)), std::string(kLong).substr(4, 30));
}

void BM_StdStringSlice(benchmark::State &state) {
  std::string s(kLong);
  for (auto _ : state) {
    std::string part = s.substr(4, 30);
    benchmark::DoNotOptimize(part.data());
  }
  Check(state, s.substr(4, 30), std::string(kLong).substr(4, 30));
}

// A slice covering the whole text: string shares, std::string copies.
void BM_StringWholeSlice(benchmark::State &state) {
  string s(kLong);
  for (auto _ : state) {
    string part = left(s, 1000);
    benchmark::DoNotOptimize(part.Storage());
  }
  Check(state, Text(left(s, 1000)), kLong);
}

void BM_StdStringWholeSlice(benchmark::State &state) {
  std::string s(kLong);
  for (auto _ : state) {
    std::string part = s.substr(0, 1000);
    benchmark::DoNotOptimize(part.data());
  }
  Check(state, s.substr(0, 1000), kLong);
}

// Case-insensitive comparisons of two texts that are equal ignoring case, so
// that both sides fold every byte: a text against its capitals, two
// differently mixed spellings, and UTF-8 text with accented letters (where
// both sides fold only the ASCII letters) against its ASCII capitals.
void CompareIgnoringCase(benchmark::State &state, const std::string &a, const std::string &b,
                         uint32_t encoding) {
  string x = Tagged(a, encoding), y = Tagged(b, encoding);
  for (auto _ : state)
    benchmark::DoNotOptimize(x.Compare(y));
  Check(state, x.Compare(y), 0);
}

void Strcasecmp(benchmark::State &state, const std::string &a, const std::string &b) {
  for (auto _ : state)
    benchmark::DoNotOptimize(strcasecmp(a.c_str(), b.c_str()));
  Check(state, strcasecmp(a.c_str(), b.c_str()), 0);
}

void BM_StringCompareIgnoringCase(benchmark::State &state) {
  CompareIgnoringCase(state, kLong, Upper(kLong), kEncodingASCII);
}

void BM_StdStringCompareIgnoringCase(benchmark::State &state) {
  Strcasecmp(state, kLong, Upper(kLong));
}

void BM_StringCompareIgnoringCaseMixed(benchmark::State &state) {
  CompareIgnoringCase(state, Alternating(kLong, true), Alternating(kLong, false), kEncodingASCII);
}

void BM_StdStringCompareIgnoringCaseMixed(benchmark::State &state) {
  Strcasecmp(state, Alternating(kLong, true), Alternating(kLong, false));
}

void BM_StringCompareIgnoringCaseNonASCII(benchmark::State &state) {
  CompareIgnoringCase(state, kAccented, Upper(kAccented), kEncodingUTF8);
}

void BM_StdStringCompareIgnoringCaseNonASCII(benchmark::State &state) {
  Strcasecmp(state, kAccented, Upper(kAccented));
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
BENCHMARK(BM_StringCompareIgnoringCaseMixed);
BENCHMARK(BM_StdStringCompareIgnoringCaseMixed);
BENCHMARK(BM_StringCompareIgnoringCaseNonASCII);
BENCHMARK(BM_StdStringCompareIgnoringCaseNonASCII);
BENCHMARK_MAIN();
