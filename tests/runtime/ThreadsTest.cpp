// Cooperative threads: the stack switch itself, the life of a thread record,
// the Thread accessors, sleeping, and semaphores and critical sections
// between threads whose Run handlers the tests supply.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <time.h>

#include <functional>
#include <string>
#include <vector>

#include "ObjectModelFixtures.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/exceptions/StackCheck.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/startup/RuntimeLifecycle.h"
#include "runtime/threads/RuntimeThread.h"
#include "runtime/threads/ThreadClasses.h"
#include "support/AlertRecorder.h"

namespace {

// --- the primitive ---------------------------------------------------------

// A bare record for SwitchStacks: only its first six words are touched.
struct BareRecord {
  uintptr_t words[6];
};
BareRecord sFiber;
RuntimeThread *sFiberReturnTo;
std::vector<uintptr_t> sFiberFrames;

[[noreturn]] void FiberEntry() {
  for (;;) {
    sFiberFrames.push_back(reinterpret_cast<uintptr_t>(__builtin_frame_address(0)));
    // Scribble over the callee-saved registers the other side relies on.
    asm volatile("movl $0x5a5a5a5a, %%ebx\n\tmovl $0x5a5a5a5a, %%esi\n\tmovl $0x5a5a5a5a, %%edi"
                 :
                 :
                 : "ebx", "esi", "edi");
    SwitchStacks(sFiberReturnTo);
  }
}

struct Registers {
  uint32_t ebx, esi, edi, ebp;
};

// Loads known values into ebx, esi, edi and ebp, switches to the target and
// answers what the four hold when the switch comes back.
Registers SwitchWithKnownRegisters(RuntimeThread *target) {
  Registers r{};
  asm volatile("pushl %%ebp\n\t"
               "movl $0x11111111, %%ebx\n\t"
               "movl $0x22222222, %%esi\n\t"
               "movl $0x33333333, %%edi\n\t"
               "movl $0x44444444, %%ebp\n\t"
               "pushl %%ecx\n\t"
               "call SwitchStacks\n\t"
               "addl $4, %%esp\n\t"
               "movl %%ebp, %%eax\n\t"
               "popl %%ebp"
               : "=b"(r.ebx), "=S"(r.esi), "=D"(r.edi), "=a"(r.ebp)
               : "c"(target)
               : "edx", "memory", "cc");
  return r;
}

TEST(StackSwitch, PingPongKeepsCalleeSavedRegistersAndStartsAligned) {
  alignas(16) static uint8_t stack[16384];
  auto *top = reinterpret_cast<uintptr_t *>(stack + sizeof stack);
  top[-1] = 0; // the entry's return address
  top[-2] = reinterpret_cast<uintptr_t>(&FiberEntry);
  sFiber = {{reinterpret_cast<uintptr_t>(stack), reinterpret_cast<uintptr_t>(&top[-2]), 0, 0, 0, 0}};
  auto *fiber = reinterpret_cast<RuntimeThread *>(&sFiber);
  RuntimeThread *main = sCurrentThread;
  ASSERT_NE(main, nullptr);
  sFiberReturnTo = main;
  sFiberFrames.clear();
  const uintptr_t limit = GetStackLimit();
  for (int round = 0; round < 3; ++round) {
    const Registers r = SwitchWithKnownRegisters(fiber);
    EXPECT_EQ(r.ebx, 0x11111111u);
    EXPECT_EQ(r.esi, 0x22222222u);
    EXPECT_EQ(r.edi, 0x33333333u);
    EXPECT_EQ(r.ebp, 0x44444444u);
    EXPECT_EQ(sCurrentThread, main);
  }
  EXPECT_EQ(GetStackLimit(), main->stackBase); // the switch back set it
  SetStackLimit(limit);
  ASSERT_EQ(sFiberFrames.size(), 3u);
  // Entered as if called with a 16-byte aligned stack, so the frame pointer
  // pushed by its prologue sits 8 below a multiple of 16, and stays put.
  EXPECT_EQ(sFiberFrames[0] % 16, 8u);
  EXPECT_EQ(sFiberFrames[0], reinterpret_cast<uintptr_t>(&top[-2]));
  EXPECT_EQ(sFiberFrames[1], sFiberFrames[0]);
  EXPECT_EQ(sFiberFrames[2], sFiberFrames[0]);
  // The fiber's frame chain ends at the zero frame pointer it started with.
  EXPECT_EQ(top[-2], 0u);
}

// --- language threads ------------------------------------------------------

std::function<void(RuntimeObject *)> sRun;

void Run(RuntimeObject *thread) {
  if (sRun)
    sRun(thread);
}

RuntimeClass *ThreadWithRun() {
  static RuntimeClass *cls = SubclassHandling(LookupObjectDefinition(ThreadClass()), "TestThread",
                                              sizeof(ThreadObject), "Run",
                                              reinterpret_cast<void *>(Run));
  return cls;
}

std::vector<std::string> sUnhandled;
void RecordUnhandled(RuntimeObject *exception) {
  sUnhandled.push_back(stringStorage::CString(exception->classPtr->name));
}

class Threads : public testing::Test {
protected:
  void SetUp() override {
    sRun = nullptr;
    sUnhandled.clear();
    SetUnhandledExceptionHook(RecordUnhandled);
  }
  void TearDown() override {
    // Lets every thread a test left behind finish, and frees the records.
    for (int i = 0; i < 1000 && (ThreadListHead() != MainThreadRecord() || DeadThreadListHead());
         ++i)
      YieldToNextThread();
    EXPECT_EQ(ThreadListHead(), MainThreadRecord());
    EXPECT_EQ(DeadThreadListHead(), nullptr);
    sRun = nullptr;
    SetUnhandledExceptionHook(nullptr);
  }
  static ThreadObject *Fields(const ObjectHolder &thread) {
    return reinterpret_cast<ThreadObject *>(thread.get());
  }
};

TEST_F(Threads, EmptyRunFinishesAtItsFirstSwitchAndIsFreedAtTheNextYield) {
  ObjectHolder thread(RuntimeNewObject(ThreadWithRun()));
  bool ran = false;
  sRun = [&](RuntimeObject *) { ran = sCurrentThread != MainThreadRecord(); };
  threadRun(thread.get());
  EXPECT_TRUE(ran);
  EXPECT_EQ(ThreadGetID(thread.get(), 0), 0);
  EXPECT_EQ(thread.get()->refCount, 1); // Run's reference is gone
  EXPECT_EQ(sCurrentThread, MainThreadRecord());
  ASSERT_NE(DeadThreadListHead(), nullptr);
  YieldToNextThread();
  EXPECT_EQ(DeadThreadListHead(), nullptr);
}

TEST_F(Threads, RunningThreadHasAnIdAGuardedStackAndCannotBeStartedTwice) {
  ObjectHolder thread(RuntimeNewObject(ThreadWithRun()));
  int runs = 0;
  RuntimeThread *record = nullptr;
  uintptr_t sp = 0;
  sRun = [&](RuntimeObject *self) {
    ++runs;
    record = sCurrentThread;
    sp = GetStackPointer();
    threadRun(self); // running: nothing happens
    YieldToNextThread();
  };
  ThreadSetStackSize(thread.get(), 0, 20000);
  threadRun(thread.get());
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(ThreadGetID(thread.get(), 0), static_cast<int32_t>(reinterpret_cast<uintptr_t>(record)));
  EXPECT_EQ(DebuggerThreadCount(), 1);
  RuntimeObject *found = DebuggerThreadLookup(0, 0);
  EXPECT_EQ(found, thread.get());
  RuntimeUnlockObject(found);
  EXPECT_EQ(DebuggerThreadLookup(0, 1), nullptr);
  // The budget is the size rounded up to pages; the stack pointer of its Run
  // lay inside it, and a guard page lies below the headroom.
  EXPECT_EQ(record->stackTop - record->stackBase, 20480u);
  EXPECT_TRUE(sp > record->stackBase && sp < record->stackTop);
  EXPECT_TRUE(IsInThreadGuardPage(record->stackBase - kThreadStackHeadroom - 1));
  EXPECT_FALSE(IsInThreadGuardPage(record->stackBase - kThreadStackHeadroom));
  EXPECT_FALSE(IsInThreadGuardPage(record->stackBase));
  threadRun(thread.get());
  EXPECT_EQ(runs, 1);
}

// Recursion without the stack check runs through the headroom into the guard
// page: the process ends with a message instead of corrupting memory.
int UncheckedRecursion(volatile int depth) {
  volatile char frame[1024];
  frame[0] = static_cast<char>(depth);
  return UncheckedRecursion(depth + 1) + frame[0];
}

TEST_F(Threads, ReachingTheGuardPageEndsTheProcessWithAMessage) {
#if defined(__SANITIZE_ADDRESS__)
  // The fault handler runs on the alternate signal stack, which the
  // sanitizer does not know as a stack: it reports the handler's frame as
  // its own error before the handler can end the process with the guard
  // page's status.
  GTEST_SKIP() << "the sanitizer takes the guard page's fault handler for an error";
#endif
  EXPECT_EXIT(
      {
        ObjectHolder thread(RuntimeNewObject(ThreadWithRun()));
        sRun = [](RuntimeObject *) { UncheckedRecursion(0); };
        threadRun(thread.get());
      },
      testing::ExitedWithCode(kGuardPageExitStatus), "guard page");
}

// Frames without handler records: an overflow nobody catches goes to the
// unhandled path right at the depth where it was raised, so the
// UnhandledException filter and the final dialog (recorded here) run in the
// headroom below the budget, above the guard page.
std::vector<std::pair<std::string, uintptr_t>> sFinalDialogs;
void RecordFinalDialog(const FinalDialogText &text) {
  sFinalDialogs.emplace_back(text.message.CString(), GetStackPointer());
}

void CheckedRecursion(int depth) {
  volatile char frame[512];
  frame[0] = static_cast<char>(depth);
  RuntimeStackCheck();
  if (sFinalDialogs.empty())
    CheckedRecursion(depth + 1);
  frame[1] = frame[0]; // the frame stays live across the call
}

TEST_F(Threads, UncaughtOverflowRunsTheFinalDialogInTheHeadroom) {
  ObjectHolder thread(RuntimeNewObject(ThreadWithRun()));
  RuntimeThread *record = nullptr;
  sFinalDialogs.clear();
  SetUnhandledExceptionHook(UnhandledExceptionFilter);
  FinalDialogPresenter previous = SetFinalDialogPresenter(RecordFinalDialog);
  sRun = [&](RuntimeObject *) {
    record = sCurrentThread;
    CheckedRecursion(0);
  };
  threadRun(thread.get());
  SetFinalDialogPresenter(previous);
  ASSERT_NE(record, nullptr);
  ASSERT_EQ(sFinalDialogs.size(), 1u);
  EXPECT_NE(sFinalDialogs[0].first.find("stackOverflowException"), std::string::npos);
  const uintptr_t sp = sFinalDialogs[0].second;
  EXPECT_LT(sp, record->stackBase + kStackReserve);
  EXPECT_GT(sp, record->stackBase - kThreadStackHeadroom);
  EXPECT_EQ(ThreadGetID(thread.get(), 0), 0); // Run returned: the thread ended
}

TEST_F(Threads, StackSizeReadsTheDefaultForZeroOrLessAndCannotChangeWhileRunning) {
  ObjectHolder thread(RuntimeNewObject(ThreadWithRun()));
  struct Case {
    int32_t set, reads;
  } cases[] = {{0, 16384}, {-5, 16384}, {100000, 100000}, {1, 1}};
  for (const Case &c : cases) {
    ThreadSetStackSize(thread.get(), 0, c.set);
    EXPECT_EQ(ThreadGetStackSize(thread.get(), 0), c.reads) << c.set;
  }
  ThreadSetStackSize(thread.get(), 0, -5);
  ThreadSetSuspended(thread.get(), 0, 1); // Run does not switch at once
  threadRun(thread.get());
  ThreadSetStackSize(thread.get(), 0, 50000);
  EXPECT_EQ(sUnhandled, std::vector<std::string>{"ThreadAlreadyRunningException"});
  EXPECT_EQ(ThreadGetStackSize(thread.get(), 0), 16384);
  RuntimeThread *record = reinterpret_cast<ThreadObject *>(thread.get())->record;
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->stackTop - record->stackBase, 16384u);
}

