// Raising an exception and catching it in a compiled frame some runtime
// frames above the raise, against throwing a C++ exception through the same
// number of frames to a try block.
#include <benchmark/benchmark.h>

#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/RuntimeObject.h"

// The hand-made compiled frames of the unwinder's tests: a frame with a
// protected region, in a section registered as the image's code.
#include "../tests/runtime/HandMadeFrames.cpp"

namespace {

struct RaiseArgs {
  RuntimeObject *exception;
  int depth;
};

__attribute__((noinline)) void RaiseBelow(void *arg) {
  auto *a = static_cast<RaiseArgs *>(arg);
  if (a->depth-- > 0) {
    RaiseBelow(arg);
    benchmark::ClobberMemory(); // keeps the frame a real call, not a jump
    return;
  }
  RuntimeRaiseException(a->exception);
}

struct CxxException {
  int code;
};

__attribute__((noinline)) void ThrowBelow(int depth) {
  if (depth > 0) {
    ThrowBelow(depth - 1);
    benchmark::ClobberMemory();
    return;
  }
  throw CxxException{1};
}

RuntimeClass *ExceptionClass() {
  static RuntimeClass *cls = [] {
    RuntimeClass *c = RuntimeNewClass(nullptr, 0, 0, 0, 0, 0);
    c->instanceSize = sizeof(RuntimeObject);
    return c;
  }();
  return cls;
}

void BM_UnwinderRaiseToCompiledHandler(benchmark::State &state) {
  RegisterHandMadeFramesAsImageCode();
  RuntimeObject *exception = RuntimeNewObject(ExceptionClass());
  for (auto _ : state) {
    RaiseArgs args{exception, int(state.range(0))};
    int32_t continued = 0;
    RuntimeObject *caught = HandMadeProtected(RaiseBelow, &args, &continued);
    if (caught != exception) {
      state.SkipWithError("the handler did not receive the exception");
      break;
    }
    RuntimeUnlockObject(caught);
  }
  RuntimeUnlockObject(exception);
}
BENCHMARK(BM_UnwinderRaiseToCompiledHandler)->Arg(1)->Arg(8);

void BM_CxxThrowToTryBlock(benchmark::State &state) {
  for (auto _ : state) {
    try {
      ThrowBelow(int(state.range(0)));
    } catch (const CxxException &e) {
      benchmark::DoNotOptimize(e.code);
    }
  }
}
BENCHMARK(BM_CxxThrowToTryBlock)->Arg(1)->Arg(8);

} // namespace

BENCHMARK_MAIN();
