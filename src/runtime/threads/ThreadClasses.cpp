#include "runtime/threads/ThreadClasses.h"

#include <iterator>

#include "foundation/AssertionAlert.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/loop/BackgroundTask.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/threads/RuntimeThread.h"

namespace {

constexpr AlertSite kNilThread{"../Common/ClassLib/RuntimeThread", 0, "thread"};

// Every member is available to console programs too.
constexpr int32_t kConsoleFlag = 4;

ThreadObject *AsThread(RuntimeObject *object) { return reinterpret_cast<ThreadObject *>(object); }
SemaphoreObject *AsSemaphore(RuntimeObject *object) {
  return reinterpret_cast<SemaphoreObject *>(object);
}
CriticalSectionObject *AsSection(RuntimeObject *object) {
  return reinterpret_cast<CriticalSectionObject *>(object);
}

int32_t EffectiveStackSize(int32_t size) { return size > 0 ? size : kDefaultThreadStackSize; }

ObjectInstanceTemplate ThreadProperties[] = {
    {kConsoleFlag, "StackSize", &integerType.type, ACCESSOR(ThreadGetStackSize),
     ACCESSOR(ThreadSetStackSize), 0, 0},
    {kConsoleFlag, "ThreadID", &integerType.type, ACCESSOR(ThreadGetID), nullptr, nullptr, 0, 0},
};
PropertyMethod ThreadMethods[] = {
    {"Run", nullptr, nullptr, 0, {{ACCESSOR(threadRun), {}}, {}}, 0, kConsoleFlag, 0},
};
ObjectHookTemplate ThreadHooks[] = {
    {kConsoleFlag, "Run", "", "", nullptr, 0},
};
PropertyMethod SemaphoreMethods[] = {
    {"Signal", nullptr, nullptr, 0, {{ACCESSOR(Semaphore_Signal), {}}, {}}, 0, kConsoleFlag, 0},
    {"Release", nullptr, nullptr, 0, {{ACCESSOR(semaphore_release), {}}, {}}, 0, kConsoleFlag, 0},
};
PropertyMethod CriticalSectionMethods[] = {
    {"Enter", nullptr, nullptr, 0, {{ACCESSOR(criticalsection_enter), {}}, {}}, 0, kConsoleFlag, 0},
    {"Leave", nullptr, nullptr, 0, {{ACCESSOR(criticalsection_leave), {}}, {}}, 0, kConsoleFlag, 0},
};

void SemaphoreInit(RuntimeObject *object) { AsSemaphore(object)->taken = 0; }

// The records that run a language thread, in list order.
template <typename Visit> void ForEachThreadObject(Visit visit) {
  for (RuntimeThread *record = ThreadListHead(); record; record = record->next)
    if (record->threadObject && !visit(record->threadObject))
      return;
}

} // namespace

void FireThreadRun(RuntimeObject *thread) {
  using RunHandler = void (*)(RuntimeObject *);
  if (auto run = reinterpret_cast<RunHandler>(FindObjectCode(thread, ThreadHooks[0].hook)))
    run(thread);
}

void FinishThreadObject(RuntimeObject *thread) { AsThread(thread)->record = nullptr; }

bool ThreadObjectSuspended(RuntimeObject *thread) { return AsThread(thread)->suspended != 0; }

ObjectDefinition *ThreadClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("Thread");
  defn.objectSize = sizeof(ThreadObject);
  defn.staticTables = 1;
  defn.properties = FillInstances(ThreadProperties, std::size(ThreadProperties));
  defn.methods = FillMethods(ThreadMethods, std::size(ThreadMethods));
  FillHooks(&defn, ThreadHooks, std::size(ThreadHooks));
  AddRelocEntry("DebuggerThreadCount", reinterpret_cast<void *>(DebuggerThreadCount));
  AddRelocEntry("DebuggerThreadLookup", reinterpret_cast<void *>(DebuggerThreadLookup));
  return &defn;
}

