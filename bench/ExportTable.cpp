// Looking names up in the runtime export table: the hashed, case-ignoring
// index (resolveRelocEntry) and the linear walk in table order with which the
// loader binds imports, against a std::unordered_map keyed by upper-cased
// names, which a C++ programmer would otherwise use. Every lookup is of a
// fixed row's name written in lower case.
#include <benchmark/benchmark.h>

#include <cctype>
#include <string>
#include <unordered_map>
#include <vector>

#include "runtime/exports/ExportTable.h"

namespace {

std::string Cased(const char *name, int (*change)(int)) {
  std::string text(name);
  for (char &c : text)
    c = char(change(static_cast<unsigned char>(c)));
  return text;
}

const std::vector<std::string> &LowerCaseNames() {
  static std::vector<std::string> names = [] {
    std::vector<std::string> lowered;
    for (const RelocEntry &entry : kFixedRelocTable)
      lowered.push_back(Cased(entry.name, std::tolower));
    return lowered;
  }();
  return names;
}

// Runs the lookup on every name once per iteration.
template <typename Lookup>
void LookUpEveryName(benchmark::State &state, Lookup lookup) {
  const auto &names = LowerCaseNames();
  for (auto _ : state)
    for (const std::string &name : names)
      benchmark::DoNotOptimize(lookup(name));
  state.SetItemsProcessed(state.iterations() * int64_t(names.size()));
}

void ExportTableHashedIndex(benchmark::State &state) {
  LookUpEveryName(state, [](const std::string &name) { return resolveRelocEntry(name.c_str()); });
}
BENCHMARK(ExportTableHashedIndex);

void ExportTableLinearWalk(benchmark::State &state) {
  LookUpEveryName(state, [](const std::string &name) { return FindFirstRelocEntry(name.c_str()); });
}
BENCHMARK(ExportTableLinearWalk);

void StdUnorderedMapUpperCased(benchmark::State &state) {
  std::unordered_map<std::string, void *> map;
  for (const RelocEntry &entry : kFixedRelocTable)
    if (entry.address)
      map.emplace(Cased(entry.name, std::toupper), entry.address);
  LookUpEveryName(state, [&map](const std::string &name) {
    auto found = map.find(Cased(name.c_str(), std::toupper));
    return found == map.end() ? nullptr : found->second;
  });
}
BENCHMARK(StdUnorderedMapUpperCased);

} // namespace

BENCHMARK_MAIN();