TEST_F(Threads, StackTooLargeToMapRaisesOutOfMemoryAndLeavesTheThreadNotStarted) {
  ObjectHolder thread(RuntimeNewObject(ThreadWithRun()));
  ThreadSetStackSize(thread.get(), 0, 0x7ff00000);
  // Fill the address space so that no gap of the stack's size is left.
  std::vector<void *> reserved;
  for (void *chunk; (chunk = mmap(nullptr, 256 << 20, PROT_NONE,
                                  MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0)) != MAP_FAILED;)
    reserved.push_back(chunk);
  threadRun(thread.get());
  for (void *chunk : reserved)
    munmap(chunk, 256 << 20);
  EXPECT_EQ(sUnhandled, std::vector<std::string>{"OutOfMemoryException"});
  EXPECT_EQ(ThreadGetID(thread.get(), 0), 0);
  EXPECT_EQ(thread.get()->refCount, 1);
  EXPECT_EQ(ThreadListHead(), MainThreadRecord());
}

TEST_F(Threads, NilThreadAlertsAndAnswersZero) {
  AlertRecorder alerts;
  EXPECT_EQ(ThreadGetStackSize(nullptr, 0), 0);
  EXPECT_EQ(ThreadGetID(nullptr, 0), 0);
  ThreadSetStackSize(nullptr, 0, 5);
  threadRun(nullptr);
  ASSERT_EQ(alerts.count(), 4u);
  for (const RecordedAlert &alert : alerts.alerts()) {
    EXPECT_EQ(alert.condition, "thread");
    EXPECT_EQ(alert.file, "../Common/ClassLib/RuntimeThread");
  }
}

