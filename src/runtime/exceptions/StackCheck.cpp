#include "runtime/exceptions/StackCheck.h"

#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/StackBounds.h"
#include "runtime/threads/RuntimeThread.h"

namespace {
// Set while a stack overflow is on its way to a handler: the handler, the
// UnhandledException event and the final dialog run below the budget's base,
// in the headroom, and the check lets them go down to a floor just above it.
bool sRaisingOverflow = false;
} // namespace

extern "C" void InitStackChecker(int32_t budget) {
  const uintptr_t limit = CurrentStackPointer() - static_cast<uintptr_t>(budget);
  SetStackLimit(limit);
  if (MainStackRuns())
    SetMainStackBudget({limit, limit + static_cast<uintptr_t>(budget)});
  if (sCurrentThread == MainThreadRecord()) {
    sCurrentThread->stackBase = limit;
    sCurrentThread->stackTop = limit + static_cast<uintptr_t>(budget);
  }
}

extern "C" void RuntimeStackCheck() {
  const StackBounds stack = RunningStackBudget();
  if (!stack.base && !stack.top)
    return; // no budget set yet
  // Below the base, or within the reserve above it. A stack pointer above the
  // top (a callback on a foreign stack) is beyond the reserve and passes.
  const uintptr_t sp = CurrentStackPointer();
  if (sp >= stack.base && sp - stack.base >= kStackReserve) {
    sRaisingOverflow = false;
    return;
  }
  if (sRaisingOverflow) {
    const uintptr_t floor = WalkableStack().base + kStackReserve;
    if (sp >= floor)
      return;
  }
  sRaisingOverflow = true;
  RaiseExceptionClass(StackOverflowExceptionClass());
}

bool StackOverflowBeingRaised() { return sRaisingOverflow; }
void SetStackOverflowBeingRaised(bool raising) { sRaisingOverflow = raising; }
