// Language objects against the usual C++ alternatives: creating and releasing
// an object of the object model against new/delete of a struct of the same
// size (and std::make_shared), the same with a chain of three constructors on
// both sides, and a RuntimeLockObject/RuntimeUnlockObject pair against copying
// and dropping a std::shared_ptr. What each side makes is checked once,
// outside the timed loop.
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

// The fields after the header, as both sides see them.
int32_t *Fields(RuntimeObject *object) { return reinterpret_cast<int32_t *>(object + 1); }

void CheckFields(benchmark::State &state, const int32_t *fields, int32_t first, int32_t second,
                 int32_t third) {
  if (fields[0] != first || fields[1] != second || fields[2] != third || fields[3] != 0)
    state.SkipWithError("the fields are not as made");
}

// Creates and releases objects of the class, then checks the fields of one.
void CreateAndRelease(benchmark::State &state, RuntimeClass *cls, int32_t first, int32_t second,
                      int32_t third) {
  for (auto _ : state) {
    RuntimeObject *object = RuntimeNewObject(cls);
    benchmark::DoNotOptimize(object);
    RuntimeUnlockObject(object);
  }
  RuntimeObject *object = RuntimeNewObject(cls);
  CheckFields(state, Fields(object), first, second, third);
  RuntimeUnlockObject(object);
}

void BM_ObjectCreateRelease(benchmark::State &state) {
  CreateAndRelease(state, BenchClass(), 0, 0, 0);
}

// Three classes deriving from one another, each with a constructor that sets
// a field of its own, as compiled code's constructors do. The C++ side calls
// the same out-of-line functions from its constructors, so that both sides
// make the same calls.
__attribute__((noinline)) void SetFirst(RuntimeObject *object) { Fields(object)[0] = 1; }
__attribute__((noinline)) void SetSecond(RuntimeObject *object) {
  Fields(object)[1] = Fields(object)[0] + 1;
}
__attribute__((noinline)) void SetThird(RuntimeObject *object) {
  Fields(object)[2] = Fields(object)[1] + 1;
}

RuntimeClass *ChainClass() {
  static RuntimeClass *cls = [] {
    RuntimeClass *root = BenchClass();
    RuntimeClass *middle = RuntimeNewClass(root, 2, 0, 2, 0, 0);
    middle->instanceSize = kInstanceSize;
    RuntimeClass *leaf = RuntimeNewClass(middle, 2, 0, 2, 0, 0);
    leaf->instanceSize = kInstanceSize;
    root->constructor = SetFirst;
    middle->constructor = SetSecond;
    leaf->constructor = SetThird;
    return leaf;
  }();
  return cls;
}

// The same layout: a header's worth of bytes, then the fields.
struct FirstStruct {
  char header[sizeof(RuntimeObject)] = {};
  int32_t fields[4] = {};
  RuntimeObject *Object() { return reinterpret_cast<RuntimeObject *>(this); }
  FirstStruct() { SetFirst(Object()); }
};
struct SecondStruct : FirstStruct {
  SecondStruct() { SetSecond(Object()); }
};
struct ThirdStruct : SecondStruct {
  ThirdStruct() { SetThird(Object()); }
};
static_assert(sizeof(ThirdStruct) == kInstanceSize);

void BM_ObjectWithConstructorChain(benchmark::State &state) {
  CreateAndRelease(state, ChainClass(), 1, 2, 3);
}

void BM_MakeSharedWithConstructorChain(benchmark::State &state) {
  for (auto _ : state) {
    auto object = std::make_shared<ThirdStruct>();
    benchmark::DoNotOptimize(object.get());
  }
  CheckFields(state, std::make_shared<ThirdStruct>()->fields, 1, 2, 3);
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
  auto object = std::make_shared<SameSizeStruct>();
  CheckFields(state, reinterpret_cast<const int32_t *>(object->bytes + sizeof(RuntimeObject)), 0,
              0, 0);
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
BENCHMARK(BM_ObjectWithConstructorChain);
BENCHMARK(BM_MakeSharedWithConstructorChain);
BENCHMARK(BM_ObjectLockUnlock);
BENCHMARK(BM_SharedPtrCopy);

BENCHMARK_MAIN();
