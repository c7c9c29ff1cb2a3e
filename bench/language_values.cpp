// The language's value containers against what a C++ programmer would
// otherwise use: Dictionary set and get of String keys against
// std::unordered_map<std::string, int>, appending Integers to an array
// through its Insert slot against vector::push_back, and the array's Sort
// slot against std::sort.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "language/Dictionary.h"
#include "language/RuntimeArray.h"
#include "language/Variant.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

constexpr int kKeys = 100000;
constexpr int kAppends = 1000000;
constexpr int kSorted = 100000;

std::vector<std::string> Keys() {
  std::vector<std::string> keys;
  for (int i = 0; i < kKeys; ++i)
    keys.push_back("key" + std::to_string(i * 7919));
  return keys;
}

void DictionarySetAndGetStringKeys(benchmark::State &state) {
  const std::vector<std::string> texts = Keys();
  std::vector<RuntimeObject *> keys;
  for (const std::string &text : texts) {
    stringStorage *s = string(text.c_str()).ExtractStringStorage();
    keys.push_back(stringToVariant(s));
    RuntimeUnlockString(s);
  }
  RuntimeObject *value = intToVariant(1);
  for (auto _ : state) {
    RuntimeObject *dictionary = RuntimeNewObject(RuntimeLookupDictionaryClass());
    for (RuntimeObject *key : keys)
      dictionaryValueSetter(dictionary, key, value);
    for (RuntimeObject *key : keys)
      RuntimeUnlockObject(dictionaryValueGetter(dictionary, key));
    RuntimeUnlockObject(dictionary);
  }
  for (RuntimeObject *key : keys)
    RuntimeUnlockObject(key);
  RuntimeUnlockObject(value);
  state.SetItemsProcessed(state.iterations() * kKeys * 2);
}
BENCHMARK(DictionarySetAndGetStringKeys)->Unit(benchmark::kMillisecond);

void UnorderedMapSetAndGetStringKeys(benchmark::State &state) {
  const std::vector<std::string> keys = Keys();
  for (auto _ : state) {
    std::unordered_map<std::string, int> map;
    for (const std::string &key : keys)
      map[key] = 1;
    for (const std::string &key : keys)
      benchmark::DoNotOptimize(map.find(key)->second);
  }
  state.SetItemsProcessed(state.iterations() * kKeys * 2);
}
BENCHMARK(UnorderedMapSetAndGetStringKeys)->Unit(benchmark::kMillisecond);

void ArrayAppendIntegers(benchmark::State &state) {
  for (auto _ : state) {
    RuntimeArray *array = CreateArray(1, kIntegerElements, -1);
    for (int i = 0; i < kAppends; ++i)
      RuntimeIntArrayAppend(array, i);
    RuntimeUnlockArray(array);
  }
  state.SetItemsProcessed(state.iterations() * kAppends);
}
BENCHMARK(ArrayAppendIntegers)->Unit(benchmark::kMillisecond);

void VectorPushBackIntegers(benchmark::State &state) {
  for (auto _ : state) {
    std::vector<int32_t> vector;
    for (int i = 0; i < kAppends; ++i)
      vector.push_back(i);
    benchmark::DoNotOptimize(vector.data());
  }
  state.SetItemsProcessed(state.iterations() * kAppends);
}
BENCHMARK(VectorPushBackIntegers)->Unit(benchmark::kMillisecond);

std::vector<int32_t> Shuffled() {
  std::vector<int32_t> values(kSorted);
  std::mt19937 random(1);
  for (int32_t &v : values)
    v = int32_t(random());
  return values;
}

void ArraySortIntegers(benchmark::State &state) {
  const std::vector<int32_t> values = Shuffled();
  RuntimeArray *array = CreateArray(1, kIntegerElements, kSorted - 1);
  auto sort = ArraySlotFunction<void (*)(RuntimeArray *)>(array, kArraySort);
  for (auto _ : state) {
    std::copy(values.begin(), values.end(), reinterpret_cast<int32_t *>(array->buffer));
    sort(array);
  }
  RuntimeUnlockArray(array);
  state.SetItemsProcessed(state.iterations() * kSorted);
}
BENCHMARK(ArraySortIntegers)->Unit(benchmark::kMillisecond);

void StdSortIntegers(benchmark::State &state) {
  const std::vector<int32_t> values = Shuffled();
  std::vector<int32_t> sorted(values.size());
  for (auto _ : state) {
    std::copy(values.begin(), values.end(), sorted.begin());
    std::sort(sorted.begin(), sorted.end());
  }
  state.SetItemsProcessed(state.iterations() * kSorted);
}
BENCHMARK(StdSortIntegers)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
