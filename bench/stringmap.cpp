// Lookups and insertions in StringMap against std::unordered_map<std::string,
// T>: the plain case-sensitive one, and one with the ASCII case folding a C++
// programmer would add to match StringMap's case-insensitive keys. Both sides
// take the same keys, and what they found or hold is checked once, outside
// the timed loop.
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

std::vector<string> MakeStringKeys() {
  std::vector<string> keys;
  for (const std::string &key : MakeKeys())
    keys.emplace_back(key.c_str());
  return keys;
}

// Every key finds the value it was added with.
void CheckAllFound(benchmark::State &state, int found) {
  if (found != kKeyCount)
    state.SkipWithError(("a key was not found: " + std::to_string(found)).c_str());
}

void BM_StringMapLookup(benchmark::State &state) {
  // Lookups by texts of their own, as std::unordered_map looks up by copies:
  // a key that shares the entry's storage would match by address.
  std::vector<string> keys = MakeStringKeys();
  StringMap<int> map;
  for (const std::string &key : MakeKeys())
    map.AddEntry(key.c_str(), map.EntryCount());
  size_t next = 0;
  for (auto _ : state) {
    int value = 0;
    benchmark::DoNotOptimize(map.GetEntry(keys[next], &value));
    benchmark::DoNotOptimize(value);
    next = (next + 1) % keys.size();
  }
  int found = 0;
  for (int i = 0; i < kKeyCount; ++i) {
    int value = -1;
    found += map.GetEntry(keys[i], &value) && value == i;
  }
  CheckAllFound(state, found);
}
BENCHMARK(BM_StringMapLookup);

template <typename Map>
void LookupInStdMap(benchmark::State &state) {
  std::vector<std::string> keys = MakeKeys();
  Map map;
  for (const std::string &key : MakeKeys())
    map.emplace(key, int(map.size()));
  size_t next = 0;
  for (auto _ : state) {
    auto found = map.find(keys[next]);
    benchmark::DoNotOptimize(found);
    next = (next + 1) % keys.size();
  }
  int found = 0;
  for (int i = 0; i < kKeyCount; ++i) {
    auto entry = map.find(keys[i]);
    found += entry != map.end() && entry->second == i;
  }
  CheckAllFound(state, found);
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

// A map of the thousand keys built from nothing and dropped again, bins
// growing on the way as they do (StringMap from 256, std::unordered_map
// from its own start).
void BM_StringMapInsert(benchmark::State &state) {
  std::vector<string> keys = MakeStringKeys();
  int32_t entries = 0;
  for (auto _ : state) {
    StringMap<int> map;
    for (int i = 0; i < kKeyCount; ++i)
      map.AddEntry(keys[i], i);
    entries = map.EntryCount();
    benchmark::DoNotOptimize(entries);
  }
  CheckAllFound(state, entries);
}
BENCHMARK(BM_StringMapInsert);

template <typename Map>
void InsertIntoStdMap(benchmark::State &state) {
  std::vector<std::string> keys = MakeKeys();
  size_t entries = 0;
  for (auto _ : state) {
    Map map;
    for (int i = 0; i < kKeyCount; ++i)
      map.emplace(keys[i], i);
    entries = map.size();
    benchmark::DoNotOptimize(entries);
  }
  CheckAllFound(state, int(entries));
}

void BM_UnorderedMapCaseInsensitiveInsert(benchmark::State &state) {
  InsertIntoStdMap<
      std::unordered_map<std::string, int, CaseInsensitiveHash, CaseInsensitiveEqual>>(state);
}
BENCHMARK(BM_UnorderedMapCaseInsensitiveInsert);

void BM_UnorderedMapInsert(benchmark::State &state) {
  InsertIntoStdMap<std::unordered_map<std::string, int>>(state);
}
BENCHMARK(BM_UnorderedMapInsert);

} // namespace

BENCHMARK_MAIN();