ObjectDefinition *SemaphoreClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("Semaphore");
  defn.objectSize = sizeof(SemaphoreObject);
  defn.constructor = SemaphoreInit;
  defn.staticTables = 1;
  defn.methods = FillMethods(SemaphoreMethods, std::size(SemaphoreMethods));
  return &defn;
}

ObjectDefinition *CriticalSectionClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("CriticalSection");
  defn.objectSize = sizeof(CriticalSectionObject);
  defn.staticTables = 1;
  defn.methods = FillMethods(CriticalSectionMethods, std::size(CriticalSectionMethods));
  return &defn;
}

extern "C" {

void threadRun(RuntimeObject *object) {
  if (!object) {
    ShowAlert(kNilThread);
    return;
  }
  ThreadObject *thread = AsThread(object);
  if (thread->record)
    return;
  RuntimeThread *record = StartThreadRecord(object, EffectiveStackSize(thread->stackSize));
  if (!record) {
    RaiseExceptionClass(OutOfMemoryExceptionClass());
    return;
  }
  thread->record = record;
  RuntimeLockObject(object); // held until Run returns
  if (!thread->suspended)
    SwitchToThreadOrIdle(record);
}

int32_t ThreadGetStackSize(RuntimeObject *object, int32_t) {
  if (!object)
    return ShowAlert(kNilThread), 0;
  return EffectiveStackSize(AsThread(object)->stackSize);
}

void ThreadSetStackSize(RuntimeObject *object, int32_t, int32_t size) {
  if (!object) {
    ShowAlert(kNilThread);
    return;
  }
  if (AsThread(object)->record) {
    RaiseExceptionClass(ThreadRunningExceptionClass());
    return;
  }
  AsThread(object)->stackSize = EffectiveStackSize(size);
}

int32_t ThreadGetID(RuntimeObject *object, int32_t) {
  if (!object)
    return ShowAlert(kNilThread), 0;
  return static_cast<int32_t>(reinterpret_cast<uintptr_t>(AsThread(object)->record));
}

int32_t ThreadGetSuspended(RuntimeObject *object, int32_t) {
  if (!object)
    return ShowAlert(kNilThread), 0;
  return AsThread(object)->suspended ? 1 : 0;
}

void ThreadSetSuspended(RuntimeObject *object, int32_t, int32_t value) {
  if (!object) {
    ShowAlert(kNilThread);
    return;
  }
  AsThread(object)->suspended = value ? 1 : 0;
}

void Semaphore_Signal(RuntimeObject *object) {
  SemaphoreObject *semaphore = AsSemaphore(object);
  while (semaphore->taken)
    TriggerBackgroundTasks();
  semaphore->taken = 1;
}

void semaphore_release(RuntimeObject *object) { AsSemaphore(object)->taken = 0; }

void criticalsection_enter(RuntimeObject *object) {
  CriticalSectionObject *section = AsSection(object);
  while (section->count) {
    if (section->owner == sCurrentThread) {
      ++section->count;
      return;
    }
    TriggerBackgroundTasks();
  }
  section->count = 1;
  section->owner = sCurrentThread;
}

void criticalsection_leave(RuntimeObject *object) {
  CriticalSectionObject *section = AsSection(object);
  if (section->count && section->owner == sCurrentThread)
    --section->count;
}

int32_t DebuggerThreadCount() {
  int32_t count = 0;
  ForEachThreadObject([&](RuntimeObject *) { return ++count, true; });
  return count;
}

RuntimeObject *DebuggerThreadLookup(int32_t, int32_t index) {
  RuntimeObject *found = nullptr;
  ForEachThreadObject([&](RuntimeObject *thread) {
    if (index-- == 0)
      found = thread;
    return found == nullptr;
  });
  if (found)
    RuntimeLockObject(found);
  return found;
}

} // extern "C"
