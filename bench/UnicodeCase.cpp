// Case mapping of code points and UTF-8 text: the runtime's hashed lookup
// against glibc's towupper and a plain search of the same table.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <clocale>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

#include "foundation/TextEncodings.h"

namespace {

#include "foundation/UnicodeCaseTable.inc"

// Lower-case letters of the scripts the table covers, with some caseless
// text (digits, CJK) mixed in.
std::vector<unsigned long> SampleCodePoints() {
  std::vector<unsigned long> codes;
  for (unsigned long c = 0x61; c <= 0x7A; ++c)
    codes.push_back(c);
  for (unsigned long c = 0xE0; c <= 0xFE; ++c)
    codes.push_back(c);
  for (unsigned long c = 0x3B1; c <= 0x3C9; ++c)
    codes.push_back(c);
  for (unsigned long c = 0x430; c <= 0x44F; ++c)
    codes.push_back(c);
  for (unsigned long c = 0x30; c <= 0x39; ++c)
    codes.push_back(c);
  for (unsigned long c = 0x4E00; c <= 0x4E1F; ++c)
    codes.push_back(c);
  return codes;
}

std::string SampleUTF8Text() {
  std::string text;
  unsigned char bytes[5];
  while (text.size() < 1024)
    for (unsigned long c : SampleCodePoints()) {
      text.append(reinterpret_cast<char *>(bytes), UTF8Encode(c, bytes));
      if (c % 7 == 0)
        text += ' ';
    }
  return text;
}

unsigned long TableSearchToUpper(unsigned long c) {
  for (int i = 0; i < kCaseFoldPairCount; ++i)
    if (kCaseFoldTo[i] == c)
      return kCaseFoldFrom[i];
  return c;
}

unsigned long GlibcToUpper(unsigned long c) { return towupper(static_cast<wint_t>(c)); }

void UseUTF8Locale() { setlocale(LC_ALL, "C.UTF-8"); }

template <unsigned long (*ToUpper)(unsigned long)>
void BM_CodePointToUpper(benchmark::State &state) {
  UseUTF8Locale();
  std::vector<unsigned long> codes = SampleCodePoints();
  for (auto _ : state)
    for (unsigned long c : codes)
      benchmark::DoNotOptimize(ToUpper(c));
  state.SetItemsProcessed(state.iterations() * codes.size());
}
BENCHMARK_TEMPLATE(BM_CodePointToUpper, UnicodeCharToUpper)->Name("UnicodeCharToUpper");
BENCHMARK_TEMPLATE(BM_CodePointToUpper, GlibcToUpper)->Name("towupper");
BENCHMARK_TEMPLATE(BM_CodePointToUpper, TableSearchToUpper)->Name("TableSearchToUpper");

void BM_UTF8ToUpper(benchmark::State &state) {
  std::string text = SampleUTF8Text();
  for (auto _ : state) {
    unsigned char *out = nullptr;
    unsigned long outLength = 0;
    UTF8ToUpper(reinterpret_cast<const unsigned char *>(text.data()), text.size(), &out,
                &outLength);
    benchmark::DoNotOptimize(out);
    delete[] out;
  }
  state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_UTF8ToUpper);

// The usual C route: widen, towupper each character, narrow again.
void BM_WideCharToUpper(benchmark::State &state) {
  UseUTF8Locale();
  std::string text = SampleUTF8Text();
  std::vector<wchar_t> wide(text.size() + 1);
  std::string out(text.size() * 2 + 1, '\0');
  for (auto _ : state) {
    size_t n = mbstowcs(wide.data(), text.c_str(), wide.size());
    std::transform(wide.begin(), wide.begin() + n, wide.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(towupper(c)); });
    wide[n] = 0;
    benchmark::DoNotOptimize(wcstombs(out.data(), wide.data(), out.size()));
  }
  state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_WideCharToUpper);

} // namespace

BENCHMARK_MAIN();
