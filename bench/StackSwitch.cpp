// A round trip between two stacks: the cooperative threads' SwitchStacks
// (registers only) against ucontext's swapcontext (which also saves and
// restores the signal mask with a system call on every switch).
#include <benchmark/benchmark.h>
#include <ucontext.h>

#include <cstdint>

#include "runtime/threads/RuntimeThread.h"

namespace {

alignas(16) uint8_t sStack[65536];

// --- SwitchStacks ------------------------------------------------------------

// Only the first six words of a record are touched by the switch.
struct BareRecord {
  uintptr_t words[6];
};
BareRecord sPeer;
RuntimeThread *sMain;

[[noreturn]] void PeerEntry() {
  for (;;)
    SwitchStacks(sMain);
}

void BM_SwitchStacksRoundTrip(benchmark::State &state) {
  auto *top = reinterpret_cast<uintptr_t *>(sStack + sizeof sStack);
  top[-1] = 0;
  top[-2] = reinterpret_cast<uintptr_t>(&PeerEntry);
  sPeer = {{reinterpret_cast<uintptr_t>(sStack), reinterpret_cast<uintptr_t>(&top[-2]), 0, 0, 0, 0}};
  sMain = sCurrentThread;
  auto *peer = reinterpret_cast<RuntimeThread *>(&sPeer);
  const uintptr_t limit = GetStackLimit();
  for (auto _ : state)
    SwitchStacks(peer); // there and back
  SetStackLimit(limit);
}
BENCHMARK(BM_SwitchStacksRoundTrip);

// --- swapcontext ---------------------------------------------------------------

ucontext_t sMainContext, sPeerContext;

void PeerLoop() {
  for (;;)
    swapcontext(&sPeerContext, &sMainContext);
}

void BM_SwapcontextRoundTrip(benchmark::State &state) {
  getcontext(&sPeerContext);
  sPeerContext.uc_stack.ss_sp = sStack;
  sPeerContext.uc_stack.ss_size = sizeof sStack;
  sPeerContext.uc_link = nullptr;
  makecontext(&sPeerContext, PeerLoop, 0);
  for (auto _ : state)
    swapcontext(&sMainContext, &sPeerContext);
}
BENCHMARK(BM_SwapcontextRoundTrip);

} // namespace

BENCHMARK_MAIN();
