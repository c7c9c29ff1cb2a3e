#include "runtime/threads/RuntimeThread.h"

#include <signal.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include "foundation/AssertionAlert.h"
#include "runtime/exceptions/StackBounds.h"
#include "runtime/exceptions/StackCheck.h"
#include "runtime/loop/BackgroundTask.h"
#include "runtime/loop/RunLoop.h"
#include "runtime/objects/RuntimeObject.h"
#include "runtime/threads/ThreadClasses.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#define THREADS_ANNOUNCE_FIBERS 1
#endif

extern "C" {
RuntimeThread *sCurrentThread = nullptr;
uintptr_t sStackLimit = 0;
}

namespace {

constexpr const char *kThreadSource = "../Common/ClassLib/RuntimeThread";
constexpr AlertSite kNoCurrentThread{kThreadSource, 0, "sCurrentThread"};
constexpr AlertSite kNoStartingPoint{kThreadSource, 0, "startingPoint"};
constexpr AlertSite kNoThreadToSwitchTo{kThreadSource, 0, "thread"};
constexpr AlertSite kDeadThreadRuns{kThreadSource, 0, "sDeadThreadList != sCurrentThread"};
constexpr AlertSite kMainDestroyedElsewhere{kThreadSource, 0, "this == sCurrentThread"};
constexpr AlertSite kDestroyedWhileRunning{kThreadSource, 0, "this != sCurrentThread"};

RuntimeThread *sThreadList = nullptr;
RuntimeThread *sDeadThreadList = nullptr;
bool sDisableThreadDispatcher = false;
// The record that switched away last: a thread that starts or resumes learns
// from the sanitizer where that stack lies.
RuntimeThread *sSwitchedFrom = nullptr;

class ThreadBackgroundTask : public BackgroundTask {
public:
  ThreadBackgroundTask() : BackgroundTask(1) {}
  void PerformTask() override {
    if (!sDisableThreadDispatcher)
      YieldToNextThread();
  }
};

// The toolkit's dispatch depth at which the running stack was entered. The
// toolkit keeps one record of the dispatches in progress on the process
// thread and expects them to end in the reverse order they began. A stack
// other than the main one that switches away inside a dispatch it began
// itself would leave its dispatch half done under whatever the next stack
// dispatches (GLib aborts on the mixed-up record). So such a stack switches
// only at the depth it was entered at; inside a dispatch of its own a yield
// point does not switch and a wait loops on the current stack. The main
// stack may switch inside its dispatches (the dispatcher's timeout is one):
// every other stack then runs nested within them and leaves them as it
// found them.
int32_t sEnteredAtDispatchDepth = 0;

bool MaySwitchAway() {
  return !RunningOnThreadStack() || ToolkitDispatchDepth() == sEnteredAtDispatchDepth;
}
BackgroundTask *sDispatcherTask = nullptr;

// A fault in a guard page ends the process with a message; any other fault
// goes to the handler that was installed before.
struct sigaction sPreviousSegvAction;
alignas(16) char sSignalStack[65536];

void GuardPageFault(int signal, siginfo_t *info, void *context) {
  if (IsInThreadGuardPage(reinterpret_cast<uintptr_t>(info->si_addr))) {
    static const char kMessage[] = "A thread's stack overflowed its guard page; ending.\n";
    (void)!write(2, kMessage, sizeof kMessage - 1);
    _exit(kGuardPageExitStatus);
  }
  // Returning re-runs the faulting instruction under the previous handler.
  sigaction(SIGSEGV, &sPreviousSegvAction, nullptr);
  (void)signal;
  (void)context;
}

void InstallGuardPageHandler() {
  static bool installed = false;
  if (installed)
    return;
  installed = true;
  stack_t alternate{};
  alternate.ss_sp = sSignalStack;
  alternate.ss_size = sizeof sSignalStack;
  sigaltstack(&alternate, nullptr);
  struct sigaction action{};
  action.sa_sigaction = GuardPageFault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  sigaction(SIGSEGV, &action, &sPreviousSegvAction);
}

size_t PageSize() { return static_cast<size_t>(sysconf(_SC_PAGESIZE)); }

void Unlink(RuntimeThread **list, RuntimeThread *record) {
  for (RuntimeThread **link = list; *link; link = &(*link)->next)
    if (*link == record) {
      *link = record->next;
      record->next = nullptr;
      return;
    }
}

// The running stack's bounds follow the current record: the stack check and
// the unwinder look at nothing else.
void EnterCurrentStack() {
  RuntimeThread *current = sCurrentThread;
#ifdef THREADS_ANNOUNCE_FIBERS
  const void *fromBottom = nullptr;
  size_t fromSize = 0;
  __sanitizer_finish_switch_fiber(current->asanFakeStack, &fromBottom, &fromSize);
  if (sSwitchedFrom && !sSwitchedFrom->asanBottom) {
    sSwitchedFrom->asanBottom = fromBottom;
    sSwitchedFrom->asanSize = fromSize;
  }
#endif
  if (current->threadObject)
    SetRunningThreadStack({current->stackBase, current->stackTop},
                          reinterpret_cast<uintptr_t>(current->block) + PageSize());
  else
    SetRunningMainStack();
  RestoreArmedHandler(current->armedHandler);
  SetStackOverflowBeingRaised(current->raisingOverflow);
}

// Every switch goes through here; answers whether it switched. A thread that
// will never run again passes `finished`, so the sanitizer drops its fake
// stack (its own dispatches have all ended by then).
bool SwitchTo(RuntimeThread *target, bool finished = false) {
  if (!finished && !MaySwitchAway())
    return false;
  RuntimeThread *current = sCurrentThread;
  current->armedHandler = SaveArmedHandler();
  current->raisingOverflow = StackOverflowBeingRaised();
  sSwitchedFrom = current;
#ifdef THREADS_ANNOUNCE_FIBERS
  __sanitizer_start_switch_fiber(finished ? nullptr : &current->asanFakeStack, target->asanBottom,
                                 target->asanSize);
#else
  (void)finished;
#endif
  SwitchStacks(target);
  // Back on this stack (its locals are its own again): it is entered at the
  // depth of the dispatch the switch came from, which no switch changes.
  EnterCurrentStack();
  sEnteredAtDispatchDepth = ToolkitDispatchDepth();
  return true;
}

void FreeDeadThreads() {
  while (RuntimeThread *dead = sDeadThreadList) {
    if (dead == sCurrentThread) {
      ShowAlert(kDeadThreadRuns);
      return;
    }
    sDeadThreadList = dead->next;
    delete dead;
  }
}

// The routine at the bottom of every language thread's stack; it never
// returns (its return address and saved frame pointer are 0).
[[noreturn]] void ThreadEntry() {
  EnterCurrentStack();
  sEnteredAtDispatchDepth = ToolkitDispatchDepth();
  RuntimeThread *self = sCurrentThread;
  if (!self)
    ShowAlert(kNoCurrentThread);
  if (RuntimeObject *thread = self->threadObject) {
    FireThreadRun(thread);
    FinishThreadObject(thread);
    self->threadObject = nullptr;
    RuntimeUnlockObject(thread);
  }
  Unlink(&sThreadList, self);
  self->next = sDeadThreadList;
  sDeadThreadList = self;
  SwitchToThreadOrIdle(sThreadList ? FindNextThread(sThreadList) : nullptr, true);
  __builtin_unreachable();
}

// The main record lives for the whole process and is current from the start.
RuntimeThread sMainThread;

} // namespace

