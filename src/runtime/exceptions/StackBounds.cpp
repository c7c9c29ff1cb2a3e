#include "runtime/exceptions/StackBounds.h"

// Where the dynamic loader found the process's stack (just below argv): the
// highest frame of the main stack lies beneath it.
extern "C" void *__libc_stack_end;

namespace {
StackBounds sMainStackBudget{0, 0};
StackBounds sThreadStack{0, 0};
uintptr_t sThreadWalkableBase = 0;
bool sThreadStackRuns = false;
} // namespace

void SetMainStackBudget(StackBounds budget) { sMainStackBudget = budget; }

StackBounds RunningStackBudget() { return sThreadStackRuns ? sThreadStack : sMainStackBudget; }

StackBounds WalkableStack() {
  if (sThreadStackRuns)
    return {sThreadWalkableBase, sThreadStack.top};
  const uintptr_t base = sMainStackBudget.base;
  return {base > kMainStackHeadroom ? base - kMainStackHeadroom : base,
          reinterpret_cast<uintptr_t>(__libc_stack_end)};
}

void SetRunningThreadStack(StackBounds budget, uintptr_t walkableBase) {
  sThreadStack = budget;
  sThreadWalkableBase = walkableBase ? walkableBase : budget.base;
  sThreadStackRuns = true;
}

void SetRunningMainStack() { sThreadStackRuns = false; }

uintptr_t CurrentStackPointer() {
  uintptr_t sp;
  asm volatile("mov %%esp, %0" : "=r"(sp));
  return sp;
}

bool MainStackRuns() { return !sThreadStackRuns; }
