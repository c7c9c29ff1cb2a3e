// Cooperative threads: every language thread runs on its own stack inside the
// one process thread, and the runtime switches stacks only at yield points
// (the dispatcher task every tick, the yield point of compiled loops, sleeps,
// and the waits of semaphores and critical sections). A thread's stack does
// not switch away inside a toolkit dispatch it began itself (a Timer's Action
// in the thread's DoEvents): there a yield point returns at once and a wait
// goes on looping on that stack.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/exceptions/Unwinder.h"

struct RuntimeObject;

// One record per thread of execution. SwitchStacks (StackSwitchX86.S) reads
// and writes the first six words at fixed offsets.
struct RuntimeThread {
  explicit RuntimeThread(RuntimeObject *thread = nullptr);
  ~RuntimeThread();
  RuntimeThread(const RuntimeThread &) = delete;
  RuntimeThread &operator=(const RuntimeThread &) = delete;

  uintptr_t stackBase;       // lowest byte of the stack's budget
  uintptr_t savedSP;         // points at the return address of the last switch
  uint32_t savedFP;          // ebp
  uint32_t savedRegisters[3]; // ebx, esi, edi
  uintptr_t stackTop;        // stackBase + the stack's size
  RuntimeObject *threadObject; // nil for the main thread
  RuntimeThread *next;
  // Milliseconds on the monotonic clock before which the dispatcher does not
  // pick the thread; 64-bit so that it never wraps.
  int64_t wakeTime;

  // The mapped block: guard page, headroom, then the budget [stackBase, stackTop).
  void *block;
  size_t blockSize;
  // What the running stack carried when it last switched away.
  ArmedHandlerState armedHandler;
  bool raisingOverflow;
  // The sanitizer's view of this stack (sanitized builds only).
  const void *asanBottom;
  size_t asanSize;
  void *asanFakeStack;

  // Maps a stack of `size` bytes (rounded up to pages) below `headroom` bytes
  // and a guard page, and makes the record start in ThreadEntry. False when
  // the block cannot be mapped.
  bool AllocateStack(int32_t size);
};
static_assert(offsetof(RuntimeThread, stackBase) == 0);
static_assert(offsetof(RuntimeThread, savedSP) == 4);
static_assert(offsetof(RuntimeThread, savedFP) == 8);
static_assert(offsetof(RuntimeThread, savedRegisters) == 12);
static_assert(offsetof(RuntimeThread, stackTop) == 24);
static_assert(offsetof(RuntimeThread, threadObject) == 28);
static_assert(offsetof(RuntimeThread, next) == 32);

// Headroom mapped below every thread's budget, where the raise of a stack
// overflow and its handlers run; a guard page lies below it.
constexpr size_t kThreadStackHeadroom = 262144;
constexpr int32_t kDefaultThreadStackSize = 16384;

extern "C" {
extern RuntimeThread *sCurrentThread;
extern uintptr_t sStackLimit;

// The two processor primitives (StackSwitchX86.S).
void SwitchStacks(RuntimeThread *target);
uintptr_t GetStackPointer();

void ThreadSleep(int32_t milliseconds);
int32_t RunningThreadCount();
void SetStackLimit(uintptr_t limit);
uintptr_t GetStackLimit();
void DebuggerSuspendThreadDispatcher();
void DebuggerResumeThreadDispatcher();
}

// True while a language thread's stack runs (not the main stack).
bool RunningOnThreadStack();
RuntimeThread *ThreadListHead();
RuntimeThread *MainThreadRecord();
RuntimeThread *DeadThreadListHead();
// Milliseconds on the monotonic clock.
int64_t ThreadClockMs();

RuntimeThread *FindNextThread(RuntimeThread *startingPoint);
// `finished`: the calling thread never runs again. Where the running stack
// may not switch, it goes on without switching (after the wait for the
// earliest thread, when none is due).
void SwitchToThreadOrIdle(RuntimeThread *thread, bool finished = false);
void YieldToNextThread();
// Makes a record for a language thread object, pushed at the head of the
// list, and creates the dispatcher task on first use. Nil (nothing listed)
// when its stack cannot be mapped.
RuntimeThread *StartThreadRecord(RuntimeObject *thread, int32_t stackSize);
// Loops until the clock has advanced the given milliseconds.
void BusyWaitMilliseconds(int32_t milliseconds);

// The guard pages of thread stacks: a fault there ends the process with a
// message on standard error and this status.
constexpr int kGuardPageExitStatus = 70;
// How far below its guard page a fault still counts as the thread's overflow.
constexpr uintptr_t kGuardReach = 65536;
bool IsInThreadGuardPage(uintptr_t address);