RuntimeThread::RuntimeThread(RuntimeObject *thread)
    : stackBase(0), savedSP(0), savedFP(0), savedRegisters{0, 0, 0}, stackTop(0),
      threadObject(thread), next(sThreadList), wakeTime(0), block(nullptr), blockSize(0),
      raisingOverflow(false), asanBottom(nullptr), asanSize(0), asanFakeStack(nullptr) {
  sThreadList = this;
  if (!sCurrentThread)
    sCurrentThread = this;
}

RuntimeThread::~RuntimeThread() {
  if (this == &sMainThread) {
    if (this != sCurrentThread)
      ShowAlert(kMainDestroyedElsewhere);
    return;
  }
  if (this == sCurrentThread)
    ShowAlert(kDestroyedWhileRunning);
  if (block)
    munmap(block, blockSize);
}

bool RuntimeThread::AllocateStack(int32_t size) {
  const size_t page = PageSize();
  const size_t budget = (static_cast<size_t>(static_cast<uint32_t>(size)) + page - 1) / page * page;
  const size_t total = page + kThreadStackHeadroom + budget;
  if (budget == 0 || total < budget)
    return false;
  void *mapped = mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED)
    return false;
  mprotect(mapped, page, PROT_NONE);
  block = mapped;
  blockSize = total;
  stackBase = reinterpret_cast<uintptr_t>(mapped) + page + kThreadStackHeadroom;
  stackTop = stackBase + budget;
  // ThreadEntry starts as if called: its return address (0) sits 16-byte
  // aligned as after a call (esp + 4 a multiple of 16), and the switch's ret pops the entry address just below it.
  auto *top = reinterpret_cast<uintptr_t *>(stackTop);
  top[-1] = 0;
  top[-2] = reinterpret_cast<uintptr_t>(&ThreadEntry);
  savedSP = reinterpret_cast<uintptr_t>(&top[-2]);
  asanBottom = reinterpret_cast<const void *>(reinterpret_cast<uintptr_t>(mapped) + page);
  asanSize = total - page;
  return true;
}

