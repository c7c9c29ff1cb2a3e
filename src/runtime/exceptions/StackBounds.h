// The bounds of the stack the processor runs on: the main stack, or the heap
// stack of the cooperative thread that runs now. The stack check measures
// against them, and the exception unwinder reads no frame outside them.
#pragma once
#include <cstdint>

// [base, top): base is the lowest usable byte, top one past the highest.
struct StackBounds {
  uintptr_t base;
  uintptr_t top;

  bool contains(uintptr_t address, uintptr_t size = 1) const {
    return address >= base && address < top && top - address >= size;
  }
};

// The budget of the running stack, which the stack check enforces. For the
// main stack it is what InitStackChecker set ({0, 0} before); for a thread,
// its whole heap block.
StackBounds RunningStackBudget();

// The memory of the running stack that a frame walk may read: a thread's heap
// block, or for the main stack everything from its budget's base up to where
// the process's stack begins (the frames of main and its callers included).
StackBounds WalkableStack();

// Set at start-up by InitStackChecker while the main stack runs.
void SetMainStackBudget(StackBounds budget);
bool MainStackRuns();

// Called by the thread switch: a cooperative thread's stack now runs. The
// budget is what the check enforces; a frame walk may also read the headroom
// from `walkableBase` (0: the budget's base) up to it, where a stack overflow
// is raised and handled.
void SetRunningThreadStack(StackBounds budget, uintptr_t walkableBase = 0);
// Called by the thread switch: the main stack runs again.
void SetRunningMainStack();

// Headroom kept below the main stack's budget: raising a stack overflow, the
// unwinder, the UnhandledException event and the final dialog run there.
constexpr uintptr_t kMainStackHeadroom = 262144;

// The current stack pointer.
uintptr_t CurrentStackPointer();
