#include "runtime/exceptions/StackCheck.h"

#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/StackBounds.h"

extern "C" void InitStackChecker(int32_t budget) {
  const uintptr_t limit = CurrentStackPointer() - static_cast<uintptr_t>(budget);
  if (MainStackRuns())
    SetMainStackBudget({limit, limit + static_cast<uintptr_t>(budget)});
}

extern "C" void RuntimeStackCheck() {
  const StackBounds stack = RunningStackBudget();
  if (!stack.base && !stack.top)
    return; // no budget set yet
  // Below the base, or within the reserve above it. A stack pointer above the
  // top (a callback on a foreign stack) is beyond the reserve and passes.
  const uintptr_t sp = CurrentStackPointer();
  if (sp < stack.base || sp - stack.base < kStackReserve)
    RaiseExceptionClass(StackOverflowExceptionClass());
}
