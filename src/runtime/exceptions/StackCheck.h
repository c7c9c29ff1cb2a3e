// The stack guard that compiled code calls on entry, and its set-up.
#pragma once
#include <cstdint>

extern "C" {
// Start-up: the running stack's budget becomes the given number of bytes
// below the current stack pointer (while the main stack runs).
void InitStackChecker(int32_t budget);
// Raises StackOverflowException when the running stack is exhausted, so
// that the caller's frame still lies inside the stack when its handler runs.
void RuntimeStackCheck();
}

// The stack budget at start-up, and the reserve the check keeps.
constexpr int32_t kMainStackBudget = 262144;
constexpr uintptr_t kStackReserve = 4096;

// Whether a stack overflow is being raised on the running stack; the thread
// switch keeps it per thread.
bool StackOverflowBeingRaised();
void SetStackOverflowBeingRaised(bool raising);