bool RunningOnThreadStack() { return sCurrentThread && sCurrentThread != &sMainThread; }

RuntimeThread *ThreadListHead() { return sThreadList; }
RuntimeThread *MainThreadRecord() { return &sMainThread; }
RuntimeThread *DeadThreadListHead() { return sDeadThreadList; }

int64_t ThreadClockMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

RuntimeThread *FindNextThread(RuntimeThread *startingPoint) {
  if (!startingPoint) {
    ShowAlert(kNoStartingPoint);
    return nullptr;
  }
  for (RuntimeThread *record = startingPoint->next ? startingPoint->next : sThreadList;
       record && record != startingPoint; record = record->next ? record->next : sThreadList) {
    if (ThreadClockMs() >= record->wakeTime)
      return record;
  }
  return nullptr;
}

void SwitchToThreadOrIdle(RuntimeThread *thread, bool finished) {
  if (thread) {
    SwitchTo(thread, finished);
    return;
  }
  const int64_t now = ThreadClockMs();
  RuntimeThread *kept = nullptr;
  int64_t smallest = INT64_MAX;
  for (RuntimeThread *record = sThreadList; record; record = record->next)
    if (record->wakeTime - now < smallest) {
      smallest = record->wakeTime - now;
      kept = record;
    }
  if (!kept) {
    ShowAlert(kNoThreadToSwitchTo, "There's no thread to switch to");
    return;
  }
  if (smallest > 0) {
    timespec wait{static_cast<time_t>(smallest / 1000), static_cast<long>(smallest % 1000) * 1000000};
    while (nanosleep(&wait, &wait) != 0) {
    }
  }
  if (kept != sCurrentThread)
    SwitchTo(kept, finished);
}

void YieldToNextThread() {
  if (!sCurrentThread) {
    ShowAlert(kNoCurrentThread);
    return;
  }
  SwitchToThreadOrIdle(FindNextThread(sCurrentThread));
  FreeDeadThreads();
}

RuntimeThread *StartThreadRecord(RuntimeObject *thread, int32_t stackSize) {
  if (!sDispatcherTask) {
    sDispatcherTask = new ThreadBackgroundTask;
    static const ThreadStepHooks kStepHooks{RunningOnThreadStack, YieldToNextThread};
    InstallThreadStepHooks(&kStepHooks);
  }
  InstallGuardPageHandler();
  auto *record = new RuntimeThread(thread);
  if (!record->AllocateStack(stackSize)) {
    Unlink(&sThreadList, record);
    record->threadObject = nullptr;
    delete record;
    return nullptr;
  }
  return record;
}

void BusyWaitMilliseconds(int32_t milliseconds) {
  const int64_t end = ThreadClockMs() + milliseconds;
  while (ThreadClockMs() < end) {
  }
}

bool IsInThreadGuardPage(uintptr_t address) {
  const uintptr_t page = PageSize();
  for (RuntimeThread *lists : {sThreadList, sDeadThreadList})
    for (RuntimeThread *record = lists; record; record = record->next) {
      // A frame larger than the page may step over it: a fault just below
      // the block comes from the same overflow.
      const auto guard = reinterpret_cast<uintptr_t>(record->block);
      if (record->block && address < guard + page && address + kGuardReach >= guard)
        return true;
    }
  return false;
}

extern "C" {

void ThreadSleep(int32_t milliseconds) {
  if (!sCurrentThread) {
    ShowAlert(kNoCurrentThread, "We don't have any threads here!");
    return;
  }
  sCurrentThread->wakeTime = ThreadClockMs() + milliseconds;
  YieldToNextThread();
}

int32_t RunningThreadCount() {
  int32_t count = 0;
  for (RuntimeThread *record = sThreadList; record; record = record->next)
    if (!record->threadObject || !ThreadObjectSuspended(record->threadObject))
      ++count;
  return count;
}

void SetStackLimit(uintptr_t limit) { sStackLimit = limit; }
uintptr_t GetStackLimit() { return sStackLimit; }
void DebuggerSuspendThreadDispatcher() { sDisableThreadDispatcher = true; }
void DebuggerResumeThreadDispatcher() { sDisableThreadDispatcher = false; }

} // extern "C"
