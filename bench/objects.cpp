// Language objects against the usual C++ alternatives: creating and releasing
// an object of the object model against new/delete of a struct of the same
// size (and std::make_shared), and a RuntimeLockObject/RuntimeUnlockObject
// pair against copying and dropping a std::shared_ptr.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

namespace {

constexpr int32_t kInstanceSize = 40; // header plus four fields

struct SameSizeStruct {
  char bytes[kInstanceSize];
};

RuntimeClass *BenchClass() {
  static RuntimeClass *cls = [] {
    RuntimeClass *c = RuntimeNewClass(nullptr, 2, 0, 2, 0, 0);
    c->name = string("BenchObject").ExtractStringStorage();
    c->instanceSize = kInstanceSize;
    return c;
  }();
  return cls;
}

void BM_ObjectCreateRelease(benchmark::State &state) {
  RuntimeClass *cls = BenchClass();
  for (auto _ : state) {
    RuntimeObject *object = RuntimeNewObject(cls);
    benchmark::DoNotOptimize(object);
    RuntimeUnlockObject(object);
  }
}

void BM_NewDeleteStruct(benchmark::State &state) {
  for (auto _ : state) {
    auto *object = new SameSizeStruct{};
    benchmark::DoNotOptimize(object);
    delete object;
  }
}

void BM_MakeSharedRelease(benchmark::State &state) {
  for (auto _ : state) {
    auto object = std::make_shared<SameSizeStruct>();
    benchmark::DoNotOptimize(object.get());
  }
}

void BM_ObjectLockUnlock(benchmark::State &state) {
  RuntimeObject *object = RuntimeNewObject(BenchClass());
  for (auto _ : state) {
    RuntimeLockObject(object);
    benchmark::DoNotOptimize(object->refCount);
    RuntimeUnlockObject(object);
  }
  RuntimeUnlockObject(object);
}

void BM_SharedPtrCopy(benchmark::State &state) {
  auto object = std::make_shared<SameSizeStruct>();
  for (auto _ : state) {
    std::shared_ptr<SameSizeStruct> copy = object;
    benchmark::DoNotOptimize(copy.get());
  }
}

} // namespace

BENCHMARK(BM_ObjectCreateRelease);
BENCHMARK(BM_NewDeleteStruct);
BENCHMARK(BM_MakeSharedRelease);
BENCHMARK(BM_ObjectLockUnlock);
BENCHMARK(BM_SharedPtrCopy);

BENCHMARK_MAIN();
