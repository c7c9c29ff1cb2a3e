// Lookups in StringMap against std::unordered_map<std::string, T>: the plain
// case-sensitive one, and one with the ASCII case folding a C++ programmer
// would add to match StringMap's case-insensitive keys.
#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/StringMap.h"

namespace {

constexpr int kKeyCount = 1000;

std::vector<std::string> MakeKeys() {
  std::vector<std::string> keys;
  for (int i = 0; i < kKeyCount; ++i)
    keys.push_back("ControlName" + std::to_string(i * 7919));
  return keys;
}

unsigned char FoldAscii(unsigned char c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; }

struct CaseInsensitiveHash {
  size_t operator()(const std::string &s) const {
    size_t h = 0;
    for (unsigned char c : s)
      h = h * 31 + FoldAscii(c);
    return h;
  }
};

struct CaseInsensitiveEqual {
  bool operator()(const std::string &a, const std::string &b) const {
    if (a.size() != b.size())
      return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (FoldAscii(static_cast<unsigned char>(a[i])) !=
          FoldAscii(static_cast<unsigned char>(b[i])))
        return false;
    return true;
  }
};

void BM_StringMapLookup(benchmark::State &state) {
  std::vector<std::string> keys = MakeKeys();
  std::vector<string> lookups;
  StringMap<int> map;
  for (int i = 0; i < kKeyCount; ++i) {
    map.AddEntry(keys[i].c_str(), i);
    lookups.emplace_back(keys[i].c_str());
  }
  size_t next = 0;
  for (auto _ : state) {
    int value = 0;
    benchmark::DoNotOptimize(map.GetEntry(lookups[next], &value));
    benchmark::DoNotOptimize(value);
    next = (next + 1) % lookups.size();
  }
}
BENCHMARK(BM_StringMapLookup);

template <typename Map>
void LookupInStdMap(benchmark::State &state) {
  std::vector<std::string> keys = MakeKeys();
  Map map;
  for (int i = 0; i < kKeyCount; ++i)
    map.emplace(keys[i], i);
  size_t next = 0;
  for (auto _ : state) {
    auto found = map.find(keys[next]);
    benchmark::DoNotOptimize(found);
    next = (next + 1) % keys.size();
  }
}

void BM_UnorderedMapCaseInsensitiveLookup(benchmark::State &state) {
  LookupInStdMap<std::unordered_map<std::string, int, CaseInsensitiveHash, CaseInsensitiveEqual>>(
      state);
}
BENCHMARK(BM_UnorderedMapCaseInsensitiveLookup);

void BM_UnorderedMapLookup(benchmark::State &state) {
  LookupInStdMap<std::unordered_map<std::string, int>>(state);
}
BENCHMARK(BM_UnorderedMapLookup);

} // namespace

BENCHMARK_MAIN();