TEST_F(Threads, FindNextThreadNeverAnswersItsStart) {
  EXPECT_EQ(FindNextThread(MainThreadRecord()), nullptr); // the only record, and due
  AlertRecorder alerts;
  EXPECT_EQ(FindNextThread(nullptr), nullptr);
  EXPECT_TRUE(alerts.saw("startingPoint"));
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int64_t WallMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

// An idle process sleeps in the kernel: the wait is wall-clock time, not
// processor time spun away.
TEST_F(Threads, DoEventsSleepInAThreadWaitsByTheWallClockWithoutSpinning) {
  ObjectHolder thread(RuntimeNewObject(ThreadWithRun()));
  int64_t slept = -1;
  bool done = false;
  sRun = [&](RuntimeObject *) {
    const int64_t start = WallMs();
    RuntimeDoEvents(nullptr, 200);
    slept = WallMs() - start;
    done = true;
  };
  const double cpuBefore = CpuSeconds();
  threadRun(thread.get());
  while (!done)
    ThreadSleep(50);
  const double cpu = CpuSeconds() - cpuBefore;
  EXPECT_GE(slept, 200);
  EXPECT_LT(slept, 1000);
  EXPECT_LT(cpu, 0.1);
}

// Two threads each calling DoEvents, so that both turn a nested step of the
// loop while the other's stack is suspended: both go on together.
TEST_F(Threads, DoEventsInsideTwoThreadsAtOnce) {
  ObjectHolder first(RuntimeNewObject(ThreadWithRun()));
  ObjectHolder second(RuntimeNewObject(ThreadWithRun()));
  int turns[2] = {0, 0}, otherTurnsWhenDone[2] = {-1, -1};
  bool done[2] = {false, false};
  sRun = [&](RuntimeObject *self) {
    const int mine = self == first.get() ? 0 : 1;
    for (int i = 0; i < 20; ++i) {
      RuntimeDoEvents(nullptr, 5);
      ++turns[mine];
    }
    otherTurnsWhenDone[mine] = turns[1 - mine];
    done[mine] = true;
  };
  threadRun(first.get());
  threadRun(second.get());
  for (int i = 0; i < 2000 && !(done[0] && done[1]); ++i)
    RuntimeDoEvents(nullptr, 5);
  ASSERT_TRUE(done[0] && done[1]);
  EXPECT_GT(otherTurnsWhenDone[0], 0);
  EXPECT_GT(otherTurnsWhenDone[1], 0);
}

// Semaphores and critical sections between the main thread and one started
// thread; each case's steps run in order across the two.
struct SyncCase {
  const char *what;
  bool semaphore; // else a critical section
  std::function<void(RuntimeObject *, RuntimeObject *)> main; // (section or semaphore, thread)
};

TEST_F(Threads, SemaphoresAndCriticalSectionsBetweenTwoThreads) {
  const SyncCase cases[] = {
      {"a critical section entered three times is free only after three Leaves; another "
       "thread's Leave does nothing",
       false,
       [](RuntimeObject *section, RuntimeObject *thread) {
         auto *cs = reinterpret_cast<CriticalSectionObject *>(section);
         for (int i = 0; i < 3; ++i)
           criticalsection_enter(section);
         EXPECT_EQ(cs->count, 3);
         sRun = [&](RuntimeObject *) { criticalsection_leave(section); };
         threadRun(thread);
         EXPECT_EQ(cs->count, 3);
         criticalsection_leave(section);
         criticalsection_leave(section);
         EXPECT_EQ(cs->count, 1);
         criticalsection_leave(section);
         EXPECT_EQ(cs->count, 0);
         criticalsection_leave(section); // not entered: nothing
         EXPECT_EQ(cs->count, 0);
       }},
      {"a thread entering a held critical section waits until the owner leaves",
       false,
       [](RuntimeObject *section, RuntimeObject *thread) {
         auto *cs = reinterpret_cast<CriticalSectionObject *>(section);
         bool entered = false;
         criticalsection_enter(section);
         sRun = [&](RuntimeObject *) {
           criticalsection_enter(section);
           entered = true;
           criticalsection_leave(section);
         };
         threadRun(thread);
         for (int i = 0; i < 3; ++i)
           ThreadSleep(20);
         EXPECT_FALSE(entered);
         criticalsection_leave(section);
         while (!entered)
           ThreadSleep(5);
         EXPECT_EQ(cs->count, 0);
       }},
      {"Release of an unsignalled semaphore leaves it free",
       true,
       [](RuntimeObject *semaphore, RuntimeObject *) {
         semaphore_release(semaphore);
         EXPECT_EQ(reinterpret_cast<SemaphoreObject *>(semaphore)->taken, 0);
         Semaphore_Signal(semaphore); // free: returns at once
         EXPECT_EQ(reinterpret_cast<SemaphoreObject *>(semaphore)->taken, 1);
       }},
      {"a second Signal waits until another thread releases",
       true,
       [](RuntimeObject *semaphore, RuntimeObject *thread) {
         bool released = false, signalledAfter = false;
         Semaphore_Signal(semaphore);
         sRun = [&](RuntimeObject *) {
           for (int i = 0; i < 3; ++i)
             ThreadSleep(20);
           released = true;
           semaphore_release(semaphore);
         };
         threadRun(thread);
         Semaphore_Signal(semaphore); // spins through the dispatcher until released
         signalledAfter = released;
         EXPECT_TRUE(signalledAfter);
         EXPECT_EQ(reinterpret_cast<SemaphoreObject *>(semaphore)->taken, 1);
       }},
  };
  for (const SyncCase &c : cases) {
    SCOPED_TRACE(c.what);
    ObjectHolder sync(CreateInstance(c.semaphore ? SemaphoreClass() : CriticalSectionClass()));
    ObjectHolder thread(RuntimeNewObject(ThreadWithRun()));
    c.main(sync.get(), thread.get());
    while (ThreadGetID(thread.get(), 0))
      ThreadSleep(5);
    YieldToNextThread();
  }
}

} // namespace
